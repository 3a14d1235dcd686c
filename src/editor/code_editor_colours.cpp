// The editor's colouring: HTML colours on or off, the measure cache sized for long lines,
// and long lines coloured again from near an edit rather than from their start.
#include <Qsci/qscilexerhtml.h>

#include "editor/code_editor.h"
#include "names/texts.h"

namespace {

// A line this long is coloured again from near an edit; a shorter one from its start, as
// the component does, which is quick.
constexpr long kLongLine = 1 << 16;
// How far back from an edit plain text to restart the colours at is looked for.
constexpr long kRestartReach = 1 << 14;
// How far past an edit the colours are made again before they are compared with those the
// text had there, and over how many they must agree.
constexpr long kCatchUpReach = 1 << 12;
constexpr long kAgreeing = 256;

}  // namespace

void CodeEditor::SetHighlighting(bool on) {
  if (on == highlighting_) return;
  highlighting_ = on;
  ApplyHighlighting();
}

// The colouring belongs to the text, the choice to the view: each text shown is coloured
// (or not) as the view's choice says.
//
// Off, the lexer still reads the page, in one colour: the component keeps the measured widths
// of short runs of one style only, and a minified page without them was measured whole
// again at every key (a second a key at 2 MB, against a tenth with the runs).
void CodeEditor::ApplyHighlighting() {
  StyleLexer();
  setLexer(lexer_.get());
  SetEditorFont(chosen_font_);
  SetFolding(folding_);
  ReportEditsOnly();
  UpdateNumberMargin();
  MarkTemplateMarkers();
}

// The component lays a changed line out whole at every key and takes the width of each short
// run of one style from a cache. A minified page is one line of a few hundred thousand runs:
// with the default 1024 entries every key measured them all again through Qt's text shaping
// (0.6 s a key at 2 MB, 4.4 s at 13 MB; a third and a fifth of that with the cache sized).
// One entry (16 bytes, and the widths once filled) for every 16 bytes of the longest line.
void CodeEditor::FitMeasureCache(qsizetype longest_line) {
  const qsizetype entries = std::clamp<qsizetype>(longest_line / 16, 1024, 1 << 20);
  if (entries == measure_cache_) return;
  measure_cache_ = entries;
  SendScintilla(SCI_SETPOSITIONCACHE, static_cast<unsigned long>(entries));
}

void CodeEditor::ReportEditsOnly() {
  // Edits only, and once: Edited comes just before each. With the component's default mask
  // every fold or marker change would be reported too. Nor is an edit reported after it: the
  // component's own accessibility layer then counts the characters from the start of the
  // text to the edit, reader or none (13 ms a key at the end of a 1.9 MB line, a quarter of
  // a second at the end of 50 MB). The component itself unfolds an element whose first line
  // stops starting one (automatic fold).
  SendScintilla(SCI_SETMODEVENTMASK, SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE);
}

std::pair<long, long> CodeEditor::LineAround(long position) const {
  const long line = SendScintilla(SCI_LINEFROMPOSITION, position);
  const long end = line + 1 < SendScintilla(SCI_GETLINECOUNT)
                       ? SendScintilla(SCI_POSITIONFROMLINE, line + 1)
                       : SendScintilla(SCI_GETLENGTH);
  return {SendScintilla(SCI_POSITIONFROMLINE, line), end};
}

// The component colours an edited line again from its start, and a minified page is one
// line: at every key the lexer read the whole page (40 ms a key at 2 MB). On a long line it
// starts instead from the last plain text before the edit, where the lexer holds no state
// but the colour of that text. That is done before the next paint, where the component
// would colour what is shown (edits are reported only before they are made).
bool CodeEditor::OnLongLine(long position) const {
  const auto [start, end] = LineAround(position);
  return end - start >= kLongLine;
}

void CodeEditor::NoteEditToColour(long position, long added) {
  if (edit_to_colour_.position < 0) {
    edit_to_colour_ = {position, added, SendScintilla(SCI_GETLINECOUNT),
                       SendScintilla(SCI_GETENDSTYLED), false};
    return;
  }
  // Several edits before a paint (several carets, a replacement): from the first of them.
  edit_to_colour_.position = std::min(edit_to_colour_.position, position);
  edit_to_colour_.several = true;
}

void CodeEditor::paintEvent(QPaintEvent* event) {
  if (edit_to_colour_.position >= 0) {
    const EditToColour edit = std::exchange(edit_to_colour_, EditToColour{});
    // An edit that made or took away a line break leaves the lines to the component.
    if (SendScintilla(SCI_GETLINECOUNT) == edit.line_count) ColourLongLineFrom(edit);
  }
  QsciScintilla::paintEvent(event);
}

bool CodeEditor::ColoursRestartAt(long position) const {
  const long before = position - 1;
  if (SendScintilla(SCI_GETSTYLEAT, before) != QsciLexerHTML::Default) return false;
  // Text whose colour the next characters may change: the start of a tag or an entity.
  const char character = char(SendScintilla(SCI_GETCHARAT, before));
  return character != '<' && character != '&';
}

QByteArray CodeEditor::StylesBetween(long from, long to) const {
  QByteArray styles;
  styles.reserve(to - from);
  for (long at = from; at < to; ++at) styles += char(SendScintilla(SCI_GETSTYLEAT, at));
  return styles;
}

void CodeEditor::ColourLongLineFrom(const EditToColour& edit) {
  const long position = edit.position;
  const auto [line_start, line_end] = LineAround(position);
  const long styled = SendScintilla(SCI_GETENDSTYLED);
  // Short, or coloured already through another view of the same page.
  if (line_end - line_start < kLongLine || styled >= line_end) return;
  // Before the edit, and not past what is coloured already.
  const long from = std::min(position, styled);
  const long floor = std::max(line_start, from - kRestartReach);
  long restart = from;
  while (restart > floor && !ColoursRestartAt(restart)) --restart;
  // The line's start is where the component itself would start; else the component colours
  // the line from there.
  if (restart == floor && floor != line_start) return;
  // Past the edit the text keeps the colours it had, if the line was coloured to its end.
  // Where the new colours come to agree with them, at a point they could restart from, they
  // go on as they were: the rest of the line keeps its own (typing near a minified page's
  // start would otherwise colour all of it again at every key).
  const long check = position + std::max(0L, edit.added) + kCatchUpReach;
  if (!edit.several && edit.styled >= line_end - edit.added && check < line_end) {
    const QByteArray before = StylesBetween(check - kAgreeing, check);
    SendScintilla(SCI_COLOURISE, restart, check);
    if (StylesBetween(check - kAgreeing, check) == before) {
      for (long at = check; at > check - kAgreeing; --at) {
        if (!ColoursRestartAt(at)) continue;
        SendScintilla(SCI_STARTSTYLING, line_end, 0L);  // coloured to here
        return;
      }
    }
  }
  SendScintilla(SCI_COLOURISE, restart, line_end);
}

void CodeEditor::FitLines(qsizetype longest_line, bool wrap) {
  // A minified page is one long line. Wrapped, every key lays the whole line out again and
  // wraps it (five times the cost of an unwrapped line), so such a page opens unwrapped;
  // the wrap button still wraps it on request.
  constexpr qsizetype kMinifiedLine = 20000;
  const bool long_lines = longest_line > kMinifiedLine;
  FitMeasureCache(longest_line);
  setWrapMode(wrap && !long_lines ? WrapWord : WrapNone);
  setToolTip(long_lines ? Tr(Text::kLongLinesTip) : QString());
}
