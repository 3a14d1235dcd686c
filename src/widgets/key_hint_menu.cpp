#include "widgets/key_hint_menu.h"

#include <QAction>
#include <QStyleOptionMenuItem>

namespace {
constexpr char kKeyHint[] = "keyHint";
}

void KeyHintMenu::SetKeyHint(QAction* item, const QKeySequence& key) {
  item->setProperty(kKeyHint, QVariant::fromValue(key));
}

QKeySequence KeyHintMenu::KeyHint(const QAction* item) {
  return item->property(kKeyHint).value<QKeySequence>();
}

void KeyHintMenu::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const {
  QMenu::initStyleOption(option, action);
  const QKeySequence key = KeyHint(action);
  if (key.isEmpty() || option->text.contains(u'\t')) return;
  const QString text = key.toString(QKeySequence::NativeText);
  option->text += u'\t' + text;
  option->reservedShortcutWidth =
      std::max(option->reservedShortcutWidth, option->fontMetrics.horizontalAdvance(text));
}
