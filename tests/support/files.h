#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The bytes of a file, or "<missing>".
inline QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return "<missing>";
  return file.readAll();
}

// Writes bytes as they are (no atomic replace: test set-up only); false on failure.
inline bool WriteBytesTo(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
