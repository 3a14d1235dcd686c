#pragma once

class QVBoxLayout;

#include "names/window_names.h"
#include "widgets/file_browser.h"
#include "widgets/form_helpers.h"

class BatchPanel;
class Desktop;
class QGroupBox;

// A radio group of two choices: a group box whose two buttons are its items.
struct ChoiceGroup {
  ChoiceGroup(QWidget* parent, const QString& name, int checked);
  int Choice() const;
  QGroupBox* box;
  QRadioButton* items[2];
};

// Batch search and replace "Form10": block edits, block deletion and text substitution over
// the folder's "*.htm" files or a gathered list.
class BatchReplaceWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kBatchReplace;

  BatchReplaceWindow(Desktop& desktop, QWidget* parent = nullptr);
  void RunBlockEdit();
  void RunDelete();
  void RunTextReplace();
  BatchPanel* Panel() const { return panel_; }

 private:
  QVBoxLayout* FilesColumn();
  QVBoxLayout* RightColumn();
  QStringList Files();
  void Refresh();
  enum class Job { kBlock, kDelete, kText };
  void SetJob(Job job);

  Desktop& desktop_;
  FileBrowser browser_;
  ChoiceGroup source_;
  QListWidget* gathered_;
  QPlainTextEdit* find_;
  QPlainTextEdit* replacement_;
  QPlainTextEdit* view_;
  QRadioButton* modes_[3];
  QLineEdit* find_text_;
  QLineEdit* replace_text_;
  QCheckBox* every_match_;
  BatchPanel* panel_;
  Job job_ = Job::kText;
};
