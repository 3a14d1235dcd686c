#pragma once

#include "widgets/form_helpers.h"

class ColourPickerWindow;
class EditorTarget;
class QGroupBox;

// The table generator "Form8": an empty table of rows and columns, inserted line by line
// above the caret's line.
class TableWindow : public ToolWindow {
  Q_OBJECT
 public:
  TableWindow(EditorTarget& target, ColourPickerWindow& picker, QWidget* parent = nullptr);
  void Generate();

 private:
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

// The list generator "Form19": an ordered or unordered list skeleton at the caret's line.
class ListWindow : public ToolWindow {
  Q_OBJECT
 public:
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

// The horizontal rule dialog "Form22", shown modally from the pop-up menu.
class RuleWindow : public ToolWindow {
  Q_OBJECT
 public:
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

// Block replace "Form15": every block of whole lines replaced, from the end of the document.
class BlockReplaceWindow : public ToolWindow {
  Q_OBJECT
 public:
  BlockReplaceWindow(EditorTarget& target, QWidget* parent = nullptr);
  void Replace();

 private:
  EditorTarget& target_;
  QPlainTextEdit* find_;
  QPlainTextEdit* replacement_;
};

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
