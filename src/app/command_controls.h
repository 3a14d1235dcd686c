#pragma once

#include <QHash>
#include <QObject>
#include <array>
#include <functional>

#include "app/command_table.h"

class QAction;
class QMainWindow;
class QMenu;
class QToolButton;
class QWidget;

// The controls of the main window's commands: tool buttons, main menu items, window key
// actions and the items of the pop-up and file panel menus, each bound to one handler.
class CommandControls : public QObject {
  Q_OBJECT
 public:
  // The key actions are made at once, owned by window; the rest as the window is built.
  explicit CommandControls(QMainWindow& window);

  QToolButton* AddButton(Command command, QWidget* parent);
  // The menu bar with every main menu.
  void BuildMenuBar();
  // The pop-up menu's items of the commands that have one outside the tag catalogue.
  void AddPopupItems(QMenu* menu, std::initializer_list<Command> commands);
  // The file panel menu's items, in the table's order.
  void AddPanelItems(QMenu* menu);

  // Runs run from every control of the command.
  void Bind(Command command, const std::function<void()>& run);
  // A view toggle's item runs set with its state, also when the state is restored.
  void BindToggle(Command command, const std::function<void(bool)>& set);
  // What the command's controls run.
  void Run(Command command);
  // The commands bound to no handler or to more than one; none once the program has started.
  QList<Command> NotBoundOnce() const;

  QToolButton* Button(const QString& name) const { return buttons_.value(name); }
  QAction* MenuItem(const QString& name) const { return menu_items_.value(name); }
  QToolButton* ButtonOf(Command command) const;
  QAction* MenuItemOf(Command command) const;
  QAction* KeyActionOf(Command command) const { return key_actions_[std::size_t(command)]; }

  // The File menu's four recent files, the newest first; empty slots are hidden.
  void ShowRecentFiles(const QStringList& paths);
  // Opens the main menu whose marked letter (or first letter) is letter.
  void OpenMenuByMnemonic(QChar letter);

 private:
  void BuildKeyActions();
  QAction* AddMenuItem(QMenu* menu, const QString& name);
  void AddMenuEntry(QMenu* menu, const CommandRow& row);
  // The control's caption: the row's text, its %1 filled in.
  static void ShowCaption(QAction* action, const CommandRow& row);

  QMainWindow& window_;
  QHash<QString, QToolButton*> buttons_;
  QHash<QString, QAction*> menu_items_;
  std::array<QAction*, kCommandCount> key_actions_ = {};
  std::array<QAction*, kCommandCount> other_items_ = {};  // pop-up and file panel items
  std::array<int, kCommandCount> bindings_ = {};
  std::array<std::function<void()>, kCommandCount> handlers_ = {};
};
