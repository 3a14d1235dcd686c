#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <span>

// Where a language text goes.
enum class TextTarget {
  kCaption,        // text of a label, button, check box, radio button or group frame
  kWindowCaption,  // title bar of the window
  kHint,           // tool tip
  kMenu,           // caption of a main menu item of the main window
  kItem0,          // first choice of a radio group
  kItem1,          // second choice of a radio group
  kUntitledName,   // the main window's name for a page never saved
};

// One step of applying a language file, in the order the steps run.
struct LanguageStep {
  int line;  // the line read; -1 for a copy step, which reads no line
  QStringView window;
  const char16_t* control;  // empty for window captions and the untitled name
  TextTarget target;
  const char16_t* suffix = u"";        // appended to the line ("Brindlemark" on the verb buttons)
  int second_line = -1;                // when set, the text is line + " " + second_line
  const char16_t* copy_control = u"";  // copy steps: the control of this window whose
  TextTarget copy_target = TextTarget::kCaption;  // text placed earlier is copied
};

std::span<const LanguageStep> LanguageSteps();

// One text to place.
struct LanguageText {
  QString window;
  QString control;
  TextTarget target;
  QString text;
};

struct LanguageTexts {
  QList<LanguageText> texts;        // in the order of the steps
  std::optional<int> missing_line;  // the first line asked for beyond the end of the file
};

// The lines of a language file: CR LF, lone CR or LF end a line; a zero byte ends the text.
QStringList LanguageLines(QByteArrayView bytes);

// Walks the steps over lines; stops at the first step whose line is missing, keeping the
// texts of the steps before it.
LanguageTexts ResolveLanguageTexts(const QStringList& lines);

// "List index out of bounds (N)".
QString MissingLineMessage(int line);
