#pragma once

#include <QStringList>
#include <deque>
#include <functional>

#include "support/scripted_desktop.h"

// The scripted desktop of window tests: modal windows run the test's script.
class FakeDesktop : public ScriptedDesktop {
 public:
  // What the user does inside a modal window, taken in order; an empty queue closes the
  // window by its frame.
  std::deque<std::function<void(QDialog*)>> modal_scripts;
  QStringList modal_windows;  // object names, in order

  // Script step: press the button named button_name inside the modal window.
  static std::function<void(QDialog*)> Press(const QString& button_name);

  int RunModal(QDialog* window) override;
};

// Copies the shipped language files into folder, as the build puts them beside the program.
void InstallLanguageFiles(const QString& folder);
