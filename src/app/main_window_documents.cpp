// The main window as the view of the document session, and the document commands that
// need the window: new page with the wizard's fields, start-up, the file panel.
#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include "app/file_panel.h"
#include "app/main_window.h"
#include "app/recovery_keeper.h"
#include "app/save_prompt_window.h"
#include "document/document.h"
#include "editor/code_editor.h"
#include "names/texts.h"
#include "platform/desktop.h"

namespace {

// Past this many bytes a line is a minified page's.
constexpr qsizetype kLongLine = 20000;

}  // namespace

void MainWindow::OpenSelectedOrAsk() {
  OpenDocument(file_panel_->SelectedFilePath().isEmpty() ? Source::kDialog : Source::kFilePanel);
}

void MainWindow::ShowDocumentName(const QString& name) {
  setWindowTitle(CaptionFor(name));  // a page closed to nothing names nothing
  UpdateCurrentTab();
  file_panel_->ShowDocumentFile(name);
  // A page loaded, made or saved: the caret fields show where the caret now stands.
  UpdateCaretStatus();
  if (!switching_) CheckProblems(true);
}

void MainWindow::ShowModifiedMark(bool modified) {
  SetStatusPanel(0, modified ? QStringLiteral("*") : QString());
  UpdateCurrentTab();
  // Saved, reloaded or undone to the file: nothing to recover.
  if (!modified && !switching_) recovery_.Forget(current_page_);
}

void MainWindow::ShowFormat(const TextFormat& format) {
  format_field_->setText(FormatLabel(format));
}

void MainWindow::ShowRecentFiles(const QStringList& paths) {
  for (int i = 0; i < 4; ++i) {
    QAction* item = MenuItemOf(kRecentFileCommands[i]);
    const QString path = paths.value(i);
    item->setData(path);
    // A "&" in a path is shown, not taken as an accelerator.
    item->setText(QString(path).replace(u'&', QStringLiteral("&&")));
    // An empty slot stays in the store but not in the menu.
    item->setVisible(!path.isEmpty());
  }
  // The separator above the list goes with it.
  if (QAction* separator = findChild<QAction*>(QStringLiteral("N65"))) {
    separator->setVisible(!paths.value(0).isEmpty());
  }
}

void MainWindow::ShowPageTitle(const QString& title) {
  ButtonOf(Command::kShowFilePanel)->setToolTip(title);
}

void MainWindow::ShowFolder(const QString& folder) {
  file_panel_->SetFolder(folder.isEmpty() ? file_panel_->Folder() : folder);
}

QString MainWindow::SelectedFilePath() const { return file_panel_->SelectedFilePath(); }

std::optional<QString> MainWindow::AskSaveChanges() {
  if (prompt_ == nullptr) return QString();
  const QString name =
      session_.IsNamed() ? QFileInfo(session_.FileName()).fileName() : session_.UntitledName();
  prompt_->Prepare(name, closing_);
  desktop_.RunModal(prompt_);
  return prompt_->TakeAnswer();
}

bool MainWindow::GenerateNewPage() {
  return session_.GenerateNewPage(new_page_fields_ ? new_page_fields_() : NewPageFields{});
}

void MainWindow::StartUp(const QString& argument) {
  session_.StartUp(argument, new_page_fields_ ? new_page_fields_() : NewPageFields{});
}

void MainWindow::PrepareForLongLines(qsizetype longest_line) {
  // A minified page is one long line. Wrapped, every key lays the whole line out again and
  // wraps it (five times the cost of an unwrapped line), so such a page opens unwrapped;
  // the wrap button still wraps it on request.
  const bool long_lines = longest_line > kLongLine;
  if (!long_lines) SetWordWrap(WordWrapOn());
  for (CodeEditor* view : Views()) {
    view->FitMeasureCache(longest_line);
    if (long_lines) view->setWrapMode(QsciScintilla::WrapNone);
    view->setToolTip(long_lines ? Tr(Text::kLongLinesTip) : QString());
  }
}

void MainWindow::ShowStatusNote(const QString& text) {
  note_field_->setText(text);
  QTimer::singleShot(8000, note_field_, [field = QPointer<QLabel>(note_field_), text] {
    if (field && field->text() == text) field->clear();
  });
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // Back from another program: the page may have been changed there. Checked after the
  // activation is complete, so questions open over a settled window.
  if (event->type() == QEvent::ActivationChange && !isActiveWindow()) recovery_.FlushDue();
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    QTimer::singleShot(0, this, &MainWindow::CheckAllDiskChanges);
  }
}

QString MainWindow::DocumentFolder() const {
  const QString name = session_.FileName();
  if (name.isEmpty() || name == session_.UntitledName()) return QString();
  return QFileInfo(name).absolutePath();
}
