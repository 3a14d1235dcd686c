#pragma once

#include <QStringList>
#include <deque>

#include "platform/desktop.h"

// The next answer of a queue the test filled; none when it is empty.
template <typename T>
std::optional<T> TakeAnswer(std::deque<std::optional<T>>& queue) {
  std::optional<T> answer;
  if (!queue.empty()) {
    answer.swap(queue.front());
    queue.pop_front();
  }
  return answer;
}

// A scripted desktop: answers come from queues the test fills; everything shown is recorded.
// Modal windows are the window tests' (FakeDesktop); here they close at once.
class ScriptedDesktop : public Desktop {
 public:
  // Answers for the file dialogs, taken in order; an empty queue answers "cancelled".
  std::deque<std::optional<FileChoice>> open_answers;
  std::deque<std::optional<FileChoice>> save_answers;
  std::deque<std::optional<QString>> folder_answers;
  std::deque<std::optional<QColor>> colour_answers;
  std::deque<std::optional<QFont>> font_answers;

  QStringList messages;
  QStringList errors;
  QStringList opened;
  QStringList clipboard;
  int open_dialogs = 0;
  int save_dialogs = 0;
  QStringList dialog_starts;  // where each file dialog started
  QString date_text = QStringLiteral("06.12.2026");
  QString time_text = QStringLiteral("17:42:49");

  std::optional<FileChoice> AskOpenPath(QWidget*, const QStringList&, int, const QString&) override;
  std::optional<FileChoice> AskSavePath(QWidget*, const QStringList&, int, const QString&) override;
  std::optional<QString> AskFolder(QWidget*, const QString& start) override {
    dialog_starts.append(start);
    return TakeAnswer(folder_answers);
  }
  void ShowMessage(QWidget*, const QString& text) override { messages.append(text); }
  void ShowError(QWidget*, const QString& text) override { errors.append(text); }
  // Answers to yes/no questions in order; an empty queue answers No.
  std::deque<bool> yes_no_answers;
  QStringList questions;
  bool AskYesNo(QWidget*, const QString& text) override {
    questions.append(text);
    if (yes_no_answers.empty()) return false;
    const bool answer = yes_no_answers.front();
    yes_no_answers.pop_front();
    return answer;
  }
  // Set false to play a desktop with no browser.
  bool opens = true;
  bool OpenWithDefaultProgram(const QString& path) override {
    opened.append(path);
    return opens;
  }
  void SetClipboardText(const QString& text) override { clipboard.append(text); }
  int RunModal(QDialog*) override { return 0; }
  std::optional<QFont> PickFont(QWidget*, const QFont&) override;
  std::deque<std::optional<int>> number_answers;
  std::optional<int> AskNumber(QWidget*, const QString&, const QString&, int, int, int) override;
  std::optional<QColor> PickSystemColour(QWidget*, const QColor&) override;
  QString ShortDateText() override { return date_text; }
  QString LongTimeText() override { return time_text; }
};
