#include "editor/code_editor_accessible.h"

#include <QTextBoundaryFinder>
#include <algorithm>

#include "editor/code_editor.h"
#include "editor/scintilla_model.h"

namespace {

QAccessibleInterface* Factory(const QString& /*class_name*/, QObject* object) {
  if (auto* editor = qobject_cast<CodeEditor*>(object)) return new CodeEditorAccessible(editor);
  return nullptr;
}

}  // namespace

CodeEditorAccessible::CodeEditorAccessible(CodeEditor* editor)
    : QAccessibleWidget(editor, QAccessible::EditableText) {}

void CodeEditorAccessible::Install() {
  static const bool installed = (QAccessible::installFactory(&Factory), true);
  Q_UNUSED(installed);
}

CodeEditor* CodeEditorAccessible::Editor() const { return static_cast<CodeEditor*>(widget()); }

ScintillaModel& CodeEditorAccessible::Model() const { return Editor()->Scintilla(); }

void* CodeEditorAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

QAccessible::State CodeEditorAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.editable = !Editor()->isReadOnly();
  state.multiLine = true;
  state.selectableText = true;
  return state;
}

void CodeEditorAccessible::selection(int index, int* start, int* end) const {
  *start = *end = 0;
  if (index != 0 || selectionCount() == 0) return;
  *start = Model().SelectionStart();
  *end = Model().SelectionEnd();
}

int CodeEditorAccessible::selectionCount() const { return Editor()->hasSelectedText() ? 1 : 0; }

void CodeEditorAccessible::addSelection(int start, int end) { setSelection(0, start, end); }

void CodeEditorAccessible::removeSelection(int index) {
  if (index == 0) setCursorPosition(cursorPosition());
}

void CodeEditorAccessible::setSelection(int index, int start, int end) {
  if (index == 0) Model().Select(start, end - start);
}

int CodeEditorAccessible::cursorPosition() const { return Model().CaretPosition(); }

void CodeEditorAccessible::setCursorPosition(int position) { Model().Select(position, 0); }

// A line break counts as one character, so the text shows every break as '\n'.
QString CodeEditorAccessible::text(int start, int end) const {
  const int count = characterCount();
  start = std::clamp(start, 0, count);
  end = std::clamp(end, start, count);
  return Model().Decoded(Model().BytePosition(start), Model().BytePosition(end));
}

// Within the offset's line: a line is the widest unit a reader asks for at the caret, and
// nothing here reads the whole text.
QString CodeEditorAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType type,
                                           int* start, int* end) const {
  const int count = characterCount();
  *start = *end = -1;
  if (type == QAccessible::NoBoundary) {
    *start = 0;
    *end = count;
    return text(0, count);
  }
  const bool whole_line =
      type == QAccessible::LineBoundary || type == QAccessible::ParagraphBoundary;
  // The caret after the last character still stands on the last line.
  if (offset < 0 || offset > count || (offset == count && !whole_line)) return QString();
  const int line = Model().LineOf(Model().BytePosition(offset));
  const int first = Model().LineStartCharacter(line);
  const QString line_text = Model().Line(line);
  if (whole_line) {
    *start = first;
    *end = std::min(count, first + int(line_text.size()) + 1);  // with its break
    return text(*start, *end);
  }
  const int local = std::min(offset - first, int(line_text.size()));
  int from = local;
  int to = std::min(local + 1, int(line_text.size()));
  if (type != QAccessible::CharBoundary && local < line_text.size()) {
    const auto kind = type == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                        : QTextBoundaryFinder::Sentence;
    QTextBoundaryFinder finder(kind, line_text);
    finder.setPosition(local);
    from = finder.isAtBoundary() ? local : int(std::max<qsizetype>(0, finder.toPreviousBoundary()));
    finder.setPosition(local);
    const qsizetype next = finder.toNextBoundary();
    to = next < 0 ? int(line_text.size()) : int(next);
  }
  if (to <= from) to = from + 1;  // the break at the end of the line
  *start = first + from;
  *end = std::min(count, first + to);
  return text(*start, *end);
}

QString CodeEditorAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType type,
                                               int* start, int* end) const {
  int at_start = 0;
  int at_end = 0;
  textAtOffset(offset, type, &at_start, &at_end);
  *start = *end = -1;
  if (at_start <= 0) return QString();
  return textAtOffset(at_start - 1, type, start, end);
}

QString CodeEditorAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType type,
                                              int* start, int* end) const {
  int at_start = 0;
  int at_end = 0;
  textAtOffset(offset, type, &at_start, &at_end);
  *start = *end = -1;
  if (at_end < 0 || at_end >= characterCount()) return QString();
  return textAtOffset(at_end, type, start, end);
}

int CodeEditorAccessible::characterCount() const {
  return Model().CharacterPosition(Editor()->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
}

QRect CodeEditorAccessible::characterRect(int offset) const {
  CodeEditor* editor = Editor();
  const long byte = Model().BytePosition(offset);
  const long next = editor->SendScintilla(QsciScintillaBase::SCI_POSITIONAFTER, byte);
  const int x = int(editor->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0, byte));
  const int x_next = int(editor->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0, next));
  const int y = int(editor->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0, byte));
  const int height = int(
      editor->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT,
                            editor->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, byte)));
  const QPoint top_left = editor->viewport()->mapToGlobal(QPoint(x, y));
  return QRect(top_left, QSize(std::max(1, x_next - x), height));
}

int CodeEditorAccessible::offsetAtPoint(const QPoint& point) const {
  CodeEditor* editor = Editor();
  const QPoint local = editor->viewport()->mapFromGlobal(point);
  const long byte = editor->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMPOINTCLOSE,
                                          static_cast<unsigned long>(local.x()), local.y());
  return byte < 0 ? -1 : Model().CharacterPosition(byte);
}

void CodeEditorAccessible::scrollToSubstring(int start, int end) {
  Model().Select(start, end - start);
  Editor()->ensureCursorVisible();
}

QString CodeEditorAccessible::attributes(int offset, int* start, int* end) const {
  *start = offset;
  *end = offset;
  return QString();
}
