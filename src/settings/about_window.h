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

  static constexpr const char* kMailAddress = "mailto:team@brindlemark.example";
  static constexpr const char* kWebAddress = "https://brindlemark.example/";

  explicit AboutWindow(Desktop& desktop, QWidget* parent = nullptr);
};
