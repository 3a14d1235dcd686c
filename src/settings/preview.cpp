#include "settings/preview.h"

#include <QFileInfo>

#include "document/document.h"

QString PreviewFolder(const QString& file_name, const QString& program_folder) {
  const QString folder = FolderOf(file_name);
  if (!folder.trimmed().isEmpty()) return folder;
  return program_folder.endsWith(u'/') ? program_folder : program_folder + u'/';
}

QString PreviewFilePathIn(const QString& folder, const QStringList& ours) {
  for (int n = 0;; ++n) {
    const QString path =
        folder + (n == 0 ? QStringLiteral("temp.htm") : QStringLiteral("temp%1.htm").arg(n));
    if (ours.contains(path) || !QFileInfo::exists(path)) return path;
  }
}
