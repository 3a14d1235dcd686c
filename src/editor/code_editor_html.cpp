// The editor's HTML comforts: the partner of the tag at the caret, end tags completed on
// "</", name lists while typing, and template markers marked on screen.
#include <QByteArray>
#include <algorithm>

#include "document/text_helpers.h"
#include "editor/code_editor.h"
#include "html/html_format.h"
#include "html/html_names.h"
#include "html/html_structure.h"
#include "html/html_tokens.h"
#include "tags/tag_catalogue.h"

std::pair<long, long> CodeEditor::LinesOnScreen() const {
  const long top = SendScintilla(SCI_GETFIRSTVISIBLELINE);
  return {SendScintilla(SCI_DOCLINEFROMVISIBLE, top),
          SendScintilla(SCI_DOCLINEFROMVISIBLE, top + SendScintilla(SCI_LINESONSCREEN) + 1)};
}

std::pair<long, long> CodeEditor::PositionsOnScreen() const {
  const auto [first, last] = LinesOnScreen();
  long from = SendScintilla(SCI_POSITIONFROMLINE, first);
  long to = SendScintilla(SCI_GETLINEENDPOSITION, last);
  constexpr long kLongRange = 1L << 16;
  constexpr long kSpare = 2048;
  if (to - from > kLongRange) {
    // The last row that shows text: below the document's end a point means its end.
    const long line_count = SendScintilla(SCI_GETLINECOUNT);
    const long rows = std::min(long(SendScintilla(SCI_LINESONSCREEN)),
                               long(SendScintilla(SCI_VISIBLEFROMDOCLINE, line_count - 1) +
                                    SendScintilla(SCI_WRAPCOUNT, line_count - 1) -
                                    SendScintilla(SCI_GETFIRSTVISIBLELINE)));
    const long row_height = SendScintilla(SCI_TEXTHEIGHT, 0UL);
    const long bottom = std::max(0L, rows - 1) * row_height + row_height / 2;
    // Whole characters to spare on either side (a position past either end counts as 0).
    const auto shown = [this](unsigned long x, long y, long spare) {
      const long at = SendScintilla(SCI_POSITIONFROMPOINT, x, y);
      return long(SendScintilla(SCI_POSITIONRELATIVE, static_cast<unsigned long>(at), spare));
    };
    from = std::max(from, shown(0, 0, -kSpare));
    const long right = shown(static_cast<unsigned long>(viewport()->width()), bottom, kSpare);
    if (right > from) to = std::min(to, right);
  }
  return {from, std::max(from, to)};
}

void CodeEditor::SetProblemMarks(const QList<Problem>& problems) {
  const auto earlier = [](const Problem& a, const Problem& b) {
    return std::pair(a.line, a.column) < std::pair(b.line, b.column);
  };
  problems_ = problems;
  // The checks mostly give them in order already: a large page's million are then not copied.
  if (!std::is_sorted(problems_.cbegin(), problems_.cend(), earlier)) {
    std::stable_sort(problems_.begin(), problems_.end(), earlier);
  }
  // The margin's dots, once per check (errors are few; the squiggles follow the screen).
  SendScintilla(SCI_MARKERDELETEALL, kErrorMarker);
  error_lines_.clear();
  for (const Problem& problem : std::as_const(problems_)) {
    if (problem.severity != Severity::kError ||
        (!error_lines_.isEmpty() && error_lines_.constLast() == problem.line - 1)) {
      continue;
    }
    error_lines_.append(problem.line - 1);
    SendScintilla(SCI_MARKERADD, problem.line - 1, kErrorMarker);
  }
  edited_since_marks_ = true;  // the text may have moved since the last marks
  MarkProblems();
}

std::pair<long, long> CodeEditor::RangeOf(const Problem& problem, ColumnCursor& cursor) const {
  const long line = problem.line - 1;
  const long column = std::max(0L, long(problem.column) - 1);
  const long line_end = SendScintilla(SCI_GETLINEENDPOSITION, line);
  if (cursor.line != line || column < cursor.column) {
    cursor = {line, 0, long(SendScintilla(SCI_POSITIONFROMLINE, line))};
  }
  if (column > cursor.column && cursor.position < line_end) {
    // Counted as the checks count columns, and fast: on a minified page's one line this
    // runs from the line's start at every key.
    cursor.position += long(
        CharactersForward(model_.BufferPart(cursor.position, line_end), column - cursor.column));
  }
  cursor.column = column;
  const long from = std::min(line_end, cursor.position);
  if (problem.length > 0) {
    const long to = SendScintilla(SCI_POSITIONRELATIVE, from, problem.length);
    return {from, to > from ? to : std::max(from + 1, line_end)};
  }
  // To the end of the tag, the reference or the word that starts there.
  const QByteArrayView rest = model_.BufferPart(from, line_end);
  qsizetype end = 1;
  while (end < rest.size() && rest[end] != ' ' && rest[end] != '>' && rest[end] != ';' &&
         rest[end] != '<') {
    ++end;
  }
  if (end < rest.size() && (rest[end] == '>' || rest[end] == ';')) ++end;
  const long to = from + long(end);
  return {from, std::min(to, std::max(line_end, from + 1))};
}

void CodeEditor::MarkProblems() {
  QList<std::pair<long, long>> wanted[kMarkKinds];
  const auto [first, last] = LinesOnScreen();
  const auto [shown_from, shown_to] = PositionsOnScreen();
  ColumnCursor cursor;
  for (const Problem& problem : std::as_const(problems_)) {
    const long line = problem.line - 1;
    if (line < first || line > last) continue;
    const std::pair<long, long> range = RangeOf(problem, cursor);
    if (range.first > shown_to) break;
    if (range.second < shown_from) continue;
    const int kind =
        problem.source == ProblemSource::kSpelling && problem.severity != Severity::kNote
            ? kSpellingMarks
            : int(problem.severity);
    wanted[kind].append(range);
  }
  // Marks move with the text: after an edit the old ranges no longer say where they are,
  // so each kind is cleared whole before it is marked again.
  const long length = SendScintilla(SCI_GETLENGTH);
  for (int i = 0; i < kMarkKinds; ++i) {
    if (wanted[i] == problem_marks_[i] && !edited_since_marks_) continue;
    SendScintilla(SCI_SETINDICATORCURRENT, kProblemIndicators[i]);
    SendScintilla(SCI_INDICATORCLEARRANGE, 0, length);
    for (const auto& [from, to] : std::as_const(wanted[i])) {
      SendScintilla(SCI_INDICATORFILLRANGE, from, to - from);
    }
    problem_marks_[i] = wanted[i];
  }
}

std::optional<CodeEditor::MarkedWord> CodeEditor::SpellingProblemAt(long position) const {
  const long line = SendScintilla(SCI_LINEFROMPOSITION, position);
  ColumnCursor cursor;
  for (const Problem& problem : problems_) {
    if (problem.source != ProblemSource::kSpelling || problem.subject.isEmpty() ||
        problem.line - 1 != line) {
      continue;
    }
    const auto [from, to] = RangeOf(problem, cursor);
    if (from <= position && position <= to) return MarkedWord{problem, from, to};
  }
  return std::nullopt;
}

void CodeEditor::SetFindHighlight(const std::optional<QRegularExpression>& expression) {
  find_expression_ = expression;
  edited_since_marks_ = true;
  MarkFindMatches();
  edited_since_marks_ = false;
}

void CodeEditor::MarkFindMatches() {
  QList<std::pair<long, long>> marks;
  if (find_expression_ && !find_expression_->pattern().isEmpty()) {
    // A minified page's one line: the part around the screen is enough.
    const auto [from, to] = PositionsOnScreen();
    const QString shown = QString::fromUtf8(model_.BufferPart(from, to));
    // Character offsets to byte offsets, counted forward once.
    qsizetype chars = 0;
    long bytes = from;
    const auto byte_at = [&](qsizetype at) {
      bytes += long(QStringView(shown).sliced(chars, at - chars).toUtf8().size());
      chars = at;
      return bytes;
    };
    for (auto it = find_expression_->globalMatch(shown); it.hasNext();) {
      const QRegularExpressionMatch match = it.next();
      if (match.capturedLength() == 0) continue;
      const long start = byte_at(match.capturedStart());
      marks.append({start, byte_at(match.capturedEnd())});
    }
  }
  ReplaceMarks(kFindIndicator, find_marks_, marks);
}

void CodeEditor::MarkTemplateMarkers() {
  // Only the lines on screen: a page of any size costs the same.
  QList<std::pair<long, long>> marks;
  if (highlighting_) {
    const auto [first, last] = LinesOnScreen();
    const long from = SendScintilla(SCI_POSITIONFROMLINE, first);
    const long to = SendScintilla(SCI_GETLINEENDPOSITION, last);
    const QByteArray marker = QString::fromUtf16(kTemplateMarker).toUtf8();
    const QByteArrayView text = model_.BufferPart(from, to);
    for (qsizetype at = 0; (at = text.indexOf(marker, at)) >= 0; at += marker.size()) {
      marks.append({from + long(at), from + long(at + marker.size())});
    }
  }
  ReplaceMarks(kMarkerIndicator, template_marks_, marks);
}

void CodeEditor::ReplaceMarks(int indicator, QList<std::pair<long, long>>& current,
                              const QList<std::pair<long, long>>& wanted) {
  // Only when they differ or the text changed under them (marks move with the text): each
  // change makes the component lay the line out again.
  if (wanted == current && !edited_since_marks_) return;
  SendScintilla(SCI_SETINDICATORCURRENT, indicator);
  for (const auto& [from, to] : std::as_const(current)) {
    SendScintilla(SCI_INDICATORCLEARRANGE, from, to - from);
  }
  for (const auto& [from, to] : wanted) SendScintilla(SCI_INDICATORFILLRANGE, from, to - from);
  current = wanted;
}

std::optional<std::pair<TagSpan, TagSpan>> CodeEditor::TagPairAtCaret(long reach) {
  // Only the text within reach of the caret: the component hands it out without moving the
  // rest of a large page in memory.
  const long caret = SendScintilla(SCI_GETCURRENTPOS);
  const long from = reach < 0 ? 0 : std::max(0L, caret - reach);
  const QByteArrayView text =
      model_.BufferPart(from, reach < 0 ? SendScintilla(SCI_GETLENGTH) : caret + reach);
  std::optional<TagSpan> tag = TagAt(text, caret - from);
  if (!tag) return std::nullopt;
  std::optional<TagSpan> partner = PartnerOf(text, *tag);
  if (!partner) return std::nullopt;
  for (TagSpan* span : {&*tag, &*partner}) {
    span->start += from;
    span->end += from;
  }
  return std::pair{*tag, *partner};
}

void CodeEditor::MatchTags() {
  QList<std::pair<long, long>> names;
  if (tag_matching_ && SendScintilla(SCI_GETSELECTIONS) <= 1) {
    // A partner further away than this is not marked: at every caret move the text between
    // is read, and a page of 50 MB read whole held each key for a fifth of a second.
    constexpr long kMarkReach = 2 << 20;
    if (const auto pair = TagPairAtCaret(kMarkReach)) {
      for (const TagSpan& span : {pair->first, pair->second}) {
        names.append({long(span.NameStart()), long(span.NameStart() + span.name.size())});
      }
    }
  }
  ReplaceMarks(kTagIndicator, marked_, names);
}

bool CodeEditor::JumpToPartner() {
  const auto pair = TagPairAtCaret();
  if (!pair) return false;
  SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(pair->second.NameStart()));
  return true;
}

void CodeEditor::OnCharAdded(int character) {
  if (SendScintilla(SCI_GETSELECTIONS) > 1) return;
  const long caret = SendScintilla(SCI_GETCURRENTPOS);
  if (character == '/' && closing_tags_ && caret >= 2 &&
      SendScintilla(SCI_GETCHARAT, caret - 2) == '<') {
    const QByteArray name =
        OpenElementBefore(model_.BufferPart(0, caret - 2), caret - 2, open_elements_);
    // In a script's or a style sheet's text "</" is the script's own ("</b>" in a string), and
    // a completed end tag there would end the element early in a browser.
    if (name.isEmpty() || name.compare("script", Qt::CaseInsensitive) == 0 ||
        name.compare("style", Qt::CaseInsensitive) == 0) {
      return;
    }
    const QByteArray rest = name + '>';
    // One undo step of its own: undo takes the completion back and leaves "</".
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_INSERTTEXT, caret, rest.constData());
    SendScintilla(SCI_ENDUNDOACTION);
    SendScintilla(SCI_GOTOPOS, long(caret + rest.size()));
    // Typing the end tag on regardless goes over the completed text, not after it.
    typed_over_ = rest;
    typed_over_at_ = caret + long(rest.size());
    return;
  }
  // A CR LF line end comes as two characters: indented once, at its last.
  const int line_end_char = SendScintilla(SCI_GETEOLMODE) == SC_EOL_CR ? '\r' : '\n';
  if (character == line_end_char && auto_indent_) {
    Indent(SendScintilla(SCI_LINEFROMPOSITION, caret));
    return;
  }
  if (!completion_ || isListActive()) return;
  const bool word_char = (character >= 'a' && character <= 'z') ||
                         (character >= 'A' && character <= 'Z') || character == '-';
  // Lists open where a name may start: after '<', a space, or (for properties) a quote,
  // ';' or '{'; and at a name's first letter.
  if (!word_char && !QByteArrayView("< \"';{").contains(char(character))) return;
  const CompletionContext context = CompletionContextAt(model_.BufferPart(0, caret), caret);
  if (context.kind == CompletionKind::kNone) return;
  // A list opens where a word starts, never in the middle of one.
  const long typed = caret - long(context.word_start);
  if (typed > 1 || (typed == 1 && !word_char) || (typed == 0 && word_char)) return;
  shown_completions_ = CompletionNames(context, CatalogueElementNames());
  ShowCompletions(long(context.word_start));
}

bool CodeEditor::TypeOver(const QString& typed) {
  // A key that types nothing (Shift held for the '>') leaves it: a caret moved by one is
  // seen at the next character typed.
  if (typed_over_.isEmpty() || typed.isEmpty()) return false;
  const bool over = typed.size() == 1 && typed[0] == QLatin1Char(typed_over_[0]) &&
                    SendScintilla(SCI_GETCURRENTPOS) == typed_over_at_ &&
                    SendScintilla(SCI_GETSELECTIONS) == 1 && SendScintilla(SCI_GETSELECTIONEMPTY);
  if (over) {
    typed_over_.remove(0, 1);
  } else {
    typed_over_.clear();
  }
  return over;
}

QByteArray CodeEditor::IndentUnit() const {
  // Tabs when lines are indented with them, else the most common step between the
  // indentations of neighbouring lines (in the first lines of the page), else two spaces.
  QList<int> widths;
  const long lines = std::min(long(SendScintilla(SCI_GETLINECOUNT)), 2000L);
  for (long line = 0; line < lines; ++line) {
    const long start = SendScintilla(SCI_POSITIONFROMLINE, line);
    if (SendScintilla(SCI_GETCHARAT, start) == '\t') return "\t";
    if (SendScintilla(SCI_GETLINEINDENTPOSITION, line) ==
        SendScintilla(SCI_GETLINEENDPOSITION, line)) {
      continue;  // a blank line says nothing
    }
    widths.append(int(SendScintilla(SCI_GETLINEINDENTATION, line)));
  }
  return QByteArray(MostCommonIndentStep(widths), ' ');
}

void CodeEditor::Indent(long line) {
  if (line <= 0) return;
  const long above = line - 1;
  const long from = SendScintilla(SCI_POSITIONFROMLINE, above);
  const long to = SendScintilla(SCI_GETLINEENDPOSITION, above);
  const QByteArrayView text = model_.BufferPart(0, to);
  const QByteArrayView previous = text.sliced(from, to - from);
  qsizetype width = 0;
  while (width < previous.size() && (previous[width] == ' ' || previous[width] == '\t')) ++width;
  QByteArray indent = previous.first(width).toByteArray();
  // One level more inside an element the line above opened and left open. Whether it is
  // markup at all is read from the text just before, so Enter costs the same on a page of
  // any size.
  constexpr long kLookBehind = 64 << 10;
  const long window = std::max(0L, to - kLookBehind);
  if (previous.endsWith('>') && !OpenElementBefore(text.sliced(window), to - window).isEmpty()) {
    const qsizetype open = previous.lastIndexOf('<');
    if (open >= 0 && open + 1 < previous.size() && previous[open + 1] != '/' &&
        previous[open + 1] != '!' && !previous.endsWith("/>")) {
      const std::optional<TagSpan> tag = TagAt(text, from + open + 1);
      if (tag && !tag->closing && !IsVoidElement(tag->name)) indent += IndentUnit();
    }
  }
  if (indent.isEmpty()) return;
  const long caret = SendScintilla(SCI_GETCURRENTPOS);
  SendScintilla(SCI_INSERTTEXT, caret, indent.constData());
  SendScintilla(SCI_GOTOPOS, caret + long(indent.size()));
}

void CodeEditor::ShowCompletions(long word_start) {
  if (shown_completions_.isEmpty()) return;
  const QByteArray list = shown_completions_.join(u' ').toUtf8();
  SendScintilla(SCI_AUTOCSHOW, SendScintilla(SCI_GETCURRENTPOS) - word_start, list.constData());
}
