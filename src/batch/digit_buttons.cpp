#include "batch/digit_buttons.h"

#include <QRadioButton>

#include "widgets/form_helpers.h"

DigitButtons::DigitButtons(QWidget* parent, int checked_digits)
    : buttons{Named<QRadioButton>(parent, QStringLiteral("RadioButton1"), QStringLiteral("9999")),
              Named<QRadioButton>(parent, QStringLiteral("RadioButton2"), QStringLiteral("999")),
              Named<QRadioButton>(parent, QStringLiteral("RadioButton3"), QStringLiteral("99"))} {
  MakeExclusive(parent, {buttons[0], buttons[1], buttons[2]});
  buttons[4 - checked_digits]->setChecked(true);
}

int DigitButtons::Digits() const {
  return buttons[0]->isChecked() ? 4 : buttons[1]->isChecked() ? 3 : 2;
}
