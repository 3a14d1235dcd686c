#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "document/utf8_lines.h"
#include "platform/text_format.h"

// The editor seen as lines plus a selection. Every generator and tool edits the document
// through this class; the editing component implements it. Line indexes count from 0;
// offsets count UTF-16 characters from 0, a line break counting as one character whatever
// the page's line ends are.
class EditorModel {
 public:
  virtual ~EditorModel() = default;

  // An empty document has no lines; otherwise a text ending with a line break has an
  // empty last line.
  virtual int LineCount() const = 0;
  virtual QString Line(int index) const = 0;
  QStringList Lines() const;
  // Replaces line index (without its line break); the caret ends at the end of that line.
  virtual void SetLine(int index, const QString& text) = 0;
  // Inserts text as a new line at index (index == LineCount() appends); the caret stands at
  // the start of the line that was at index.
  void InsertLine(int index, const QString& text) { InsertLines(index, {text}); }
  // Inserts lines as new whole lines at index in one edit (one undo step); the caret stands
  // at the start of the line that was at index.
  virtual void InsertLines(int index, const QStringList& lines) = 0;
  void AppendLine(const QString& text) { InsertLine(LineCount(), text); }
  virtual void DeleteLine(int index) = 0;

  virtual QString Text() const = 0;  // lines joined by '\n'
  // Replaces the whole text and forgets the undo history (a document newly loaded); line
  // breaks ('\n') are held as line_end.
  void LoadText(const QString& text, LineEnd line_end = LineEnd::kLf);
  // The same with text in UTF-8 whose line ends are all line_end already.
  virtual void LoadBuffer(const QByteArray& utf8, LineEnd line_end) = 0;
  // The text as held: UTF-8 with the page's line ends. Valid until the next edit.
  virtual QByteArrayView Buffer() const = 0;
  // Bytes [from, to) of it (clamped to the text), valid until the next edit: the editing
  // component hands them out without moving the rest of a large page in memory.
  virtual QByteArrayView BufferPart(qsizetype from, qsizetype to) const;
  // Turns every line break into line_end, as one undo step; later breaks are line_end.
  virtual void SetLineEnds(LineEnd line_end) = 0;
  // The text now is what the page on disk holds; undoing back to it clears the mark.
  virtual void MarkSaved() = 0;
  virtual bool AtSavePoint() const = 0;

  virtual QString SelectedText() const = 0;  // line breaks as '\n'
  // Replaces the selection; the caret ends right after the inserted text.
  virtual void ReplaceSelection(const QString& text) = 0;
  virtual void Select(int start, int length) = 0;
  virtual void SelectAll() = 0;

  virtual int CaretLine() const = 0;    // line of the caret end of the selection
  virtual int CaretOffset() const = 0;  // offset of the caret within its line
  virtual int CaretPosition() const = 0;
  virtual int SelectionStart() const = 0;  // characters from the start of the text
  virtual int SelectionEnd() const = 0;
  virtual int SelectionLine() const = 0;  // line of the start of the selection

  // Turns the lines into new_lines as one undo step, rewriting only the changed middle
  // part (common leading and trailing lines stay untouched). old_lines, when the caller has
  // just read them, saves reading the document again.
  void ApplyLines(const QStringList& new_lines) { ApplyLines(Lines(), new_lines); }
  void ApplyLines(const QStringList& old_lines, const QStringList& new_lines);
  // The same with the lines transform writes from the text's UTF-8 lines as held: a large
  // page is neither decoded nor split into strings.
  void TransformLines(Utf8LineTransform transform);

 protected:
  // Lines [first, end) become lines (none: they go with one adjacent line break) as one
  // undo step; the caret ends after the new text. first == end inserts before line first.
  virtual void ReplaceLines(int first, int end, const QStringList& lines) = 0;
  // The same with the lines as UTF-8 joined by LineBreak(); none when dropping.
  virtual void ReplaceLineBytes(int first, int end, QByteArrayView joined, bool dropping) = 0;
  // The break between the lines of the text as held.
  virtual QByteArray LineBreak() const = 0;

  // What ReplaceLines replaces, in a model's own positions (line_start and line_end give a
  // line's first position and the one before its break), and the line break the new text
  // needs before or after it.
  struct LineSpan {
    long from = 0;
    long to = 0;
    bool break_before = false;
    bool break_after = false;
  };
  template <class Start, class End>
  static LineSpan SpanOfLines(int first, int end, bool dropping, int count, Start line_start,
                              End line_end) {
    LineSpan span;
    if (first < end) {
      span.from = line_start(first);
      span.to = line_end(end - 1);
      if (dropping) {
        // Dropping whole lines: one adjacent line break goes too.
        if (end < count) {
          span.to = line_start(end);
        } else if (first > 0) {
          span.from = line_end(first - 1);
        }
      }
    } else if (first < count) {
      span.from = span.to = line_start(first);
      span.break_after = true;
    } else if (first > 0) {
      span.from = span.to = line_end(first - 1);
      span.break_before = true;
    }
    return span;
  }
};
