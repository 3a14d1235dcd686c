#include "app/format_command.h"

#include "document/text_helpers.h"
#include "editor/code_editor.h"
#include "html/html_format.h"
#include "platform/text_format.h"

QString LayOut(CodeEditor& view, QByteArrayView line_break) {
  const EditorModel& model = view.Model();
  long from = 0;
  long to = long(model.Buffer().size());
  FormatOutcome outcome;
  const bool selected = view.hasSelectedText();
  if (selected) {
    // The selection's whole lines, at the indentation of the first of them.
    const long first = view.SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION,
                                          view.SendScintilla(QsciScintilla::SCI_GETSELECTIONSTART));
    const long end = view.SendScintilla(QsciScintilla::SCI_GETSELECTIONEND);
    long last = view.SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, end);
    if (last > first && view.SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, last) == end) {
      --last;  // a selection ending at a line's start leaves that line alone
    }
    from = view.SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, first);
    to = view.SendScintilla(QsciScintilla::SCI_GETLINEENDPOSITION, last);
    const QByteArrayView part = model.BufferPart(from, to);
    qsizetype indent = 0;
    while (indent < part.size() && (part[indent] == ' ' || part[indent] == '\t')) ++indent;
    outcome = FormatHtmlPart(part, line_break, IndentStepOf(model.BufferPart(0, 1 << 20)),
                             part.first(indent));
  } else {
    outcome = FormatHtml(model.Buffer(), line_break);
  }
  if (!outcome.problem.isEmpty()) return outcome.problem;
  if (outcome.bytes == model.BufferPart(from, to)) return QString();
  int line = 0;
  int column = 0;
  view.getCursorPosition(&line, &column);
  // One undo step takes the whole layout back.
  view.ReplaceBytes(from, to, outcome.bytes);
  if (selected) {
    view.SendScintilla(QsciScintilla::SCI_SETSEL, from, from + long(outcome.bytes.size()));
  } else {
    view.setCursorPosition(std::min(line, view.lines() - 1), 0);
  }
  return QString();
}

bool DeclareCharset(CodeEditor& view, const TextFormat& format) {
  const QByteArrayView text = view.Model().Buffer();
  if (!DeclaredCharset(text).isEmpty()) return false;
  const Insertion insertion =
      CharsetDeclaration(text, NameOf(format.encoding), LineEndBytes(format.line_end));
  view.ReplaceBytes(long(insertion.at), long(insertion.at), insertion.bytes);
  return true;
}
