#pragma once

#include <QString>
#include <QStringList>

// The four choices of the open and save dialogs, in order: "*.htm" (also *.html), "*.hsp",
// "*.txt", "*.*". The dialogs report the chosen one as an index from 1.
QStringList DocumentFilters();
inline constexpr int kTextFilterIndex = 3;

// A path with no "." anywhere (folder names included) gets ".txt" when filter_index is the
// "*.txt" choice, else ".htm"; any other path is returned as it is.
QString CompleteExtension(const QString& path, int filter_index);

// The folder part of path ending in the separator; empty when path names no folder.
QString FolderOf(const QString& path);

// The caption of the main window for a document name.
QString CaptionFor(const QString& file_name);
