// The main window's pages: showing whichever page of the list is current, opening into
// this page or into tabs, closing, the disk check over every page, recovery, and the split
// view of the current page.
#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>

#include "app/file_panel.h"
#include "app/find_bar.h"
#include "app/main_window.h"
#include "app/page_tab_bar.h"
#include "app/recovery_keeper.h"
#include "app/save_prompt_window.h"
#include "app/status_fields.h"
#include "document/document.h"
#include "names/texts.h"
#include "platform/desktop.h"

namespace {

ScintillaPageText& TextOf(const Page& page) {
  return static_cast<ScintillaPageText&>(*page.Text());
}

}  // namespace

void MainWindow::ListenToPages() {
  for (int i = 0; i < pages_.Count(); ++i) ListenToPage(pages_.At(i));
  connect(&pages_, &PageList::Inserted, this, [this](Page* page) { ListenToPage(page); });
  connect(&pages_, &PageList::Removed, this, [this](Page* page) { recovery_.Forget(page->Id()); });
  connect(tabs_, &PageTabBar::PageChosen, this, &MainWindow::ShowPage);
  connect(tabs_, &QTabBar::tabCloseRequested, this, &MainWindow::ClosePageAt);
  connect(&recovery_, &RecoveryKeeper::Due, this, &MainWindow::KeepRecoveryCopy);
  connect(&recovery_, &RecoveryKeeper::WriteFailed, this, [this](const QString& error) {
    ShowStatusNote(Tr(Text::kRecoveryCannotWrite).arg(error));
  });
}

// A page's signals reach the caption and the status bar while it is the current one.
void MainWindow::ListenToPage(Page* page) {
  page->SetText(std::make_unique<ScintillaPageText>());
  const auto current = [this, page] { return page == pages_.Current(); };
  connect(page, &Page::NameChanged, this, [this, current](const QString& name) {
    if (current()) ShowDocumentName(name);
  });
  connect(page, &Page::ModifiedChanged, this, [this, page, current](bool modified) {
    if (current()) ShowModifiedMark(modified);
    // Saved, reloaded or undone to the file: nothing to recover.
    if (!modified) recovery_.Forget(page->Id());
  });
  connect(page, &Page::FormatChanged, this, [this, current](const TextFormat& format) {
    if (current()) status_->ShowFormat(format);
  });
  connect(page, &Page::TitleChanged, this, [this, current](const QString& title) {
    if (current()) ShowPageTitle(title);
  });
  connect(page, &Page::LongestLineChanged, this, [this, current](qsizetype longest) {
    if (current()) PrepareForLongLines(longest);
  });
}

void MainWindow::ListenToSession() {
  connect(&session_, &DocumentSession::RecentFilesChanged, &commands_,
          &CommandControls::ShowRecentFiles);
  connect(&session_, &DocumentSession::FolderChanged, this, &MainWindow::ShowFolder);
  connect(&session_, &DocumentSession::EditorWanted, this, &MainWindow::FocusEditor);
  connect(&session_, &DocumentSession::Note, this, &MainWindow::ShowStatusNote);
  connect(file_panel_, &FilePanel::FileActivatedInNewTab, this, [this] {
    const QString path = file_panel_->SelectedFilePath();
    if (!path.isEmpty()) OpenInNewTab(path);
  });
}

void MainWindow::ShowDocumentName(const QString& name) {
  setWindowTitle(CaptionFor(name));  // a page closed to nothing names nothing
  file_panel_->ShowDocumentFile(name);
  // A page loaded, made or saved: the caret fields show where the caret now stands.
  UpdateCaretStatus();
  if (!switching_) CheckProblems(true);
}

void MainWindow::ShowModifiedMark(bool modified) {
  SetStatusPanel(0, modified ? QStringLiteral("*") : QString());
}

void MainWindow::ShowPageTitle(const QString& title) {
  commands_.ButtonOf(Command::kShowFilePanel)->setToolTip(title);
}

void MainWindow::ShowFolder(const QString& folder) {
  file_panel_->SetFolder(folder.isEmpty() ? file_panel_->Folder() : folder);
}

void MainWindow::PrepareForLongLines(qsizetype longest_line) {
  for (CodeEditor* view : Views()) view->FitLines(longest_line, WordWrapOn());
}

void MainWindow::ShowStatusNote(const QString& text) { status_->ShowNote(text); }

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

QString MainWindow::DocumentFolder() const {
  const Page& page = *pages_.Current();
  return pages_.IsNamed(page) ? QFileInfo(page.FileName()).absolutePath() : QString();
}

void MainWindow::FollowMove(const QString& from, const QString& to) {
  pages_.FollowMove(from, to);
  file_panel_->SetFolder(file_panel_->Folder());
  // Pages whose links were rewritten are offered again from disk.
  CheckAllDiskChanges();
}

Page* MainWindow::AddPage() { return pages_.Insert(CurrentPageIndex() + 1); }

void MainWindow::ShowPage(Page* page) {
  Page* from = pages_.Current();
  if (page == nullptr || page == from) return;
  // The page going out of sight takes its latest edits with it into its copy.
  recovery_.FlushDue();
  switching_ = true;
  ScintillaPageText& out = TextOf(*from);
  out.view = editor_->SaveView();
  out.text = primary_->document();
  const ScintillaPageText& in = TextOf(*page);
  for (CodeEditor* view : Views()) {
    if (view == primary_ || !view->isHidden()) view->ShowPage(in.text, in.view);
  }
  page_model_.ForgetDocument();
  pages_.SetCurrent(page);
  PrepareForLongLines(page->LongestLine());
  status_->ShowFormat(page->Format());
  ShowModifiedMark(page->Modified());
  ShowPageTitle(page->Title());
  ShowDocumentName(page->FileName());
  switching_ = false;
  // The panel follows the page's folder; the same folder is not read again.
  if (session_.IsNamed()) {
    const QString folder = QFileInfo(session_.FileName()).absolutePath();
    if (QFileInfo(file_panel_->Folder()) != QFileInfo(folder)) file_panel_->SetFolder(folder);
  }
  find_bar_->SetEditor(editor_);
  CheckProblems(true);
  emit PageShown();
}

void MainWindow::NewTab() {
  ShowPage(AddPage());
  GenerateNewPage();
}

void MainWindow::OpenDocument(DocumentSession::Source source, int recent_item) {
  OpenCompletedPath(session_.ChoosePath(source, recent_item));
}

bool MainWindow::OpenFile(const QString& path) {
  session_.DeleteScratchFiles();
  return OpenCompletedPath(session_.CompletedPath(path));
}

bool MainWindow::OpenCompletedPath(const QString& path) {
  if (path.isEmpty()) return false;
  return OpenElsewhere(path) || session_.OpenPath(path);
}

bool MainWindow::OpenInNewTab(const QString& given) {
  const QString path = AbsolutePath(given);
  if (Page* open = pages_.FindByPath(path)) {
    ShowPage(open);
    return true;
  }
  Page* before = pages_.Current();
  Page* page = AddPage();
  ShowPage(page);
  // The new page is untitled and untouched: the open goes into it.
  if (session_.OpenFile(path)) return true;
  ShowPage(before);
  pages_.Remove(page);
  return false;
}

bool MainWindow::OpenElsewhere(const QString& path) {
  if (!commands_.MenuItemOf(Command::kOpenInNewTabs)->isChecked()) return false;
  // An untitled page nobody typed in gives way to a file not open yet.
  if (pages_.FindByPath(path) == nullptr && !session_.IsNamed() && !session_.Modified()) {
    return false;
  }
  OpenInNewTab(path);  // or brings the page that holds it to front
  return true;
}

void MainWindow::OpenDropped(const QStringList& paths) {
  if (paths.size() == 1) {
    OpenFile(paths.first());
    return;
  }
  for (const QString& path : paths) OpenInNewTab(path);
}

bool MainWindow::ClosePageAt(int index) {
  Page* page = pages_.At(index);
  if (page == nullptr) return false;
  // The page asks in front of the user.
  ShowPage(page);
  if (!session_.CloseDocument()) return false;
  recovery_.Forget(page->Id());
  if (PageCount() == 1) return true;
  // The neighbour to the right takes its place, as in browsers; the last one's left.
  ShowPage(pages_.At(index + 1 < PageCount() ? index + 1 : index - 1));
  pages_.Remove(page);
  FocusEditor();
  return true;
}

bool MainWindow::CloseAllPages() {
  // The current page first, then the others from left to right.
  QList<Page*> order{pages_.Current()};
  for (int i = 0; i < PageCount(); ++i) {
    if (pages_.At(i) != pages_.Current()) order.append(pages_.At(i));
  }
  // Nothing is emptied before every page may go: a later Cancel keeps all the texts.
  for (Page* page : order) {
    if (!page->Modified()) continue;
    ShowPage(page);
    if (!session_.MayClose()) return false;
  }
  session_.ClearPage();
  return true;
}

void MainWindow::CheckAllDiskChanges() {
  // A question's window gives the focus back when it closes, which checks again: not
  // while a check is under way, or pages would switch under the question.
  if (checking_pages_) return;
  const QScopedValueRollback<bool> checking(checking_pages_, true);
  Page* front = pages_.Current();
  session_.CheckDiskChanges();
  QList<Page*> changed;
  for (int i = 0; i < PageCount(); ++i) {
    if (pages_.At(i) != front && pages_.At(i)->ChangedOnDisk()) changed.append(pages_.At(i));
  }
  if (changed.isEmpty()) return;
  // Each changed page is shown while it is reloaded or asked about, then the page the user
  // was on comes back.
  for (Page* page : changed) {
    ShowPage(page);
    session_.CheckDiskChanges();
  }
  ShowPage(front);
}

void MainWindow::SetActiveView(CodeEditor* view) {
  if (view == editor_) return;
  editor_->setObjectName(QStringLiteral("SplitEditor"));
  view->setObjectName(QStringLiteral("memo1"));
  editor_ = view;
  page_model_.SetView(view);
  find_bar_->SetEditor(view);
  UpdateCaretStatus();
}

void MainWindow::SetSplitView(bool on) {
  if (on == !split_->isHidden()) return;
  if (on) {
    split_->ShowPage(primary_->document(), primary_->SaveView());
    split_->show();
    splitter_->setSizes({1, 1});
    return;
  }
  // What the user saw in the side that goes stays in the side that remains.
  if (editor_ == split_) {
    primary_->RestoreView(split_->SaveView());
    SetActiveView(primary_);
  }
  split_->hide();
  // Off the page, so the hidden view neither reports its edits nor lays it out.
  split_->ShowPage(QsciDocument());
  primary_->setFocus();
}

void MainWindow::KeepRecoveryCopy(int id) {
  const Page& page = *pages_.Current();
  if (id != page.Id() || !page.Modified()) return;
  RecoveryCopy copy;
  copy.path = pages_.IsNamed(page) ? QFileInfo(page.FileName()).absoluteFilePath() : QString();
  copy.format = page.Format();
  copy.edited = QDateTime::currentDateTime();
  copy.disk = page.DiskState();
  // The one copy on this thread (~20 ms at 50 MiB); the page's own bytes are made off it.
  copy.bytes = model_.Buffer().toByteArray();
  recovery_.Keep(id, std::move(copy));
}

int MainWindow::RestorePage(const RecoveryCopy& copy, bool changed_on_disk) {
  if (session_.IsNamed() || session_.Modified()) ShowPage(AddPage());
  session_.RestoreText(copy.path, copy.format, copy.bytes, copy.disk, changed_on_disk);
  // Copied again at once under this program, so a second crash loses nothing either.
  const int id = pages_.Current()->Id();
  recovery_.Edited(id);
  recovery_.FlushDue();
  return id;
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

QTabBar* MainWindow::PageTabs() const { return tabs_; }
