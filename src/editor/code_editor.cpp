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

void CodeEditor::SetFolding(bool on) {
  folding_ = on;
  if (!on) SendScintilla(SCI_FOLDALL, SC_FOLDACTION_EXPAND);
  setFolding(on ? BoxedTreeFoldStyle : NoFoldStyle, kFoldMargin);
  ReportEditsOnly();
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

void CodeEditor::ReplaceBytes(long from, long to, QByteArrayView bytes) {
  SendScintilla(SCI_BEGINUNDOACTION);
  SendScintilla(SCI_SETTARGETRANGE, from, to);
  SendScintilla(SCI_REPLACETARGET, bytes.size(), bytes.data());
  SendScintilla(SCI_ENDUNDOACTION);
}
