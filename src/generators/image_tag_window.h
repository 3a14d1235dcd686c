#pragma once

class QVBoxLayout;

#include "names/window_names.h"
#include "widgets/file_browser.h"
#include "widgets/form_helpers.h"

class Desktop;
class EditorTarget;
class QScrollArea;

// The image tag dialog "Form4": browse for a picture, see it at its own size, insert its tag.
class ImageTagWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kImageTag;

  ImageTagWindow(Desktop& desktop, EditorTarget& target, QWidget* parent = nullptr);
  void SetFolder(const QString& folder) { browser_.SetFolder(folder); }
  void InsertTag();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QVBoxLayout* AttributeColumn();
  void OnFileChosen();
  void FillFromPicture();

  Desktop& desktop_;
  EditorTarget& target_;
  FileBrowser browser_;
  QLabel* image_;
  QScrollArea* scroll_;
  QLineEdit* src_;
  QSpinBox* border_;
  QComboBox* align_;
  QLineEdit* alt_;
  QSpinBox* height_;
  QSpinBox* width_;
  QSpinBox* hspace_;
  QSpinBox* vspace_;
  QRadioButton* full_path_;
  QRadioButton* without_drive_;
  QRadioButton* file_name_;
};
