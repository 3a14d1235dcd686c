#pragma once

class QVBoxLayout;

#include "batch/batch_replace_window.h"
#include "names/window_names.h"

// The text and HTML converter "Form23".
class ConverterWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kConverter;

  ConverterWindow(Desktop& desktop, QWidget* parent = nullptr);
  void Convert();
  BatchPanel* Panel() const { return panel_; }

 private:
  QVBoxLayout* GatherButtons();
  QStringList Files();

  Desktop& desktop_;
  QRadioButton* to_html_;
  QRadioButton* to_text_;
  FileBrowser browser_;
  ChoiceGroup source_;
  QListWidget* gathered_;
  QCheckBox* tidy_;
  QCheckBox* other_extension_;
  QPlainTextEdit* view_;
  BatchPanel* panel_;
};
