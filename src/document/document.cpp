#include "document/document.h"

#include <QDir>
#include <QFileInfo>

QStringList DocumentFilters() {
  return {QStringLiteral("*.htm (*.htm *.html)"), QStringLiteral("*.hsp (*.hsp)"),
          QStringLiteral("*.txt (*.txt)"), QStringLiteral("*.* (*)")};
}

QString CompleteExtension(const QString& path, int filter_index) {
  if (path.contains(u'.')) return path;
  return path +
         (filter_index == kTextFilterIndex ? QStringLiteral(".txt") : QStringLiteral(".htm"));
}

QString FolderOf(const QString& path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  if (slash < 0) return QString();
  return path.left(slash + 1);
}

QString CaptionFor(const QString& file_name) {
  return QStringLiteral("Brindlemark : ") + file_name;
}
