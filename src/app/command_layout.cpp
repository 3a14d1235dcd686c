// Where the commands stand on screen: the groups of tool buttons and the main menus.
#include "app/command_table.h"

namespace {

using enum Command;

constexpr Command kFileBar[] = {kPreviewFile, kOpenSelected, kHideFilePanel, kShowFilePanel};
constexpr Command kEditBar[] = {kUndo,         kTextToHtml, kHtmlToText, kLineReplace, kCompress,
                                kBlockReplace, kQuickTable, kWordWrap,   kClearText};
constexpr Command kFiles[] = {kNewPage, kOpen, kSave, kPreview};
constexpr Command kFilesSmall[] = {kClipboard, kOptions, kAbout};
constexpr Command kGenerators[] = {kTable, kList, kImageTag, kChart, kImageMap};
constexpr Command kTools[] = {kBatchReplace, kRenamer,   kSeries,        kTidy,     kColourPicker,
                              kStyleSheet,   kConverter, kApplyTemplate, kIndexPage};

constexpr MenuEntry kFileMenu[] = {{kNewPage},
                                   {kOpen},
                                   {kSave},
                                   {kSaveAs},
                                   {kClosePage},
                                   {kNewTab},
                                   {kRecent1, true, u"N65"},
                                   {kRecent2},
                                   {kRecent3},
                                   {kRecent4},
                                   {kQuit, true, u"N70"}};
constexpr MenuEntry kGeneratorsMenu[] = {{kTable}, {kList}, {kChart}, {kImageTag}, {kImageMap}};
constexpr MenuEntry kToolsMenu[] = {{kBatchReplace},    {kRenamer},       {kColourPicker},
                                    {kSeries},          {kTidy},          {kStyleSheet},
                                    {kApplyTemplate},   {kConverter},     {kIndexPage},
                                    {kCheckSite, true}, {kMoveWithLinks}, {kUndoBatch, true}};
constexpr MenuEntry kEditMenu[] = {{kUndo},
                                   {kRedo},
                                   {kCut, true},
                                   {kCopy},
                                   {kPaste},
                                   {kSelectAll},
                                   {kFind, true},
                                   {kReplace},
                                   {kFindNext},
                                   {kFindPrevious},
                                   {kGoToLine},
                                   {kFindInFiles, true},
                                   {kNextHit},
                                   {kPreviousHit},
                                   {kFormatPage, true},
                                   {kExpandAbbreviation, true},
                                   {kWrapWithAbbreviation}};
constexpr MenuEntry kViewMenu[] = {
    {kPreview},        {kPreviewBeside},  {kLineNumbers, true},   {kHighlighting},
    {kFolding},        {kTagMatching},    {kCloseTags},           {kCompletion},
    {kAutoIndent},     {kBlockSelection}, {kLivePreview},         {kFoldHere},
    {kUnfoldHere},     {kMatchingTag},    {kOpenInNewTabs, true}, {kSplitView},
    {kProblems, true}, {kNextProblem},    {kPreviousProblem},     {kCheckSpelling}};
constexpr MenuEntry kHelpMenu[] = {{kHelp}, {kNewVersion}, {kAbout}};

constexpr MainMenu kMenus[] = {{u"dsfg1", kFileMenu},     {u"EditMenu", kEditMenu},
                               {u"N77", kGeneratorsMenu}, {u"N76", kToolsMenu},
                               {u"N78", kViewMenu},       {u"N72", kHelpMenu}};

// The rows are looked up by their command's value.
}  // namespace

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
