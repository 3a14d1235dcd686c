#pragma once

#include "names/window_names.h"
#include "widgets/file_browser.h"
#include "widgets/form_helpers.h"

class BatchPanel;
class Desktop;
class EditorModel;

// The apply-template window "Form25": pours every listed file into the chosen template.
class ApplyTemplateWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kApplyTemplate;

  ApplyTemplateWindow(Desktop& desktop, QWidget* parent = nullptr);
  void ChooseTemplate();
  void LoadTemplate(const QString& path);
  void Apply();
  BatchPanel* Panel() const { return panel_; }

 private:
  Desktop& desktop_;
  DialogFolder* dialog_folder_;
  QPlainTextEdit* template_view_;
  QComboBox* extension_;
  FileBrowser browser_;
  BatchPanel* panel_;
  QString template_path_;
};
