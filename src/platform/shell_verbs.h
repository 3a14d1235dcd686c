#pragma once

#include <QString>

// The "edit" verb of a file type, as a freedesktop desktop entry: a file manager then offers
// the program for files of that type. file_type is "htmlfile", "txtfile" or "lstfile".

// The MIME type a file type stands for.
QString MimeTypeOf(const QString& file_type);

// The Exec value that starts program_path on the chosen file, quoted so that any path works.
QString ExecLine(const QString& program_path);

// The text of the desktop entry; the caption's "&" accelerator marks are dropped.
QString DesktopEntryText(const QString& file_type, const QString& caption,
                         const QString& program_path);

// Writes the entry into data_folder/applications (and, for "lstfile", the MIME type of
// "*.lst" into data_folder/mime/packages). data_folder empty: $XDG_DATA_HOME, else
// ~/.local/share. Returns an empty text on success, else a message naming the file.
QString RegisterEditVerb(const QString& file_type, const QString& caption,
                         const QString& program_path, QString data_folder = QString());

// The path of the entry RegisterEditVerb writes.
QString DesktopEntryPath(const QString& file_type, QString data_folder = QString());
