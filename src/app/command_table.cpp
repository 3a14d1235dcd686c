#include "app/command_table.h"

#include "names/window_names.h"

namespace {

using enum Command;
using enum Opening;
namespace wn = window_name;

constexpr QKeyCombination kCtrl(Qt::Key key) { return Qt::CTRL | key; }

constexpr CommandRow kRows[] = {
    {.command = kNewPage,
     .button = u"SpeedButton8",
     .menu_item = u"N61",
     .action = u"NewDocument",
     .key = kCtrl(Qt::Key_N),
     .window = wn::kNewPage,
     .popup_item = u"N49",
     .picture = {"document-new", nullptr}},
    {.command = kOpen,
     .button = u"SpeedButton14",
     .menu_item = u"N62",
     .action = u"Open",
     .key = kCtrl(Qt::Key_O),
     .picture = {"document-open", nullptr}},
    {.command = kSave,
     .button = u"SpeedButton15",
     .menu_item = u"N63",
     .action = u"SaveDocument",
     .key = kCtrl(Qt::Key_S),
     .picture = {"document-save", nullptr}},
    {.command = kSaveAs,
     .menu_item = u"N64",
     .action = u"SaveAs",
     .key = Qt::CTRL | Qt::SHIFT | Qt::Key_S},
    {.command = kClosePage,
     .menu_item = u"ClosePage",
     .action = u"Close",
     .key = kCtrl(Qt::Key_W),
     .text = Text::kClosePage},
    {.command = kRecent1, .menu_item = u"N66"},
    {.command = kRecent2, .menu_item = u"N67"},
    {.command = kRecent3, .menu_item = u"N68"},
    {.command = kRecent4, .menu_item = u"N69"},
    {.command = kQuit, .menu_item = u"N71", .action = u"Quit", .key = kCtrl(Qt::Key_Q)},
    {.command = kPreview,
     .button = u"SpeedButton16",
     .menu_item = u"N79",
     .action = u"Run",
     .key = QKeyCombination(Qt::Key_F12),
     .window = wn::kPreview,
     .picture = {"document-print-preview", nullptr}},
    {.command = kPreviewFile,
     .button = u"SpeedButton3",
     .window = wn::kPreview,
     .picture = {"document-print-preview", nullptr}},
    {.command = kHideFilePanel, .button = u"SpeedButton1", .picture = {"go-previous", nullptr}},
    {.command = kShowFilePanel, .button = u"SpeedButton2", .picture = {"go-next", nullptr}},
    {.command = kOpenSelected, .button = u"SpeedButton4", .picture = {"document-open", nullptr}},
    {.command = kUndo,
     .button = u"SpeedButton11",
     .action = u"Undo",
     .key = kCtrl(Qt::Key_Z),
     .picture = {"edit-undo", nullptr},
     .text = Text::kUndo},
    {.command = kTextToHtml, .button = u"SpeedButton7", .picture = {nullptr, "text-to-html"}},
    {.command = kHtmlToText, .button = u"SpeedButton13", .picture = {nullptr, "html-to-text"}},
    {.command = kLineReplace,
     .button = u"SpeedButton12",
     .window = wn::kLineReplace,
     .opening = kInFront,
     .picture = {nullptr, "wrap-tag"}},
    {.command = kCompress, .button = u"SpeedButton10", .picture = {nullptr, "compress"}},
    {.command = kBlockReplace,
     .button = u"SpeedButton9",
     .window = wn::kBlockReplace,
     .opening = kInFront,
     .picture = {nullptr, "paragraph"}},
    {.command = kQuickTable, .button = u"knopka8", .picture = {nullptr, "table"}},
    {.command = kWordWrap, .button = u"SpeedButton6", .picture = {nullptr, "line-break"}},
    {.command = kClearText,
     .button = u"SpeedButton5",
     .popup_item = u"N48",
     .picture = {"document-new", nullptr}},
    {.command = kBold, .action = u"Bold", .key = kCtrl(Qt::Key_B)},
    {.command = kItalic, .action = u"Italic", .key = kCtrl(Qt::Key_I)},
    {.command = kUnderline, .action = u"Underlined", .key = kCtrl(Qt::Key_U)},
    {.command = kClipboard,
     .button = u"SpeedButton18",
     .window = wn::kClipboard,
     .opening = kInFront,
     .picture = {"edit-paste", "clipboard"}},
    {.command = kToggleClipboard,
     .action = u"Clipboard",
     .key = QKeyCombination(Qt::Key_F9),
     .window = wn::kClipboard},
    {.command = kOptions,
     .button = u"SpeedButton19",
     .window = wn::kOptions,
     .opening = kModal,
     .picture = {"preferences-system", "settings"}},
    {.command = kAbout,
     .button = u"SpeedButton20",
     .menu_item = u"N75",
     .window = wn::kAbout,
     .opening = kInFront,
     .picture = {"help-about", "about"}},
    {.command = kTable,
     .button = u"SpeedButton22",
     .menu_item = u"N80",
     .window = wn::kTable,
     .opening = kInFront,
     .picture = {nullptr, "table"}},
    {.command = kList,
     .button = u"SpeedButton25",
     .menu_item = u"N81",
     .window = wn::kList,
     .opening = kInFront,
     .picture = {nullptr, "list"}},
    {.command = kChart,
     .button = u"SpeedButton27",
     .menu_item = u"N82",
     .window = wn::kChart,
     .opening = kInFront,
     .picture = {nullptr, "bar-chart"}},
    {.command = kImageTag,
     .button = u"SpeedButton26",
     .menu_item = u"N83",
     .window = wn::kImageTag,
     .opening = kInFront,
     .picture = {"insert-image", "image"}},
    {.command = kImageMap,
     .button = u"SpeedButton28",
     .menu_item = u"N84",
     .window = wn::kImageMap,
     .opening = kInFront,
     .picture = {nullptr, "image-map"}},
    {.command = kBatchReplace,
     .button = u"SpeedButton29",
     .menu_item = u"N85",
     .window = wn::kBatchReplace,
     .opening = kInFront,
     .picture = {"edit-find-replace", "find-replace"}},
    {.command = kRenamer,
     .button = u"SpeedButton30",
     .menu_item = u"N86",
     .window = wn::kRenamer,
     .opening = kInFront,
     .picture = {nullptr, "rename"}},
    {.command = kColourPicker,
     .button = u"SpeedButton33",
     .menu_item = u"N87",
     .window = wn::kColourPicker,
     .picture = {nullptr, "colour"}},
    {.command = kSeries,
     .button = u"SpeedButton31",
     .menu_item = u"N88",
     .window = wn::kSeries,
     .opening = kInFront,
     .picture = {nullptr, "page-series"}},
    {.command = kTidy,
     .button = u"SpeedButton32",
     .menu_item = u"N89",
     .window = wn::kTidy,
     .opening = kInFront,
     .picture = {nullptr, "compress"}},
    {.command = kStyleSheet,
     .button = u"SpeedButton34",
     .menu_item = u"N90",
     .window = wn::kStyleSheet,
     .opening = kInFront,
     .picture = {nullptr, "style-sheet"}},
    {.command = kApplyTemplate,
     .button = u"SpeedButton36",
     .menu_item = u"N91",
     .window = wn::kApplyTemplate,
     .opening = kInFront,
     .picture = {nullptr, "template"}},
    {.command = kConverter,
     .button = u"SpeedButton35",
     .menu_item = u"N92",
     .window = wn::kConverter,
     .opening = kInFront,
     .picture = {nullptr, "convert"}},
    {.command = kIndexPage,
     .button = u"SpeedButton37",
     .menu_item = u"N93",
     .window = wn::kIndexPage,
     .opening = kInFront,
     .picture = {nullptr, "index"}},
    {.command = kUndoBatch, .menu_item = u"UndoBatch", .text = Text::kUndoLastBatchRun},
    {.command = kHelp,
     .menu_item = u"N73",
     .action = u"Help",
     .key = QKeyCombination(Qt::Key_F1),
     .window = wn::kPreview},
    {.command = kNewVersion, .menu_item = u"N74"},

    {.command = kRedo,
     .action = u"Redo",
     .key = kCtrl(Qt::Key_Y),
     .second_key = Qt::CTRL | Qt::SHIFT | Qt::Key_Z,
     .text = Text::kRedo},
    {.command = kCut, .action = u"Cut", .key = kCtrl(Qt::Key_X), .text = Text::kCut},
    {.command = kCopy, .action = u"Copy", .key = kCtrl(Qt::Key_C), .text = Text::kCopy},
    {.command = kPaste, .action = u"Paste", .key = kCtrl(Qt::Key_V), .text = Text::kPaste},
    {.command = kSelectAll,
     .action = u"SelectAll",
     .key = kCtrl(Qt::Key_A),
     .text = Text::kSelectAll},
    {.command = kFind, .action = u"Find", .key = kCtrl(Qt::Key_F), .text = Text::kFindItem},
    {.command = kReplace,
     .action = u"Replace",
     .key = kCtrl(Qt::Key_H),
     .text = Text::kReplaceItem},
    {.command = kFindNext,
     .action = u"FindNext",
     .key = QKeyCombination(Qt::Key_F3),
     .text = Text::kFindNext},
    {.command = kFindPrevious,
     .action = u"FindPrevious",
     .key = Qt::SHIFT | Qt::Key_F3,
     .text = Text::kFindPrevious},
    {.command = kGoToLine, .action = u"GoToLine", .key = kCtrl(Qt::Key_G), .text = Text::kGoToLine},

    {.command = kLineNumbers,
     .menu_item = u"LineNumbers",
     .toggle = Toggle::kOn,
     .text = Text::kLineNumbers},
    {.command = kHighlighting,
     .menu_item = u"Highlighting",
     .toggle = Toggle::kOn,
     .text = Text::kHighlighting},
    {.command = kFolding, .menu_item = u"Folding", .toggle = Toggle::kOn, .text = Text::kFolding},
    {.command = kTagMatching,
     .menu_item = u"TagMatching",
     .toggle = Toggle::kOn,
     .text = Text::kTagMatching},
    {.command = kCloseTags,
     .menu_item = u"CloseTags",
     .toggle = Toggle::kOn,
     .text = Text::kCloseTags},
    {.command = kCompletion,
     .menu_item = u"Completion",
     .toggle = Toggle::kOn,
     .text = Text::kCompletion},
    {.command = kLivePreview,
     .menu_item = u"LivePreview",
     .toggle = Toggle::kOff,
     .text = Text::kLivePreview},
    {.command = kFoldHere,
     .menu_item = u"FoldHere",
     .key = Qt::CTRL | Qt::SHIFT | Qt::Key_BracketLeft,
     .text = Text::kFoldHere},
    {.command = kUnfoldHere,
     .menu_item = u"UnfoldHere",
     .key = Qt::CTRL | Qt::SHIFT | Qt::Key_BracketRight,
     .text = Text::kUnfoldHere},
    {.command = kMatchingTag,
     .menu_item = u"MatchingTag",
     .key = kCtrl(Qt::Key_M),
     .text = Text::kMatchingTag},

    {.command = kListAtCaret, .window = wn::kList, .opening = kModal, .popup_item = u"N37"},
    {.command = kRuleAtCaret, .window = wn::kRule, .opening = kModal, .popup_item = u"N31"},
    {.command = kSaveTemplate, .window = wn::kSaveTemplate, .popup_item = u"N51"},
};

constexpr Command kFileBar[] = {kPreviewFile, kOpenSelected, kHideFilePanel, kShowFilePanel};
constexpr Command kEditBar[] = {kUndo,         kTextToHtml, kHtmlToText, kLineReplace, kCompress,
                                kBlockReplace, kQuickTable, kWordWrap,   kClearText};
constexpr Command kFiles[] = {kNewPage, kOpen, kSave, kPreview};
constexpr Command kFilesSmall[] = {kClipboard, kOptions, kAbout};
constexpr Command kGenerators[] = {kTable, kList, kImageTag, kChart, kImageMap};
constexpr Command kTools[] = {kBatchReplace, kRenamer,   kSeries,        kTidy,     kColourPicker,
                              kStyleSheet,   kConverter, kApplyTemplate, kIndexPage};

constexpr MenuEntry kFileMenu[] = {{kNewPage},   {kOpen},
                                   {kSave},      {kSaveAs},
                                   {kClosePage}, {kRecent1, true, u"N65"},
                                   {kRecent2},   {kRecent3},
                                   {kRecent4},   {kQuit, true, u"N70"}};
constexpr MenuEntry kGeneratorsMenu[] = {{kTable}, {kList}, {kChart}, {kImageTag}, {kImageMap}};
constexpr MenuEntry kToolsMenu[] = {
    {kBatchReplace}, {kRenamer},       {kColourPicker}, {kSeries},    {kTidy},
    {kStyleSheet},   {kApplyTemplate}, {kConverter},    {kIndexPage}, {kUndoBatch, true}};
constexpr MenuEntry kEditMenu[] = {{kUndo},     {kRedo},         {kCut, true},  {kCopy},
                                   {kPaste},    {kSelectAll},    {kFind, true}, {kReplace},
                                   {kFindNext}, {kFindPrevious}, {kGoToLine}};
constexpr MenuEntry kViewMenu[] = {{kPreview},    {kLineNumbers, true}, {kHighlighting},
                                   {kFolding},    {kTagMatching},       {kCloseTags},
                                   {kCompletion}, {kLivePreview},       {kFoldHere},
                                   {kUnfoldHere}, {kMatchingTag}};
constexpr MenuEntry kHelpMenu[] = {{kHelp}, {kNewVersion}, {kAbout}};

constexpr MainMenu kMenus[] = {{u"dsfg1", kFileMenu},     {u"EditMenu", kEditMenu},
                               {u"N77", kGeneratorsMenu}, {u"N76", kToolsMenu},
                               {u"N78", kViewMenu},       {u"N72", kHelpMenu}};

// The rows are looked up by their command's value.
constexpr bool RowsInCommandOrder() {
  for (int i = 0; i < int(std::size(kRows)); ++i) {
    if (int(kRows[i].command) != i) return false;
  }
  return std::size(kRows) == std::size_t(kCommandCount);
}
static_assert(RowsInCommandOrder(), "command rows must follow the order of Command");

}  // namespace

std::span<const CommandRow> CommandRows() { return kRows; }

const CommandRow& RowOf(Command command) { return kRows[int(command)]; }

std::span<const Command> ButtonsOf(ButtonGroup group) {
  switch (group) {
    case ButtonGroup::kFileBar:
      return kFileBar;
    case ButtonGroup::kEditBar:
      return kEditBar;
    case ButtonGroup::kFiles:
      return kFiles;
    case ButtonGroup::kFilesSmall:
      return kFilesSmall;
    case ButtonGroup::kGenerators:
      return kGenerators;
    case ButtonGroup::kTools:
      return kTools;
  }
  return {};
}

std::span<const MainMenu> MainMenus() { return kMenus; }
