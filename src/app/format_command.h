#pragma once

#include <QByteArrayView>
#include <QString>

class CodeEditor;
struct TextFormat;

// Format page in view: the page, or the selection's whole lines at the indentation of the
// first of them, laid out again as one undo step. Why it was left as it is; empty when it
// was laid out (or needed nothing).
QString LayOut(CodeEditor& view, QByteArrayView line_break);
// Adds a <meta charset> of format's encoding to the page in view when it declares none, as
// one undo step; false when it declares one already.
bool DeclareCharset(CodeEditor& view, const TextFormat& format);
