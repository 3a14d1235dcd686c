#pragma once

#include <QDialog>
#include <optional>

#include "names/window_names.h"

class QLabel;
class QPushButton;

// The save-changes prompt: a question and the buttons yes ("y"), no ("n") and cancel ("c").
// Closing it by its frame gives no answer.
class SavePromptWindow : public QDialog {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kSavePrompt;

  explicit SavePromptWindow(QWidget* parent = nullptr);

  // Before it shows: the page it asks about (named in the question) and whether the
  // program is closing (the language's caption, "Exit", only then). The buttons get their
  // Alt letters.
  void Prepare(const QString& page, bool closing);
  // The answer of the button pressed since the last call, if any.
  std::optional<QString> TakeAnswer();

 private:
  void Answer(const QString& answer);

  std::optional<QString> answer_;
  QString closing_caption_;  // as the language file gives it
  QString own_caption_;      // the one this window set last
};
