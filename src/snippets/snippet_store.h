#pragma once

#include <QByteArray>
#include <QStringList>

// Clipboard store files (".cpb"): one entry per line in the document code page, every line
// ended by CR LF. Loading accepts CR LF, lone CR and lone LF; a final line without an end is
// an entry too.
QByteArray SnippetsToBytes(const QStringList& entries);
QStringList SnippetsFromBytes(QByteArrayView bytes);
