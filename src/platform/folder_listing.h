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

// Path of name inside folder, with one separator between them.
QString JoinPath(const QString& folder, const QString& name);
