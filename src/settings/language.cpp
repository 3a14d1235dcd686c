#include "settings/language.h"

#include "names/texts.h"

#include <QHash>

#include "names/window_names.h"
#include "platform/text_format.h"

namespace {

using enum TextTarget;
namespace wn = window_name;

constexpr LanguageStep C(int line, QStringView window, const char16_t* control) {
  return {line, window, control, kCaption};
}
constexpr LanguageStep H(int line, QStringView window, const char16_t* control) {
  return {line, window, control, kHint};
}
constexpr LanguageStep W(int line, QStringView window) {
  return {line, window, u"", kWindowCaption};
}
constexpr LanguageStep Item(int line, QStringView window, const char16_t* control,
                            TextTarget item) {
  return {line, window, control, item};
}
constexpr LanguageStep Menu(int line, const char16_t* item) {
  return {line, wn::kMain, item, kMenu};
}
// A main menu item that copies the text of a control placed before it.
constexpr LanguageStep MenuCopy(const char16_t* item, const char16_t* from,
                                TextTarget from_target) {
  return {-1, wn::kMain, item, kMenu, u"", -1, from, from_target};
}
constexpr LanguageStep Verb(int line, const char16_t* control) {
  return {line, wn::kOptions, control, kCaption, u"Brindlemark"};
}

constexpr LanguageStep kSteps[] = {
    // The main window: labels, hints and the untitled name.
    C(0, wn::kMain, u"Label2"),
    C(1, wn::kMain, u"Label4"),
    C(2, wn::kMain, u"Label5"),
    H(3, wn::kMain, u"SpeedButton8"),
    H(6, wn::kMain, u"SpeedButton14"),
    H(5, wn::kMain, u"SpeedButton15"),
    H(4, wn::kMain, u"SpeedButton16"),
    H(8, wn::kMain, u"SpeedButton22"),
    H(9, wn::kMain, u"SpeedButton25"),
    H(10, wn::kMain, u"SpeedButton26"),
    H(16, wn::kMain, u"SpeedButton27"),
    H(11, wn::kMain, u"SpeedButton29"),
    H(12, wn::kMain, u"SpeedButton30"),
    H(13, wn::kMain, u"SpeedButton31"),
    H(14, wn::kMain, u"SpeedButton32"),
    H(15, wn::kMain, u"SpeedButton33"),
    H(17, wn::kMain, u"SpeedButton34"),
    {19, wn::kMain, u"", kUntitledName},
    H(25, wn::kMain, u"SpeedButton18"),
    H(26, wn::kMain, u"SpeedButton19"),
    H(27, wn::kMain, u"SpeedButton20"),
    H(28, wn::kMain, u"SpeedButton3"),
    H(29, wn::kMain, u"SpeedButton4"),
    H(30, wn::kMain, u"SpeedButton1"),
    H(31, wn::kMain, u"SpeedButton2"),
    C(32, wn::kMain, u"Label1"),
    H(33, wn::kMain, u"SpeedButton11"),
    H(34, wn::kMain, u"SpeedButton7"),
    H(14, wn::kMain, u"SpeedButton10"),
    H(35, wn::kMain, u"knopka8"),
    H(36, wn::kMain, u"SpeedButton9"),
    H(37, wn::kMain, u"SpeedButton12"),
    H(38, wn::kMain, u"SpeedButton6"),
    H(39, wn::kMain, u"SpeedButton5"),
    H(106, wn::kMain, u"SpeedButton13"),
    H(113, wn::kMain, u"SpeedButton36"),
    H(122, wn::kMain, u"SpeedButton28"),
    H(126, wn::kMain, u"SpeedButton37"),
    {-1, wn::kMain, u"SpeedButton35", kHint, u"", -1, u"SpeedButton13", kHint},
    // The main menu.
    Menu(114, u"dsfg1"),
    MenuCopy(u"N61", u"SpeedButton8", kHint),
    MenuCopy(u"N62", u"SpeedButton14", kHint),
    MenuCopy(u"N63", u"SpeedButton15", kHint),
    Menu(115, u"N64"),
    Menu(20, u"N71"),
    MenuCopy(u"N77", u"Label4", kCaption),
    MenuCopy(u"N80", u"SpeedButton22", kHint),
    MenuCopy(u"N81", u"SpeedButton25", kHint),
    MenuCopy(u"N82", u"SpeedButton27", kHint),
    MenuCopy(u"N83", u"SpeedButton26", kHint),
    MenuCopy(u"N84", u"SpeedButton28", kHint),
    MenuCopy(u"N76", u"Label5", kCaption),
    MenuCopy(u"N85", u"SpeedButton29", kHint),
    MenuCopy(u"N86", u"SpeedButton30", kHint),
    MenuCopy(u"N87", u"SpeedButton33", kHint),
    MenuCopy(u"N88", u"SpeedButton31", kHint),
    MenuCopy(u"N89", u"SpeedButton32", kHint),
    MenuCopy(u"N90", u"SpeedButton34", kHint),
    MenuCopy(u"N91", u"SpeedButton36", kHint),
    MenuCopy(u"N92", u"SpeedButton35", kHint),
    MenuCopy(u"N93", u"SpeedButton37", kHint),
    Menu(135, u"N78"),
    MenuCopy(u"N79", u"SpeedButton16", kHint),
    Menu(136, u"N72"),
    Menu(136, u"N73"),
    Menu(123, u"N74"),
    MenuCopy(u"N75", u"SpeedButton20", kHint),
    // Save-changes prompt.
    W(20, wn::kSavePrompt),
    C(21, wn::kSavePrompt, u"Label1"),
    C(22, wn::kSavePrompt, u"BitBtn1"),
    C(23, wn::kSavePrompt, u"BitBtn2"),
    C(112, wn::kSavePrompt, u"BitBtn3"),
    // Image tag dialog.
    W(40, wn::kImageTag),
    C(41, wn::kImageTag, u"Button1"),
    H(42, wn::kImageTag, u"Image1"),
    C(58, wn::kImageTag, u"Button2"),
    C(137, wn::kImageTag, u"RadioButton3"),
    C(138, wn::kImageTag, u"RadioButton2"),
    C(139, wn::kImageTag, u"RadioButton1"),
    // About window.
    W(27, wn::kAbout),
    C(43, wn::kAbout, u"Label6"),
    C(44, wn::kAbout, u"Label7"),
    // Preview window.
    W(133, wn::kPreview),
    // Options window.
    W(26, wn::kOptions),
    C(45, wn::kOptions, u"CheckBox1"),
    C(133, wn::kOptions, u"CheckBox2"),
    Verb(46, u"Button6"),
    Verb(47, u"Button5"),
    Verb(134, u"Button8"),
    C(41, wn::kOptions, u"Button2"),
    C(48, wn::kOptions, u"Button3"),
    C(49, wn::kOptions, u"Button4"),
    C(52, wn::kOptions, u"Button7"),
    // New page wizard.
    W(50, wn::kNewPage),
    C(51, wn::kNewPage, u"Label1"),
    C(52, wn::kNewPage, u"Button1"),
    C(52, wn::kNewPage, u"Button2"),
    C(52, wn::kNewPage, u"Button3"),
    C(52, wn::kNewPage, u"Button4"),
    C(52, wn::kNewPage, u"Button5"),
    C(105, wn::kNewPage, u"CheckBox1"),
    // Table generator.
    W(53, wn::kTable),
    C(54, wn::kTable, u"Label1"),
    C(55, wn::kTable, u"Label2"),
    C(52, wn::kTable, u"Button3"),
    C(52, wn::kTable, u"Button4"),
    C(52, wn::kTable, u"Button5"),
    C(56, wn::kTable, u"CheckBox2"),
    C(57, wn::kTable, u"CheckBox1"),
    C(58, wn::kTable, u"Button1"),
    C(41, wn::kTable, u"Button2"),
    // Colour picker.
    W(59, wn::kColourPicker),
    C(60, wn::kColourPicker, u"Label4"),
    C(61, wn::kColourPicker, u"Label5"),
    C(62, wn::kColourPicker, u"Label6"),
    C(15, wn::kColourPicker, u"Button1"),
    C(58, wn::kColourPicker, u"Button2"),
    C(41, wn::kColourPicker, u"Button3"),
    // Batch search and replace.
    W(11, wn::kBatchReplace),
    C(63, wn::kBatchReplace, u"Label6"),
    C(64, wn::kBatchReplace, u"Label4"),
    C(65, wn::kBatchReplace, u"Label5"),
    C(65, wn::kBatchReplace, u"Button4"),
    C(66, wn::kBatchReplace, u"Label3"),
    C(67, wn::kBatchReplace, u"RadioButton1"),
    C(68, wn::kBatchReplace, u"RadioButton2"),
    C(69, wn::kBatchReplace, u"RadioButton3"),
    C(70, wn::kBatchReplace, u"Button1"),
    C(71, wn::kBatchReplace, u"Button2"),
    C(41, wn::kBatchReplace, u"Button3"),
    Item(72, wn::kBatchReplace, u"RadioGroup1", kItem0),
    Item(73, wn::kBatchReplace, u"RadioGroup1", kItem1),
    C(74, wn::kBatchReplace, u"Label1"),
    C(75, wn::kBatchReplace, u"Label2"),
    // Batch renamer.
    W(12, wn::kRenamer),
    C(76, wn::kRenamer, u"RadioGroup1"),
    Item(72, wn::kRenamer, u"RadioGroup1", kItem0),
    Item(77, wn::kRenamer, u"RadioGroup1", kItem1),
    C(78, wn::kRenamer, u"Label3"),
    C(79, wn::kRenamer, u"Label2"),
    C(80, wn::kRenamer, u"Label4"),
    C(81, wn::kRenamer, u"Label5"),
    C(82, wn::kRenamer, u"Label6"),
    C(83, wn::kRenamer, u"Button1"),
    C(41, wn::kRenamer, u"Button2"),
    C(84, wn::kRenamer, u"Label7"),
    C(131, wn::kRenamer, u"CheckBox1"),
    C(132, wn::kRenamer, u"CheckBox2"),
    // Batch tidy window.
    W(14, wn::kTidy),
    C(85, wn::kTidy, u"Button1"),
    C(72, wn::kTidy, u"Button2"),
    C(41, wn::kTidy, u"Button3"),
    // Block replace tool.
    W(36, wn::kBlockReplace),
    C(64, wn::kBlockReplace, u"Label1"),
    C(65, wn::kBlockReplace, u"Label2"),
    C(65, wn::kBlockReplace, u"Button1"),
    C(41, wn::kBlockReplace, u"Button3"),
    // Script library window.
    C(58, wn::kScriptLibrary, u"Button1"),
    C(3, wn::kScriptLibrary, u"Button2"),
    // Clipboard manager.
    H(119, wn::kClipboard, u"SpeedButton1"),
    H(124, wn::kClipboard, u"SpeedButton2"),
    H(6, wn::kClipboard, u"SpeedButton3"),
    H(5, wn::kClipboard, u"SpeedButton4"),
    H(39, wn::kClipboard, u"SpeedButton5"),
    H(125, wn::kClipboard, u"ListBox1"),
    // Line replace tool.
    W(37, wn::kLineReplace),
    C(64, wn::kLineReplace, u"Label1"),
    C(65, wn::kLineReplace, u"Label2"),
    C(65, wn::kLineReplace, u"Button1"),
    C(41, wn::kLineReplace, u"Button2"),
    // List generator.
    W(86, wn::kList),
    C(87, wn::kList, u"Label1"),
    C(88, wn::kList, u"RadioButton1"),
    C(89, wn::kList, u"RadioButton2"),
    C(58, wn::kList, u"Button1"),
    C(41, wn::kList, u"Button2"),
    // Bar chart generator.
    W(16, wn::kChart),
    C(49, wn::kChart, u"Label5"),
    C(90, wn::kChart, u"Label7"),
    C(91, wn::kChart, u"Label6"),
    C(92, wn::kChart, u"Label2"),
    C(93, wn::kChart, u"Label3"),
    C(94, wn::kChart, u"Label4"),
    C(95, wn::kChart, u"Label8"),
    C(52, wn::kChart, u"Button4"),
    C(52, wn::kChart, u"Button6"),
    C(52, wn::kChart, u"Button2"),
    C(41, wn::kChart, u"Button5"),
    C(96, wn::kChart, u"Button7"),
    C(97, wn::kChart, u"Label1"),
    C(58, wn::kChart, u"Button3"),
    {58, wn::kChart, u"Button1", kCaption, u"", 98},
    C(99, wn::kChart, u"RadioButton1"),
    C(100, wn::kChart, u"RadioButton2"),
    C(101, wn::kChart, u"RadioButton3"),
    C(102, wn::kChart, u"CheckBox1"),
    C(103, wn::kChart, u"CheckBox2"),
    // Style sheet builder.
    W(17, wn::kStyleSheet),
    C(104, wn::kStyleSheet, u"Label1"),
    C(5, wn::kStyleSheet, u"Button4"),
    C(39, wn::kStyleSheet, u"Button3"),
    C(41, wn::kStyleSheet, u"Button2"),
    C(58, wn::kStyleSheet, u"Button1"),
    // Text and HTML converter.
    W(108, wn::kConverter),
    C(85, wn::kConverter, u"CheckBox1"),
    C(83, wn::kConverter, u"Button1"),
    C(107, wn::kConverter, u"CheckBox2"),
    C(41, wn::kConverter, u"Button2"),
    Item(72, wn::kConverter, u"RadioGroup1", kItem0),
    Item(73, wn::kConverter, u"RadioGroup1", kItem1),
    // Save template.
    W(140, wn::kSaveTemplate),
    C(5, wn::kSaveTemplate, u"Button1"),
    C(41, wn::kSaveTemplate, u"Button2"),
    // Page series generator.
    C(83, wn::kSeries, u"Button2"),
    C(109, wn::kSeries, u"Label2"),
    W(110, wn::kSeries),
    C(111, wn::kSeries, u"Button1"),
    // Apply template to files.
    C(111, wn::kApplyTemplate, u"Button1"),
    C(83, wn::kApplyTemplate, u"Button2"),
    C(41, wn::kApplyTemplate, u"Button3"),
    // Image map editor.
    C(118, wn::kImageMap, u"Button1"),
    C(119, wn::kImageMap, u"Button3"),
    C(120, wn::kImageMap, u"Button2"),
    C(121, wn::kImageMap, u"Label1"),
    C(41, wn::kImageMap, u"Button4"),
    W(122, wn::kImageMap),
    // Index page builder.
    W(126, wn::kIndexPage),
    C(127, wn::kIndexPage, u"Button3"),
    C(128, wn::kIndexPage, u"Button2"),
    C(126, wn::kIndexPage, u"Button1"),
    C(41, wn::kIndexPage, u"Button4"),
    C(129, wn::kIndexPage, u"RadioButton1"),
    C(130, wn::kIndexPage, u"RadioButton2"),
};

}  // namespace

std::span<const LanguageStep> LanguageSteps() { return kSteps; }

QStringList LanguageLines(QByteArrayView bytes) {
  const qsizetype zero = bytes.indexOf('\0');
  if (zero >= 0) bytes = bytes.first(zero);
  return SplitLines(BytesToText(bytes));
}

LanguageTexts ResolveLanguageTexts(const QStringList& lines) {
  LanguageTexts result;
  // Texts placed so far, by window, control and kind, for the copy steps.
  QHash<QString, QString> placed;
  auto key = [](const QString& window, const QString& control, TextTarget target) {
    return window + u'/' + control + u'/' + QString::number(int(target));
  };
  for (const LanguageStep& step : kSteps) {
    const QString window = step.window.toString();
    const QString control = QString::fromUtf16(step.control);
    QString text;
    if (step.line < 0) {
      text = placed.value(key(window, QString::fromUtf16(step.copy_control), step.copy_target));
    } else {
      if (step.line >= lines.size()) {
        result.missing_line = step.line;
        return result;
      }
      text = lines[step.line] + QString::fromUtf16(step.suffix);
      if (step.second_line >= 0) {
        if (step.second_line >= lines.size()) {
          result.missing_line = step.second_line;
          return result;
        }
        text += u' ' + lines[step.second_line];
      }
    }
    placed.insert(key(window, control, step.target), text);
    result.texts.append({window, control, step.target, text});
  }
  return result;
}

QString MissingLineMessage(int line) { return Tr(Text::kMissingLine).arg(line); }
