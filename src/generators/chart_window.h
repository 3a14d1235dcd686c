#pragma once

class QGridLayout;

#include "names/window_names.h"
#include "widgets/form_helpers.h"

class ColourPickerWindow;
class EditorTarget;

// The bar chart generator "Form20": bars added one by one into a list of chart lines,
// inserted as whole lines at the caret's line.
class ChartWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kChart;

  ChartWindow(EditorTarget& target, ColourPickerWindow& picker, QWidget* parent = nullptr);
  void AddBar();
  void NewChart();
  void Insert();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QGridLayout* Fields(ColourPickerWindow& picker);
  void ResetList();

  EditorTarget& target_;
  QLineEdit* background_;
  QLineEdit* value_colour_;
  QLineEdit* label_;
  QLineEdit* bar_colour_;
  QSpinBox* value_;
  QCheckBox* label_follows_;
  QCheckBox* limit_;
  QRadioButton* styles_[3];
  QLineEdit* title_;
  QListWidget* lines_;
};
