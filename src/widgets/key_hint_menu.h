#pragma once

#include <QKeySequence>
#include <QMenu>

// A menu whose items may show a key that belongs to another action (the window's own key
// action). The item itself carries no shortcut, so no key ever has two actions to choose
// between, whatever holds the focus.
class KeyHintMenu : public QMenu {
 public:
  using QMenu::QMenu;

  static void SetKeyHint(QAction* item, const QKeySequence& key);
  static QKeySequence KeyHint(const QAction* item);

 protected:
  void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;
};
