// The main window's checks and page-wide commands: the problems panel with spelling, find
// in files, Format page, the encoding declaration, and the tab commands.
#include <QAction>

#include "app/abbreviation_commands.h"
#include "app/file_panel.h"
#include "app/format_command.h"
#include "app/main_window.h"
#include "app/page_menu.h"
#include "app/problems_panel.h"
#include "app/search_panel.h"
#include "app/status_fields.h"
#include "checks/speller.h"
#include "document/site.h"
#include "names/texts.h"
#include "platform/desktop.h"
#include "platform/folder_listing.h"

void MainWindow::BindPageCommands() {
  BindCommand(Command::kNewTab, [this] { NewTab(); });
  const auto step = [this](int by) {
    if (PageCount() > 1) ShowPageAt((CurrentPageIndex() + by + PageCount()) % PageCount());
  };
  BindCommand(Command::kNextTab, [step] { step(1); });
  BindCommand(Command::kPreviousTab, [step] { step(-1); });
  commands_.BindToggle(Command::kOpenInNewTabs, [](bool) {});
  commands_.BindToggle(Command::kSplitView, [this](bool on) { SetSplitView(on); });
  int n = 0;
  for (const Command command : kGoToTabCommands) {
    BindCommand(command, [this, n] { ShowPageAt(n); });
    ++n;
  }
  BindCommand(Command::kOpenInNewTabFromPanel, [this] {
    const QString path = file_panel_->SelectedFilePath();
    if (!path.isEmpty()) OpenInNewTab(path);
  });
}

void MainWindow::OpenSelectedOrAsk() {
  OpenDocument(file_panel_->SelectedFilePath().isEmpty() ? DocumentSession::Source::kDialog
                                                         : DocumentSession::Source::kFilePanel);
}

void MainWindow::FormatPage() {
  const QString problem = LayOut(*editor_, LineEndBytes(session_.Format().line_end));
  if (!problem.isEmpty()) ShowStatusNote(Tr(Text::kNotFormatted).arg(problem));
}

void MainWindow::DeclareEncoding() {
  if (DeclareCharset(*editor_, session_.Format())) CheckProblems(true);
}

void MainWindow::BuildSearchPanel() {
  search_ = new SearchPanel(desktop_, this);
  addDockWidget(Qt::BottomDockWidgetArea, search_);
  search_->hide();
  BindCommand(Command::kFindInFiles, [this] {
    const QString folder = DocumentFolder().isEmpty() ? session_.CurrentFolder() : DocumentFolder();
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
  checks_ = new CheckRunner(model_, this);
  problems_ = new ProblemsPanel(*checks_, this);
  checks_->SetScreen([this] {
    const auto [first, last] = editor_->LinesOnScreen();
    return CheckRunner::Screen{editor_->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, first),
                               editor_->SendScintilla(QsciScintilla::SCI_GETLINEENDPOSITION, last),
                               int(first) + 1, int(last) + 1};
  });
  problems_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  addDockWidget(Qt::BottomDockWidgetArea, problems_);
  problems_->hide();
  connect(problems_, &ProblemsPanel::CountsChanged, this, [this](const QString& counts) {
    status_->ShowProblemCounts(problems_->isHidden() ? QString() : counts);
    // With the panel hidden only spelling is checked, and only its marks show.
    editor_->SetProblemMarks(problems_->Shown());
  });
  connect(problems_, &ProblemsPanel::GoTo, this, &MainWindow::GoToPosition);
  commands_.BindToggle(Command::kProblems, [this](bool on) {
    problems_->setVisible(on);
    status_->ShowProblemCounts(on ? problems_->Counts() : QString());
    CheckProblems(true);
  });
  commands_.BindToggle(Command::kCheckSpelling, [this](bool) { CheckProblems(true); });
  const auto step = [this](bool backward) {
    if (problems_->isHidden()) commands_.MenuItemOf(Command::kProblems)->setChecked(true);
    int line = 0;
    int column = 0;
    editor_->getCursorPosition(&line, &column);
    problems_->GoToNext(line + 1, column + 1, backward);
  };
  BindCommand(Command::kNextProblem, [step] { step(false); });
  BindCommand(Command::kPreviousProblem, [step] { step(true); });
  ListenToSpellingOffer();
}

void MainWindow::GoToPosition(int line, int column) {
  editor_->setCursorPosition(line - 1, column - 1);
  editor_->CentreCaret();
  FocusEditor();
  UpdateCaretStatus();
}

void MainWindow::CheckProblems(bool now) {
  if (problems_ == nullptr) return;
  const bool spelling = commands_.MenuItemOf(Command::kCheckSpelling)->isChecked();
  if (!now && problems_->isHidden() && !spelling) return;
  // HTML and links while the panel shows; the links of a page saved on disk only.
  const bool shown = !problems_->isHidden();
  const QString path = session_.IsNamed() ? session_.FileName() : QString();
  checks_->SetChecks({.html = shown,
                      .spelling = spelling,
                      .links = shown && !path.isEmpty(),
                      .page_path = path,
                      .speller = speller_,
                      .spelling_options = {.language = InterfaceSpellingLanguage(),
                                           .ignored = ignored_words_.value(session_.FileName())}});
  if (now) {
    checks_->CheckNow();
  } else {
    checks_->Schedule();
  }
}

void MainWindow::OfferSpelling(CodeEditor* view, const QPoint& pos) {
  popup_menu_->DropOffer();
  const long position =
      view->SendScintilla(QsciScintilla::SCI_POSITIONFROMPOINTCLOSE, pos.x(), long(pos.y()));
  const std::optional<CodeEditor::MarkedWord> marked =
      position < 0 ? std::nullopt : view->SpellingProblemAt(position);
  if (!marked) return;
  offered_ = {view, marked->from, marked->to, marked->problem.subject,
              model_.Buffer().sliced(marked->from, marked->to - marked->from).toByteArray()};
  popup_menu_->OfferWord(speller_->Suggestions(marked->problem.language, offered_.word).mid(0, 8));
}

void MainWindow::ListenToSpellingOffer() {
  connect(popup_menu_, &PageMenu::SuggestionChosen, this, [this](const QString& suggestion) {
    const QByteArrayView text = model_.Buffer();
    // Only while the word still stands there: the text may have changed since.
    if (offered_.view == nullptr ||
        text.sliced(offered_.from, std::min(offered_.to, long(text.size())) - offered_.from) !=
            offered_.bytes) {
      return;
    }
    offered_.view->ReplaceBytes(offered_.from, offered_.to, suggestion.toUtf8());
    CheckProblems(true);
  });
  connect(popup_menu_, &PageMenu::AddWordChosen, this, [this] {
    if (const auto error = speller_->AddWord(offered_.word)) {
      desktop_.ShowMessage(this, error->message);
      return;
    }
    checks_->DropWord(offered_.word);
    CheckProblems(true);
  });
  connect(popup_menu_, &PageMenu::IgnoreWordChosen, this, [this] {
    ignored_words_[session_.FileName()].insert(offered_.word);
    checks_->DropWord(offered_.word);
    CheckProblems(true);
  });
}

void MainWindow::BuildAbbreviations(const QString& library) {
  abbreviations_ = new AbbreviationCommands(
      library, [this] { return editor_; }, session_, centralWidget());
  connect(abbreviations_, &AbbreviationCommands::Note, this, &MainWindow::ShowStatusNote);
  for (CodeEditor* view : Views()) abbreviations_->WatchTab(view);
  BindCommand(Command::kExpandAbbreviation, [this] { abbreviations_->Expand(false); });
  BindCommand(Command::kWrapWithAbbreviation, [this] { abbreviations_->StartWrap(); });
  BindCommand(Command::kBalanceOutward, [this] { abbreviations_->Balance(true); });
  BindCommand(Command::kBalanceInward, [this] { abbreviations_->Balance(false); });
}
