#include "app/command_controls.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include "app/tool_icons.h"
#include "names/texts.h"
#include "settings/language_applier.h"
#include "widgets/key_hint_menu.h"

CommandControls::CommandControls(QMainWindow& window) : QObject(&window), window_(window) {
  BuildKeyActions();
}

QToolButton* CommandControls::AddButton(Command command, QWidget* parent) {
  const QString name = RowOf(command).button.toString();
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setAutoRaise(true);
  button->setFixedSize(36, 36);
  button->setIconSize(QSize(28, 28));
  button->setIcon(ToolIcon(RowOf(command).picture));
  buttons_.insert(name, button);
  return button;
}

void CommandControls::ShowCaption(QAction* action, const CommandRow& row) {
  if (!row.text) return;
  if (row.number == 0) {
    ShowText(action, &QAction::setText, *row.text);
    return;
  }
  BindText(action,
           [action, text = *row.text, n = row.number] { action->setText(Tr(text).arg(n)); });
}

void CommandControls::BuildKeyActions() {
  for (const CommandRow& row : CommandRows()) {
    if (row.action.isEmpty()) continue;
    auto* action = new QAction(&window_);
    action->setObjectName(row.action.toString());
    QList<QKeySequence> keys{QKeySequence(row.key)};
    if (row.second_key.key() != Qt::Key_unknown) keys.append(QKeySequence(row.second_key));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    ShowCaption(action, row);
    window_.addAction(action);
    key_actions_[std::size_t(row.command)] = action;
  }
}

QAction* CommandControls::AddMenuItem(QMenu* menu, const QString& name) {
  auto* action = new QAction(menu);
  action->setObjectName(name);
  menu->addAction(action);
  menu_items_.insert(name, action);
  return action;
}

void CommandControls::BuildMenuBar() {
  QMenuBar* bar = window_.menuBar();
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
void CommandControls::AddMenuEntry(QMenu* menu, const CommandRow& row) {
  if (row.menu_item.isEmpty()) {
    menu->addAction(KeyActionOf(row.command));
    return;
  }
  QAction* item = AddMenuItem(menu, row.menu_item.toString());
  ShowCaption(item, row);
  if (row.HasKey()) KeyHintMenu::SetKeyHint(item, QKeySequence(row.key));
  if (row.toggle != Toggle::kNone) {
    item->setCheckable(true);
    item->setChecked(row.toggle == Toggle::kOn);
  }
}

void CommandControls::AddPopupItems(QMenu* menu, std::initializer_list<Command> commands) {
  for (const Command command : commands) {
    const CommandRow& row = RowOf(command);
    auto* item = new QAction(menu);
    item->setObjectName(row.popup_item.toString());
    ShowCaption(item, row);
    menu->addAction(item);
    other_items_[std::size_t(command)] = item;
  }
}

void CommandControls::AddPanelItems(QMenu* menu) {
  for (const CommandRow& row : CommandRows()) {
    if (row.panel_item.isEmpty()) continue;
    auto* item = new QAction(menu);
    item->setObjectName(row.panel_item.toString());
    ShowCaption(item, row);
    menu->addAction(item);
    other_items_[std::size_t(row.command)] = item;
  }
}

void CommandControls::Bind(Command command, const std::function<void()>& run) {
  if (QToolButton* button = ButtonOf(command)) {
    connect(button, &QToolButton::clicked, this, run);
  }
  for (QAction* control :
       {MenuItemOf(command), KeyActionOf(command), other_items_[std::size_t(command)]}) {
    if (control != nullptr) connect(control, &QAction::triggered, this, run);
  }
  handlers_[std::size_t(command)] = run;
  ++bindings_[std::size_t(command)];
}

void CommandControls::BindToggle(Command command, const std::function<void(bool)>& set) {
  QAction* item = MenuItemOf(command);
  connect(item, &QAction::toggled, this, set);
  if (QAction* action = KeyActionOf(command)) {
    connect(action, &QAction::triggered, item, &QAction::toggle);
  }
  handlers_[std::size_t(command)] = [item] { item->toggle(); };
  ++bindings_[std::size_t(command)];
}

void CommandControls::Run(Command command) {
  if (const auto& run = handlers_[std::size_t(command)]) run();
}

QList<Command> CommandControls::NotBoundOnce() const {
  QList<Command> faults;
  for (const CommandRow& row : CommandRows()) {
    if (bindings_[std::size_t(row.command)] != 1) faults.append(row.command);
  }
  return faults;
}

QToolButton* CommandControls::ButtonOf(Command command) const {
  const QStringView name = RowOf(command).button;
  return name.isEmpty() ? nullptr : buttons_.value(name.toString());
}

QAction* CommandControls::MenuItemOf(Command command) const {
  const QStringView name = RowOf(command).menu_item;
  return name.isEmpty() ? nullptr : menu_items_.value(name.toString());
}

void CommandControls::ShowRecentFiles(const QStringList& paths) {
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
  if (QAction* separator = window_.findChild<QAction*>(QStringLiteral("N65"))) {
    separator->setVisible(!paths.value(0).isEmpty());
  }
}

void CommandControls::OpenMenuByMnemonic(QChar letter) {
  // The marked letter of a menu's caption, or its first letter, in the chosen language.
  for (QAction* action : window_.menuBar()->actions()) {
    if (action->menu() == nullptr || !action->isVisible()) continue;
    const QString text = action->text();
    const QChar marked = MarkedLetter(text);
    const QChar mnemonic = !marked.isNull()           ? marked
                           : text.trimmed().isEmpty() ? QChar()
                                                      : text.trimmed().at(0);
    if (mnemonic.toCaseFolded() == letter.toCaseFolded()) {
      window_.menuBar()->setActiveAction(action);
      return;
    }
  }
}
