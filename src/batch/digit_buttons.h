#pragma once

class QRadioButton;
class QWidget;

// The three digit-count buttons "9999", "999", "99" of the series and renamer windows.
struct DigitButtons {
  DigitButtons(QWidget* parent, int checked_digits);
  int Digits() const;
  QRadioButton* buttons[3];
};
