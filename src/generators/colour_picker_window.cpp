#include "generators/colour_picker_window.h"

#include <QAbstractButton>
#include <QRegularExpression>
#include <QScopedValueRollback>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include "document/editor_target.h"
#include "generators/colour.h"
#include "platform/desktop.h"
#include "widgets/widget_helpers.h"

ColourPickerWindow::ColourPickerWindow(Desktop& desktop, EditorTarget& main_window, QWidget* parent)
    : QDialog(parent),
      desktop_(desktop),
      main_window_(main_window),
      colour_text_(new QLineEdit(QStringLiteral("#000000"), this)),
      swatch_(new QLabel(this)) {
  setObjectName(kName.toString());
  setWindowFlag(Qt::Tool);
  colour_text_->setObjectName(QStringLiteral("Edit1"));
  // A colour may be typed as well as mixed: "#RRGGBB", "RRGGBB" or a colour name.
  connect(colour_text_, &QLineEdit::textEdited, this, &ColourPickerWindow::TakeTypedColour);
  swatch_->setObjectName(QStringLiteral("Panel1"));
  swatch_->setAutoFillBackground(true);
  swatch_->setAlignment(Qt::AlignCenter);
  swatch_->setMinimumSize(96, 48);
  swatch_->setFrameShape(QFrame::Panel);
  swatch_->setFrameShadow(QFrame::Sunken);
  SetPaletteColour(swatch_, QPalette::Window, Qt::black);
  SetPaletteColour(swatch_, QPalette::WindowText, Qt::white);
  swatch_->setText(QStringLiteral("#000000"));

  QGridLayout* grid = SliderRows();
  auto* side = new QVBoxLayout;
  side->addWidget(swatch_);
  side->addWidget(colour_text_);
  auto* top = new QHBoxLayout;
  top->addLayout(grid);
  top->addLayout(side);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(ButtonRow());
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

// A slider, its hex digits and a number field for each of red, green and blue.
QGridLayout* ColourPickerWindow::SliderRows() {
  // Object names by row: red on top, blue at the bottom.
  struct RowNames {
    const char16_t* slider;
    const char16_t* digits;
    const char16_t* number;
    const char16_t* label;
  };
  const RowNames names[] = {{u"TrackBar3", u"Label3", u"SpinEdit1", u"Label4"},
                            {u"TrackBar2", u"Label2", u"SpinEdit2", u"Label5"},
                            {u"TrackBar1", u"Label1", u"SpinEdit3", u"Label6"}};
  auto* grid = new QGridLayout;
  for (int i = 0; i < 3; ++i) {
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromUtf16(names[i].label));
    Row& row = rows_[i];
    row.slider = new QSlider(Qt::Horizontal, this);
    row.slider->setObjectName(QString::fromUtf16(names[i].slider));
    row.slider->setRange(0, 255);
    row.slider->setSingleStep(1);
    row.slider->setPageStep(16);
    row.slider->setTickPosition(QSlider::TicksBelow);
    row.slider->setTickInterval(1);
    row.slider->setMinimumWidth(256);
    row.digits = new QLabel(QStringLiteral("00"), this);
    row.digits->setObjectName(QString::fromUtf16(names[i].digits));
    row.number = new QSpinBox(this);
    row.number->setObjectName(QString::fromUtf16(names[i].number));
    // Wider than 0..255 so that a typed value out of range reaches the slider and is
    // brought back into range there.
    row.number->setRange(-99999, 99999);
    grid->addWidget(label, i, 0);
    grid->addWidget(row.slider, i, 1);
    grid->addWidget(row.digits, i, 2);
    grid->addWidget(row.number, i, 3);
    const auto component = static_cast<Component>(i);
    connect(row.slider, &QSlider::valueChanged, this,
            [this, component] { OnSliderMoved(component); });
    connect(row.number, &QSpinBox::valueChanged, this,
            [this, component] { OnNumberChanged(component); });
  }
  return grid;
}

// The system colour dialog, Insert and Close.
QHBoxLayout* ColourPickerWindow::ButtonRow() {
  auto* system_colour = new QPushButton(this);
  system_colour->setObjectName(QStringLiteral("Button1"));
  auto* insert = new QPushButton(this);
  insert->setObjectName(QStringLiteral("Button2"));
  auto* close_button = new QPushButton(this);
  close_button->setObjectName(QStringLiteral("Button3"));
  for (QPushButton* button : {system_colour, insert, close_button}) button->setAutoDefault(false);
  connect(system_colour, &QPushButton::clicked, this, &ColourPickerWindow::TakeSystemColour);
  // Picking for a generator's field: Insert hands the colour to the field and closes;
  // free-standing, it writes the colour into the page.
  connect(insert, &QPushButton::clicked, this, [this] {
    if (picking_for_field_) {
      accept();
    } else {
      main_window_.InsertAtCaret(ColourText());
    }
  });
  connect(close_button, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(system_colour);
  buttons->addStretch(1);
  buttons->addWidget(insert);
  buttons->addWidget(close_button);
  return buttons;
}

void ColourPickerWindow::SetComponent(Component component, int value) {
  rows_[component].slider->setValue(value);
}

int ColourPickerWindow::ComponentValue(Component component) const {
  return rows_[component].slider->value();
}

QString ColourPickerWindow::ColourText() const { return colour_text_->text(); }

quint32 ColourPickerWindow::ColourValue() const {
  return ::ColourValue(ComponentValue(kRed), ComponentValue(kGreen), ComponentValue(kBlue));
}

void ColourPickerWindow::OnSliderMoved(Component component) {
  Row& row = rows_[component];
  row.digits->setText(ComponentDigits(row.slider->value()));
  const int red = ComponentValue(kRed);
  const int green = ComponentValue(kGreen);
  const int blue = ComponentValue(kBlue);
  swatch_->setText(::ColourText(red, green, blue));
  SetPaletteColour(swatch_, QPalette::Window, QColor(red, green, blue));
  SetPaletteColour(swatch_, QPalette::WindowText,
                   qGray(red, green, blue) < 128 ? Qt::white : Qt::black);
  // While a colour is being typed the text stays as typed.
  if (!taking_typed_colour_) colour_text_->setText(::ColourText(red, green, blue));
  if (row.number->value() != row.slider->value()) row.number->setValue(row.slider->value());
}

void ColourPickerWindow::OnNumberChanged(Component component) {
  Row& row = rows_[component];
  if (row.slider->value() != row.number->value()) row.slider->setValue(row.number->value());
  // The slider keeps its value within 0..255; show the kept value.
  if (row.number->value() != row.slider->value()) row.number->setValue(row.slider->value());
}

void ColourPickerWindow::TakeSystemColour() {
  // A cancelled dialog still yields the colour it returned last.
  if (auto colour = desktop_.PickSystemColour(this, system_colour_)) system_colour_ = *colour;
  rows_[kBlue].number->setValue(system_colour_.blue());
  rows_[kGreen].number->setValue(system_colour_.green());
  rows_[kRed].number->setValue(system_colour_.red());
}

ColourPick ColourPickerWindow::PickColour() {
  if (isVisible()) hide();
  picking_for_field_ = true;
  desktop_.RunModal(this);
  picking_for_field_ = false;
  return {::ColourText(ComponentValue(kRed), ComponentValue(kGreen), ComponentValue(kBlue)),
          ColourValue()};
}

void ColourPickerWindow::TakeTypedColour(const QString& text) {
  QString name = text.trimmed();
  static const QRegularExpression kBareHex(QStringLiteral("^[0-9A-Fa-f]{6}$"));
  if (kBareHex.match(name).hasMatch()) name.prepend(u'#');
  const QColor colour = QColor::fromString(name);
  if (!colour.isValid()) return;
  const QScopedValueRollback typing(taking_typed_colour_, true);
  rows_[kRed].slider->setValue(colour.red());
  rows_[kGreen].slider->setValue(colour.green());
  rows_[kBlue].slider->setValue(colour.blue());
}

void ColourPickerWindow::ShowFreeStanding() {
  if (isVisible()) hide();
  setModal(false);
  ShowInFront(this);
}

void BindColourButton(QAbstractButton* button, QLineEdit* field, ColourPickerWindow& picker,
                      std::function<void()> after) {
  QObject::connect(button, &QAbstractButton::clicked, field, [field, &picker, after] {
    field->setText(picker.PickColour().text);
    if (after) after();
  });
}
