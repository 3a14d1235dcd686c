#pragma once

#include <QKeyCombination>
#include <QStringView>
#include <optional>
#include <span>

#include "names/texts.h"

// Every command of the main window's tool buttons, main menus, window keys and pop-up window
// commands. The main window builds its buttons (with their pictures), menu items, view
// toggles and key actions from the table, and each command is bound to one handler.
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
  // The Edit menu: the window's own actions, shown in it.
  kRedo,
  kCut,
  kCopy,
  kPaste,
  kSelectAll,
  kFind,
  kReplace,
  kFindNext,
  kFindPrevious,
  kGoToLine,
  // The View menu's toggles and the editor's element commands.
  kLineNumbers,
  kHighlighting,
  kFolding,
  kTagMatching,
  kCloseTags,
  kCompletion,
  kLivePreview,
  kFoldHere,
  kUnfoldHere,
  kMatchingTag,
  // Windows the pop-up menu opens at the caret.
  kListAtCaret,
  kRuleAtCaret,
  kSaveTemplate,
  // Several pages: tabs and the split view.
  kNewTab,
  kNextTab,
  kPreviousTab,
  kOpenInNewTabs,
  kSplitView,
  // The problems panel.
  kProblems,
  kNextProblem,
  kPreviousProblem,
  kCheckSpelling,
  kCheckSite,
  kMoveWithLinks,
  kAutoIndent,
  kPreviewBeside,
  kBlockSelection,
  // Find in files and its hit list.
  kFindInFiles,
  kNextHit,
  kPreviousHit,
  kFormatPage,
  // Alt+1 to Alt+9 bring a tab to front.
  kGoToTab1,
  kGoToTab2,
  kGoToTab3,
  kGoToTab4,
  kGoToTab5,
  kGoToTab6,
  kGoToTab7,
  kGoToTab8,
  kGoToTab9,
  // The file panel's own menu.
  kOpenInNewTabFromPanel,
  kRenameOrMove,
  // Abbreviations.
  kExpandAbbreviation,
  kWrapWithAbbreviation,
  kBalanceOutward,
  kBalanceInward,
};
inline constexpr int kCommandCount = int(Command::kBalanceInward) + 1;

// The File menu's four recent files, the newest first.
inline constexpr Command kRecentFileCommands[] = {Command::kRecent1, Command::kRecent2,
                                                  Command::kRecent3, Command::kRecent4};
inline constexpr Command kGoToTabCommands[] = {
    Command::kGoToTab1, Command::kGoToTab2, Command::kGoToTab3,
    Command::kGoToTab4, Command::kGoToTab5, Command::kGoToTab6,
    Command::kGoToTab7, Command::kGoToTab8, Command::kGoToTab9};

// How a command that opens a window is run; kByHandler commands are bound one by one.
enum class Opening { kByHandler, kInFront, kModal };
// A view toggle and its state on a first start.
enum class Toggle { kNone, kOn, kOff };

// A tool button's picture: the desktop theme's icon of that name when the theme has one,
// else the program's own drawing of that name.
struct Picture {
  const char* theme = nullptr;
  const char* own = nullptr;
};

struct CommandRow {
  Command command;
  QStringView button = {};     // tool button; empty when there is none
  QStringView menu_item = {};  // main menu item
  QStringView action = {};     // window-wide key action (an Edit menu item is the action)
  QKeyCombination key = {};    // the action's key, shown beside the menu item too; without
                               // an action the editor takes the key itself
  QStringView window = {};     // the window the command opens or works on
  Opening opening = Opening::kByHandler;
  QKeyCombination second_key = {};
  Toggle toggle = Toggle::kNone;
  QStringView popup_item = {};  // the pop-up menu item that runs it
  QStringView panel_item = {};  // the file panel's menu item that runs it
  Picture picture = {};
  std::optional<Text> text = {};  // the caption when no language file gives one
  int number = 0;                 // fills the caption's %1

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

// The main menus from left to right.
std::span<const MainMenu> MainMenus();
