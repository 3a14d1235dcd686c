#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/file_panel.h"
#include "app/find_bar.h"
#include "app/tool_icons.h"
#include "document/document.h"
#include "widgets/code_editor.h"
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
                       QWidget* parent)
    : QMainWindow(parent),
      desktop_(desktop),
      recent_files_(recent_files),
      settings_(settings),
      editor_(new CodeEditor),
      model_(editor_->document()),
      session_(model_, desktop, recent_files, *this) {
  setObjectName(QStringLiteral("form1"));
  resize(752, 489);
  move(23, 57);
  QFont interface_font = font();
  interface_font.setFamilies({QStringLiteral("MS Sans Serif"), interface_font.family()});
  interface_font.setPixelSize(11);
  setFont(interface_font);

  BuildEditor();
  BuildTopBar();
  BuildToolPanel();
  BuildMenu();
  BuildActions();
  BuildStatusBar();
  BuildPopupMenu();
  BuildEditingCommands();
  BuildEditMenu();

  file_panel_ = new FilePanel;
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
  editing->addWidget(editor_, 1);
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

  // Four buttons borrow the picture of another.
  const std::pair<const char16_t*, const char16_t*> borrowed[] = {
      {u"SpeedButton3", u"SpeedButton16"},
      {u"SpeedButton4", u"SpeedButton14"},
      {u"SpeedButton5", u"SpeedButton8"},
      {u"SpeedButton10", u"SpeedButton32"}};
  for (const auto& [to, from] : borrowed) {
    buttons_[QString::fromUtf16(to)]->setIcon(buttons_[QString::fromUtf16(from)]->icon());
  }
  session_.LoadRecentFiles();
}

MainWindow::~MainWindow() = default;

QToolButton* MainWindow::AddButton(const QString& name, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setAutoRaise(true);
  button->setFixedSize(36, 36);
  button->setIconSize(QSize(28, 28));
  button->setIcon(ToolIcon(name));
  buttons_.insert(name, button);
  return button;
}

void MainWindow::BuildEditor() {
  editor_->setParent(this);
  editor_->setObjectName(QStringLiteral("memo1"));
  editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  editor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont editor_font;
  editor_font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
  editor_font.setPixelSize(13);
  editor_font.setBold(true);
  editor_->setFont(editor_font);
  editor_->setContextMenuPolicy(Qt::CustomContextMenu);
  model_.AttachCursor([this] { return editor_->textCursor(); },
                      [this](const QTextCursor& cursor) { editor_->setTextCursor(cursor); });
  connect(editor_, &QPlainTextEdit::textChanged, this, &MainWindow::OnTextChanged);
}

void MainWindow::BuildTopBar() {
  auto* bar = new QFrame(this);
  bar->setObjectName(QStringLiteral("Panel3"));
  bar->setFixedHeight(51);
  auto* bar_layout = new QHBoxLayout(bar);
  bar_layout->setContentsMargins(4, 4, 4, 4);

  QFrame* file_group = SilverGroup(QStringLiteral("Panel5"), bar);
  auto* file_layout = new QHBoxLayout(file_group);
  file_layout->setContentsMargins(2, 2, 2, 2);
  file_layout->setSpacing(0);
  for (const char16_t* name :
       {u"SpeedButton3", u"SpeedButton4", u"SpeedButton1", u"SpeedButton2"}) {
    file_layout->addWidget(AddButton(QString::fromUtf16(name), file_group));
  }
  buttons_[QStringLiteral("SpeedButton2")]->setEnabled(false);

  QFrame* edit_group = SilverGroup(QStringLiteral("Panel7"), bar);
  auto* edit_layout = new QHBoxLayout(edit_group);
  edit_layout->setContentsMargins(2, 2, 2, 2);
  edit_layout->setSpacing(0);
  for (const char16_t* name :
       {u"SpeedButton11", u"SpeedButton7", u"SpeedButton13", u"SpeedButton12", u"SpeedButton10",
        u"SpeedButton9", u"knopka8", u"SpeedButton6", u"SpeedButton5"}) {
    edit_layout->addWidget(AddButton(QString::fromUtf16(name), edit_group));
  }
  bar_layout->addWidget(file_group);
  bar_layout->addWidget(edit_group);
  bar_layout->addStretch(1);

  connect(buttons_[QStringLiteral("SpeedButton1")], &QToolButton::clicked, this,
          &MainWindow::HideFilePanel);
  connect(buttons_[QStringLiteral("SpeedButton2")], &QToolButton::clicked, this,
          &MainWindow::ShowFilePanel);
  connect(buttons_[QStringLiteral("SpeedButton4")], &QToolButton::clicked, this,
          &MainWindow::OpenSelectedOrAsk);
}

void MainWindow::BuildToolPanel() {
  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel2"));
  panel->setFixedWidth(115);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(2, 2, 2, 2);

  auto add_group = [&](const QString& group_name, const QString& label_name,
                       std::initializer_list<const char16_t*> names, int columns) {
    QFrame* group = SilverGroup(group_name, panel);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(0);
    auto* label = new QLabel(group);
    label->setObjectName(label_name);
    label->setAlignment(Qt::AlignCenter);
    grid->addWidget(label, 0, 0, 1, columns + 1);
    int i = 0;
    for (const char16_t* name : names) {
      grid->addWidget(AddButton(QString::fromUtf16(name), group), 1 + i / columns, i % columns);
      ++i;
    }
    layout->addWidget(group);
    return grid;
  };
  QGridLayout* file_grid =
      add_group(QStringLiteral("GroupFiles"), QStringLiteral("Label2"),
                {u"SpeedButton8", u"SpeedButton14", u"SpeedButton15", u"SpeedButton16"}, 2);
  // The narrow column of small text buttons beside the four file buttons.
  auto* small_column = new QVBoxLayout;
  small_column->setSpacing(0);
  const std::pair<const char16_t*, const char16_t*> small_buttons[] = {
      {u"SpeedButton18", u"C"}, {u"SpeedButton19", u"S"}, {u"SpeedButton20", u"?"}};
  for (const auto& [name, text] : small_buttons) {
    QToolButton* button = AddButton(QString::fromUtf16(name), panel);
    button->setFixedSize(24, 24);
    button->setIconSize(QSize(16, 16));
    button->setText(QString::fromUtf16(text));  // the caption, shown when there is no icon
    small_column->addWidget(button);
  }
  // The preview button spans both columns, under the other three.
  QToolButton* preview = buttons_[QStringLiteral("SpeedButton16")];
  file_grid->removeWidget(preview);
  preview->setFixedWidth(72);
  file_grid->addWidget(preview, 3, 0, 1, 2);
  file_grid->addLayout(small_column, 1, 2, 3, 1);
  add_group(
      QStringLiteral("GroupGenerators"), QStringLiteral("Label4"),
      {u"SpeedButton22", u"SpeedButton25", u"SpeedButton26", u"SpeedButton27", u"SpeedButton28"},
      3);
  add_group(
      QStringLiteral("GroupTools"), QStringLiteral("Label5"),
      {u"SpeedButton29", u"SpeedButton30", u"SpeedButton31", u"SpeedButton32", u"SpeedButton33",
       u"SpeedButton34", u"SpeedButton35", u"SpeedButton36", u"SpeedButton37"},
      3);
  layout->addStretch(1);

  connect(buttons_[QStringLiteral("SpeedButton8")], &QToolButton::clicked, this, [this] {
    if (new_page_command_) {
      new_page_command_();
    } else {
      GenerateNewPage();
    }
  });
  connect(buttons_[QStringLiteral("SpeedButton14")], &QToolButton::clicked, this,
          [this] { OpenDocument(Source::kDialog); });
  connect(buttons_[QStringLiteral("SpeedButton15")], &QToolButton::clicked, this,
          &MainWindow::SaveDocument);
}

QAction* MainWindow::AddMenuItem(QMenu* menu, const QString& name) {
  auto* action = new QAction(menu);
  action->setObjectName(name);
  menu->addAction(action);
  menu_items_.insert(name, action);
  return action;
}

void MainWindow::BuildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  auto add_menu = [&](const QString& name) {
    auto* menu = new QMenu(bar);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    bar->addMenu(menu);
    menu_items_.insert(name, menu->menuAction());
    return menu;
  };
  QMenu* file = add_menu(QStringLiteral("dsfg1"));
  for (const char16_t* name : {u"N61", u"N62", u"N63", u"N64"})
    AddMenuItem(file, QString::fromUtf16(name));
  AddMenuItem(file, QStringLiteral("ClosePage"))->setText(QStringLiteral("&Close page"));
  file->addSeparator()->setObjectName(QStringLiteral("N65"));
  for (const char16_t* name : {u"N66", u"N67", u"N68", u"N69"})
    AddMenuItem(file, QString::fromUtf16(name));
  file->addSeparator()->setObjectName(QStringLiteral("N70"));
  AddMenuItem(file, QStringLiteral("N71"));

  QMenu* generators = add_menu(QStringLiteral("N77"));
  for (const char16_t* name : {u"N80", u"N81", u"N82", u"N83", u"N84"}) {
    AddMenuItem(generators, QString::fromUtf16(name));
  }
  menu_items_[QStringLiteral("N84")]->setText(QStringLiteral(" "));
  QMenu* tools = add_menu(QStringLiteral("N76"));
  for (const char16_t* name :
       {u"N85", u"N86", u"N87", u"N88", u"N89", u"N90", u"N91", u"N92", u"N93"}) {
    AddMenuItem(tools, QString::fromUtf16(name));
  }
  tools->addSeparator();
  AddMenuItem(tools, QStringLiteral("UndoBatch"))->setText(QStringLiteral("Undo last batch run"));
  QMenu* view = add_menu(QStringLiteral("N78"));
  AddMenuItem(view, QStringLiteral("N79"));
  QMenu* help = add_menu(QStringLiteral("N72"));
  for (const char16_t* name : {u"N73", u"N74", u"N75"}) AddMenuItem(help, QString::fromUtf16(name));

  connect(menu_items_[QStringLiteral("N61")], &QAction::triggered,
          buttons_[QStringLiteral("SpeedButton8")], &QToolButton::click);
  connect(menu_items_[QStringLiteral("N62")], &QAction::triggered, this,
          [this] { OpenDocument(Source::kDialog); });
  connect(menu_items_[QStringLiteral("N63")], &QAction::triggered, this, &MainWindow::SaveDocument);
  connect(menu_items_[QStringLiteral("N64")], &QAction::triggered, this,
          &MainWindow::SaveDocumentAs);
  int k = 1;
  for (const char16_t* name : {u"N66", u"N67", u"N68", u"N69"}) {
    connect(menu_items_[QString::fromUtf16(name)], &QAction::triggered, this,
            [this, k] { OpenDocument(Source::kRecent, k); });
    ++k;
  }
  connect(menu_items_[QStringLiteral("N71")], &QAction::triggered, this, &MainWindow::Exit);
}

void MainWindow::BuildActions() {
  struct KeyAction {
    const char16_t* name;
    QKeySequence key;
  };
  const KeyAction key_actions[] = {{u"SaveDocument", QKeySequence(Qt::CTRL | Qt::Key_S)},
                                   {u"Run", QKeySequence(Qt::Key_F12)},
                                   {u"Open", QKeySequence(Qt::CTRL | Qt::Key_O)},
                                   {u"NewDocument", QKeySequence(Qt::CTRL | Qt::Key_N)},
                                   {u"Undo", QKeySequence(Qt::CTRL | Qt::Key_Z)},
                                   {u"Italic", QKeySequence(Qt::CTRL | Qt::Key_I)},
                                   {u"Bold", QKeySequence(Qt::CTRL | Qt::Key_B)},
                                   {u"Underlined", QKeySequence(Qt::CTRL | Qt::Key_U)},
                                   {u"Clipboard", QKeySequence(Qt::Key_F9)},
                                   {u"SaveAs", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
                                   {u"Close", QKeySequence(Qt::CTRL | Qt::Key_W)},
                                   {u"Quit", QKeySequence(Qt::CTRL | Qt::Key_Q)}};
  for (const KeyAction& entry : key_actions) {
    auto* action = new QAction(this);
    action->setObjectName(QString::fromUtf16(entry.name));
    action->setShortcut(entry.key);
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
  }
  connect(findChild<QAction*>(QStringLiteral("SaveDocument")), &QAction::triggered, this,
          &MainWindow::SaveDocument);
  connect(findChild<QAction*>(QStringLiteral("Open")), &QAction::triggered, this,
          [this] { OpenDocument(Source::kDialog); });
  connect(findChild<QAction*>(QStringLiteral("NewDocument")), &QAction::triggered,
          buttons_[QStringLiteral("SpeedButton8")], &QToolButton::click);
  connect(findChild<QAction*>(QStringLiteral("SaveAs")), &QAction::triggered, this,
          &MainWindow::SaveDocumentAs);
  for (const char16_t* name : {u"Close", u"ClosePage"}) {
    connect(findChild<QAction*>(QString::fromUtf16(name)), &QAction::triggered, this,
            &MainWindow::CloseDocument);
  }
  connect(findChild<QAction*>(QStringLiteral("Quit")), &QAction::triggered, this,
          &MainWindow::Exit);
}

void MainWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar1"));
  bar->setSizeGripEnabled(true);
  for (int i = 0; i < 3; ++i) {
    auto* panel = new QLabel(bar);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setFixedWidth(50);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    bar->addWidget(panel);
    status_panels_[i] = panel;
  }
  // Notes stand in a field of their own, so the status panels never hide behind them.
  note_field_ = new QLabel(bar);
  note_field_->setObjectName(QStringLiteral("NotePanel"));
  bar->addWidget(note_field_, 1);
  format_field_ = new QLabel(bar);
  format_field_->setObjectName(QStringLiteral("FormatPanel"));
  format_field_->setToolTip(QStringLiteral("Encoding and line ends; click to convert"));
  format_field_->installEventFilter(this);
  bar->addPermanentWidget(format_field_);
  ShowFormat(TextFormat{});
}

void MainWindow::ShowFormatMenu() {
  QMenu menu(this);
  struct Encoding {
    const char16_t* text;
    TextEncoding encoding;
    bool bom;
  };
  const Encoding encodings[] = {{u"Windows-1251", TextEncoding::kWindows1251, false},
                                {u"UTF-8", TextEncoding::kUtf8, false},
                                {u"UTF-8 with BOM", TextEncoding::kUtf8, true}};
  for (const auto& [text, encoding, bom] : encodings) {
    QAction* action = menu.addAction(QString::fromUtf16(text));
    action->setCheckable(true);
    action->setChecked(session_.Format().encoding == encoding && session_.Format().bom == bom);
    connect(action, &QAction::triggered, this, [this, encoding, bom] {
      TextFormat format = session_.Format();
      format.encoding = encoding;
      format.bom = bom;
      session_.SetFormat(format);
    });
  }
  menu.addSeparator();
  const std::pair<const char16_t*, LineEnd> ends[] = {
      {u"CR LF", LineEnd::kCrLf}, {u"LF", LineEnd::kLf}, {u"CR", LineEnd::kCr}};
  for (const auto& [text, end] : ends) {
    QAction* action = menu.addAction(QString::fromUtf16(text));
    action->setCheckable(true);
    action->setChecked(session_.Format().line_end == end);
    connect(action, &QAction::triggered, this, [this, end] {
      TextFormat format = session_.Format();
      format.line_end = end;
      session_.SetFormat(format);
    });
  }
  menu.exec(format_field_->mapToGlobal(QPoint(0, 0)));
}

void MainWindow::SetStatusPanel(int panel, const QString& text) {
  status_panels_[panel]->setText(text);
}

void MainWindow::FocusEditor() { editor_->setFocus(); }

QString MainWindow::StatusPanel(int panel) const { return status_panels_[panel]->text(); }

void MainWindow::HideFilePanel() { SetFilePanelShown(false, 0); }

void MainWindow::ShowFilePanel() { SetFilePanelShown(true, 156); }

void MainWindow::SetFilePanelShown(bool shown, int width) {
  file_panel_->setFixedWidth(width);
  file_panel_->setVisible(shown);
  for (const char16_t* name : {u"SpeedButton1", u"SpeedButton3", u"SpeedButton4"}) {
    buttons_[QString::fromUtf16(name)]->setEnabled(shown);
  }
  buttons_[QStringLiteral("SpeedButton2")]->setEnabled(!shown);
  settings_.file_panel_shown = shown ? 1 : 0;
}

QPlainTextEdit* MainWindow::EditorWidget() const { return editor_; }

QFont MainWindow::EditorFont() const { return editor_->font(); }

void MainWindow::SetEditorFont(const QFont& font) { editor_->setFont(font); }

void MainWindow::SetEditorColour(const QColor& colour) {
  SetPaletteColour(editor_, QPalette::Base, colour);
}

void MainWindow::OnTextChanged() {
  if (session_.Loading()) return;
  SetStatusPanel(1, QStringLiteral("%1,%2").arg(model_.CaretOffset()).arg(model_.CaretLine()));
  session_.OnTextChanged();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!CloseDocument()) {
    event->ignore();
    return;
  }
  DeleteScratchFiles();
  emit Closing();
  event->accept();
}

void MainWindow::Exit() {
  DeleteScratchFiles();
  close();
}
