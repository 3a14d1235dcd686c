// Several pages in one window: a tab per page, switching, closing, the close query over all
// pages, opening in new tabs, and the split view of the current page.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>

#include "app/file_panel.h"
#include "app/find_bar.h"
#include "app/main_window.h"
#include "app/problems_panel.h"
#include "app/recovery_keeper.h"
#include "app/search_panel.h"
#include "document/document.h"
#include "document/site_links.h"
#include "document/speller.h"
#include "html/html_format.h"
#include "names/texts.h"
#include "platform/desktop.h"
#include "platform/folder_listing.h"

namespace {

constexpr int kNumberedTabs = 9;  // Alt+1 to Alt+9

// Middle-click closes a tab, as in browsers.
class PageTabBar : public QTabBar {
 public:
  using QTabBar::QTabBar;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::MiddleButton) {
      const int index = tabAt(event->position().toPoint());
      if (index >= 0) emit tabCloseRequested(index);
      return;
    }
    QTabBar::mouseReleaseEvent(event);
  }
  // A tab gives up at most the part of its name beyond some twenty letters, cut in the
  // middle: "indent-a.html" and "indent-b.html" stay told apart, and the bar scrolls instead.
  QSize minimumTabSizeHint(int index) const override {
    const QSize full = tabSizeHint(index);
    const int text = fontMetrics().horizontalAdvance(tabText(index));
    const int kept = fontMetrics().averageCharWidth() * kKeptLetters;
    return {full.width() - std::max(0, text - kept), full.height()};
  }

 private:
  static constexpr int kKeptLetters = 22;
};

bool SamePath(const QString& a, const QString& b) {
  return !a.isEmpty() && !b.isEmpty() &&
         QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

// A tab shows the page's file name, the untitled name for a page without one, and "*"
// while modified; its tip the whole path.
void ShowTab(QTabBar* tabs, int index, const QString& name, const QString& untitled,
             bool modified) {
  const QString shown = name.isEmpty() || name == untitled ? untitled : name;
  const QString file = QFileInfo(shown).fileName();
  tabs->setTabText(index,
                   (file.isEmpty() ? shown : file) + (modified ? QStringLiteral("*") : QString()));
  tabs->setTabToolTip(index, shown);
  // The tab bar's own button speaks the toolkit's language, not the page's.
  if (QWidget* close = tabs->tabButton(index, QTabBar::RightSide)) {
    close->setToolTip(Tr(Text::kCloseTab));
    close->setAccessibleName(Tr(Text::kCloseTab));
  }
}

}  // namespace

void MainWindow::BuildPages() {
  connect(&recovery_, &RecoveryKeeper::Due, this, &MainWindow::KeepRecoveryCopy);
  connect(&recovery_, &RecoveryKeeper::WriteFailed, this, [this](const QString& error) {
    ShowStatusNote(Tr(Text::kRecoveryCannotWrite).arg(error));
  });
  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
    if (index >= 0) ShowPage(PageAt(index));
  });
  connect(tabs_, &QTabBar::tabCloseRequested, this, &MainWindow::ClosePageAt);
  session_.open_elsewhere = [this](const QString& path) { return OpenElsewhere(path); };
  connect(file_panel_, &FilePanel::FileActivatedInNewTab, this, [this] {
    const QString path = file_panel_->SelectedFilePath();
    if (!path.isEmpty()) OpenInNewTab(path);
  });
  BindPageCommands();
  BuildProblemsPanel();
  BuildSearchPanel();
}

void MainWindow::FormatPage() {
  const FormatOutcome outcome =
      FormatHtml(model_.Buffer(), LineEndBytes(session_.Format().line_end));
  if (!outcome.problem.isEmpty()) {
    ShowStatusNote(Tr(Text::kNotFormatted).arg(outcome.problem));
    return;
  }
  if (outcome.bytes == model_.Buffer()) return;
  int line = 0;
  int column = 0;
  editor_->getCursorPosition(&line, &column);
  // One undo step takes the whole layout back.
  editor_->SendScintilla(QsciScintilla::SCI_BEGINUNDOACTION);
  editor_->SendScintilla(QsciScintilla::SCI_TARGETWHOLEDOCUMENT);
  editor_->SendScintilla(QsciScintilla::SCI_REPLACETARGET, outcome.bytes.size(),
                         outcome.bytes.constData());
  editor_->SendScintilla(QsciScintilla::SCI_ENDUNDOACTION);
  editor_->setCursorPosition(std::min(line, editor_->lines() - 1), 0);
}

void MainWindow::BuildSearchPanel() {
  search_ = new SearchPanel(desktop_, this);
  addDockWidget(Qt::BottomDockWidgetArea, search_);
  search_->hide();
  BindCommand(Command::kFindInFiles, [this] {
    const QString folder = DocumentFolder().isEmpty() ? CurrentFolder() : DocumentFolder();
    search_->Offer(folder, SiteRootOf(JoinPath(folder, QStringLiteral("page"))),
                   model_.SelectedText());
  });
  BindCommand(Command::kFormatPage, [this] { FormatPage(); });
  BindCommand(Command::kNextHit, [this] { search_->Step(false); });
  BindCommand(Command::kPreviousHit, [this] { search_->Step(true); });
  connect(search_, &SearchPanel::OpenAt, this,
          [this](const QString& path, int line, int column, int length) {
            if (!OpenInNewTab(path)) return;
            GoToPosition(line, column);
            editor_->setSelection(line - 1, column - 1, line - 1, column - 1 + length);
          });
}

void MainWindow::BuildProblemsPanel() {
  speller_ =
      std::make_shared<Speller>(Speller::SystemDictionaryFolder(), Speller::DefaultPersonalWords());
  problems_ = new ProblemsPanel(model_, this);
  problems_->SetScreen([this] {
    const auto [first, last] = editor_->LinesOnScreen();
    return ProblemsPanel::Screen{
        editor_->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, first),
        editor_->SendScintilla(QsciScintilla::SCI_GETLINEENDPOSITION, last), int(first) + 1,
        int(last) + 1};
  });
  problems_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  addDockWidget(Qt::BottomDockWidgetArea, problems_);
  problems_->hide();
  problems_field_ = new QLabel(statusBar());
  problems_field_->setObjectName(QStringLiteral("ProblemsField"));
  statusBar()->addPermanentWidget(problems_field_);
  connect(problems_, &ProblemsPanel::CountsChanged, problems_field_, [this](const QString& counts) {
    problems_field_->setText(problems_->isHidden() ? QString() : counts);
    // With the panel hidden only spelling is checked, and only its marks show.
    editor_->SetProblemMarks(problems_->Shown());
  });
  connect(problems_, &ProblemsPanel::GoTo, this, &MainWindow::GoToPosition);
  BindToggle(Command::kProblems, [this](bool on) {
    problems_->setVisible(on);
    problems_field_->setText(on ? problems_->Counts() : QString());
    CheckProblems(true);
  });
  BindToggle(Command::kCheckSpelling, [this](bool) { CheckProblems(true); });
  const auto step = [this](bool backward) {
    if (problems_->isHidden()) MenuItemOf(Command::kProblems)->setChecked(true);
    int line = 0;
    int column = 0;
    editor_->getCursorPosition(&line, &column);
    problems_->GoToNext(line + 1, column + 1, backward);
  };
  BindCommand(Command::kNextProblem, [step] { step(false); });
  BindCommand(Command::kPreviousProblem, [step] { step(true); });
}

void MainWindow::GoToPosition(int line, int column) {
  editor_->setCursorPosition(line - 1, column - 1);
  editor_->CentreCaret();
  FocusEditor();
  UpdateCaretStatus();
}

void MainWindow::CheckProblems(bool now) {
  if (problems_ == nullptr) return;
  const bool spelling = MenuItemOf(Command::kCheckSpelling)->isChecked();
  if (!now && problems_->isHidden() && !spelling) return;
  // HTML and links while the panel shows; the links of a page saved on disk only.
  const bool shown = !problems_->isHidden();
  const QString path = session_.IsNamed() ? session_.FileName() : QString();
  problems_->SetChecks(
      {.html = shown,
       .spelling = spelling,
       .links = shown && !path.isEmpty(),
       .page_path = path,
       .speller = speller_,
       .spelling_options = {.language = InterfaceSpellingLanguage(),
                            .ignored = ignored_words_.value(session_.FileName())}});
  if (now) {
    problems_->CheckNow();
  } else {
    problems_->Schedule();
  }
}

void MainWindow::OfferSpelling(CodeEditor* view, const QPoint& pos) {
  qDeleteAll(spelling_actions_);
  spelling_actions_.clear();
  const long position =
      view->SendScintilla(QsciScintilla::SCI_POSITIONFROMPOINTCLOSE, pos.x(), long(pos.y()));
  const std::optional<CodeEditor::MarkedWord> marked =
      position < 0 ? std::nullopt : view->SpellingProblemAt(position);
  if (!marked) return;
  const QString word = marked->problem.subject;
  const QByteArray bytes =
      model_.Buffer().sliced(marked->from, marked->to - marked->from).toByteArray();
  QAction* first = popup_menu_->actions().value(0);
  const auto add = [&](const QString& text, const QString& name) {
    auto* action = new QAction(text, popup_menu_);
    action->setObjectName(name);
    popup_menu_->insertAction(first, action);
    spelling_actions_.append(action);
    return action;
  };
  const QStringList suggestions = speller_->Suggestions(marked->problem.language, word).mid(0, 8);
  for (qsizetype i = 0; i < suggestions.size(); ++i) {
    const QString suggestion = suggestions[i];
    connect(add(suggestion, QStringLiteral("Suggestion%1").arg(i + 1)), &QAction::triggered, this,
            [this, view, from = marked->from, to = marked->to, bytes, suggestion] {
              // Only while the word still stands there: the text may have changed since.
              if (model_.Buffer().sliced(from, std::min(to, long(model_.Buffer().size())) - from) !=
                  bytes) {
                return;
              }
              const QByteArray replacement = suggestion.toUtf8();
              view->SendScintilla(QsciScintilla::SCI_BEGINUNDOACTION);
              view->SendScintilla(QsciScintilla::SCI_SETTARGETRANGE, from, to);
              view->SendScintilla(QsciScintilla::SCI_REPLACETARGET, replacement.size(),
                                  replacement.constData());
              view->SendScintilla(QsciScintilla::SCI_ENDUNDOACTION);
              CheckProblems(true);
            });
  }
  if (suggestions.isEmpty())
    add(Tr(Text::kNoSuggestions), QStringLiteral("NoSuggestions"))->setEnabled(false);
  connect(add(Tr(Text::kAddToDictionary), QStringLiteral("AddToDictionary")), &QAction::triggered,
          this, [this, word] {
            if (const auto error = speller_->AddWord(word)) {
              desktop_.ShowMessage(this, error->message);
              return;
            }
            problems_->DropWord(word);
            CheckProblems(true);
          });
  connect(add(Tr(Text::kIgnoreInPage), QStringLiteral("IgnoreInPage")), &QAction::triggered, this,
          [this, word] {
            ignored_words_[session_.FileName()].insert(word);
            problems_->DropWord(word);
            CheckProblems(true);
          });
  spelling_actions_.append(popup_menu_->insertSeparator(first));
}

void MainWindow::BuildPageViews() {
  tabs_ = new PageTabBar(this);
  tabs_->setObjectName(QStringLiteral("PageTabs"));
  tabs_->setTabsClosable(true);
  tabs_->setMovable(true);
  tabs_->setExpanding(false);
  tabs_->setDocumentMode(true);
  tabs_->setElideMode(Qt::ElideMiddle);
  tabs_->setUsesScrollButtons(true);
  tabs_->setFocusPolicy(Qt::NoFocus);
  tabs_->addTab(QString());
  tabs_->setTabData(0, current_page_);
  pages_[current_page_] = {};
  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setObjectName(QStringLiteral("EditorSplitter"));
  splitter_->setChildrenCollapsible(false);
  splitter_->addWidget(primary_);
  splitter_->addWidget(split_);
}

void MainWindow::BindPageCommands() {
  BindCommand(Command::kNewTab, [this] { NewTab(); });
  const auto step = [this](int by) {
    if (PageCount() > 1) {
      tabs_->setCurrentIndex((CurrentPageIndex() + by + PageCount()) % PageCount());
    }
  };
  BindCommand(Command::kNextTab, [step] { step(1); });
  BindCommand(Command::kPreviousTab, [step] { step(-1); });
  BindToggle(Command::kOpenInNewTabs, [](bool) {});
  BindToggle(Command::kSplitView, [this](bool on) { SetSplitView(on); });
  for (int n = 1; n <= kNumberedTabs; ++n) {
    auto* action = new QAction(this);
    action->setObjectName(QStringLiteral("GoToTab%1").arg(n));
    action->setShortcut(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_0 + n)));
    action->setShortcutContext(Qt::WindowShortcut);
    BindText(action, [action, n] { action->setText(Tr(Text::kGoToTab).arg(n)); });
    connect(action, &QAction::triggered, this, [this, n] {
      if (n <= PageCount()) tabs_->setCurrentIndex(n - 1);
    });
    addAction(action);
  }
}

int MainWindow::PageCount() const { return tabs_->count(); }

int MainWindow::CurrentPageIndex() const { return IndexOfPage(current_page_); }

int MainWindow::PageAt(int index) const { return tabs_->tabData(index).toInt(); }

int MainWindow::IndexOfPage(int id) const {
  for (int i = 0; i < tabs_->count(); ++i) {
    if (PageAt(i) == id) return i;
  }
  return -1;
}

int MainWindow::PageOfPath(const QString& path) const {
  if (SamePath(session_.FileName(), path)) return current_page_;
  for (const auto& [id, page] : pages_) {
    if (id != current_page_ && SamePath(page.state.file_name, path)) return id;
  }
  return -1;
}

void MainWindow::SetUntitledName(const QString& name) {
  for (auto& [id, page] : pages_) {
    if (id != current_page_ && page.state.file_name == session_.UntitledName()) {
      page.state.file_name = name;
    }
  }
  session_.SetUntitledName(name);
  for (int i = 0; i < PageCount(); ++i) {
    const DocumentSession::Page& page = pages_.at(PageAt(i)).state;
    if (PageAt(i) != current_page_) ShowTab(tabs_, i, page.file_name, name, page.modified);
  }
  UpdateCurrentTab();
}

bool MainWindow::OpenInNewTabsOn() const {
  return MenuItemOf(Command::kOpenInNewTabs)->isChecked();
}

void MainWindow::FollowMove(const QString& from, const QString& to) {
  const auto moved = [&](const QString& path) -> QString {
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (path.isEmpty() || path == session_.UntitledName()) return {};
    if (clean == from) return to;
    if (clean.startsWith(from + u'/')) return to + clean.sliced(from.size());
    return {};
  };
  for (auto& [id, page] : pages_) {
    if (id == current_page_) continue;
    if (const QString now = moved(page.state.file_name); !now.isEmpty()) {
      page.state.file_name = now;
      ShowTab(tabs_, IndexOfPage(id), now, session_.UntitledName(), page.state.modified);
    }
  }
  if (const QString now = moved(session_.FileName()); !now.isEmpty()) {
    session_.SetDocumentName(now);
    UpdateCurrentTab();
  }
  file_panel_->SetFolder(file_panel_->Folder());
  // Pages whose links were rewritten are offered again from disk.
  CheckAllDiskChanges();
}

void MainWindow::UpdateCurrentTab() {
  if (tabs_ == nullptr) return;
  const int index = CurrentPageIndex();
  if (index < 0) return;
  ShowTab(tabs_, index, session_.FileName(), session_.UntitledName(), session_.Modified());
}

// A new id with an empty text; the tab is added after the current one.
int MainWindow::AddPage() {
  const int id = next_page_++;
  pages_[id] = {};
  const QSignalBlocker quiet(tabs_);
  const int index = tabs_->insertTab(CurrentPageIndex() + 1, QString());
  tabs_->setTabData(index, id);
  return id;
}

void MainWindow::ShowPage(int id) {
  if (id == current_page_ || !pages_.contains(id)) return;
  // The page going out of sight takes its latest edits with it into its copy.
  recovery_.FlushDue();
  StoredPage& from = pages_.at(current_page_);
  StoredPage& to = pages_.at(id);
  switching_ = true;
  from.view = editor_->SaveView();
  from.text = primary_->document();
  for (CodeEditor* view : Views()) {
    if (view == primary_ || !view->isHidden()) {
      view->ShowPage(to.text, to.view);
    }
  }
  page_model_.ForgetDocument();
  current_page_ = id;
  from.state = session_.ExchangePage(std::move(to.state));
  switching_ = false;
  {
    const QSignalBlocker quiet(tabs_);
    tabs_->setCurrentIndex(IndexOfPage(id));
  }
  UpdateCurrentTab();
  // The panel follows the page's folder; the same folder is not read again.
  if (session_.IsNamed()) {
    const QString folder = QFileInfo(session_.FileName()).absolutePath();
    if (QFileInfo(file_panel_->Folder()) != QFileInfo(folder)) file_panel_->SetFolder(folder);
  }
  find_bar_->SetEditor(editor_);
  CheckProblems(true);
  emit PageShown();
}

void MainWindow::ShowPageAt(int index) {
  if (index >= 0 && index < PageCount()) ShowPage(PageAt(index));
}

void MainWindow::NewTab() {
  ShowPage(AddPage());
  GenerateNewPage();
}

bool MainWindow::OpenInNewTab(const QString& given) {
  const QString path = AbsolutePath(given);
  if (const int open = PageOfPath(path); open >= 0) {
    ShowPage(open);
    return true;
  }
  const int before = current_page_;
  const int id = AddPage();
  ShowPage(id);
  // The new page is untitled and untouched: the open goes into it.
  if (session_.OpenFile(path)) return true;
  ShowPage(before);
  RemovePage(id);
  return false;
}

bool MainWindow::OpenElsewhere(const QString& path) {
  if (!OpenInNewTabsOn()) return false;
  // An untitled page nobody typed in gives way to a file not open yet.
  if (PageOfPath(path) < 0 && !session_.IsNamed() && !session_.Modified()) return false;
  OpenInNewTab(path);  // or brings the page that holds it to front
  return true;
}

void MainWindow::OpenDropped(const QStringList& paths) {
  if (paths.size() == 1) {
    session_.OpenFile(paths.first());
    return;
  }
  for (const QString& path : paths) OpenInNewTab(path);
}

void MainWindow::RemovePage(int id) {
  const QSignalBlocker quiet(tabs_);
  tabs_->removeTab(IndexOfPage(id));
  pages_.erase(id);
}

bool MainWindow::ClosePageAt(int index) {
  if (index < 0 || index >= PageCount()) return false;
  const int id = PageAt(index);
  // The page asks in front of the user.
  ShowPage(id);
  if (!session_.CloseDocument()) return false;
  recovery_.Forget(id);
  if (PageCount() == 1) return true;
  // The neighbour to the right takes its place, as in browsers; the last one's left.
  ShowPage(PageAt(index + 1 < PageCount() ? index + 1 : index - 1));
  RemovePage(id);
  FocusEditor();
  return true;
}

bool MainWindow::CloseAllPages() {
  // The current page first, then the others from left to right.
  QList<int> order{current_page_};
  for (int i = 0; i < PageCount(); ++i) {
    if (PageAt(i) != current_page_) order.append(PageAt(i));
  }
  // Nothing is emptied before every page may go: a later Cancel keeps all the texts.
  for (const int id : order) {
    const bool modified = id == current_page_ ? session_.Modified() : pages_.at(id).state.modified;
    if (!modified) continue;
    ShowPage(id);
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
  const int front = current_page_;
  session_.CheckDiskChanges();
  QList<int> changed;
  for (const auto& [id, page] : pages_) {
    if (id != front && DocumentSession::ChangedOnDisk(page.state)) changed.append(id);
  }
  if (changed.isEmpty()) return;
  // Each changed page is shown while it is reloaded or asked about, then the page the user
  // was on comes back.
  for (const int id : changed) {
    ShowPage(id);
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

void MainWindow::KeepRecoveryCopy(int page) {
  if (page != current_page_ || !session_.Modified()) return;
  RecoveryCopy copy;
  copy.path = session_.IsNamed() ? QFileInfo(session_.FileName()).absoluteFilePath() : QString();
  copy.format = session_.Format();
  copy.edited = QDateTime::currentDateTime();
  copy.disk = session_.CurrentPage().disk_state;
  // The one copy on this thread (~20 ms at 50 MiB); the page's own bytes are made off it.
  copy.bytes = model_.Buffer().toByteArray();
  recovery_.Keep(page, std::move(copy));
}

int MainWindow::RestorePage(const RecoveryCopy& copy, bool changed_on_disk) {
  if (session_.IsNamed() || session_.Modified()) ShowPage(AddPage());
  session_.RestoreText(copy.path, copy.format, copy.bytes, copy.disk, changed_on_disk);
  // Copied again at once under this program, so a second crash loses nothing either.
  recovery_.Edited(current_page_);
  recovery_.FlushDue();
  return current_page_;
}
