#pragma once

#include "widgets/form_helpers.h"

class ColourPickerWindow;
class EditorTarget;
class QGroupBox;

// Line replace "Form18": the first occurrence in every line.
class LineReplaceWindow : public ToolWindow {
  Q_OBJECT
 public:
  LineReplaceWindow(EditorTarget& target, QWidget* parent = nullptr);
  void Replace();

 private:
  EditorTarget& target_;
  QLineEdit* find_;
  QLineEdit* replacement_;
};
