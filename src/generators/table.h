#pragma once

#include <QStringList>

// The quick table: every line becomes one row of one cell, between "<table>" and
// "</table>". An empty document gives the two enclosing lines alone.
QStringList QuickTableLines(const QStringList& lines);
