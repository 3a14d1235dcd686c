#pragma once

#include <QPlainTextEdit>
#include <QStringList>

class LineNumberArea;

// The editor of a page: a plain-text editor with a gutter of line numbers, the current line
// marked, HTML colours for the lines on screen only (so a large page opens as fast as plain
// text), and files dropped on it announced rather than pasted.
class CodeEditor : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit CodeEditor(QWidget* parent = nullptr);

  void SetLineNumbersShown(bool shown);
  bool LineNumbersShown() const { return line_numbers_shown_; }
  void SetHighlighting(bool on);
  bool Highlighting() const { return highlighting_; }
  int GutterWidth() const;
  // Colours the blocks now on screen (also run after every scroll and edit).
  void HighlightVisible();

 signals:
  void FilesDropped(const QStringList& paths);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  friend class LineNumberArea;
  void PaintGutter(QPaintEvent* event);
  void UpdateGutterWidth();
  void MarkCurrentLine();
  void OnContentsChange(int position, int removed, int added);

  LineNumberArea* gutter_;
  bool line_numbers_shown_ = true;
  bool highlighting_ = true;
  // Blocks before this one carry a known end state; an edit moves it up.
  int valid_until_ = 0;
  // Bumped when the whole text is replaced.
  int generation_ = 0;
  bool highlighting_now_ = false;
};
