#include "settings/language.h"

#include <QHash>

#include "platform/text_file.h"

namespace {

using enum TextTarget;

constexpr LanguageStep C(int line, const char16_t* window, const char16_t* control) {
  return {line, window, control, kCaption};
}
constexpr LanguageStep H(int line, const char16_t* window, const char16_t* control) {
  return {line, window, control, kHint};
}
constexpr LanguageStep W(int line, const char16_t* window) {
  return {line, window, u"", kWindowCaption};
}
constexpr LanguageStep Item(int line, const char16_t* window, const char16_t* control,
                            TextTarget item) {
  return {line, window, control, item};
}
constexpr LanguageStep Menu(int line, const char16_t* item) {
  return {line, u"form1", item, kMenu};
}
// A main menu item that copies the text of a control placed before it.
constexpr LanguageStep MenuCopy(const char16_t* item, const char16_t* from,
                                TextTarget from_target) {
  return {-1, u"form1", item, kMenu, u"", -1, from, from_target};
}
constexpr LanguageStep Verb(int line, const char16_t* control) {
  return {line, u"Form6", control, kCaption, u"Brindlemark"};
}

constexpr LanguageStep kSteps[] = {
    // The main window: labels, hints and the untitled name.
    C(0, u"form1", u"Label2"),
    C(1, u"form1", u"Label4"),
    C(2, u"form1", u"Label5"),
    H(3, u"form1", u"SpeedButton8"),
    H(6, u"form1", u"SpeedButton14"),
    H(5, u"form1", u"SpeedButton15"),
    H(4, u"form1", u"SpeedButton16"),
    H(8, u"form1", u"SpeedButton22"),
    H(9, u"form1", u"SpeedButton25"),
    H(10, u"form1", u"SpeedButton26"),
    H(16, u"form1", u"SpeedButton27"),
    H(11, u"form1", u"SpeedButton29"),
    H(12, u"form1", u"SpeedButton30"),
    H(13, u"form1", u"SpeedButton31"),
    H(14, u"form1", u"SpeedButton32"),
    H(15, u"form1", u"SpeedButton33"),
    H(17, u"form1", u"SpeedButton34"),
    {19, u"form1", u"", kUntitledName},
    H(25, u"form1", u"SpeedButton18"),
    H(26, u"form1", u"SpeedButton19"),
    H(27, u"form1", u"SpeedButton20"),
    H(28, u"form1", u"SpeedButton3"),
    H(29, u"form1", u"SpeedButton4"),
    H(30, u"form1", u"SpeedButton1"),
    H(31, u"form1", u"SpeedButton2"),
    C(32, u"form1", u"Label1"),
    H(33, u"form1", u"SpeedButton11"),
    H(34, u"form1", u"SpeedButton7"),
    H(14, u"form1", u"SpeedButton10"),
    H(35, u"form1", u"knopka8"),
    H(36, u"form1", u"SpeedButton9"),
    H(37, u"form1", u"SpeedButton12"),
    H(38, u"form1", u"SpeedButton6"),
    H(39, u"form1", u"SpeedButton5"),
    H(106, u"form1", u"SpeedButton13"),
    H(113, u"form1", u"SpeedButton36"),
    H(122, u"form1", u"SpeedButton28"),
    H(126, u"form1", u"SpeedButton37"),
    {-1, u"form1", u"SpeedButton35", kHint, u"", -1, u"SpeedButton13", kHint},
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
    W(20, u"Form2"),
    C(21, u"Form2", u"Label1"),
    C(22, u"Form2", u"BitBtn1"),
    C(23, u"Form2", u"BitBtn2"),
    C(112, u"Form2", u"BitBtn3"),
    // Image tag dialog.
    W(40, u"Form4"),
    C(41, u"Form4", u"Button1"),
    H(42, u"Form4", u"Image1"),
    C(58, u"Form4", u"Button2"),
    C(137, u"Form4", u"RadioButton3"),
    C(138, u"Form4", u"RadioButton2"),
    C(139, u"Form4", u"RadioButton1"),
    // About window.
    W(27, u"Form5"),
    C(43, u"Form5", u"Label6"),
    C(44, u"Form5", u"Label7"),
    // Preview window.
    W(133, u"Form30"),
    // Options window.
    W(26, u"Form6"),
    C(45, u"Form6", u"CheckBox1"),
    C(133, u"Form6", u"CheckBox2"),
    Verb(46, u"Button6"),
    Verb(47, u"Button5"),
    Verb(134, u"Button8"),
    C(41, u"Form6", u"Button2"),
    C(48, u"Form6", u"Button3"),
    C(49, u"Form6", u"Button4"),
    C(52, u"Form6", u"Button7"),
    // New page wizard.
    W(50, u"Form7"),
    C(51, u"Form7", u"Label1"),
    C(52, u"Form7", u"Button1"),
    C(52, u"Form7", u"Button2"),
    C(52, u"Form7", u"Button3"),
    C(52, u"Form7", u"Button4"),
    C(52, u"Form7", u"Button5"),
    C(105, u"Form7", u"CheckBox1"),
    // Table generator.
    W(53, u"Form8"),
    C(54, u"Form8", u"Label1"),
    C(55, u"Form8", u"Label2"),
    C(52, u"Form8", u"Button3"),
    C(52, u"Form8", u"Button4"),
    C(52, u"Form8", u"Button5"),
    C(56, u"Form8", u"CheckBox2"),
    C(57, u"Form8", u"CheckBox1"),
    C(58, u"Form8", u"Button1"),
    C(41, u"Form8", u"Button2"),
    // Colour picker.
    W(59, u"Form9"),
    C(60, u"Form9", u"Label4"),
    C(61, u"Form9", u"Label5"),
    C(62, u"Form9", u"Label6"),
    C(15, u"Form9", u"Button1"),
    C(58, u"Form9", u"Button2"),
    C(41, u"Form9", u"Button3"),
    // Batch search and replace.
    W(11, u"Form10"),
    C(63, u"Form10", u"Label6"),
    C(64, u"Form10", u"Label4"),
    C(65, u"Form10", u"Label5"),
    C(65, u"Form10", u"Button4"),
    C(66, u"Form10", u"Label3"),
    C(67, u"Form10", u"RadioButton1"),
    C(68, u"Form10", u"RadioButton2"),
    C(69, u"Form10", u"RadioButton3"),
    C(70, u"Form10", u"Button1"),
    C(71, u"Form10", u"Button2"),
    C(41, u"Form10", u"Button3"),
    Item(72, u"Form10", u"RadioGroup1", kItem0),
    Item(73, u"Form10", u"RadioGroup1", kItem1),
    C(74, u"Form10", u"Label1"),
    C(75, u"Form10", u"Label2"),
    // Batch renamer.
    W(12, u"Form13"),
    C(76, u"Form13", u"RadioGroup1"),
    Item(72, u"Form13", u"RadioGroup1", kItem0),
    Item(77, u"Form13", u"RadioGroup1", kItem1),
    C(78, u"Form13", u"Label3"),
    C(79, u"Form13", u"Label2"),
    C(80, u"Form13", u"Label4"),
    C(81, u"Form13", u"Label5"),
    C(82, u"Form13", u"Label6"),
    C(83, u"Form13", u"Button1"),
    C(41, u"Form13", u"Button2"),
    C(84, u"Form13", u"Label7"),
    C(131, u"Form13", u"CheckBox1"),
    C(132, u"Form13", u"CheckBox2"),
    // Batch tidy window.
    W(14, u"Form14"),
    C(85, u"Form14", u"Button1"),
    C(72, u"Form14", u"Button2"),
    C(41, u"Form14", u"Button3"),
    // Block replace tool.
    W(36, u"Form15"),
    C(64, u"Form15", u"Label1"),
    C(65, u"Form15", u"Label2"),
    C(65, u"Form15", u"Button1"),
    C(41, u"Form15", u"Button3"),
    // Script library window.
    C(58, u"Form16", u"Button1"),
    C(3, u"Form16", u"Button2"),
    // Clipboard manager.
    H(119, u"Form17", u"SpeedButton1"),
    H(124, u"Form17", u"SpeedButton2"),
    H(6, u"Form17", u"SpeedButton3"),
    H(5, u"Form17", u"SpeedButton4"),
    H(39, u"Form17", u"SpeedButton5"),
    H(125, u"Form17", u"ListBox1"),
    // Line replace tool.
    W(37, u"Form18"),
    C(64, u"Form18", u"Label1"),
    C(65, u"Form18", u"Label2"),
    C(65, u"Form18", u"Button1"),
    C(41, u"Form18", u"Button2"),
    // List generator.
    W(86, u"Form19"),
    C(87, u"Form19", u"Label1"),
    C(88, u"Form19", u"RadioButton1"),
    C(89, u"Form19", u"RadioButton2"),
    C(58, u"Form19", u"Button1"),
    C(41, u"Form19", u"Button2"),
    // Bar chart generator.
    W(16, u"Form20"),
    C(49, u"Form20", u"Label5"),
    C(90, u"Form20", u"Label7"),
    C(91, u"Form20", u"Label6"),
    C(92, u"Form20", u"Label2"),
    C(93, u"Form20", u"Label3"),
    C(94, u"Form20", u"Label4"),
    C(95, u"Form20", u"Label8"),
    C(52, u"Form20", u"Button4"),
    C(52, u"Form20", u"Button6"),
    C(52, u"Form20", u"Button2"),
    C(41, u"Form20", u"Button5"),
    C(96, u"Form20", u"Button7"),
    C(97, u"Form20", u"Label1"),
    C(58, u"Form20", u"Button3"),
    {58, u"Form20", u"Button1", kCaption, u"", 98},
    C(99, u"Form20", u"RadioButton1"),
    C(100, u"Form20", u"RadioButton2"),
    C(101, u"Form20", u"RadioButton3"),
    C(102, u"Form20", u"CheckBox1"),
    C(103, u"Form20", u"CheckBox2"),
    // Style sheet builder.
    W(17, u"Form21"),
    C(104, u"Form21", u"Label1"),
    C(5, u"Form21", u"Button4"),
    C(39, u"Form21", u"Button3"),
    C(41, u"Form21", u"Button2"),
    C(58, u"Form21", u"Button1"),
    // Text and HTML converter.
    W(108, u"Form23"),
    C(85, u"Form23", u"CheckBox1"),
    C(83, u"Form23", u"Button1"),
    C(107, u"Form23", u"CheckBox2"),
    C(41, u"Form23", u"Button2"),
    Item(72, u"Form23", u"RadioGroup1", kItem0),
    Item(73, u"Form23", u"RadioGroup1", kItem1),
    // Save template.
    W(140, u"Form24"),
    C(5, u"Form24", u"Button1"),
    C(41, u"Form24", u"Button2"),
    // Page series generator.
    C(83, u"AutocreatorForm", u"Button2"),
    C(109, u"AutocreatorForm", u"Label2"),
    W(110, u"AutocreatorForm"),
    C(111, u"AutocreatorForm", u"Button1"),
    // Apply template to files.
    C(111, u"Form25", u"Button1"),
    C(83, u"Form25", u"Button2"),
    C(41, u"Form25", u"Button3"),
    // Image map editor.
    C(118, u"Form27", u"Button1"),
    C(119, u"Form27", u"Button3"),
    C(120, u"Form27", u"Button2"),
    C(121, u"Form27", u"Label1"),
    C(41, u"Form27", u"Button4"),
    W(122, u"Form27"),
    // Index page builder.
    W(126, u"Form28"),
    C(127, u"Form28", u"Button3"),
    C(128, u"Form28", u"Button2"),
    C(126, u"Form28", u"Button1"),
    C(41, u"Form28", u"Button4"),
    C(129, u"Form28", u"RadioButton1"),
    C(130, u"Form28", u"RadioButton2"),
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
    const QString window = QString::fromUtf16(step.window);
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

QString MissingLineMessage(int line) {
  return QStringLiteral("List index out of bounds (%1)").arg(line);
}
