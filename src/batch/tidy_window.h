#pragma once

#include "batch/batch_replace_window.h"

// The batch tidy window "Form14": tidy one page for viewing, or every "*.htm" file of a
// folder in place.
class TidyWindow : public ToolWindow {
  Q_OBJECT
 public:
  TidyWindow(Desktop& desktop, QWidget* parent = nullptr);
  void TidyView();
  void TidyFolder();
  BatchPanel* Panel() const { return panel_; }

 private:
  FileBrowser browser_;
  QPlainTextEdit* view_;
  BatchPanel* panel_;
};
