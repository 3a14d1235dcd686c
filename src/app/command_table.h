#pragma once

#include <QKeyCombination>
#include <QStringView>
#include <span>

// Every command of the main window's tool buttons, main menu and window keys. The main
// window builds its buttons, menu items and key actions from the table, and each command is
// bound to one handler.
enum class Command {
  kNewPage,
  kOpen,
  kSave,
  kSaveAs,
  kClosePage,
  kRecent1,
  kRecent2,
  kRecent3,
  kRecent4,
  kQuit,
  kPreview,
  kPreviewFile,
  kHideFilePanel,
  kShowFilePanel,
  kOpenSelected,
  kUndo,
  kTextToHtml,
  kHtmlToText,
  kLineReplace,
  kCompress,
  kBlockReplace,
  kQuickTable,
  kWordWrap,
  kClearText,
  kBold,
  kItalic,
  kUnderline,
  kClipboard,
  kToggleClipboard,
  kOptions,
  kAbout,
  kTable,
  kList,
  kChart,
  kImageTag,
  kImageMap,
  kBatchReplace,
  kRenamer,
  kColourPicker,
  kSeries,
  kTidy,
  kStyleSheet,
  kApplyTemplate,
  kConverter,
  kIndexPage,
  kUndoBatch,
  kHelp,
  kNewVersion,
};
inline constexpr int kCommandCount = int(Command::kNewVersion) + 1;

// The File menu's four recent files, the newest first.
inline constexpr Command kRecentFileCommands[] = {Command::kRecent1, Command::kRecent2,
                                                  Command::kRecent3, Command::kRecent4};

// How a command that opens a window is run; kByHandler commands are bound one by one.
enum class Opening { kByHandler, kInFront, kModal };

struct CommandRow {
  Command command;
  QStringView button = {};     // tool button; empty when there is none
  QStringView menu_item = {};  // main menu item
  QStringView action = {};     // window-wide key action
  QKeyCombination key = {};    // the action's key, shown beside the menu item too
  QStringView window = {};     // the window the command opens or works on
  Opening opening = Opening::kByHandler;

  bool HasKey() const { return key.key() != Qt::Key_unknown; }
};

// The rows, one per command in the order of Command.
std::span<const CommandRow> CommandRows();
const CommandRow& RowOf(Command command);

// The groups of tool buttons, each in its order on screen.
enum class ButtonGroup { kFileBar, kEditBar, kFiles, kFilesSmall, kGenerators, kTools };
inline constexpr ButtonGroup kButtonGroups[] = {ButtonGroup::kFileBar,    ButtonGroup::kEditBar,
                                                ButtonGroup::kFiles,      ButtonGroup::kFilesSmall,
                                                ButtonGroup::kGenerators, ButtonGroup::kTools};
std::span<const Command> ButtonsOf(ButtonGroup group);

// One item of a main menu, with the separator (named or not) that comes before it.
struct MenuEntry {
  Command command;
  bool separated = false;
  QStringView separator = {};
};

struct MainMenu {
  QStringView name;
  std::span<const MenuEntry> entries;
};

// The main menus from left to right (the edit menu is the editor's own and joins later).
std::span<const MainMenu> MainMenus();
