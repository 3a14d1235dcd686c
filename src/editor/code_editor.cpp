#include "editor/code_editor.h"

#include <QHash>

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qscilexerhtml.h>
#include <algorithm>
#include <utility>

#include <QAccessible>
#include <QKeyEvent>
#include <QMimeData>

#include "editor/code_editor_accessible.h"

namespace {

constexpr int kNumberMargin = 0;
constexpr int kFoldMargin = 2;
// A line this long is coloured again from near an edit; a shorter one from its start, as
// the component does, which is quick.
constexpr long kLongLine = 1 << 16;
// How far back from an edit plain text to restart the colours at is looked for.
constexpr long kRestartReach = 1 << 14;
// How far past an edit the colours are made again before they are compared with those the
// text had there, and over how many they must agree.
constexpr long kCatchUpReach = 1 << 12;
constexpr long kAgreeing = 256;

QStringList LocalFiles(const QMimeData* mime) {
  QStringList paths;
  if (mime == nullptr || !mime->hasUrls()) return paths;
  for (const QUrl& url : mime->urls()) {
    if (url.isLocalFile()) paths.append(url.toLocalFile());
  }
  return paths;
}

}  // namespace

CodeEditor::CodeEditor(QWidget* parent)
    : QsciScintilla(parent), model_(this), lexer_(std::make_unique<QsciLexerHTML>()) {
  setUtf8(true);
  // Undo steps are the model's edits and the user's typing; nothing of QScintilla's own.
  setAutoIndent(false);
  setBraceMatching(NoBraceMatch);
  setAutoCompletionSource(AcsNone);
  setCaretLineVisible(true);
  setCaretLineBackgroundColor(QColor(0xFF, 0xFF, 0xD8));
  setMarginType(kNumberMargin, NumberMargin);
  setMarginWidth(1, 0);
  setMarginsBackgroundColor(QColor(0xEE, 0xEE, 0xEE));
  setMarginsForegroundColor(Qt::darkGray);
  // Several selections: Ctrl+click adds one, Alt+drag makes a rectangle; typing goes to all.
  SendScintilla(SCI_SETMULTIPLESELECTION, 1);
  SendScintilla(SCI_SETADDITIONALSELECTIONTYPING, 1);
  SendScintilla(SCI_SETMULTIPASTE, SC_MULTIPASTE_EACH);
  SendScintilla(SCI_SETRECTANGULARSELECTIONMODIFIER, SCMOD_ALT);
  SendScintilla(SCI_SETAUTOMATICFOLD, SC_AUTOMATICFOLD_CHANGE);
  // A line of several megabytes is laid out once, not at every paint.
  SendScintilla(SCI_SETLAYOUTCACHE, SC_CACHE_PAGE);
  // What takes longer than a moment to colour is coloured in the background once the screen
  // is drawn: showing the end of a large page would otherwise colour everything above it
  // first, with the window held.
  SendScintilla(SCI_SETIDLESTYLING, SC_IDLESTYLING_TOVISIBLE);
  SendScintilla(SCI_AUTOCSETIGNORECASE, 1);
  SendScintilla(SCI_AUTOCSETCASEINSENSITIVEBEHAVIOUR, SC_CASEINSENSITIVEBEHAVIOUR_IGNORECASE);
  SendScintilla(SCI_AUTOCSETAUTOHIDE, 1);
  SendScintilla(SCI_AUTOCSETMAXHEIGHT, 12);
  SetUpMarks();
  SetUpLexerAndKeys();
  ConnectComponent();
}

void CodeEditor::SetUpLexerAndKeys() {
  lexer_->setFoldCompact(false);
  StyleLexer();
  setLexer(lexer_.get());
  SetEditorFont(font());
  SetFolding(true);
  // Keys the page's commands use: Ctrl+U underlines, it does not make lower case.
  // The window's keys for its pages win over the component's (Ctrl+T swapped lines).
  for (const QKeyCombination key :
       {Qt::CTRL | Qt::Key_U, Qt::CTRL | Qt::Key_M, Qt::CTRL | Qt::Key_T, Qt::CTRL | Qt::Key_W,
        Qt::CTRL | Qt::Key_PageUp, Qt::CTRL | Qt::Key_PageDown, Qt::CTRL | Qt::SHIFT | Qt::Key_E}) {
    // A key may be one command's main key and another's alternate.
    for (int bound = 0; bound < 2; ++bound) {
      QsciCommand* command = standardCommands()->boundTo(key.toCombined());
      if (command == nullptr) break;
      if (command->key() == key.toCombined()) {
        command->setKey(0);
      } else {
        command->setAlternateKey(0);
      }
    }
  }
  UpdateNumberMargin();
  MarkCurrentLine(0);
}

void CodeEditor::ConnectComponent() {
  // After the component's own factory, so that a reader gets ours.
  CodeEditorAccessible::Install();
  // The component's own handler of these reports counts the caret's column from its line's
  // start at every caret move (on a minified page, the whole page at every key) for a signal
  // nothing here needs; it matches braces besides, which this editor does not. The caret's
  // moves are followed below instead.
  disconnect(this, SIGNAL(SCN_UPDATEUI(int)), this, SLOT(handleUpdateUI(int)));
  connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
    const long caret = SendScintilla(SCI_GETCURRENTPOS);
    if (caret != reported_caret_) {
      reported_caret_ = caret;
      MarkCurrentLine(int(SendScintilla(SCI_LINEFROMPOSITION, caret)));
      if (QAccessible::isActive()) {
        QAccessibleTextCursorEvent event(this, model_.CaretPosition());
        QAccessible::updateAccessibility(&event);
      }
    }
    if (updated & SC_UPDATE_CONTENT) UpdateNumberMargin();
    // Sideways too: along a minified page's one line the marks follow the screen.
    if (updated & (SC_UPDATE_CONTENT | SC_UPDATE_V_SCROLL | SC_UPDATE_H_SCROLL)) {
      MarkTemplateMarkers();
      MarkProblems();
      MarkFindMatches();
    }
    if (updated & (SC_UPDATE_SELECTION | SC_UPDATE_CONTENT)) MatchTags();
    edited_since_marks_ = false;
  });
  connect(this, &QsciScintillaBase::SCN_CHARADDED, this, &CodeEditor::OnCharAdded);
  connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
          [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
            if (!(type & (SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE))) return;
            model_.ForgetPositionsFrom(position);
            if (position < open_elements_.resume) open_elements_ = {};
            edited_since_marks_ = true;
            emit Edited(position);
            if (OnLongLine(position)) {
              NoteEditToColour(position, (type & SC_MOD_BEFOREINSERT) ? length : -length);
            }
          });
  connect(this, &QsciScintillaBase::SCN_AUTOCCANCELLED, this,
          [this] { shown_completions_.clear(); });
  connect(this, &QsciScintillaBase::SCN_AUTOCCOMPLETED, this,
          [this](const char*, int, int, int) { shown_completions_.clear(); });
}

CodeEditor::~CodeEditor() { setLexer(nullptr); }

void CodeEditor::SetUpMarks() {
  // A bar at the margin's left edge: a filled margin would hide the line's number.
  markerDefine(LeftRectangle, kCurrentLineMarker);
  setMarkerBackgroundColor(QColor(0x30, 0x80, 0xE0), kCurrentLineMarker);
  // A red dot in the margin on each line with an HTML error.
  markerDefine(Circle, kErrorMarker);
  setMarkerBackgroundColor(QColor(0xD0, 0x20, 0x20), kErrorMarker);
  setMarkerForegroundColor(QColor(0xD0, 0x20, 0x20), kErrorMarker);
  setMarginMarkerMask(kNumberMargin, (1 << kCurrentLineMarker) | (1 << kErrorMarker));
  // A template's marker stands out as it did in the editor before, white on red.
  SendScintilla(SCI_INDICSETSTYLE, kMarkerIndicator, INDIC_STRAIGHTBOX);
  SendScintilla(SCI_INDICSETFORE, kMarkerIndicator, QColor(0xC0, 0x30, 0x30));
  SendScintilla(SCI_INDICSETALPHA, kMarkerIndicator, 160);
  SendScintilla(SCI_INDICSETUNDER, kMarkerIndicator, 1);
  // An error, a warning, a note, and an unknown word in the colour spell checkers use.
  const std::pair<int, QColor> problem_styles[] = {{INDIC_SQUIGGLE, QColor(0xD0, 0x20, 0x20)},
                                                   {INDIC_SQUIGGLE, QColor(0xE0, 0x90, 0x00)},
                                                   {INDIC_DOTS, QColor(0x60, 0x60, 0x60)},
                                                   {INDIC_SQUIGGLE, QColor(0xB0, 0x00, 0xB0)}};
  for (int i = 0; i < kMarkKinds; ++i) {
    SendScintilla(SCI_INDICSETSTYLE, kProblemIndicators[i], problem_styles[i].first);
    SendScintilla(SCI_INDICSETFORE, kProblemIndicators[i], problem_styles[i].second);
  }
  // Every match of the find bar, a soft yellow box under the text.
  SendScintilla(SCI_INDICSETSTYLE, kFindIndicator, INDIC_STRAIGHTBOX);
  SendScintilla(SCI_INDICSETFORE, kFindIndicator, QColor(0xF0, 0xC0, 0x20));
  SendScintilla(SCI_INDICSETALPHA, kFindIndicator, 110);
  SendScintilla(SCI_INDICSETUNDER, kFindIndicator, 1);
  SendScintilla(SCI_INDICSETSTYLE, kTagIndicator, INDIC_ROUNDBOX);
  SendScintilla(SCI_INDICSETFORE, kTagIndicator, QColor(0x30, 0x80, 0xE0));
  SendScintilla(SCI_INDICSETALPHA, kTagIndicator, 70);
  SendScintilla(SCI_INDICSETUNDER, kTagIndicator, 1);
}

void CodeEditor::StyleLexer() {
  // The colours of the hand-written highlighter this editor had before; all black when the
  // colours are off.
  const auto colour = [this](QRgb rgb) { return highlighting_ ? QColor(rgb) : QColor(Qt::black); };
  const QColor tag = colour(0x0000A0);
  const QColor attribute = colour(0xA00050);
  const QColor value = colour(0x007000);
  const QColor comment = colour(0x808080);
  const QColor entity = colour(0x905000);
  lexer_->setDefaultColor(Qt::black);
  for (int style = 0; style < 128; ++style) lexer_->setColor(Qt::black, style);
  for (int style : {QsciLexerHTML::Tag, QsciLexerHTML::UnknownTag, QsciLexerHTML::XMLTagEnd,
                    QsciLexerHTML::Script, QsciLexerHTML::XMLStart, QsciLexerHTML::XMLEnd}) {
    lexer_->setColor(tag, style);
  }
  for (int style : {QsciLexerHTML::Attribute, QsciLexerHTML::UnknownAttribute}) {
    lexer_->setColor(attribute, style);
  }
  for (int style :
       {QsciLexerHTML::HTMLDoubleQuotedString, QsciLexerHTML::HTMLSingleQuotedString,
        QsciLexerHTML::HTMLNumber, QsciLexerHTML::HTMLValue,
        QsciLexerHTML::JavaScriptDoubleQuotedString, QsciLexerHTML::JavaScriptSingleQuotedString}) {
    lexer_->setColor(value, style);
  }
  for (int style :
       {QsciLexerHTML::HTMLComment, QsciLexerHTML::SGMLComment, QsciLexerHTML::JavaScriptComment,
        QsciLexerHTML::JavaScriptCommentLine, QsciLexerHTML::JavaScriptCommentDoc}) {
    lexer_->setColor(comment, style);
  }
  for (int style : {QsciLexerHTML::Entity, QsciLexerHTML::SGMLEntity}) {
    lexer_->setColor(entity, style);
  }
  for (int style : {QsciLexerHTML::SGMLDefault, QsciLexerHTML::SGMLCommand}) {
    lexer_->setColor(tag, style);
  }
  lexer_->setColor(tag, QsciLexerHTML::JavaScriptKeyword);
  lexer_->setColor(colour(0x804000), QsciLexerHTML::JavaScriptNumber);
  lexer_->setPaper(paper_, -1);
  lexer_->setDefaultPaper(paper_);
}

void CodeEditor::SetEditorFont(const QFont& chosen) {
  chosen_font_ = chosen;
  // The component takes sizes in points only.
  QFont editor_font = chosen;
  if (editor_font.pointSizeF() <= 0) {
    editor_font.setPointSizeF(chosen.pixelSize() * 72.0 / std::max(1, logicalDpiY()));
  }
  lexer_->setFont(editor_font, -1);
  lexer_->setDefaultFont(editor_font);
  setMarginsFont(editor_font);
  QWidget::setFont(chosen);  // QsciScintilla::setFont styles only; the widget keeps the choice
  UpdateNumberMargin();
}

void CodeEditor::SetPaper(const QColor& colour) {
  paper_ = colour;
  QPalette palette = this->palette();
  palette.setColor(QPalette::Base, colour);
  setPalette(palette);
  lexer_->setPaper(colour, -1);
  lexer_->setDefaultPaper(colour);
  setPaper(colour);
}

CodeEditor::ViewState CodeEditor::SaveView() const {
  ViewState state{SendScintilla(SCI_GETCURRENTPOS),
                  SendScintilla(SCI_GETANCHOR),
                  SendScintilla(SCI_GETFIRSTVISIBLELINE),
                  SendScintilla(SCI_GETXOFFSET),
                  {}};
  for (long line = SendScintilla(SCI_CONTRACTEDFOLDNEXT, 0); line >= 0;
       line = SendScintilla(SCI_CONTRACTEDFOLDNEXT, line + 1)) {
    state.folds.append(line);
  }
  return state;
}

void CodeEditor::RestoreView(const ViewState& state) {
  for (long line : state.folds) SendScintilla(SCI_FOLDLINE, line, SC_FOLDACTION_CONTRACT);
  SendScintilla(SCI_SETSEL, state.anchor, state.caret);
  SendScintilla(SCI_SETFIRSTVISIBLELINE, state.first_line);
  SendScintilla(SCI_SETXOFFSET, state.x_offset);
}

void CodeEditor::ShowPage(const QsciDocument& page) { ShowPage(page, ViewState()); }

void CodeEditor::ShowPage(const QsciDocument& page, const ViewState& state) {
  setDocument(page);
  RestoreView(state);
  // The code page, the lexer and the fold property are the text's own.
  setUtf8(true);
  if (SendScintilla(SCI_GETLEXER) != SCLEX_HTML) ApplyHighlighting();
  SetFolding(folding_);
  model_.ForgetDocument();
  edit_to_colour_ = {};  // an edit of the page shown before
  open_elements_ = {};
  marked_.clear();
  template_marks_.clear();
  problems_.clear();
  for (auto& marks : problem_marks_) marks.clear();
  // The text keeps its current-line mark: removing it by a search of every line would cost
  // a 50 MiB page several milliseconds at each switch.
  marked_line_ = state.marked_line;
  edited_since_marks_ = true;
  UpdateNumberMargin();
  int line = 0;
  int column = 0;
  getCursorPosition(&line, &column);
  MarkCurrentLine(line);
}

void CodeEditor::SetLineNumbersShown(bool shown) {
  line_numbers_shown_ = shown;
  UpdateNumberMargin();
}

void CodeEditor::UpdateNumberMargin() {
  if (!line_numbers_shown_) {
    setMarginWidth(kNumberMargin, 0);
    return;
  }
  int digits = 1;
  for (int count = std::max(1, lines()); count >= 10; count /= 10) ++digits;
  setMarginWidth(kNumberMargin, QString(std::max(3, digits) + 1, u'9'));
}

void CodeEditor::MarkCurrentLine(int line) {
  if (line == marked_line_) return;
  markerDeleteAll(kCurrentLineMarker);
  markerAdd(line, kCurrentLineMarker);
  marked_line_ = line;
}

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

void CodeEditor::SetFolding(bool on) {
  folding_ = on;
  if (!on) SendScintilla(SCI_FOLDALL, SC_FOLDACTION_EXPAND);
  setFolding(on ? BoxedTreeFoldStyle : NoFoldStyle, kFoldMargin);
  ReportEditsOnly();
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

void CodeEditor::FoldAtCaret(bool contract) {
  if (!folding_) return;
  int line = int(SendScintilla(SCI_LINEFROMPOSITION, SendScintilla(SCI_GETCURRENTPOS)));
  // Fold levels come with the colours, which may not have reached the caret yet.
  SendScintilla(SCI_COLOURISE, 0, SendScintilla(SCI_GETLINEENDPOSITION, line + 1));
  if (contract) {
    // A header line folds itself; any other line folds the element around it.
    if (!(SendScintilla(SCI_GETFOLDLEVEL, line) & SC_FOLDLEVELHEADERFLAG) ||
        !SendScintilla(SCI_GETFOLDEXPANDED, line)) {
      line = int(SendScintilla(SCI_GETFOLDPARENT, line));
    }
    if (line < 0) return;
    SendScintilla(SCI_FOLDLINE, line, SC_FOLDACTION_CONTRACT);
    SendScintilla(SCI_GOTOLINE, line);
  } else {
    SendScintilla(SCI_FOLDLINE, line, SC_FOLDACTION_EXPAND);
    SendScintilla(SCI_ENSUREVISIBLE, line);
  }
}

void CodeEditor::SetTagMatching(bool on) {
  tag_matching_ = on;
  MatchTags();
}

void CodeEditor::CentreCaret() { SendScintilla(SCI_VERTICALCENTRECARET); }

void CodeEditor::SetCompletion(bool on) {
  completion_ = on;
  if (!on) cancelList();
}

void CodeEditor::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  if (mods & Qt::ControlModifier) {
    // Ctrl+Shift+[ and ] (on most layouts Shift turns them into braces).
    const bool shift = mods & Qt::ShiftModifier;
    if (shift && (event->key() == Qt::Key_BracketLeft || event->key() == Qt::Key_BraceLeft)) {
      FoldAtCaret(true);
      return;
    }
    if (shift && (event->key() == Qt::Key_BracketRight || event->key() == Qt::Key_BraceRight)) {
      FoldAtCaret(false);
      return;
    }
    if (!shift && event->key() == Qt::Key_M) {
      JumpToPartner();
      return;
    }
  }
  if (block_selection_ && mods == Qt::ShiftModifier) {
    // Shift with a moving key extends a rectangle while block selection is on.
    static const QHash<int, int> kRectangleKeys = {
        {Qt::Key_Left, SCI_CHARLEFTRECTEXTEND}, {Qt::Key_Right, SCI_CHARRIGHTRECTEXTEND},
        {Qt::Key_Up, SCI_LINEUPRECTEXTEND},     {Qt::Key_Down, SCI_LINEDOWNRECTEXTEND},
        {Qt::Key_Home, SCI_VCHOMERECTEXTEND},   {Qt::Key_End, SCI_LINEENDRECTEXTEND},
        {Qt::Key_PageUp, SCI_PAGEUPRECTEXTEND}, {Qt::Key_PageDown, SCI_PAGEDOWNRECTEXTEND}};
    if (const auto command = kRectangleKeys.constFind(event->key());
        command != kRectangleKeys.constEnd()) {
      SendScintilla(static_cast<unsigned int>(*command));
      emit KeyHandled();
      return;
    }
  }
  if (!(mods & (Qt::ControlModifier | Qt::AltModifier)) && TypeOver(event->text())) {
    emit KeyHandled();
    return;
  }
  QsciScintilla::keyPressEvent(event);
  emit KeyHandled();
}

long CodeEditor::PositionAt(const QPointF& point) const {
  return SendScintilla(SCI_POSITIONFROMPOINT, static_cast<unsigned long>(point.x()),
                       static_cast<long>(point.y()));
}

void CodeEditor::mousePressEvent(QMouseEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  long margins = 0;
  for (int margin = 0, count = int(SendScintilla(SCI_GETMARGINS)); margin < count; ++margin) {
    margins += SendScintilla(SCI_GETMARGINWIDTHN, static_cast<unsigned long>(margin));
  }
  const bool in_text = event->position().x() >= double(margins);
  // Alt+drag is often the window manager's; Ctrl+Alt+drag and the block toggle reach here.
  const bool rectangle = mods == Qt::AltModifier ||
                         mods == (Qt::ControlModifier | Qt::AltModifier) ||
                         (block_selection_ && mods == Qt::NoModifier);
  if (event->button() != Qt::LeftButton || !in_text ||
      (mods != Qt::ControlModifier && !rectangle)) {
    QsciScintilla::mousePressEvent(event);
    return;
  }
  setFocus(Qt::MouseFocusReason);
  const long position = PositionAt(event->position());
  if (rectangle) {
    // Setting the rectangle's anchor makes the selection one rectangle.
    SendScintilla(SCI_SETRECTANGULARSELECTIONANCHOR, static_cast<unsigned long>(position));
    SendScintilla(SCI_SETRECTANGULARSELECTIONCARET, static_cast<unsigned long>(position));
    SendScintilla(SCI_CHOOSECARETX);  // the arrow keys go on from here
    mouse_drag_ = MouseDrag::kRectangle;
  } else {
    if (SendScintilla(SCI_GETSELECTIONMODE) != SC_SEL_STREAM) {
      SendScintilla(SCI_SETSELECTION, static_cast<unsigned long>(position), position);
    } else {
      SendScintilla(SCI_ADDSELECTION, static_cast<unsigned long>(position), position);
    }
    mouse_drag_ = MouseDrag::kAddedSelection;
  }
  event->accept();
}

void CodeEditor::mouseMoveEvent(QMouseEvent* event) {
  if (mouse_drag_ == MouseDrag::kNone || !(event->buttons() & Qt::LeftButton)) {
    mouse_drag_ = MouseDrag::kNone;
    QsciScintilla::mouseMoveEvent(event);
    return;
  }
  const auto position = static_cast<unsigned long>(PositionAt(event->position()));
  if (mouse_drag_ == MouseDrag::kRectangle) {
    SendScintilla(SCI_SETRECTANGULARSELECTIONCARET, position);
    SendScintilla(SCI_CHOOSECARETX);
  } else {
    SendScintilla(SCI_SETSELECTIONNCARET, SendScintilla(SCI_GETMAINSELECTION), long(position));
  }
  SendScintilla(SCI_SCROLLCARET);
  event->accept();
}

void CodeEditor::mouseReleaseEvent(QMouseEvent* event) {
  if (mouse_drag_ == MouseDrag::kNone) {
    QsciScintilla::mouseReleaseEvent(event);
    return;
  }
  mouse_drag_ = MouseDrag::kNone;
  event->accept();
}

void CodeEditor::mouseDoubleClickEvent(QMouseEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  if (event->button() != Qt::LeftButton || mods != Qt::ControlModifier) {
    QsciScintilla::mouseDoubleClickEvent(event);
    return;
  }
  // The first click added a caret here; it becomes the word around it.
  const auto position = static_cast<unsigned long>(PositionAt(event->position()));
  const long start = SendScintilla(SCI_WORDSTARTPOSITION, position, 1L);
  const long end = SendScintilla(SCI_WORDENDPOSITION, position, 1L);
  const long main = SendScintilla(SCI_GETMAINSELECTION);
  SendScintilla(SCI_SETSELECTIONNANCHOR, static_cast<unsigned long>(main), start);
  SendScintilla(SCI_SETSELECTIONNCARET, static_cast<unsigned long>(main), end);
  mouse_drag_ = MouseDrag::kNone;
  event->accept();
}

void CodeEditor::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFiles(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
    return;
  }
  QsciScintilla::dragEnterEvent(event);
}

void CodeEditor::dragMoveEvent(QDragMoveEvent* event) {
  if (!LocalFiles(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
    return;
  }
  QsciScintilla::dragMoveEvent(event);
}

void CodeEditor::dropEvent(QDropEvent* event) {
  const QStringList paths = LocalFiles(event->mimeData());
  if (!paths.isEmpty()) {
    event->acceptProposedAction();
    emit FilesDropped(paths);
    return;
  }
  QsciScintilla::dropEvent(event);
}
