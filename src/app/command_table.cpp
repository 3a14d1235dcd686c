#include "app/command_table.h"

#include "names/window_names.h"

namespace {

using enum Command;
using enum Opening;
namespace wn = window_name;

constexpr QKeyCombination kNoKey;

constexpr CommandRow kRows[] = {
    {kNewPage, u"SpeedButton8", u"N61", u"NewDocument", Qt::CTRL | Qt::Key_N, wn::kNewPage},
    {kOpen, u"SpeedButton14", u"N62", u"Open", Qt::CTRL | Qt::Key_O},
    {kSave, u"SpeedButton15", u"N63", u"SaveDocument", Qt::CTRL | Qt::Key_S},
    {kSaveAs, {}, u"N64", u"SaveAs", Qt::CTRL | Qt::SHIFT | Qt::Key_S},
    {kClosePage, {}, u"ClosePage", u"Close", Qt::CTRL | Qt::Key_W},
    {kRecent1, {}, u"N66"},
    {kRecent2, {}, u"N67"},
    {kRecent3, {}, u"N68"},
    {kRecent4, {}, u"N69"},
    {kQuit, {}, u"N71", u"Quit", Qt::CTRL | Qt::Key_Q},
    {kPreview, u"SpeedButton16", u"N79", u"Run", QKeyCombination(Qt::Key_F12), wn::kPreview},
    {kPreviewFile, u"SpeedButton3", {}, {}, kNoKey, wn::kPreview},
    {kHideFilePanel, u"SpeedButton1"},
    {kShowFilePanel, u"SpeedButton2"},
    {kOpenSelected, u"SpeedButton4"},
    {kUndo, u"SpeedButton11", {}, u"Undo", Qt::CTRL | Qt::Key_Z},
    {kTextToHtml, u"SpeedButton7"},
    {kHtmlToText, u"SpeedButton13"},
    {kLineReplace, u"SpeedButton12", {}, {}, kNoKey, wn::kLineReplace, kInFront},
    {kCompress, u"SpeedButton10"},
    {kBlockReplace, u"SpeedButton9", {}, {}, kNoKey, wn::kBlockReplace, kInFront},
    {kQuickTable, u"knopka8"},
    {kWordWrap, u"SpeedButton6"},
    {kClearText, u"SpeedButton5"},
    {kBold, {}, {}, u"Bold", Qt::CTRL | Qt::Key_B},
    {kItalic, {}, {}, u"Italic", Qt::CTRL | Qt::Key_I},
    {kUnderline, {}, {}, u"Underlined", Qt::CTRL | Qt::Key_U},
    {kClipboard, u"SpeedButton18", {}, {}, kNoKey, wn::kClipboard, kInFront},
    {kToggleClipboard, {}, {}, u"Clipboard", QKeyCombination(Qt::Key_F9), wn::kClipboard},
    {kOptions, u"SpeedButton19", {}, {}, kNoKey, wn::kOptions, kModal},
    {kAbout, u"SpeedButton20", u"N75", {}, kNoKey, wn::kAbout, kInFront},
    {kTable, u"SpeedButton22", u"N80", {}, kNoKey, wn::kTable, kInFront},
    {kList, u"SpeedButton25", u"N81", {}, kNoKey, wn::kList, kInFront},
    {kChart, u"SpeedButton27", u"N82", {}, kNoKey, wn::kChart, kInFront},
    {kImageTag, u"SpeedButton26", u"N83", {}, kNoKey, wn::kImageTag, kInFront},
    {kImageMap, u"SpeedButton28", u"N84", {}, kNoKey, wn::kImageMap, kInFront},
    {kBatchReplace, u"SpeedButton29", u"N85", {}, kNoKey, wn::kBatchReplace, kInFront},
    {kRenamer, u"SpeedButton30", u"N86", {}, kNoKey, wn::kRenamer, kInFront},
    {kColourPicker, u"SpeedButton33", u"N87", {}, kNoKey, wn::kColourPicker},
    {kSeries, u"SpeedButton31", u"N88", {}, kNoKey, wn::kSeries, kInFront},
    {kTidy, u"SpeedButton32", u"N89", {}, kNoKey, wn::kTidy, kInFront},
    {kStyleSheet, u"SpeedButton34", u"N90", {}, kNoKey, wn::kStyleSheet, kInFront},
    {kApplyTemplate, u"SpeedButton36", u"N91", {}, kNoKey, wn::kApplyTemplate, kInFront},
    {kConverter, u"SpeedButton35", u"N92", {}, kNoKey, wn::kConverter, kInFront},
    {kIndexPage, u"SpeedButton37", u"N93", {}, kNoKey, wn::kIndexPage, kInFront},
    {kUndoBatch, {}, u"UndoBatch"},
    {kHelp, {}, u"N73", u"Help", QKeyCombination(Qt::Key_F1), wn::kPreview},
    {kNewVersion, {}, u"N74"},
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
constexpr MenuEntry kViewMenu[] = {{kPreview}};
constexpr MenuEntry kHelpMenu[] = {{kHelp}, {kNewVersion}, {kAbout}};

constexpr MainMenu kMenus[] = {{u"dsfg1", kFileMenu},
                               {u"N77", kGeneratorsMenu},
                               {u"N76", kToolsMenu},
                               {u"N78", kViewMenu},
                               {u"N72", kHelpMenu}};

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
