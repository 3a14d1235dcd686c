#pragma once

#include "names/window_names.h"
#include "widgets/form_helpers.h"

class ColourPickerWindow;
class EditorTarget;
class QGroupBox;

// Line replace "Form18": the first occurrence in every line.
class LineReplaceWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kLineReplace;

  LineReplaceWindow(EditorTarget& target, QWidget* parent = nullptr);
  void Replace();

 private:
  EditorTarget& target_;
  QLineEdit* find_;
  QLineEdit* replacement_;
};
