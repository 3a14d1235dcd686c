#pragma once

#include <QStringView>
#include <array>

// The object name of every window: what the command table, the language files and the tests
// find a window by. Each window class takes its own from here as kName.
namespace window_name {

inline constexpr QStringView kMain = u"form1";
inline constexpr QStringView kNewPage = u"Form7";
inline constexpr QStringView kColourPicker = u"Form9";
inline constexpr QStringView kSavePrompt = u"Form2";
inline constexpr QStringView kImageTag = u"Form4";
inline constexpr QStringView kBlockReplace = u"Form15";
inline constexpr QStringView kLineReplace = u"Form18";
inline constexpr QStringView kPreview = u"Form30";
inline constexpr QStringView kTable = u"Form8";
inline constexpr QStringView kList = u"Form19";
inline constexpr QStringView kChart = u"Form20";
inline constexpr QStringView kImageMap = u"Form27";
inline constexpr QStringView kBatchReplace = u"Form10";
inline constexpr QStringView kRenamer = u"Form13";
inline constexpr QStringView kSeries = u"AutocreatorForm";
inline constexpr QStringView kTidy = u"Form14";
inline constexpr QStringView kStyleSheet = u"Form21";
inline constexpr QStringView kIndexPage = u"Form28";
inline constexpr QStringView kConverter = u"Form23";
inline constexpr QStringView kApplyTemplate = u"Form25";
inline constexpr QStringView kClipboard = u"Form17";
inline constexpr QStringView kOptions = u"Form6";
inline constexpr QStringView kAbout = u"Form5";
inline constexpr QStringView kScriptLibrary = u"Form16";
inline constexpr QStringView kSaveTemplate = u"Form24";
inline constexpr QStringView kRule = u"Form22";
inline constexpr QStringView kRecovery = u"RecoveryWindow";
inline constexpr QStringView kSiteCheck = u"SiteCheckWindow";
inline constexpr QStringView kMove = u"MoveWindow";
inline constexpr QStringView kHelp = u"HelpWindow";

// Every window, in the order the program creates them, the main window first.
inline constexpr std::array kAll = {
    kMain,         kNewPage,       kColourPicker, kSavePrompt, kImageTag,   kBlockReplace,
    kLineReplace,  kPreview,       kTable,        kList,       kChart,      kImageMap,
    kBatchReplace, kRenamer,       kSeries,       kTidy,       kStyleSheet, kIndexPage,
    kConverter,    kApplyTemplate, kClipboard,    kOptions,    kAbout,      kScriptLibrary,
    kSaveTemplate, kRule,          kRecovery,     kSiteCheck,  kMove,       kHelp};

}  // namespace window_name
