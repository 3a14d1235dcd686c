#pragma once

#include <QStringList>

#include "document/utf8_lines.h"

// The quick table: every line becomes one row of one cell, between "<table>" and
// "</table>". An empty document gives the two enclosing lines alone.
void QuickTableLines(const QList<QByteArrayView>& lines, Utf8LineWriter& out);
