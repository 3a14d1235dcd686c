#include "support/scripted_desktop.h"

#include <QColor>
#include <QFont>

std::optional<Desktop::FileChoice> ScriptedDesktop::AskOpenPath(QWidget*, const QStringList&, int,
                                                                const QString& start) {
  ++open_dialogs;
  dialog_starts.append(start);
  return TakeAnswer(open_answers);
}

std::optional<Desktop::FileChoice> ScriptedDesktop::AskSavePath(QWidget*, const QStringList&, int,
                                                                const QString& start) {
  ++save_dialogs;
  dialog_starts.append(start);
  return TakeAnswer(save_answers);
}

std::optional<QFont> ScriptedDesktop::PickFont(QWidget*, const QFont&) {
  return TakeAnswer(font_answers);
}

std::optional<int> ScriptedDesktop::AskNumber(QWidget*, const QString&, const QString&, int, int,
                                              int) {
  return TakeAnswer(number_answers);
}

std::optional<QColor> ScriptedDesktop::PickSystemColour(QWidget*, const QColor&) {
  return TakeAnswer(colour_answers);
}
