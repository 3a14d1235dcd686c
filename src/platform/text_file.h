#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Document text in memory: lines joined by '\n'. A file whose last line ended with a line
// break gives a text that ends with '\n', so writing it back restores that break.

// Decodes Windows-1251 bytes and turns CR LF, lone CR and lone LF into '\n', in one pass.
QString BytesToText(QByteArrayView bytes);

// Encodes text for disk: '\n' becomes CR LF; characters outside the code page become "&#N;"
// and are counted into *replaced.
QByteArray TextToBytes(QStringView text, qsizetype* replaced = nullptr);

// The lines of a text; a final '\n' does not start another line.
QStringList SplitLines(QStringView text);

struct ReadOutcome {
  bool ok = false;
  QByteArray bytes;
  QString error;  // the system's reason, set when !ok
};

// Reads a whole file. A folder, a missing or unreadable file fail with the reason.
ReadOutcome ReadWholeFile(const QString& path);

// Replaces path with bytes atomically: on any failure the old file stays whole. Returns an
// empty text on success, else a message that names the file.
QString WriteWholeFile(const QString& path, const QByteArray& bytes);
