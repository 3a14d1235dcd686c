#pragma once

#include "document/editor_model.h"

// The editor model over a plain string, with the editing component's contract: what the
// tag engine, the new page and the document session do can be run without a window. There
// is no undo history; the save point is whether anything changed since MarkSaved.
class MemoryEditorModel : public EditorModel {
 public:
  int LineCount() const override;
  QString Line(int index) const override;
  void SetLine(int index, const QString& text) override;
  void InsertLines(int index, const QStringList& lines) override;
  void DeleteLine(int index) override;
  QString Text() const override { return text_; }
  void LoadBuffer(const QByteArray& utf8, LineEnd line_end) override;
  QByteArrayView Buffer() const override;
  void SetLineEnds(LineEnd line_end) override;
  void MarkSaved() override { modified_ = false; }
  bool AtSavePoint() const override { return !modified_; }
  QString SelectedText() const override;
  void ReplaceSelection(const QString& text) override;
  void Select(int start, int length) override;
  void SelectAll() override { Select(0, int(text_.size())); }
  int CaretLine() const override { return LineOf(caret_); }
  int CaretOffset() const override { return caret_ - LineStart(LineOf(caret_)); }
  int CaretPosition() const override { return caret_; }
  int SelectionStart() const override { return std::min(anchor_, caret_); }
  int SelectionEnd() const override { return std::max(anchor_, caret_); }
  int SelectionLine() const override { return LineOf(SelectionStart()); }

 protected:
  void ReplaceLines(int first, int end, const QStringList& lines) override;
  void ReplaceLineBytes(int first, int end, QByteArrayView joined, bool dropping) override;
  QByteArray LineBreak() const override { return LineEndBytes(line_end_); }

 private:
  int LineStart(int line) const;  // in characters; the text's size past the last line
  int LineEndAt(int line) const;  // before the line's break
  int LineOf(int position) const;
  // Characters [from, to) become text; the caret ends at from + caret_at (-1: after it).
  void Replace(int from, int to, const QString& text, int caret_at = -1);

  QString text_;  // line breaks as '\n'
  LineEnd line_end_ = LineEnd::kLf;
  int anchor_ = 0;
  int caret_ = 0;
  bool modified_ = false;
  mutable QByteArray buffer_;
};
