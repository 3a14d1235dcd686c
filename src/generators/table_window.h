#pragma once

#include "names/window_names.h"
#include "widgets/form_helpers.h"

class ColourPickerWindow;
class EditorTarget;
class QGroupBox;

// The table generator "Form8": an empty table of rows and columns, inserted line by line
// above the caret's line.
class TableWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kTable;

  TableWindow(EditorTarget& target, ColourPickerWindow& picker, QWidget* parent = nullptr);
  void Generate();

 private:
  void BuildBorderPanel();
  EditorTarget& target_;
  QSpinBox* rows_;
  QSpinBox* columns_;
  QLineEdit* background_;
  QLineEdit* light_;
  QLineEdit* dark_;
  QCheckBox* cell_colour_;
  QCheckBox* border_settings_;
  QWidget* border_panel_;
  QSpinBox* border_;
  QSpinBox* padding_;
  QSpinBox* spacing_;
};
