#include "document/memory_editor_model.h"

#include "platform/text_format.h"

int MemoryEditorModel::LineCount() const {
  return text_.isEmpty() ? 0 : int(text_.count(u'\n')) + 1;
}

QString MemoryEditorModel::Line(int index) const {
  if (index < 0 || index >= std::max(1, LineCount())) return QString();
  const int start = LineStart(index);
  return text_.sliced(start, LineEndAt(index) - start);
}

int MemoryEditorModel::LineStart(int line) const {
  int start = 0;
  for (int i = 0; i < line; ++i) {
    const qsizetype next = text_.indexOf(u'\n', start);
    if (next < 0) return int(text_.size());
    start = int(next) + 1;
  }
  return start;
}

int MemoryEditorModel::LineEndAt(int line) const {
  const qsizetype end = text_.indexOf(u'\n', LineStart(line));
  return end < 0 ? int(text_.size()) : int(end);
}

int MemoryEditorModel::LineOf(int position) const {
  return int(
      QStringView(text_).first(std::clamp<qsizetype>(position, 0, text_.size())).count(u'\n'));
}

void MemoryEditorModel::Replace(int from, int to, const QString& text, int caret_at) {
  QString plain = text;
  CompactLineBreaks(plain);
  text_.replace(from, to - from, plain);
  caret_ = anchor_ = from + (caret_at < 0 ? int(plain.size()) : caret_at);
  modified_ = true;
  buffer_.clear();
}

void MemoryEditorModel::SetLine(int index, const QString& text) {
  if (index < 0 || index >= std::max(1, LineCount())) return;
  Replace(LineStart(index), LineEndAt(index), text);
}

void MemoryEditorModel::InsertLines(int index, const QStringList& lines) {
  if (lines.isEmpty()) return;
  // Into an empty text the caret stays at the start, as the component's does.
  if (LineCount() == 0) return Replace(0, 0, lines.join(u'\n'), 0);
  const int count = LineCount();
  ReplaceLines(std::clamp(index, 0, count), std::clamp(index, 0, count), lines);
}

void MemoryEditorModel::DeleteLine(int index) {
  if (index < 0 || index >= LineCount()) return;
  ReplaceLines(index, index + 1, {});
}

void MemoryEditorModel::ReplaceLines(int first, int end, const QStringList& lines) {
  const LineSpan span = SpanOfLines(
      first, end, lines.isEmpty(), LineCount(), [this](int line) { return LineStart(line); },
      [this](int line) { return LineEndAt(line); });
  QString replacement = lines.join(u'\n');
  if (span.break_before) replacement.prepend(u'\n');
  if (span.break_after) replacement += u'\n';
  Replace(int(span.from), int(span.to), replacement);
}

void MemoryEditorModel::ReplaceLineBytes(int first, int end, QByteArrayView joined, bool dropping) {
  QString text = DecodeUtf8(joined);
  CompactLineBreaks(text);
  ReplaceLines(first, end, dropping ? QStringList() : text.split(u'\n'));
}

void MemoryEditorModel::LoadBuffer(const QByteArray& utf8, LineEnd line_end) {
  text_ = DecodeUtf8(utf8);
  CompactLineBreaks(text_);
  line_end_ = line_end;
  anchor_ = caret_ = 0;
  modified_ = false;
  buffer_.clear();
}

QByteArrayView MemoryEditorModel::Buffer() const {
  if (buffer_.isNull()) buffer_ = WithLineEnds(text_.toUtf8(), line_end_);
  return buffer_;
}

void MemoryEditorModel::SetLineEnds(LineEnd line_end) {
  if (line_end == line_end_) return;
  line_end_ = line_end;
  if (text_.contains(u'\n')) modified_ = true;
  buffer_.clear();
}

QString MemoryEditorModel::SelectedText() const {
  return text_.sliced(SelectionStart(), SelectionEnd() - SelectionStart());
}

void MemoryEditorModel::ReplaceSelection(const QString& text) {
  Replace(SelectionStart(), SelectionEnd(), text);
}

void MemoryEditorModel::Select(int start, int length) {
  const int size = int(text_.size());
  anchor_ = std::clamp(start, 0, size);
  caret_ = std::clamp(start + length, 0, size);
}
