#include "document/editor_model.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace {

QString FromDocumentText(QString text) {
  // QTextCursor reports line breaks inside a selection as U+2029.
  text.replace(QChar::ParagraphSeparator, u'\n');
  return text;
}

}  // namespace

EditorModel::EditorModel(QTextDocument* document) : document_(document), own_cursor_(document) {}

void EditorModel::AttachCursor(CursorGetter getter, CursorSetter setter) {
  get_cursor_ = std::move(getter);
  set_cursor_ = std::move(setter);
}

QTextCursor EditorModel::Cursor() const { return get_cursor_ ? get_cursor_() : own_cursor_; }

void EditorModel::SetCursor(const QTextCursor& cursor) {
  if (set_cursor_) {
    set_cursor_(cursor);
  } else {
    own_cursor_ = cursor;
  }
}

int EditorModel::LineCount() const {
  if (document_->isEmpty()) return 0;
  return document_->blockCount();
}

QString EditorModel::Line(int index) const {
  const QTextBlock block = document_->findBlockByNumber(index);
  return block.isValid() ? block.text() : QString();
}

QStringList EditorModel::Lines() const {
  if (document_->isEmpty()) return QStringList();
  // One copy of the whole text split at the block separators: faster than asking each
  // block for its text.
  return document_->toRawText().split(QChar::ParagraphSeparator);
}

void EditorModel::SetLine(int index, const QString& text) {
  const QTextBlock block = document_->findBlockByNumber(index);
  if (!block.isValid()) return;
  QTextCursor cursor(document_);
  cursor.setPosition(block.position());
  cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
  cursor.insertText(text);
  SetCursor(cursor);
}

void EditorModel::InsertLine(int index, const QString& text) {
  QTextCursor cursor(document_);
  const int count = LineCount();
  if (count == 0) {
    cursor.insertText(text);
    cursor.movePosition(QTextCursor::Start);
  } else if (index >= count) {
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("\n") + text);
  } else {
    const QTextBlock block = document_->findBlockByNumber(index);
    cursor.setPosition(block.position());
    cursor.insertText(text + QStringLiteral("\n"));
  }
  SetCursor(cursor);
}

void EditorModel::InsertLines(int index, const QStringList& lines) {
  if (lines.isEmpty()) return;
  QTextCursor cursor(document_);
  const int count = LineCount();
  const QString joined = lines.join(u'\n');
  if (count == 0) {
    cursor.insertText(joined);
    cursor.movePosition(QTextCursor::Start);
  } else if (index >= count) {
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("\n") + joined);
  } else {
    const QTextBlock block = document_->findBlockByNumber(std::max(0, index));
    cursor.setPosition(block.position());
    cursor.insertText(joined + QStringLiteral("\n"));
  }
  SetCursor(cursor);
}

void EditorModel::AppendLine(const QString& text) { InsertLine(LineCount(), text); }

void EditorModel::DeleteLine(int index) {
  const QTextBlock block = document_->findBlockByNumber(index);
  if (!block.isValid()) return;
  QTextCursor cursor(document_);
  if (block.next().isValid()) {
    cursor.setPosition(block.position());
    cursor.setPosition(block.next().position(), QTextCursor::KeepAnchor);
  } else if (block.previous().isValid()) {
    const QTextBlock previous = block.previous();
    cursor.setPosition(previous.position() + previous.length() - 1);
    cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
  } else {
    cursor.select(QTextCursor::Document);
  }
  cursor.removeSelectedText();
  SetCursor(cursor);
}

QString EditorModel::Text() const {
  // The raw text in one piece (non-breaking spaces kept), blocks separated by U+2029.
  QString text = document_->toRawText();
  for (QChar& c : text) {
    if (c == QChar::ParagraphSeparator) c = u'\n';
  }
  return text;
}

void EditorModel::LoadText(const QString& text) {
  document_->setPlainText(text);
  QTextCursor cursor(document_);
  SetCursor(cursor);
}

QString EditorModel::SelectedText() const { return FromDocumentText(Cursor().selectedText()); }

void EditorModel::ReplaceSelection(const QString& text) {
  QTextCursor cursor = Cursor();
  cursor.insertText(text);
  SetCursor(cursor);
}

void EditorModel::Select(int start, int length) {
  QTextCursor cursor(document_);
  const int last = document_->characterCount() - 1;
  cursor.setPosition(qBound(0, start, last));
  cursor.setPosition(qBound(0, start + length, last), QTextCursor::KeepAnchor);
  SetCursor(cursor);
}

void EditorModel::SelectAll() {
  QTextCursor cursor(document_);
  cursor.select(QTextCursor::Document);
  SetCursor(cursor);
}

int EditorModel::CaretLine() const { return Cursor().blockNumber(); }

int EditorModel::CaretOffset() const { return Cursor().positionInBlock(); }

int EditorModel::CaretPosition() const { return Cursor().position(); }

int EditorModel::SelectionStart() const { return Cursor().selectionStart(); }

int EditorModel::SelectionLine() const {
  return document_->findBlock(Cursor().selectionStart()).blockNumber();
}

void EditorModel::ApplyLines(const QStringList& new_lines) { ApplyLines(Lines(), new_lines); }

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

  // Character span of old lines [head, size - tail) and the text that replaces it; when a
  // whole line is added or dropped, the neighbouring line break goes with it.
  const qsizetype old_end = old_lines.size() - tail;
  const qsizetype new_end = new_lines.size() - tail;
  const QStringList middle = new_lines.mid(head, new_end - head);
  QString replacement = middle.join(u'\n');
  QTextCursor cursor(document_);
  auto line_start = [this](qsizetype i) { return document_->findBlockByNumber(int(i)).position(); };
  auto line_end = [this](qsizetype i) {
    const QTextBlock b = document_->findBlockByNumber(int(i));
    return b.position() + b.length() - 1;
  };
  int from = 0;
  int to = 0;
  if (head < old_end) {
    from = line_start(head);
    to = line_end(old_end - 1);
    if (middle.isEmpty()) {
      // Dropping whole lines: take one adjacent line break too.
      if (old_end < old_lines.size()) {
        to = line_start(old_end);
      } else if (head > 0) {
        from = line_end(head - 1);
      }
    }
  } else {
    // Pure insertion of lines before old line head.
    if (head < old_lines.size()) {
      from = to = line_start(head);
      replacement += u'\n';
    } else if (head > 0) {
      from = to = line_end(head - 1);
      replacement.prepend(u'\n');
    }
  }
  cursor.beginEditBlock();
  cursor.setPosition(from);
  cursor.setPosition(to, QTextCursor::KeepAnchor);
  cursor.insertText(replacement);
  cursor.endEditBlock();
  SetCursor(cursor);
}
