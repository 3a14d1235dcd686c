#pragma once

#include "names/window_names.h"
#include "widgets/file_browser.h"
#include "widgets/form_helpers.h"

class BatchPanel;
class Desktop;
class EditorModel;

// The index page builder "Form28": link lines for a folder's pages, poured into a template.
class IndexPageWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kIndexPage;

  IndexPageWindow(Desktop& desktop, QWidget* parent = nullptr);
  void Collect();
  void ChooseTemplate();
  void SavePage();

 private:
  Desktop& desktop_;
  DialogFolder* dialog_folder_;
  FileBrowser browser_;
  QRadioButton* paragraph_;
  QRadioButton* line_break_;
  QPlainTextEdit* links_;
  QLabel* template_label_;
  QString save_path_;
};
