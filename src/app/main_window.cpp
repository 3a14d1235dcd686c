#include "app/main_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/abbreviation_commands.h"
#include "app/file_panel.h"
#include "app/find_bar.h"
#include "app/format_menu.h"
#include "app/page_tab_bar.h"
#include "app/recovery_keeper.h"
#include "app/status_fields.h"
#include "app/tool_bars.h"
#include "editor/code_editor.h"

MainWindow::MainWindow(Desktop& desktop, RecentFilesStore& recent_files, SettingsRecord& settings,
                       RecoveryKeeper& recovery, const QString& abbreviation_library,
                       QWidget* parent)
    : QMainWindow(parent),
      desktop_(desktop),
      settings_(settings),
      recovery_(recovery),
      commands_(*this),
      editor_(new CodeEditor),
      primary_(editor_),
      split_(new CodeEditor),
      page_model_(editor_),
      model_(page_model_),
      session_(pages_, model_, desktop, recent_files, *this) {
  setObjectName(kName.toString());
  resize(752, 489);
  move(23, 57);
  QFont interface_font = font();
  interface_font.setFamilies({QStringLiteral("MS Sans Serif"), interface_font.family()});
  interface_font.setPixelSize(11);
  setFont(interface_font);

  BuildEditor();
  BuildTopBar(commands_, this);
  BuildToolPanel(commands_, this);
  commands_.BuildMenuBar();
  status_ = new StatusFields(*statusBar());
  connect(status_, &StatusFields::FormatClicked, this, [this] {
    RunFormatMenu(session_, this, status_->FormatField()->mapToGlobal(QPoint(0, 0)),
                  !DeclaredCharset(model_.Buffer()).isEmpty(), [this] { DeclareEncoding(); });
  });
  BuildPopupMenu();
  BindOwnCommands();
  BindEditCommands();
  BindViewCommands();
  BuildCentralWidget();
  ListenToPages();
  ListenToSession();
  BindPageCommands();
  BuildProblemsPanel();
  BuildSearchPanel();
  BuildAbbreviations(abbreviation_library);
  session_.LoadRecentFiles();
}

// The file panel, the editor with the find bar under it and the tool panel, under the top bar.
void MainWindow::BuildCentralWidget() {
  tabs_ = new PageTabBar(pages_, this);
  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setObjectName(QStringLiteral("EditorSplitter"));
  splitter_->setChildrenCollapsible(false);
  splitter_->addWidget(primary_);
  splitter_->addWidget(split_);
  file_panel_ = new FilePanel;
  commands_.AddPanelItems(file_panel_->FileMenu());
  file_panel_->setFixedWidth(166);
  connect(file_panel_, &FilePanel::FileActivated, this, &MainWindow::OpenSelectedOrAsk);
  connect(file_panel_, &FilePanel::KeyPressed, this, &MainWindow::UpdateCaretStatus);

  auto* middle = new QHBoxLayout;
  middle->setContentsMargins(0, 0, 0, 0);
  middle->setSpacing(0);
  middle->addWidget(file_panel_);
  find_bar_ = new FindBar(editor_, model_, this);
  connect(find_bar_, &FindBar::MatchShown, this, &MainWindow::UpdateCaretStatus);
  auto* editing = new QVBoxLayout;
  editing->setContentsMargins(0, 0, 0, 0);
  editing->setSpacing(0);
  editing->addWidget(tabs_);
  editing->addWidget(splitter_, 1);
  editing->addWidget(find_bar_);
  middle->addLayout(editing, 1);
  middle->addWidget(findChild<QWidget*>(QStringLiteral("Panel2")));

  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(findChild<QWidget*>(QStringLiteral("Panel3")));
  layout->addLayout(middle, 1);
  setCentralWidget(central);
}

MainWindow::~MainWindow() {
  // A wrap under way is not ended by the field losing the focus as the window goes.
  abbreviations_->Field()->removeEventFilter(abbreviations_);
}

void MainWindow::BuildEditor() {
  QFont editor_font;
  editor_font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
  editor_font.setPixelSize(13);
  editor_font.setBold(true);
  for (CodeEditor* view : Views()) {
    view->setParent(this);
    view->setWrapMode(QsciScintilla::WrapNone);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view->SetEditorFont(editor_font);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &CodeEditor::KeyHandled, this, &MainWindow::ShowCaretAfterEdit);
  }
  primary_->setObjectName(QStringLiteral("memo1"));
  split_->setObjectName(QStringLiteral("SplitEditor"));
  split_->hide();
  // Both views of a text report each of its edits: the first view's reports stand for both.
  connect(primary_, &CodeEditor::Edited, this, &MainWindow::OnTextChanged);
  connect(primary_, &QsciScintilla::modificationChanged, this, [this](bool modified) {
    if (!modified && !switching_) session_.OnSavePointReached();
  });
}

void MainWindow::SetStatusPanel(int panel, const QString& text) { status_->SetPanel(panel, text); }

void MainWindow::FocusEditor() { editor_->setFocus(); }

QString MainWindow::StatusPanel(int panel) const { return status_->Panel(panel); }

void MainWindow::HideFilePanel() { SetFilePanelShown(false, 0); }

void MainWindow::ShowFilePanel() { SetFilePanelShown(true, 156); }

void MainWindow::SetFilePanelShown(bool shown, int width) {
  file_panel_->setFixedWidth(width);
  file_panel_->setVisible(shown);
  for (Command command : {Command::kHideFilePanel, Command::kPreviewFile, Command::kOpenSelected}) {
    commands_.ButtonOf(command)->setEnabled(shown);
  }
  commands_.ButtonOf(Command::kShowFilePanel)->setEnabled(!shown);
  settings_.file_panel_shown = shown ? 1 : 0;
}

QFont MainWindow::EditorFont() const { return editor_->font(); }

void MainWindow::SetEditorFont(const QFont& font) {
  for (CodeEditor* view : Views()) view->SetEditorFont(font);
}

void MainWindow::SetEditorColour(const QColor& colour) {
  for (CodeEditor* view : Views()) view->SetPaper(colour);
}

void MainWindow::OnTextChanged(long position) {
  page_model_.ForgetPositionsFrom(position);
  if (session_.Loading() || switching_) return;
  // The editor reports a change before it moves the caret: the field follows once it has.
  if (!caret_status_due_) {
    caret_status_due_ = true;
    QTimer::singleShot(0, this, &MainWindow::ShowCaretAfterEdit);
  }
  session_.OnTextChanged();
  recovery_.Edited(pages_.Current()->Id());
  CheckProblems(false);
}

void MainWindow::ShowCaretAfterEdit() {
  if (!caret_status_due_) return;
  caret_status_due_ = false;
  ShowCaretField();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  const QScopedValueRollback closing(closing_, true);
  if (!CloseAllPages()) {
    event->ignore();
    return;
  }
  session_.DeleteScratchFiles();
  // Every page was saved or let go: no copy is left to offer at the next start.
  recovery_.EndNormally();
  emit Closing();
  event->accept();
}

void MainWindow::Exit() {
  session_.DeleteScratchFiles();
  close();
}
