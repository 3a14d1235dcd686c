#include "document/editor_model.h"

QStringList EditorModel::Lines() const {
  if (LineCount() == 0) return QStringList();
  return Text().split(u'\n');
}

void EditorModel::LoadText(const QString& text, LineEnd line_end) {
  const QByteArray utf8 = text.toUtf8();
  LoadBuffer(line_end == LineEnd::kLf ? utf8 : WithLineEnds(utf8, line_end), line_end);
}

void EditorModel::ApplyLines(const QStringList& old_lines, const QStringList& new_lines) {
  qsizetype head = 0;
  const qsizetype common = qMin(old_lines.size(), new_lines.size());
  while (head < common && old_lines[head] == new_lines[head]) ++head;
  qsizetype tail = 0;
  while (tail < common - head &&
         old_lines[old_lines.size() - 1 - tail] == new_lines[new_lines.size() - 1 - tail]) {
    ++tail;
  }
  if (head == old_lines.size() && head == new_lines.size()) return;
  const qsizetype old_end = old_lines.size() - tail;
  const qsizetype new_end = new_lines.size() - tail;
  ReplaceLines(int(head), int(old_end), new_lines.mid(head, new_end - head));
}
