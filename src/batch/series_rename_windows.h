#pragma once

#include "batch/batch_replace_window.h"
#include "platform/text_format.h"

// The three digit-count buttons "9999", "999", "99".
struct DigitButtons {
  DigitButtons(QWidget* parent, int checked_digits);
  int Digits() const;
  QRadioButton* buttons[3];
};

// The page series generator "AutocreatorForm": one page written once per number with one
// line varied.
class SeriesWindow : public ToolWindow {
  Q_OBJECT
 public:
  SeriesWindow(Desktop& desktop, QWidget* parent = nullptr);
  void LoadPage(const QString& path);
  void Generate();
  BatchPanel* Panel() const { return panel_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FollowCaret();
  void ShowLineText();

  Desktop& desktop_;
  QPlainTextEdit* page_;
  QSpinBox* line_;
  QLabel* line_text_;
  int number_maximum_ = 9999;
  QLineEdit* before_;
  QSpinBox* first_;
  QSpinBox* last_;
  QLineEdit* after_;
  DigitButtons digits_;
  QLineEdit* base_;
  FileBrowser browser_;
  BatchPanel* panel_;
  TextFormat format_;
};

// The batch renamer "Form13": numbered names in place, or numbered copies of a gathered list.
class RenamerWindow : public ToolWindow {
  Q_OBJECT
 public:
  RenamerWindow(Desktop& desktop, QWidget* parent = nullptr);
  void Run();
  BatchPanel* Panel() const { return panel_; }

 private:
  Desktop& desktop_;
  ChoiceGroup mode_;
  FileBrowser source_;
  QListWidget* gathered_;
  FileBrowser target_;
  QLineEdit* target_path_;
  QLineEdit* before_;
  DigitButtons digits_;
  QLineEdit* after_;
  QLineEdit* extension_;
  QCheckBox* new_extension_wanted_;
  QComboBox* new_extension_;
  QCheckBox* keep_name_;
  BatchPanel* panel_;
};
