#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "platform/codec.h"

QString BytesToText(QByteArrayView bytes) {
  QString decoded = DecodeCp1251(bytes);
  // Compact in place: CR LF -> '\n', lone CR -> '\n'.
  QChar* data = decoded.data();
  const qsizetype size = decoded.size();
  qsizetype out = 0;
  for (qsizetype i = 0; i < size; ++i) {
    const QChar c = data[i];
    if (c == u'\r') {
      data[out++] = u'\n';
      if (i + 1 < size && data[i + 1] == u'\n') ++i;
    } else {
      data[out++] = c;
    }
  }
  decoded.truncate(out);
  return decoded;
}

QByteArray TextToBytes(QStringView text, qsizetype* replaced) {
  return EncodeCp1251(text, replaced, "\r\n");
}

QStringList SplitLines(QStringView text) {
  QStringList lines;
  if (text.isEmpty()) return lines;
  qsizetype start = 0;
  while (start < text.size()) {
    qsizetype end = text.indexOf(u'\n', start);
    if (end < 0) end = text.size();
    lines.append(text.sliced(start, end - start).toString());
    start = end + 1;
  }
  return lines;
}

ReadOutcome ReadWholeFile(const QString& path, qint64 max_bytes) {
  ReadOutcome outcome;
  const QFileInfo info(path);
  if (info.isDir()) {
    outcome.error = QStringLiteral("Это папка, а не файл");
    outcome.kind = FileError::kIsFolder;
    return outcome;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    outcome.error = file.errorString();
    outcome.kind = info.exists() ? FileError::kUnreadable : FileError::kMissing;
    return outcome;
  }
  if (max_bytes >= 0 && file.size() > max_bytes) {
    outcome.error = QStringLiteral("File too large (%1 bytes, at most %2)").arg(file.size()).arg(max_bytes);
    outcome.kind = FileError::kTooLarge;
    return outcome;
  }
  outcome.bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    outcome.error = file.errorString();
    outcome.kind = FileError::kUnreadable;
    outcome.bytes.clear();
    return outcome;
  }
  outcome.ok = true;
  return outcome;
}

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
  if (path.trimmed().isEmpty()) return QStringLiteral("Cannot create file \"\": no file name.");
  QSaveFile file(path);
  // Unbuffered, so that a short write (disk full, size limit) is seen here: the buffered
  // path reports the whole count and would commit a truncated file.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    return QStringLiteral("Cannot create file %1. %2").arg(path, file.errorString());
  }
  qsizetype written = 0;
  while (written < bytes.size()) {
    const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
    if (n <= 0) {
      const QString reason =
          file.error() != QFileDevice::NoError ? file.errorString() : QStringLiteral("Disk full?");
      file.cancelWriting();
      return QStringLiteral("Cannot write file %1. %2").arg(path, reason);
    }
    written += n;
  }
  if (!file.commit()) {
    return QStringLiteral("Cannot write file %1. %2").arg(path, file.errorString());
  }
  return QString();
}
