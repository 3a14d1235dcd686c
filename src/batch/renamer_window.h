#pragma once

class QGridLayout;
class QVBoxLayout;

#include "batch/batch_engine.h"
#include "batch/batch_replace_window.h"
#include "batch/digit_buttons.h"
#include "names/window_names.h"

// The batch renamer "Form13": numbered names in place, or numbered copies of a gathered list.
class RenamerWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kRenamer;

  RenamerWindow(Desktop& desktop, QWidget* parent = nullptr);
  void Run();
  BatchPanel* Panel() const { return panel_; }

 private:
  QVBoxLayout* ListButtons();
  QGridLayout* NameRow();
  QVBoxLayout* TargetColumn();
  void ConnectFields();
  BatchReport RunJob(const BatchOptions& options);

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
