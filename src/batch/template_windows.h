#pragma once

#include "widgets/file_browser.h"
#include "widgets/form_helpers.h"

class BatchPanel;
class Desktop;
class EditorModel;

// The save-template window "Form24": writes the editor's text as a ".pat" template.
class SaveTemplateWindow : public ToolWindow {
  Q_OBJECT
 public:
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

// The apply-template window "Form25": pours every listed file into the chosen template.
class ApplyTemplateWindow : public ToolWindow {
  Q_OBJECT
 public:
  ApplyTemplateWindow(Desktop& desktop, QWidget* parent = nullptr);
  void ChooseTemplate();
  void LoadTemplate(const QString& path);
  void Apply();
  BatchPanel* Panel() const { return panel_; }

 private:
  Desktop& desktop_;
  QPlainTextEdit* template_view_;
  QComboBox* extension_;
  FileBrowser browser_;
  BatchPanel* panel_;
  QString template_path_;
};

// The index page builder "Form28": link lines for a folder's pages, poured into a template.
class IndexPageWindow : public ToolWindow {
  Q_OBJECT
 public:
  IndexPageWindow(Desktop& desktop, QWidget* parent = nullptr);
  void Collect();
  void ChooseTemplate();
  void SavePage();

 private:
  Desktop& desktop_;
  FileBrowser browser_;
  QRadioButton* paragraph_;
  QRadioButton* line_break_;
  QPlainTextEdit* links_;
  QLabel* template_label_;
  QString save_path_;
};
