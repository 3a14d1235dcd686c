#pragma once

class QGridLayout;
class QHBoxLayout;

#include <QDialog>
#include <QString>
#include <array>
#include <functional>

#include "names/window_names.h"

class Desktop;
class EditorTarget;
class QAbstractButton;
class QLabel;
class QLineEdit;
class QSlider;
class QSpinBox;

// What a modal pick yields: the colour standing in the picker when it closed.
struct ColourPick {
  QString text;   // "#RRGGBB"
  quint32 value;  // 0x00BBGGRR
};

// The colour picker "Form9": three rows of slider, digits and number field for red, green
// and blue, the colour text, a swatch, the system colour dialog, insert and close.
class ColourPickerWindow : public QDialog {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kColourPicker;

  enum Component { kRed = 0, kGreen = 1, kBlue = 2 };

  ColourPickerWindow(Desktop& desktop, EditorTarget& main_window, QWidget* parent = nullptr);

  // Moves the slider of a component; everything else follows the slider.
  void SetComponent(Component component, int value);
  int ComponentValue(Component component) const;
  QString ColourText() const;
  quint32 ColourValue() const;

  // Closes a free-standing picker, shows it modally and returns what stands in it when it
  // closes, however it was closed.
  ColourPick PickColour();
  // Closes the picker if open, then shows it free-standing.
  void ShowFreeStanding();

 private:
  QGridLayout* SliderRows();
  QHBoxLayout* ButtonRow();
  struct Row {
    QSlider* slider;
    QLabel* digits;
    QSpinBox* number;
  };
  void OnSliderMoved(Component component);
  void OnNumberChanged(Component component);
  void TakeSystemColour();
  void TakeTypedColour(const QString& text);

  Desktop& desktop_;
  EditorTarget& main_window_;
  std::array<Row, 3> rows_{};
  QLineEdit* colour_text_;
  QLabel* swatch_;
  QColor system_colour_ = Qt::black;
  bool picking_for_field_ = false;
  bool taking_typed_colour_ = false;
};

// A colour button: a modal pick from the picker, whose colour text then replaces the field's
// text however the picker was closed; after() runs next.
void BindColourButton(QAbstractButton* button, QLineEdit* field, ColourPickerWindow& picker,
                      std::function<void()> after = {});
