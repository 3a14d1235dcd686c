// The main window's menu bar, its keyboard actions, the status bar and the format menu.
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
#include "app/main_window.h"
#include "app/tool_icons.h"
#include "document/document.h"
#include "document/text_helpers.h"
#include "editor/code_editor.h"
#include "names/texts.h"
#include "widgets/key_hint_menu.h"
#include "widgets/widget_helpers.h"

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
  for (const MainMenu& layout : MainMenus()) {
    const QString name = layout.name.toString();
    auto* menu = new KeyHintMenu(bar);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    bar->addMenu(menu);
    menu_items_.insert(name, menu->menuAction());
    for (const MenuEntry& entry : layout.entries) {
      if (entry.separated) menu->addSeparator()->setObjectName(entry.separator.toString());
      AddMenuEntry(menu, RowOf(entry.command));
    }
  }
  ShowText(menu_items_[QStringLiteral("EditMenu")], &QAction::setText, Text::kEditMenu);
  // The language files leave this item without a text.
  MenuItemOf(Command::kImageMap)->setText(QStringLiteral(" "));
}

// A menu's item for a command: its own item, or the window's key action itself. An item
// shows the key of its command without carrying it: the key belongs to the window's action
// (or to the editor), and a key carried by the item too would be refused as ambiguous
// whenever the menu bar holds the focus.
void MainWindow::AddMenuEntry(QMenu* menu, const CommandRow& row) {
  if (row.menu_item.isEmpty()) {
    menu->addAction(key_actions_[std::size_t(row.command)]);
    return;
  }
  QAction* item = AddMenuItem(menu, row.menu_item.toString());
  if (row.text) ShowText(item, &QAction::setText, *row.text);
  if (row.HasKey()) KeyHintMenu::SetKeyHint(item, QKeySequence(row.key));
  if (row.toggle != Toggle::kNone) {
    item->setCheckable(true);
    item->setChecked(row.toggle == Toggle::kOn);
  }
}

// The window's key actions.
void MainWindow::BuildActions() {
  for (const CommandRow& row : CommandRows()) {
    if (row.action.isEmpty()) continue;
    auto* action = new QAction(this);
    action->setObjectName(row.action.toString());
    QList<QKeySequence> keys{QKeySequence(row.key)};
    if (row.second_key.key() != Qt::Key_unknown) keys.append(QKeySequence(row.second_key));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    if (row.text) ShowText(action, &QAction::setText, *row.text);
    addAction(action);
    key_actions_[std::size_t(row.command)] = action;
  }
}

void MainWindow::BindCommand(Command command, const std::function<void()>& run) {
  if (QToolButton* button = ButtonOf(command)) {
    connect(button, &QToolButton::clicked, this, run);
  }
  if (QAction* item = MenuItemOf(command)) connect(item, &QAction::triggered, this, run);
  if (QAction* action = key_actions_[std::size_t(command)]) {
    connect(action, &QAction::triggered, this, run);
  }
  handlers_[std::size_t(command)] = run;
  ++bindings_[std::size_t(command)];
}

void MainWindow::BindToggle(Command command, const std::function<void(bool)>& set) {
  QAction* item = MenuItemOf(command);
  connect(item, &QAction::toggled, this, set);
  if (QAction* action = key_actions_[std::size_t(command)]) {
    connect(action, &QAction::triggered, item, &QAction::toggle);
  }
  handlers_[std::size_t(command)] = [item] { item->toggle(); };
  ++bindings_[std::size_t(command)];
}

void MainWindow::RunCommand(Command command) {
  if (const auto& run = handlers_[std::size_t(command)]) run();
}

QList<Command> MainWindow::CommandsNotBoundOnce() const {
  QList<Command> faults;
  for (const CommandRow& row : CommandRows()) {
    if (bindings_[std::size_t(row.command)] != 1) faults.append(row.command);
  }
  return faults;
}

QToolButton* MainWindow::ButtonOf(Command command) const {
  const QStringView name = RowOf(command).button;
  return name.isEmpty() ? nullptr : buttons_.value(name.toString());
}

QAction* MainWindow::MenuItemOf(Command command) const {
  const QStringView name = RowOf(command).menu_item;
  return name.isEmpty() ? nullptr : menu_items_.value(name.toString());
}

void MainWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar1"));
  bar->setSizeGripEnabled(true);
  for (int i = 0; i < 3; ++i) {
    auto* panel = new QLabel(bar);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    // The offset field holds eight digits (a 50 MB page); a longer text widens its field
    // rather than being cut.
    panel->setMinimumWidth(
        i == 2 ? panel->fontMetrics().horizontalAdvance(QStringLiteral("88888888")) + 14 : 50);
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
  ShowText(format_field_, &QLabel::setToolTip, Text::kFormatTip);
  format_field_->installEventFilter(this);
  bar->addPermanentWidget(format_field_);
  ShowFormat(TextFormat{});
}

void MainWindow::ShowFormatMenu() {
  QMenu menu(this);
  const TextFormat now = session_.Format();
  auto convert = [this](TextEncoding encoding, bool bom) {
    TextFormat format = session_.Format();
    format.encoding = encoding;
    format.bom = bom;
    session_.SetFormat(format);
  };
  auto add = [&](QMenu* to, const QString& text, TextEncoding encoding, bool bom) {
    QAction* action = to->addAction(text);
    action->setCheckable(true);
    action->setChecked(now.encoding == encoding && now.bom == bom);
    connect(action, &QAction::triggered, this,
            [convert, encoding, bom] { convert(encoding, bom); });
  };
  add(&menu, QStringLiteral("Windows-1251"), TextEncoding::kWindows1251, false);
  add(&menu, QStringLiteral("UTF-8"), TextEncoding::kUtf8, false);
  add(&menu, Tr(Text::kUtf8WithBom), TextEncoding::kUtf8, true);
  QMenu* others = menu.addMenu(Tr(Text::kOtherEncodings));
  QMenu* reopen = menu.addMenu(Tr(Text::kReopenWithEncoding));
  reopen->menuAction()->setObjectName(QStringLiteral("ReopenWithEncoding"));
  reopen->setEnabled(session_.IsNamed());
  for (const EncodingName& row : Encodings()) {
    const QString name = QString::fromLatin1(row.name);
    if (row.encoding != TextEncoding::kWindows1251 && row.encoding != TextEncoding::kUtf8) {
      add(others, name, row.encoding, false);
    }
    QAction* again = reopen->addAction(name);
    connect(again, &QAction::triggered, this,
            [this, encoding = row.encoding] { session_.ReopenWithEncoding(encoding); });
  }
  menu.addSeparator();
  for (const LineEnd end : kLineEnds) {
    QAction* action = menu.addAction(QString::fromLatin1(NameOf(end)));
    action->setCheckable(true);
    action->setChecked(session_.Format().line_end == end);
    connect(action, &QAction::triggered, this, [this, end] {
      TextFormat format = session_.Format();
      format.line_end = end;
      session_.SetFormat(format);
    });
  }
  menu.addSeparator();
  QAction* declare =
      menu.addAction(Tr(Text::kDeclareEncoding).arg(QLatin1String(NameOf(now.encoding))));
  declare->setObjectName(QStringLiteral("DeclareEncoding"));
  declare->setEnabled(DeclaredCharset(model_.Buffer()).isEmpty());
  connect(declare, &QAction::triggered, this, &MainWindow::DeclareEncoding);
  menu.exec(format_field_->mapToGlobal(QPoint(0, 0)));
}

void MainWindow::DeclareEncoding() {
  if (!DeclaredCharset(model_.Buffer()).isEmpty()) return;
  const Insertion insertion =
      CharsetDeclaration(model_.Buffer(), NameOf(session_.Format().encoding),
                         LineEndBytes(session_.Format().line_end));
  editor_->SendScintilla(QsciScintilla::SCI_BEGINUNDOACTION);
  editor_->SendScintilla(QsciScintilla::SCI_INSERTTEXT, static_cast<unsigned long>(insertion.at),
                         insertion.bytes.constData());
  editor_->SendScintilla(QsciScintilla::SCI_ENDUNDOACTION);
  CheckProblems(true);
}
