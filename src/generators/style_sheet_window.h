#pragma once

#include "widgets/form_helpers.h"

class ColourPickerWindow;
class Desktop;

// The style sheet builder "Form21": rules composed from a selector and ticked properties,
// collected in a list and saved as a ".css" file.
class StyleSheetWindow : public ToolWindow {
  Q_OBJECT
 public:
  StyleSheetWindow(Desktop& desktop, ColourPickerWindow& picker, const QStringList& font_families,
                   QWidget* parent = nullptr);
  QString BuildRule() const;
  void Save();

 private:
  struct Property {
    QCheckBox* tick;
    QWidget* value;       // combo box or line edit
    QComboBox* unit;      // number properties only
    QPushButton* swatch;  // colour properties only
  };

  Desktop& desktop_;
  QComboBox* selector_;
  QList<Property> properties_;
  QListWidget* rules_;
  QString save_path_;
};
