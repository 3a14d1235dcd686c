#pragma once

class DialogFolder;
class QGridLayout;

#include "batch/batch_replace_window.h"
#include "batch/digit_buttons.h"
#include "names/window_names.h"
#include "platform/text_format.h"

// The page series generator "AutocreatorForm": one page written once per number with one
// line varied.
class SeriesWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kSeries;

  SeriesWindow(Desktop& desktop, QWidget* parent = nullptr);
  void LoadPage(const QString& path);
  void Generate();
  BatchPanel* Panel() const { return panel_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QGridLayout* Fields(QPushButton* generate);
  void BoundNumbersByDigits();
  void FollowCaret();
  void ShowLineText();

  Desktop& desktop_;
  DialogFolder* dialog_folder_;
  QPlainTextEdit* page_;
  QSpinBox* line_;
  QLabel* line_text_;
  int number_maximum_ = 9999;
  QLineEdit* before_;
  QSpinBox* first_;
  QSpinBox* last_;
  QLineEdit* after_;
  DigitButtons digits_;
  QLineEdit* base_;
  FileBrowser browser_;
  BatchPanel* panel_;
  TextFormat format_;
};
