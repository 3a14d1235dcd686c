#pragma once

#include <QString>
#include <QStringList>

// File masks keep the meaning they have on the systems where these sites were made: letter
// case is ignored, "*.*" takes every name, and a three-letter extension also matches longer
// extensions that start with it ("*.htm" takes "index.html", as the short names did).
bool MaskMatches(QStringView name, QStringView pattern);

// True when name matches one of the ';'-separated patterns of mask.
bool NameMatchesMask(QStringView name, QStringView mask);

// The names of the ordinary files of folder that match mask, sorted ignoring case.
QStringList ListFolderFiles(const QString& folder, const QString& mask);

// The files of a folder for a batch run: paths relative to the folder ("sub/page.htm"),
// folder by folder with the names sorted as ListFolderFiles sorts them. Subfolders are
// entered when recursive (symbolic links to folders are not followed). Names that are not
// valid UTF-8 cannot be named to the file functions; they are listed apart, made printable.
struct FolderScan {
  QStringList files;
  QStringList unusable_names;
};
FolderScan ScanFolder(const QString& folder, const QString& mask, bool recursive);

// A name with its control characters and bytes that are not UTF-8 written as escapes
// ("\n", "\x1B"), for one line of a report.
QString PrintableName(QStringView name);
QString PrintableBytes(QByteArrayView name);

// Path of name inside folder, with one separator between them.
QString JoinPath(const QString& folder, const QString& name);
