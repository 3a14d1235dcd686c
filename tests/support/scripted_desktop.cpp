#include "support/scripted_desktop.h"

#include <QColor>
#include <QFont>

namespace {

template <typename T>
std::optional<T> Take(std::deque<std::optional<T>>& queue) {
  std::optional<T> answer;
  if (!queue.empty()) {
    answer.swap(queue.front());
    queue.pop_front();
  }
  return answer;
}

}  // namespace

std::optional<Desktop::FileChoice> ScriptedDesktop::AskOpenPath(QWidget*, const QStringList&, int,
                                                                const QString&) {
  ++open_dialogs;
  return Take(open_answers);
}

std::optional<Desktop::FileChoice> ScriptedDesktop::AskSavePath(QWidget*, const QStringList&, int,
                                                                const QString&) {
  ++save_dialogs;
  return Take(save_answers);
}

std::optional<QFont> ScriptedDesktop::PickFont(QWidget*, const QFont&) {
  return Take(font_answers);
}

std::optional<int> ScriptedDesktop::AskNumber(QWidget*, const QString&, const QString&, int, int,
                                              int) {
  return Take(number_answers);
}

std::optional<QColor> ScriptedDesktop::PickSystemColour(QWidget*, const QColor&) {
  return Take(colour_answers);
}
