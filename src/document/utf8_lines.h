#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>
#include <initializer_list>

#include "platform/text_format.h"

// A page's lines as the editor holds them: UTF-8 split at "\r\n", "\r" or "\n". Whole-text
// transforms work on these views, so a large page is neither decoded nor copied line by line.

// The lines of text, without their breaks; an empty text has no lines, a text ending with a
// break has an empty last line. The views point into text.
QList<QByteArrayView> SplitUtf8Lines(QByteArrayView text);

// Lines written one after another into one text, joined by a line break. Written straight
// into one growing buffer: a whole page's lines pass through here.
class Utf8LineWriter {
 public:
  explicit Utf8LineWriter(QByteArrayView line_break, qsizetype reserve = 0);

  // Adds a line made of the parts.
  void Add(std::initializer_list<QByteArrayView> parts);
  void Add(QByteArrayView line) { Add({line}); }
  qsizetype Count() const { return starts_.size(); }
  QByteArrayView Line(qsizetype index) const { return Lines(index, index + 1); }
  // Lines [first, end) with the breaks between them.
  QByteArrayView Lines(qsizetype first, qsizetype end) const;

 private:
  QByteArray text_;  // its size is the room; size_ bytes of it are written
  qsizetype size_ = 0;
  QByteArray break_;
  QList<qsizetype> starts_;
};

using Utf8LineTransform = void (*)(const QList<QByteArrayView>& lines, Utf8LineWriter& out);

// A transform on UTF-8 lines applied to decoded lines, for callers that hold them so.
template <class Transform>
QStringList ThroughUtf8(const QStringList& lines, Transform&& transform) {
  QByteArray joined;
  QList<qsizetype> starts;
  starts.reserve(lines.size() + 1);
  for (const QString& line : lines) {
    starts.append(joined.size());
    joined += line.toUtf8();
  }
  starts.append(joined.size());
  QList<QByteArrayView> views;
  views.reserve(lines.size());
  for (qsizetype i = 0; i + 1 < starts.size(); ++i) {
    views.append(QByteArrayView(joined).sliced(starts[i], starts[i + 1] - starts[i]));
  }
  Utf8LineWriter out("\n", joined.size());
  transform(views, out);
  QStringList result;
  result.reserve(out.Count());
  for (qsizetype i = 0; i < out.Count(); ++i) result.append(DecodeUtf8(out.Line(i)));
  return result;
}
