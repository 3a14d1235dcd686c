// The editor behaviours of the main window: status bar, undo, word wrap, clear, the
// whole-text transforms and the tag commands of the pop-up menu.
#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include "app/find_bar.h"
#include "app/main_window.h"
#include "app/page_menu.h"
#include "document/site.h"
#include "document/transforms.h"
#include "editor/code_editor.h"
#include "generators/table.h"
#include "names/texts.h"
#include "platform/desktop.h"
#include "tags/tag_catalogue.h"
#include "tags/tag_engine.h"

void MainWindow::BuildPopupMenu() {
  popup_menu_ = new PageMenu(
      commands_, [this](const QString& name) { RunTagCommand(name); }, this);
  for (CodeEditor* view : Views()) {
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
      OfferSpelling(view, pos);
      popup_menu_->popup(view->mapToGlobal(pos));
    });
  }
}

QMenu* MainWindow::PopupMenu() const { return popup_menu_; }

// The commands this window runs itself.
void MainWindow::BindOwnCommands() {
  BindCommand(Command::kNewPage, [this] {
    if (new_page_command_) {
      new_page_command_();
    } else {
      GenerateNewPage();
    }
  });
  BindCommand(Command::kOpen, [this] { OpenDocument(DocumentSession::Source::kDialog); });
  BindCommand(Command::kSave, [this] { session_.SaveDocument(); });
  BindCommand(Command::kSaveAs, [this] { session_.SaveDocumentAs(); });
  BindCommand(Command::kClosePage, [this] { ClosePageAt(CurrentPageIndex()); });
  int k = 1;
  for (Command item : kRecentFileCommands) {
    BindCommand(item, [this, k] { OpenDocument(DocumentSession::Source::kRecent, k); });
    ++k;
  }
  BindCommand(Command::kQuit, [this] { Exit(); });
  BindCommand(Command::kHideFilePanel, [this] { HideFilePanel(); });
  BindCommand(Command::kShowFilePanel, [this] { ShowFilePanel(); });
  BindCommand(Command::kOpenSelected, [this] { OpenSelectedOrAsk(); });
  BindCommand(Command::kUndo, [this] { editor_->undo(); });
  BindCommand(Command::kWordWrap,
              [this] { SetWordWrap(editor_->wrapMode() == QsciScintilla::WrapNone); });
  BindCommand(Command::kClearText, [this] {
    model_.SelectAll();
    model_.ReplaceSelection(QString());
  });
  const std::pair<Command, Utf8LineTransform> transforms[] = {
      {Command::kTextToHtml, &TextToHtml},
      {Command::kHtmlToText, &HtmlToText},
      {Command::kCompress, &CompressText},
      {Command::kQuickTable, &QuickTableLines}};
  for (const auto& [command, transform] : transforms) {
    BindCommand(command, [this, transform = transform] { model_.TransformLines(transform); });
  }
  // The format keys run the pop-up menu's items.
  for (const Command command : {Command::kBold, Command::kItalic, Command::kUnderline}) {
    BindCommand(command, [this, command] { RunTagCommand(RowOf(command).popup_item.toString()); });
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn && (watched == primary_ || watched == split_)) {
    SetActiveView(static_cast<CodeEditor*>(watched));
  }
  if (watched == editor_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape && find_bar_->isVisible() && !editor_->isListActive()) {
      find_bar_->hide();
      return true;
    }
    // Alt with a letter opens a menu and never types into the page.
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    if ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier) &&
        !key->text().isEmpty() && key->text().at(0).isLetterOrNumber()) {
      commands_.OpenMenuByMnemonic(key->text().at(0));
      return true;
    }
    // Before the key acts: the panels show the position the key starts from.
    UpdateCaretStatus();
  } else if (watched == editor_->viewport() && event->type() == QEvent::MouseButtonPress) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    // Ctrl+click on a link follows it; elsewhere it adds a caret.
    if (mouse->button() == Qt::LeftButton && mouse->modifiers() == Qt::ControlModifier &&
        FollowLinkAt(mouse->position().toPoint())) {
      return true;
    }
    // After the click has placed the caret.
    QTimer::singleShot(0, this, &MainWindow::UpdateCaretStatus);
  }
  return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::FollowLinkAt(const QPoint& pos) {
  if (!session_.IsNamed()) return false;
  const long position =
      editor_->SendScintilla(QsciScintilla::SCI_POSITIONFROMPOINTCLOSE, pos.x(), long(pos.y()));
  if (position < 0) return false;
  const QString page = session_.FileName();
  const std::optional<FollowedLink> link = LinkAt(page, model_.Buffer(), position);
  if (!link) return false;
  if (link->file.isEmpty()) {
    ShowStatusNote(Tr(Text::kLinkLeadsNowhere).arg(link->url));
    return true;
  }
  if (QFileInfo(link->file) != QFileInfo(page) && !OpenInNewTab(link->file)) return true;
  // The fragment's element, when the page names it.
  if (const qsizetype at = FragmentPosition(model_.Buffer(), link->fragment);
      !link->fragment.isEmpty() && at >= 0) {
    editor_->SendScintilla(QsciScintilla::SCI_GOTOPOS, static_cast<unsigned long>(at));
    editor_->CentreCaret();
  }
  return true;
}

void MainWindow::ShowCaretField() {
  SetStatusPanel(1, QStringLiteral("%1,%2").arg(model_.CaretOffset()).arg(model_.CaretLine()));
}

void MainWindow::UpdateCaretStatus() {
  ShowCaretField();
  SetStatusPanel(2, QString::number(model_.SelectionStart()));
}

void MainWindow::SetWordWrap(bool on) {
  settings_.word_wrap_on = on ? 1 : 0;
  for (CodeEditor* view : Views()) {
    view->setWrapMode(on ? QsciScintilla::WrapWord : QsciScintilla::WrapNone);
  }
}

void MainWindow::InsertAtCaret(const QString& text) {
  const InsertionPoint point = ::InsertAtCaret(model_, text);
  caret_line_ = point.line;
  caret_column_ = point.column;
}

void MainWindow::RunTagCommand(const QString& name) {
  for (const TagCommand& command : TagCatalogue()) {
    if (QString::fromUtf16(command.name) != name) continue;
    if (command.kind == TagKind::kWindow) {
      for (const CommandRow& row : CommandRows()) {
        if (row.popup_item == name) commands_.Run(row.command);
      }
      return;
    }
    const QString date = command.kind == TagKind::kDate ? desktop_.ShortDateText() : QString();
    const QString time = command.kind == TagKind::kTime ? desktop_.LongTimeText() : QString();
    if (const auto point = ::RunTagCommand(model_, command, date, time)) {
      caret_line_ = point->line;
      caret_column_ = point->column;
    }
    return;
  }
}

void MainWindow::BindEditCommands() {
  // The editor takes the clipboard keys itself while it has the focus.
  BindCommand(Command::kRedo, [this] { editor_->redo(); });
  BindCommand(Command::kCut, [this] { editor_->cut(); });
  BindCommand(Command::kCopy, [this] { editor_->copy(); });
  BindCommand(Command::kPaste, [this] { editor_->paste(); });
  BindCommand(Command::kSelectAll, [this] { editor_->selectAll(); });
  BindCommand(Command::kFind, [this] { find_bar_->Open(false); });
  BindCommand(Command::kReplace, [this] { find_bar_->Open(true); });
  BindCommand(Command::kFindNext, [this] { find_bar_->FindNext(false); });
  BindCommand(Command::kFindPrevious, [this] { find_bar_->FindNext(true); });
  BindCommand(Command::kGoToLine, [this] { GoToLine(); });
  // The menu shows whether there is something to redo; the key always asks the editor.
  QMenu* edit = commands_.MenuItem(QStringLiteral("EditMenu"))->menu();
  QAction* redo = commands_.KeyActionOf(Command::kRedo);
  connect(edit, &QMenu::aboutToShow, redo,
          [this, redo] { redo->setEnabled(editor_->isRedoAvailable()); });
  connect(edit, &QMenu::aboutToHide, redo, [redo] { redo->setEnabled(true); });
}

void MainWindow::BindViewCommands() {
  const std::pair<Command, void (CodeEditor::*)(bool)> toggles[] = {
      {Command::kLineNumbers, &CodeEditor::SetLineNumbersShown},
      {Command::kHighlighting, &CodeEditor::SetHighlighting},
      {Command::kFolding, &CodeEditor::SetFolding},
      {Command::kTagMatching, &CodeEditor::SetTagMatching},
      {Command::kCloseTags, &CodeEditor::SetClosingTags},
      {Command::kCompletion, &CodeEditor::SetCompletion},
      {Command::kAutoIndent, &CodeEditor::SetAutoIndent},
      {Command::kBlockSelection, &CodeEditor::SetBlockSelection}};
  for (const auto& [command, set] : toggles) {
    commands_.BindToggle(command, [this, set = set](bool on) {
      for (CodeEditor* view : Views()) (view->*set)(on);
    });
  }
  // The editor takes their keys itself while it has the focus; the menu shows them.
  BindCommand(Command::kFoldHere, [this] { editor_->FoldAtCaret(true); });
  BindCommand(Command::kUnfoldHere, [this] { editor_->FoldAtCaret(false); });
  BindCommand(Command::kMatchingTag, [this] { editor_->JumpToPartner(); });
  for (CodeEditor* view : Views()) {
    connect(view, &CodeEditor::FilesDropped, this, &MainWindow::OpenDropped);
  }
}

void MainWindow::GoToLine() {
  const int lines = std::max(1, editor_->lines());
  const auto line =
      desktop_.AskNumber(this, Tr(Text::kGoToLineTitle), Tr(Text::kGoToLineLabel).arg(lines),
                         model_.CaretLine() + 1, 1, lines);
  if (!line) return;
  editor_->setCursorPosition(*line - 1, 0);
  editor_->CentreCaret();
  editor_->setFocus();
  UpdateCaretStatus();
}
