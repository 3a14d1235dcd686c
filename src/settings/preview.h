#pragma once

#include <QString>
#include <QStringList>

// The folder the preview writes its scratch file into: the document's folder, or the
// program's folder for a page without a folder (never saved, or no name). Ends in "/".
QString PreviewFolder(const QString& file_name, const QString& program_folder);

// The scratch file of a preview in folder: "temp.htm", or when a file of that name exists
// that the program did not write (is not in ours), the first of "temp1.htm", "temp2.htm", ...
// that is free or ours. It stays in the page's folder so relative links still work.
QString PreviewFilePathIn(const QString& folder, const QStringList& ours = {});

// The location the built-in browser is sent to for a scratch file: "file://" and the path.
inline QString PreviewLocation(const QString& path) { return QStringLiteral("file://") + path; }
