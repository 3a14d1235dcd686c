#include "document/editor_model.h"

#include <algorithm>
#include <optional>

QStringList EditorModel::Lines() const {
  if (LineCount() == 0) return QStringList();
  return Text().split(u'\n');
}

QByteArrayView EditorModel::BufferPart(qsizetype from, qsizetype to) const {
  const QByteArrayView text = Buffer();
  from = std::clamp<qsizetype>(from, 0, text.size());
  return text.sliced(from, std::clamp<qsizetype>(to, from, text.size()) - from);
}

void EditorModel::LoadText(const QString& text, LineEnd line_end) {
  const QByteArray utf8 = text.toUtf8();
  LoadBuffer(line_end == LineEnd::kLf ? utf8 : WithLineEnds(utf8, line_end), line_end);
}

namespace {

// The lines between the common leading and trailing ones; nothing when all are common.
struct ChangedLines {
  qsizetype head = 0;
  qsizetype old_end = 0;
  qsizetype new_end = 0;
};

template <class Same>
std::optional<ChangedLines> Changed(qsizetype old_count, qsizetype new_count, Same same) {
  qsizetype head = 0;
  const qsizetype common = qMin(old_count, new_count);
  while (head < common && same(head, head)) ++head;
  qsizetype tail = 0;
  while (tail < common - head && same(old_count - 1 - tail, new_count - 1 - tail)) ++tail;
  if (head == old_count && head == new_count) return std::nullopt;
  return ChangedLines{head, old_count - tail, new_count - tail};
}

}  // namespace

void EditorModel::ApplyLines(const QStringList& old_lines, const QStringList& new_lines) {
  const auto changed = Changed(old_lines.size(), new_lines.size(), [&](qsizetype i, qsizetype j) {
    return old_lines[i] == new_lines[j];
  });
  if (!changed) return;
  ReplaceLines(int(changed->head), int(changed->old_end),
               new_lines.mid(changed->head, changed->new_end - changed->head));
}

void EditorModel::TransformLines(Utf8LineTransform transform) {
  const QByteArrayView text = Buffer();
  const QList<QByteArrayView> old_lines = SplitUtf8Lines(text);
  Utf8LineWriter out(LineBreak(), text.size());
  transform(old_lines, out);
  const auto changed = Changed(old_lines.size(), out.Count(), [&](qsizetype i, qsizetype j) {
    return old_lines[i] == out.Line(j);
  });
  if (!changed) return;
  ReplaceLineBytes(int(changed->head), int(changed->old_end),
                   out.Lines(changed->head, changed->new_end), changed->new_end == changed->head);
}
