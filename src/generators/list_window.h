#pragma once

#include "names/window_names.h"
#include "widgets/form_helpers.h"

class ColourPickerWindow;
class EditorTarget;
class QGroupBox;

// The list generator "Form19": an ordered or unordered list skeleton at the caret's line.
class ListWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kList;

  ListWindow(EditorTarget& target, QWidget* parent = nullptr);
  void Insert();

 private:
  void ShowStyleBox();

  EditorTarget& target_;
  QRadioButton* ordered_;
  QRadioButton* unordered_;
  QComboBox* ordered_style_;
  QComboBox* unordered_style_;
  QSpinBox* items_;
};
