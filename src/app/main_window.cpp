#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/file_panel.h"
#include "app/find_bar.h"
#include "app/format_menu.h"
#include "app/page_tab_bar.h"
#include "app/recovery_keeper.h"
#include "app/status_fields.h"
#include "document/text_helpers.h"
#include "editor/code_editor.h"
#include "widgets/widget_helpers.h"

namespace {

QFrame* SilverGroup(const QString& name, QWidget* parent) {
  auto* group = new QFrame(parent);
  group->setObjectName(name);
  group->setFrameShape(QFrame::StyledPanel);
  group->setAutoFillBackground(true);
  SetPaletteColour(group, QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
  return group;
}

}  // namespace

MainWindow::MainWindow(Desktop& desktop, RecentFilesStore& recent_files, SettingsRecord& settings,
                       RecoveryKeeper& recovery, QWidget* parent)
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
  BuildTopBar();
  BuildToolPanel();
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

MainWindow::~MainWindow() = default;

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

void MainWindow::BuildTopBar() {
  auto* bar = new QFrame(this);
  bar->setObjectName(QStringLiteral("Panel3"));
  bar->setFixedHeight(51);
  auto* bar_layout = new QHBoxLayout(bar);
  bar_layout->setContentsMargins(4, 4, 4, 4);

  auto add_group = [&](const QString& name, ButtonGroup buttons) {
    QFrame* group = SilverGroup(name, bar);
    auto* group_layout = new QHBoxLayout(group);
    group_layout->setContentsMargins(2, 2, 2, 2);
    group_layout->setSpacing(0);
    for (Command command : ButtonsOf(buttons)) {
      group_layout->addWidget(commands_.AddButton(command, group));
    }
    bar_layout->addWidget(group);
  };
  add_group(QStringLiteral("Panel5"), ButtonGroup::kFileBar);
  add_group(QStringLiteral("Panel7"), ButtonGroup::kEditBar);
  bar_layout->addStretch(1);
  commands_.ButtonOf(Command::kShowFilePanel)->setEnabled(false);
}

void MainWindow::BuildToolPanel() {
  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel2"));
  panel->setFixedWidth(115);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(2, 2, 2, 2);

  auto add_group = [&](const QString& group_name, const QString& label_name, ButtonGroup buttons,
                       int columns) {
    QFrame* group = SilverGroup(group_name, panel);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(0);
    auto* label = new QLabel(group);
    label->setObjectName(label_name);
    label->setAlignment(Qt::AlignCenter);
    grid->addWidget(label, 0, 0, 1, columns + 1);
    int i = 0;
    for (Command command : ButtonsOf(buttons)) {
      grid->addWidget(commands_.AddButton(command, group), 1 + i / columns, i % columns);
      ++i;
    }
    layout->addWidget(group);
    return grid;
  };
  QGridLayout* file_grid =
      add_group(QStringLiteral("GroupFiles"), QStringLiteral("Label2"), ButtonGroup::kFiles, 2);
  // The narrow column of small text buttons beside the four file buttons.
  auto* small_column = new QVBoxLayout;
  small_column->setSpacing(0);
  // The captions, shown when there is no icon.
  const QString captions[] = {QStringLiteral("C"), QStringLiteral("S"), QStringLiteral("?")};
  int caption = 0;
  for (Command command : ButtonsOf(ButtonGroup::kFilesSmall)) {
    QToolButton* button = commands_.AddButton(command, panel);
    button->setFixedSize(24, 24);
    button->setIconSize(QSize(16, 16));
    button->setText(captions[caption++]);
    small_column->addWidget(button);
  }
  // The preview button spans both columns, under the other three.
  QToolButton* preview = commands_.ButtonOf(Command::kPreview);
  file_grid->removeWidget(preview);
  preview->setFixedWidth(72);
  file_grid->addWidget(preview, 3, 0, 1, 2);
  file_grid->addLayout(small_column, 1, 2, 3, 1);
  add_group(QStringLiteral("GroupGenerators"), QStringLiteral("Label4"), ButtonGroup::kGenerators,
            3);
  add_group(QStringLiteral("GroupTools"), QStringLiteral("Label5"), ButtonGroup::kTools, 3);
  layout->addStretch(1);
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
