#pragma once

#include <QDialog>
#include <array>

#include "document/new_page.h"
#include "names/window_names.h"

class ColourPickerWindow;
class EditorTarget;
class QCheckBox;
class QFrame;
class QLineEdit;
class QRadioButton;

// The new page wizard "Form7": title, five page colours and an optional frameset layout.
// It keeps its fields from one new page to the next.
class NewPageWindow : public QDialog {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kNewPage;

  NewPageWindow(ColourPickerWindow& picker, EditorTarget& main_window, QWidget* parent = nullptr);

  NewPageFields Fields() const;

  // Puts text into the main editor as a new line above the caret's line (see insertline).
  void insertline(const QString& text);
  // The user cancelled the last showing (Cancel or Escape): no page is made.
  bool Cancelled() const { return cancelled_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QFrame* LeftPanel();
  void BuildFramesPanel();
  ColourPickerWindow& picker_;
  EditorTarget& main_window_;
  QLineEdit* title_;
  QCheckBox* frames_;
  std::array<QLineEdit*, 5> colours_{};
  std::array<QFrame*, 5> swatches_{};
  QFrame* frames_panel_;
  std::array<QRadioButton*, 4> layouts_{};
  QCheckBox* border_;
  QCheckBox* scrolling_;
  QCheckBox* noresize_;
  bool cancelled_ = false;
};
