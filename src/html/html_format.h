#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// A page laid out again without changing what a browser shows: block elements one per line,
// indented a step per level (a block holding only inline content stays on one line); inline
// content, <pre>, <textarea>, <script>, <style>, <title>, comments and the "<!DOCTYPE>" keep
// every byte; whitespace is added or taken only between block boundaries, where a browser
// ignores it. Formatting twice gives the bytes of once.
struct FormatOutcome {
  QByteArray bytes;  // the page formatted (the same bytes when nothing changes)
  QString problem;   // why the page was left as it is; empty when it was formatted
};
// text is the page's bytes in any encoding that keeps ASCII as ASCII; line_break is written
// between lines.
FormatOutcome FormatHtml(QByteArrayView text, QByteArrayView line_break);
// The same for a part of a page (the selected lines): indented with the page's step, every
// line after base, the indentation the part's first line has.
FormatOutcome FormatHtmlPart(QByteArrayView part, QByteArrayView line_break, QByteArrayView step,
                             QByteArrayView base);

// The indentation step a page uses: a tab when its lines are indented with tabs, else the
// most common step between neighbouring lines' indentations (in its first 2,000 lines), else
// two spaces.
QByteArray IndentStepOf(QByteArrayView text);
// The most common step up between neighbouring indentations, in columns (the smaller of
// two as common), or 2 when none goes up. Blank lines are left out of widths.
int MostCommonIndentStep(const QList<int>& widths);
