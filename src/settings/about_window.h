#pragma once

#include <QDialog>

#include "names/window_names.h"

class Desktop;

// The about window "Form5": picture, credits, and the mail and web labels that open their
// addresses.
class AboutWindow : public QDialog {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kAbout;

  // A message with the program's name as its subject; the user's mail program asks for the
  // address, since the project has no mailbox of its own.
  static constexpr const char* kMailAddress = "mailto:?subject=Brindlemark%20" BM_VERSION;
  static constexpr const char* kWebAddress = BM_HOMEPAGE;

  explicit AboutWindow(Desktop& desktop, QWidget* parent = nullptr);
};
