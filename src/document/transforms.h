#pragma once

#include <QStringList>

#include "document/utf8_lines.h"

// Whole-text transforms on the lines of a document, each linear in the text. The buttons'
// transforms work on the UTF-8 lines the editor holds, so a large page is never decoded for
// them; ThroughUtf8 applies one to decoded lines.

// Text with characters up to and including the space removed at both ends.
QString TrimSpaces(const QString& line);

// Paragraphs to HTML: a blank line becomes empty, the last line of a paragraph gets "<p>",
// its other lines "<br>"; every non-blank line is trimmed.
void TextToHtml(const QList<QByteArrayView>& lines, Utf8LineWriter& out);

// Tags removed from every line, then the first "&nbsp", "&lt", "&gt" and "&copy" of each
// line replaced by " ", "<", ">" and "(c)".
void HtmlToText(const QList<QByteArrayView>& lines, Utf8LineWriter& out);

// Blank lines dropped, lines trimmed, runs of spaces inside a line shrunk to one.
void CompressText(const QList<QByteArrayView>& lines, Utf8LineWriter& out);

// The forms the batch tools use, which never change what a browser shows of a page.
// CompressText that leaves every line touching <pre>, <textarea>, <script> or <style>
// content exactly as it is.
QStringList CompressTextKeepingRaw(const QStringList& lines);
// The text a browser shows, line by line: comments, <script> and <style> content and the
// head other than the title's text left out, tags removed, block elements and <br> ending
// their lines, character references decoded; no blank lines above or below.
QStringList HtmlToVisibleText(const QStringList& lines);
// TextToHtml of the text with its "&", "<" and ">" written as references.
QStringList PlainTextToHtml(const QStringList& lines);
