#pragma once

#include <QString>
#include <QStringList>
#include <QTextCursor>
#include <functional>

class QTextDocument;

// The editor seen as lines plus a selection. Every generator and tool edits the document
// through this class. The caret and selection belong to the view when one is attached
// (AttachCursor); on a bare document the model keeps its own cursor.
// Line indexes count from 0; offsets count characters from 0.
class EditorModel {
 public:
  explicit EditorModel(QTextDocument* document);

  using CursorGetter = std::function<QTextCursor()>;
  using CursorSetter = std::function<void(const QTextCursor&)>;
  void AttachCursor(CursorGetter getter, CursorSetter setter);

  QTextDocument* Document() const { return document_; }

  // An empty document has no lines; otherwise one line per text block (a text ending with
  // a line break has an empty last line).
  int LineCount() const;
  QString Line(int index) const;
  QStringList Lines() const;
  // Replaces line index (without its line break); the caret ends at the end of that line.
  void SetLine(int index, const QString& text);
  // Inserts text as a new line at index (index == LineCount() appends); the caret stands at
  // the start of the line that was at index.
  void InsertLine(int index, const QString& text);
  // Inserts lines as new whole lines at index in one edit (one undo step); the caret stands
  // at the start of the line that was at index.
  void InsertLines(int index, const QStringList& lines);
  void AppendLine(const QString& text);
  void DeleteLine(int index);

  QString Text() const;  // lines joined by '\n'
  // Replaces the whole text and forgets the undo history (a document newly loaded).
  void LoadText(const QString& text);

  QString SelectedText() const;  // line breaks as '\n'
  // Replaces the selection; the caret ends right after the inserted text.
  void ReplaceSelection(const QString& text);
  void Select(int start, int length);
  void SelectAll();

  int CaretLine() const;    // line of the end of the selection
  int CaretOffset() const;  // offset of the end of the selection within its line
  int CaretPosition() const;
  int SelectionStart() const;  // characters from the start of the text
  int SelectionLine() const;   // line of the start of the selection

  // Turns the lines into new_lines as one undo step, rewriting only the changed middle
  // part (common leading and trailing lines stay untouched). old_lines, when the caller has
  // just read them, saves reading the document again.
  void ApplyLines(const QStringList& new_lines);
  void ApplyLines(const QStringList& old_lines, const QStringList& new_lines);

 private:
  QTextCursor Cursor() const;
  void SetCursor(const QTextCursor& cursor);

  QTextDocument* document_;
  QTextCursor own_cursor_;
  CursorGetter get_cursor_;
  CursorSetter set_cursor_;
};
