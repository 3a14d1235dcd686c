#pragma once

#include <QString>

// The folder the preview writes its scratch file into: the document's folder, or the
// program's folder for a page without a folder (never saved, or no name). Ends in "/".
QString PreviewFolder(const QString& file_name, const QString& program_folder);

// The scratch file of a preview in folder.
inline QString PreviewFilePathIn(const QString& folder) {
  return folder + QStringLiteral("temp.htm");
}

// The location the built-in browser is sent to for a scratch file: "file://" and the path.
inline QString PreviewLocation(const QString& path) { return QStringLiteral("file://") + path; }
