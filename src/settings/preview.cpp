#include "settings/preview.h"

#include "app/document.h"

QString PreviewFolder(const QString& file_name, const QString& program_folder) {
  const QString folder = FolderOf(file_name);
  if (!folder.trimmed().isEmpty()) return folder;
  return program_folder.endsWith(u'/') ? program_folder : program_folder + u'/';
}
