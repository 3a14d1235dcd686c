#pragma once

#include <Qsci/qsciscintilla.h>

#include <QRegularExpression>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "document/page.h"
#include "editor/scintilla_model.h"
#include "html/html_structure.h"
#include "html/problems.h"

class QsciLexerHTML;

// The editor of a page on a code-editing component: line numbers with the current line
// marked, HTML colours with embedded script, folding by element, the partner of the tag at
// the caret highlighted, end tags completed on "</", name lists while typing, several and
// rectangular selections. Files dropped on it are announced rather than pasted.
class CodeEditor : public QsciScintilla {
  Q_OBJECT
 public:
  // The first and last lines on screen.
  std::pair<long, long> LinesOnScreen() const;
  explicit CodeEditor(QWidget* parent = nullptr);
  ~CodeEditor() override;

  // The margin's bar on the caret's line.
  static constexpr int kCurrentLineMarker = 20;

  // Where a page stood in a view, kept while another page is shown.
  struct ViewState {
    long caret = 0;
    long anchor = 0;
    long first_line = 0;  // the first line on screen, counted in shown lines
    long x_offset = 0;
    QList<long> folds;     // the folded elements' first lines
    int marked_line = -1;  // where the current line's mark stands in the text
  };
  ViewState SaveView() const;
  void RestoreView(const ViewState& state);
  // Shows page (a new empty text for a QsciDocument never shown), with its undo history,
  // colours and fold levels, where state says it stood; the view's own choices stay.
  void ShowPage(const QsciDocument& page, const ViewState& state);
  void ShowPage(const QsciDocument& page);

  EditorModel& Model() { return model_; }
  ScintillaModel& Scintilla() { return model_; }

  void SetLineNumbersShown(bool shown);
  bool LineNumbersShown() const { return line_numbers_shown_; }
  void SetHighlighting(bool on);
  bool Highlighting() const { return highlighting_; }
  void SetFolding(bool on);
  // Sizes the component's cache of measured text runs for a page whose longest line has
  // this many bytes.
  void FitMeasureCache(qsizetype longest_line);
  // Lays out a page whose longest line has this many bytes: wrapped as the user chose,
  // except a minified page's lines, which stay unwrapped until the user wraps them.
  void FitLines(qsizetype longest_line, bool wrap);
  bool Folding() const { return folding_; }
  void SetTagMatching(bool on);
  bool TagMatching() const { return tag_matching_; }
  void SetClosingTags(bool on) { closing_tags_ = on; }
  bool ClosingTags() const { return closing_tags_; }
  // Enter keeps the line's indentation, one level more inside an element just opened.
  // Plain drags and Shift with the arrow keys select a rectangle, as Alt (or Ctrl+Alt) with a
  // drag and Alt+Shift with the arrows always do.
  void SetBlockSelection(bool on) { block_selection_ = on; }
  bool BlockSelection() const { return block_selection_; }
  void SetAutoIndent(bool on) { auto_indent_ = on; }
  bool AutoIndent() const { return auto_indent_; }
  void SetCompletion(bool on);
  bool Completion() const { return completion_; }

  void SetEditorFont(const QFont& font);
  void SetPaper(const QColor& colour);

  // Folds (or unfolds) the element whose start line holds the caret or encloses it.
  void FoldAtCaret(bool contract);
  // Puts the caret in the partner of the tag it stands in; false when there is none.
  bool JumpToPartner();
  void CentreCaret();
  // Bytes [from, to) of the text become bytes, as one undo step.
  void ReplaceBytes(long from, long to, QByteArrayView bytes);

  // Places Tab visits after an expansion, each a byte offset and the length of its default
  // text (0: an empty place). They move with the text; the caret goes to the first.
  void SetTabStops(const QList<std::pair<long, long>>& stops);
  bool HasTabStops() const { return tab_stops_; }
  // The next (or previous) stop: its default text selected, or the caret in the empty
  // place. False, the stops gone, when there is none that way.
  bool GoToTabStop(bool backward);
  void ClearTabStops();
  // Asked first on a plain Tab (no completion list open): true when it took the key.
  void SetTabHandler(std::function<bool()> handler) { tab_handler_ = std::move(handler); }
  // The byte ranges now marked as a matching pair of tag names (empty when none).
  QList<std::pair<long, long>> MarkedTags() const { return marked_; }
  // Underlines the problems' places, on the lines on screen only (so that typing stays
  // quick in a page of many problems); an empty list clears them.
  void SetProblemMarks(const QList<Problem>& problems);
  // The byte ranges now underlined for problems of severity (other than spelling), and for
  // unknown words.
  QList<std::pair<long, long>> ProblemMarks(Severity severity) const {
    return problem_marks_[int(severity)];
  }
  QList<std::pair<long, long>> SpellingMarks() const { return problem_marks_[kSpellingMarks]; }
  // The unknown word marked at a position, with its byte range.
  struct MarkedWord {
    Problem problem;
    long from = 0;
    long to = 0;
  };
  std::optional<MarkedWord> SpellingProblemAt(long position) const;
  // The lines (from 0) that carry the margin's error dot.
  QList<long> ErrorLines() const { return error_lines_; }
  // Marks every match of expression on the lines on screen (while the find bar is open);
  // nothing clears them.
  void SetFindHighlight(const std::optional<QRegularExpression>& expression);
  QList<std::pair<long, long>> FindMarks() const { return find_marks_; }
  // The names the completion list now shows (empty when it is closed).
  QStringList ShownCompletions() const { return shown_completions_; }

 signals:
  void FilesDropped(const QStringList& paths);
  // The text is being changed at byte position: the component reports each edit just
  // before it is made.
  void Edited(long position);
  // A key was handled: its edit and caret move are done.
  void KeyHandled();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Tab, Shift+Tab and Escape among tab stops, and Tab's own handler; true when taken.
  bool HandleTabKeys(int key, Qt::KeyboardModifiers mods);
  void SelectTabStop(long start);
  void paintEvent(QPaintEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // Ctrl+click adds a caret, Ctrl+double-click a word, Alt+drag makes a rectangle. The
  // component reads Ctrl as its rectangle key on X11, so these are done here.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  enum class MouseDrag { kNone, kAddedSelection, kRectangle };
  // Indicators: the matching pair of tag names, and template markers.
  static constexpr int kTagIndicator = 8;
  static constexpr int kMarkerIndicator = 9;
  // Problems: an error, a warning, a note, an unknown word.
  static constexpr int kMarkKinds = 4;
  static constexpr int kSpellingMarks = 3;
  static constexpr int kProblemIndicators[kMarkKinds] = {10, 11, 12, 13};
  static constexpr int kFindIndicator = 14;
  static constexpr int kTabStopIndicator = 15;
  static constexpr int kErrorMarker = 21;

  void SetUpMarks();
  void ApplyHighlighting();
  void SetUpLexerAndKeys();
  void ConnectComponent();
  void StyleLexer();
  // Edits reported, before they happen only.
  void ReportEditsOnly();
  // The start and end (past its break) of the line a position stands on.
  std::pair<long, long> LineAround(long position) const;
  bool OnLongLine(long position) const;
  // An edit on a long line, noted as it begins, to colour before the next paint.
  struct EditToColour {
    long position = -1;    // none
    long added = 0;        // bytes; negative for a deletion
    long line_count = 0;   // before the edit
    long styled = 0;       // how far the text was coloured before the edit
    bool several = false;  // more edits came before the paint: added is not known
  };
  void NoteEditToColour(long position, long added);
  void ColourLongLineFrom(const EditToColour& edit);
  // Whether colouring can start at position as if afresh: plain text comes before it.
  bool ColoursRestartAt(long position) const;
  QByteArray StylesBetween(long from, long to) const;
  void UpdateNumberMargin();
  void MarkCurrentLine(int line);
  void MatchTags();
  // The tag at the caret and its partner, looked for within reach bytes of the caret (-1:
  // the whole text).
  std::optional<std::pair<TagSpan, TagSpan>> TagPairAtCaret(long reach = -1);
  // Sets an indicator's ranges to wanted, current being the ranges it has now.
  void ReplaceMarks(int indicator, QList<std::pair<long, long>>& current,
                    const QList<std::pair<long, long>>& wanted);
  void MarkTemplateMarkers();
  void MarkProblems();
  void MarkFindMatches();
  // Where problems' columns were last found: problems taken in order of line and column
  // are placed by walking on from the one before, not from the start of a long line.
  struct ColumnCursor {
    long line = -1;
    long column = 0;
    long position = 0;
  };
  // Where a problem's range stands in the text now.
  std::pair<long, long> RangeOf(const Problem& problem, ColumnCursor& cursor) const;
  // The text positions the screen shows, with some to spare; of a long line (a minified
  // page) only the part around the screen.
  std::pair<long, long> PositionsOnScreen() const;
  void OnCharAdded(int character);
  // A key typed right after a completed end tag that matches its next character goes over
  // it; true when the key was taken so.
  bool TypeOver(const QString& typed);
  // Indents a new line as the one above it.
  void Indent(long line);
  // The page's step of indentation: a tab, or its most common run of spaces.
  QByteArray IndentUnit() const;
  void ShowCompletions(long word_start);
  long PositionAt(const QPointF& point) const;

  ScintillaModel model_;
  std::unique_ptr<QsciLexerHTML> lexer_;
  QColor paper_ = Qt::white;
  QFont chosen_font_;
  bool line_numbers_shown_ = true;
  bool highlighting_ = true;
  bool folding_ = true;
  qsizetype measure_cache_ = 1024;  // the component's own default
  bool tag_matching_ = true;
  bool closing_tags_ = true;
  bool completion_ = true;
  bool block_selection_ = false;
  bool auto_indent_ = true;
  QByteArray typed_over_;   // the rest of a completed end tag that typing may go over
  long typed_over_at_ = 0;  // where the caret stands while it may
  // How far the page was read for the element "</" closes: typing on at the end of a large
  // page reads only what was typed since.
  OpenElements open_elements_;
  int marked_line_ = -1;
  long reported_caret_ = -1;  // the caret's byte position when its move was last followed
  EditToColour edit_to_colour_;
  QList<std::pair<long, long>> marked_;
  QList<std::pair<long, long>> template_marks_;  // template markers now marked
  std::optional<QRegularExpression> find_expression_;
  QList<std::pair<long, long>> find_marks_;  // matches now marked
  QList<Problem> problems_;
  QList<std::pair<long, long>> problem_marks_[kMarkKinds];  // by kind, now marked
  bool tab_stops_ = false;
  std::function<bool()> tab_handler_;
  QList<long> error_lines_;
  bool edited_since_marks_ = false;  // the marks above may have moved with the text
  QStringList shown_completions_;
  MouseDrag mouse_drag_ = MouseDrag::kNone;
};

// A page's text and where it stood in the view, while another page is shown.
struct ScintillaPageText : PageText {
  QsciDocument text;
  CodeEditor::ViewState view;
};
