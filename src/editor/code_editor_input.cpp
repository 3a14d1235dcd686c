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
  if (HandleTabKeys(event->key(), mods)) {
    emit KeyHandled();
    return;
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

bool CodeEditor::HandleTabKeys(int key, Qt::KeyboardModifiers mods) {
  // The completion list takes Tab and Escape first.
  if (isListActive()) return false;
  if (key == Qt::Key_Escape && tab_stops_) {
    ClearTabStops();
    return true;
  }
  const bool tab = key == Qt::Key_Tab && mods == Qt::NoModifier;
  const bool back = key == Qt::Key_Backtab || (key == Qt::Key_Tab && mods == Qt::ShiftModifier);
  if (tab_stops_ && (tab || back) && GoToTabStop(back)) return true;
  return tab && !hasSelectedText() && tab_handler_ && tab_handler_();
}

void CodeEditor::SetTabStops(const QList<std::pair<long, long>>& stops) {
  ClearTabStops();
  if (stops.isEmpty()) return;
  SendScintilla(SCI_INDICSETSTYLE, kTabStopIndicator, INDIC_HIDDEN);
  SendScintilla(SCI_SETINDICATORCURRENT, kTabStopIndicator);
  const long size = SendScintilla(SCI_GETLENGTH);
  int i = 0;
  for (const auto& [from, length] : stops) {
    // An empty place is marked on the character after it; neighbours alternate values so
    // that two marks side by side stay two.
    const long marked = std::max(1L, length);
    if (from + marked > size) continue;
    SendScintilla(SCI_SETINDICATORVALUE, 1 + (length == 0 ? 1 : 0) + 2 * (i++ % 2));
    SendScintilla(SCI_INDICATORFILLRANGE, from, marked);
  }
  tab_stops_ = i > 0;
  if (tab_stops_) SelectTabStop(stops.first().first);
}

bool CodeEditor::GoToTabStop(bool backward) {
  const long size = SendScintilla(SCI_GETLENGTH);
  const long caret = SendScintilla(SCI_GETCURRENTPOS);
  const auto value = [this](long at) {
    return SendScintilla(SCI_INDICATORVALUEAT, kTabStopIndicator, at);
  };
  long start = -1;
  if (!backward) {
    // The run at the caret (a stop just reached) is passed over, then the next one taken.
    long at = caret;
    if (value(at) != 0) at = SendScintilla(SCI_INDICATOREND, kTabStopIndicator, at);
    while (at < size && value(at) == 0) at = SendScintilla(SCI_INDICATOREND, kTabStopIndicator, at);
    if (at < size && at > caret - 1) start = at;
  } else {
    long at = SendScintilla(SCI_GETSELECTIONSTART) - 1;
    while (at >= 0 && value(at) == 0)
      at = SendScintilla(SCI_INDICATORSTART, kTabStopIndicator, at) - 1;
    if (at >= 0) start = SendScintilla(SCI_INDICATORSTART, kTabStopIndicator, at);
  }
  if (start < 0 || start >= size) {
    if (!backward) ClearTabStops();
    return false;
  }
  SelectTabStop(start);
  return true;
}

void CodeEditor::SelectTabStop(long start) {
  const long value = SendScintilla(SCI_INDICATORVALUEAT, kTabStopIndicator, start);
  const bool empty = (value - 1) % 2 == 1;
  const long end = empty ? start : SendScintilla(SCI_INDICATOREND, kTabStopIndicator, start);
  SendScintilla(SCI_SETSEL, start, end);
}

void CodeEditor::ClearTabStops() {
  if (!tab_stops_) return;
  tab_stops_ = false;
  SendScintilla(SCI_SETINDICATORCURRENT, kTabStopIndicator);
  SendScintilla(SCI_INDICATORCLEARRANGE, 0, SendScintilla(SCI_GETLENGTH));
}
