#pragma once

#include "batch/batch_replace_window.h"
#include "names/window_names.h"

// The batch tidy window "Form14": tidy one page for viewing, or every "*.htm" file of a
// folder in place.
class TidyWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kTidy;

  TidyWindow(Desktop& desktop, QWidget* parent = nullptr);
  void TidyView();
  void TidyFolder();
  BatchPanel* Panel() const { return panel_; }

 private:
  FileBrowser browser_;
  QPlainTextEdit* view_;
  BatchPanel* panel_;
};
