#pragma once

#include "names/window_names.h"
#include "widgets/form_helpers.h"

class DialogFolder;
class ColourPickerWindow;
class Desktop;
class QGridLayout;

// The style sheet builder "Form21": rules composed from a selector and ticked properties,
// collected in a list and saved as a ".css" file.
class StyleSheetWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kStyleSheet;

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

  struct PropertyRow;
  void AddProperties(ColourPickerWindow& picker, const QStringList& font_families, QFrame* panel4,
                     QFrame* panel5);
  Property NewProperty(const PropertyRow& row, int i, QFrame* panel, QGridLayout* grid,
                       int grid_row, ColourPickerWindow& picker);
  void LayOut(QFrame* panel4, QFrame* panel5);

  Desktop& desktop_;
  DialogFolder* dialog_folder_;
  QComboBox* selector_;
  QList<Property> properties_;
  QListWidget* rules_;
  QString save_path_;
};
