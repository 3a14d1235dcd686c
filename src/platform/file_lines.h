#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <deque>

#include "platform/text_format.h"

// A file's lines as views of its bytes (no copy a line), with what is needed to write it
// back the way it came. Lines made by an edit are kept in made.
struct FileLines {
  QByteArray source;
  QList<QByteArrayView> lines;
  std::deque<QByteArray> made;
  TextFormat format;
  bool final_break = true;
  // Keeps bytes for the life of the file and returns a view of them.
  QByteArrayView Keep(QByteArray bytes) {
    made.push_back(std::move(bytes));
    return made.back();
  }
};
FileLines SplitFile(const QByteArray& bytes);
QByteArray JoinFile(const FileLines& file);
// A user's text in a file's encoding.
QByteArray EncodeFor(const QString& text, const TextFormat& format);
QStringList DecodeLines(const FileLines& file);
void EncodeLines(FileLines& file, const QStringList& lines);
