#pragma once

#include "names/window_names.h"
#include "widgets/form_helpers.h"

class ColourPickerWindow;
class EditorTarget;
class QGroupBox;

// The horizontal rule dialog "Form22", shown modally from the pop-up menu.
class RuleWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kRule;

  RuleWindow(EditorTarget& target, ColourPickerWindow& picker, QWidget* parent = nullptr);

 private:
  EditorTarget& target_;
  QCheckBox* size_wanted_;
  QSpinBox* size_;
  QCheckBox* noshade_;
  QCheckBox* colour_wanted_;
  QLineEdit* colour_;
  QPushButton* swatch_;
};
