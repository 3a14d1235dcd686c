#include <QSet>
#include <QTest>

#include "app/command_table.h"
#include "names/window_names.h"
#include "settings/language.h"
#include "tags/tag_catalogue.h"

class CommandTableTest : public QObject {
  Q_OBJECT

 private slots:
  void NamesAreUnique();
  void RowsAreComplete();
  void EveryControlIsPlacedOnce();
  void PopupWindowItemsHaveTheirCommand();
  void LanguageStepsFindTheirWindowAndCommands();
};

namespace {

bool KnownWindow(QStringView name) {
  return std::find(window_name::kAll.begin(), window_name::kAll.end(), name) !=
         window_name::kAll.end();
}

}  // namespace

void CommandTableTest::NamesAreUnique() {
  QSet<QString> windows;
  for (QStringView name : window_name::kAll) {
    QVERIFY2(!windows.contains(name.toString()), qPrintable(name.toString()));
    windows.insert(name.toString());
  }

  // A button, a menu item and an action are all found by name inside the main window.
  QSet<QString> names;
  for (const MainMenu& menu : MainMenus()) names.insert(menu.name.toString());
  for (const CommandRow& row : CommandRows()) {
    for (QStringView name : {row.button, row.menu_item, row.action}) {
      if (name.isEmpty()) continue;
      QVERIFY2(!names.contains(name.toString()), qPrintable(name.toString()));
      names.insert(name.toString());
    }
  }
}

void CommandTableTest::RowsAreComplete() {
  for (const CommandRow& row : CommandRows()) {
    const QByteArray what = QByteArray::number(int(row.command));
    QVERIFY2(!row.button.isEmpty() || !row.menu_item.isEmpty() || !row.action.isEmpty() ||
                 !row.popup_item.isEmpty() || !row.panel_item.isEmpty(),
             what);
    QVERIFY2(row.window.isEmpty() || KnownWindow(row.window), what);
    if (row.opening != Opening::kByHandler) QVERIFY2(!row.window.isEmpty(), what);
    // A key works through the window's action, or the editor's for an item that shows it.
    if (row.HasKey()) QVERIFY2(!row.action.isEmpty() || !row.menu_item.isEmpty(), what);
    if (row.toggle != Toggle::kNone) QVERIFY2(!row.menu_item.isEmpty(), what);
    if (!row.button.isEmpty()) QVERIFY2(row.picture.theme || row.picture.own, what);
  }
}

// Every window item of the pop-up menu has its row; a row's pop-up item is a catalogue item
// or one of the clipboard items above the catalogue.
void CommandTableTest::PopupWindowItemsHaveTheirCommand() {
  QStringList window_items;
  QSet<QString> catalogue;
  for (const TagCommand& command : TagCatalogue()) {
    const QString name = QString::fromUtf16(command.name);
    catalogue.insert(name);
    if (command.kind == TagKind::kWindow) window_items.append(name);
  }
  QStringList rows;
  for (const CommandRow& row : CommandRows()) {
    const QString item = row.popup_item.toString();
    if (item.isEmpty()) continue;
    QVERIFY2(catalogue.contains(item) || item.startsWith("Popup"), qPrintable(item));
    QVERIFY2(!rows.contains(item), qPrintable(item));
    rows.append(item);
  }
  for (const QString& item : window_items) QVERIFY2(rows.contains(item), qPrintable(item));
}

void CommandTableTest::EveryControlIsPlacedOnce() {
  QList<int> buttons(kCommandCount, 0);
  QList<int> items(kCommandCount, 0);
  for (ButtonGroup group : kButtonGroups) {
    for (Command command : ButtonsOf(group)) ++buttons[int(command)];
  }
  for (const MainMenu& menu : MainMenus()) {
    for (const MenuEntry& entry : menu.entries) ++items[int(entry.command)];
  }
  for (const CommandRow& row : CommandRows()) {
    const QByteArray what = QByteArray::number(int(row.command));
    QVERIFY2(buttons[int(row.command)] == (row.button.isEmpty() ? 0 : 1), what);
    // An Edit menu entry is the window's action itself.
    const int wanted =
        !row.menu_item.isEmpty() || (items[int(row.command)] && !row.action.isEmpty());
    QVERIFY2(items[int(row.command)] == wanted, what);
  }
}

void CommandTableTest::LanguageStepsFindTheirWindowAndCommands() {
  // The main window's hints and menu texts go to the table's buttons and menu items.
  QSet<QString> buttons;
  QSet<QString> items;
  for (const CommandRow& row : CommandRows()) {
    buttons.insert(row.button.toString());
    items.insert(row.menu_item.toString());
  }
  for (const MainMenu& menu : MainMenus()) items.insert(menu.name.toString());
  for (const LanguageStep& step : LanguageSteps()) {
    const QString control = QString::fromUtf16(step.control);
    QVERIFY2(KnownWindow(step.window), qPrintable(step.window.toString()));
    if (step.target == TextTarget::kMenu) QVERIFY2(items.contains(control), qPrintable(control));
    const bool main_button = step.window == window_name::kMain && control.startsWith("Speed");
    if (main_button) QVERIFY2(buttons.contains(control), qPrintable(control));
  }
}

QTEST_APPLESS_MAIN(CommandTableTest)
#include "command_table_test.moc"
