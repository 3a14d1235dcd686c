#pragma once

#include "document/editor_model.h"

class QsciScintillaBase;

// The editor model over a Scintilla document. Scintilla holds UTF-8 with the page's own
// line ends; positions the model counts in UTF-16 characters (a line break as one) are
// converted with Scintilla's line index, never by scanning the text.
class ScintillaModel : public EditorModel {
 public:
  explicit ScintillaModel(QsciScintillaBase* editor);

  int LineCount() const override;
  QString Line(int index) const override;
  void SetLine(int index, const QString& text) override;
  void InsertLines(int index, const QStringList& lines) override;
  void DeleteLine(int index) override;
  QString Text() const override;
  void LoadBuffer(const QByteArray& utf8, LineEnd line_end) override;
  QByteArrayView Buffer() const override;
  QByteArrayView BufferPart(qsizetype from, qsizetype to) const override;
  void SetLineEnds(LineEnd line_end) override;
  void MarkSaved() override;
  bool AtSavePoint() const override;
  QString SelectedText() const override;
  void ReplaceSelection(const QString& text) override;
  void Select(int start, int length) override;
  void SelectAll() override;
  int CaretLine() const override;
  int CaretOffset() const override;
  int CaretPosition() const override;
  int SelectionStart() const override;
  int SelectionEnd() const override;
  int SelectionLine() const override;

  // The text is about to change: positions counted before no longer hold.
  void ForgetPositions() { memo_ = {}; }
  // The text is about to change at byte: what was counted before it still holds, and the
  // caret typing at the end of a long line is counted from there, not from the line's start.
  void ForgetPositionsFrom(long byte) {
    if (byte < memo_.byte) memo_ = {};
  }
  // The view shows another text, or the model is to work through another view.
  void ForgetDocument() {
    memo_ = {};
    line_index_ = false;
  }
  void SetView(QsciScintillaBase* view) {
    editor_ = view;
    ForgetDocument();
  }
  // Byte position in the buffer of a character position, and back.
  long BytePosition(int position) const;
  int CharacterPosition(long byte) const;
  QString Decoded(long from, long to) const;  // line breaks as '\n'
  int LineOf(long byte) const;
  int LineStartCharacter(int line) const;  // from the component's line index

 protected:
  void ReplaceLines(int first, int end, const QStringList& lines) override;
  void ReplaceLineBytes(int first, int end, QByteArrayView joined, bool dropping) override;
  QByteArray LineBreak() const override { return LineEndBytes(BreakKind()); }

 private:
  long Send(unsigned int message, unsigned long w = 0, long l = 0) const;
  // UTF-8 of lines joined by the page's line end, breaks inside them made that kind too.
  QByteArray Encoded(const QStringList& lines) const;
  long LineStart(int line) const;
  long LineEnd(int line) const;
  // Replaces bytes [from, to) as one undo step and puts the caret at caret_at, counted
  // from the start of the replacement (-1: after it).
  void Replace(long from, long to, QByteArrayView bytes, long caret_at = -1);
  ::LineEnd BreakKind() const;  // the kind of the breaks in the text
  int ExtraPerBreak() const;    // UTF-16 characters a break has beyond one
  void EnsureLineIndex() const;
  long Utf16Between(long from, long to) const;

  QsciScintillaBase* editor_;
  mutable bool line_index_ = false;
  // The last position converted: a line, a byte in it and its character position.
  struct Memo {
    long line = -1;
    long byte = -1;
    int character = 0;
  };
  mutable Memo memo_;
};
