#pragma once

#include "names/window_names.h"
#include "widgets/file_browser.h"
#include "widgets/form_helpers.h"

class BatchPanel;
class Desktop;
class EditorModel;

// The save-template window "Form24": writes the editor's text as a ".pat" template.
class SaveTemplateWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kSaveTemplate;

  SaveTemplateWindow(Desktop& desktop, EditorModel& editor, QWidget* parent = nullptr);
  // The pop-up command: refuses a text without the marker, else shows this window modally.
  void SaveCommand();
  bool Save();

 private:
  void FollowSelection();

  Desktop& desktop_;
  EditorModel& editor_;
  QLineEdit* path_;
  FileBrowser browser_;
};
