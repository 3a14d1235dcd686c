// The editor's keys, mouse and drops: comforts while typing, several and rectangular
// selections, and files dropped on the view announced rather than pasted.
#include <QKeyEvent>
#include <QMimeData>

#include "editor/code_editor.h"

namespace {

QStringList LocalFiles(const QMimeData* mime) {
  QStringList paths;
  if (mime == nullptr || !mime->hasUrls()) return paths;
  for (const QUrl& url : mime->urls()) {
    if (url.isLocalFile()) paths.append(url.toLocalFile());
  }
  return paths;
}

}  // namespace

void CodeEditor::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  if (mods & Qt::ControlModifier) {
    // Ctrl+Shift+[ and ] (on most layouts Shift turns them into braces).
    const bool shift = mods & Qt::ShiftModifier;
    if (shift && (event->key() == Qt::Key_BracketLeft || event->key() == Qt::Key_BraceLeft)) {
      FoldAtCaret(true);
      return;
    }
    if (shift && (event->key() == Qt::Key_BracketRight || event->key() == Qt::Key_BraceRight)) {
      FoldAtCaret(false);
      return;
    }
    if (!shift && event->key() == Qt::Key_M) {
      JumpToPartner();
      return;
    }
  }
  if (block_selection_ && mods == Qt::ShiftModifier) {
    // Shift with a moving key extends a rectangle while block selection is on.
    static const QHash<int, int> kRectangleKeys = {
        {Qt::Key_Left, SCI_CHARLEFTRECTEXTEND}, {Qt::Key_Right, SCI_CHARRIGHTRECTEXTEND},
        {Qt::Key_Up, SCI_LINEUPRECTEXTEND},     {Qt::Key_Down, SCI_LINEDOWNRECTEXTEND},
        {Qt::Key_Home, SCI_VCHOMERECTEXTEND},   {Qt::Key_End, SCI_LINEENDRECTEXTEND},
        {Qt::Key_PageUp, SCI_PAGEUPRECTEXTEND}, {Qt::Key_PageDown, SCI_PAGEDOWNRECTEXTEND}};
    if (const auto command = kRectangleKeys.constFind(event->key());
        command != kRectangleKeys.constEnd()) {
      SendScintilla(static_cast<unsigned int>(*command));
      emit KeyHandled();
      return;
    }
  }
  if (!(mods & (Qt::ControlModifier | Qt::AltModifier)) && TypeOver(event->text())) {
    emit KeyHandled();
    return;
  }
  QsciScintilla::keyPressEvent(event);
  emit KeyHandled();
}

long CodeEditor::PositionAt(const QPointF& point) const {
  return SendScintilla(SCI_POSITIONFROMPOINT, static_cast<unsigned long>(point.x()),
                       static_cast<long>(point.y()));
}

void CodeEditor::mousePressEvent(QMouseEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  long margins = 0;
  for (int margin = 0, count = int(SendScintilla(SCI_GETMARGINS)); margin < count; ++margin) {
    margins += SendScintilla(SCI_GETMARGINWIDTHN, static_cast<unsigned long>(margin));
  }
  const bool in_text = event->position().x() >= double(margins);
  // Alt+drag is often the window manager's; Ctrl+Alt+drag and the block toggle reach here.
  const bool rectangle = mods == Qt::AltModifier ||
                         mods == (Qt::ControlModifier | Qt::AltModifier) ||
                         (block_selection_ && mods == Qt::NoModifier);
  if (event->button() != Qt::LeftButton || !in_text ||
      (mods != Qt::ControlModifier && !rectangle)) {
    QsciScintilla::mousePressEvent(event);
    return;
  }
  setFocus(Qt::MouseFocusReason);
  const long position = PositionAt(event->position());
  if (rectangle) {
    // Setting the rectangle's anchor makes the selection one rectangle.
    SendScintilla(SCI_SETRECTANGULARSELECTIONANCHOR, static_cast<unsigned long>(position));
    SendScintilla(SCI_SETRECTANGULARSELECTIONCARET, static_cast<unsigned long>(position));
    SendScintilla(SCI_CHOOSECARETX);  // the arrow keys go on from here
    mouse_drag_ = MouseDrag::kRectangle;
  } else {
    if (SendScintilla(SCI_GETSELECTIONMODE) != SC_SEL_STREAM) {
      SendScintilla(SCI_SETSELECTION, static_cast<unsigned long>(position), position);
    } else {
      SendScintilla(SCI_ADDSELECTION, static_cast<unsigned long>(position), position);
    }
    mouse_drag_ = MouseDrag::kAddedSelection;
  }
  event->accept();
}

void CodeEditor::mouseMoveEvent(QMouseEvent* event) {
  if (mouse_drag_ == MouseDrag::kNone || !(event->buttons() & Qt::LeftButton)) {
    mouse_drag_ = MouseDrag::kNone;
    QsciScintilla::mouseMoveEvent(event);
    return;
  }
  const auto position = static_cast<unsigned long>(PositionAt(event->position()));
  if (mouse_drag_ == MouseDrag::kRectangle) {
    SendScintilla(SCI_SETRECTANGULARSELECTIONCARET, position);
    SendScintilla(SCI_CHOOSECARETX);
  } else {
    SendScintilla(SCI_SETSELECTIONNCARET, SendScintilla(SCI_GETMAINSELECTION), long(position));
  }
  SendScintilla(SCI_SCROLLCARET);
  event->accept();
}

void CodeEditor::mouseReleaseEvent(QMouseEvent* event) {
  if (mouse_drag_ == MouseDrag::kNone) {
    QsciScintilla::mouseReleaseEvent(event);
    return;
  }
  mouse_drag_ = MouseDrag::kNone;
  event->accept();
}

void CodeEditor::mouseDoubleClickEvent(QMouseEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  if (event->button() != Qt::LeftButton || mods != Qt::ControlModifier) {
    QsciScintilla::mouseDoubleClickEvent(event);
    return;
  }
  // The first click added a caret here; it becomes the word around it.
  const auto position = static_cast<unsigned long>(PositionAt(event->position()));
  const long start = SendScintilla(SCI_WORDSTARTPOSITION, position, 1L);
  const long end = SendScintilla(SCI_WORDENDPOSITION, position, 1L);
  const long main = SendScintilla(SCI_GETMAINSELECTION);
  SendScintilla(SCI_SETSELECTIONNANCHOR, static_cast<unsigned long>(main), start);
  SendScintilla(SCI_SETSELECTIONNCARET, static_cast<unsigned long>(main), end);
  mouse_drag_ = MouseDrag::kNone;
  event->accept();
}

void CodeEditor::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFiles(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
    return;
  }
  QsciScintilla::dragEnterEvent(event);
}

void CodeEditor::dragMoveEvent(QDragMoveEvent* event) {
  if (!LocalFiles(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
    return;
  }
  QsciScintilla::dragMoveEvent(event);
}

void CodeEditor::dropEvent(QDropEvent* event) {
  const QStringList paths = LocalFiles(event->mimeData());
  if (!paths.isEmpty()) {
    event->acceptProposedAction();
    emit FilesDropped(paths);
    return;
  }
  QsciScintilla::dropEvent(event);
}
