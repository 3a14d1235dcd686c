#pragma once

#include <QString>
#include <QStringList>

// A line diff of two versions of a text, for showing what a change does: only the changed
// lines, each group with `context` unchanged lines around it, under a "@@ -a,n +b,m @@"
// heading with line numbers counted from 1 (the unified form of diff -u). Changed lines
// start with "-" or "+", context lines with a space. Empty when the versions are equal.
QString UnifiedLineDiff(const QStringList& before, const QStringList& after, int context = 3);
