#include "generators/rule_window.h"
#include "names/texts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "document/editor_target.h"
#include "generators/colour_picker_window.h"
#include "generators/markup.h"
#include "widgets/widget_helpers.h"

RuleWindow::RuleWindow(EditorTarget& target, ColourPickerWindow& picker, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
      target_(target),
      size_wanted_(Named<QCheckBox>(this, QStringLiteral("CheckBox2"), QStringLiteral("size"))),
      size_(NewSpin(this, QStringLiteral("SpinEdit1"), 1, 999, 1)),
      noshade_(Named<QCheckBox>(this, QStringLiteral("CheckBox1"), QStringLiteral("noshade"))),
      colour_wanted_(Named<QCheckBox>(this, QStringLiteral("CheckBox3"), QStringLiteral("color"))),
      colour_(Named<QLineEdit>(this, QStringLiteral("Edit1"), QStringLiteral("#000000"))),
      swatch_(Named<QPushButton>(this, QStringLiteral("Panel1"))) {
  setWindowTitle(QStringLiteral("HR"));
  colour_->setReadOnly(true);
  swatch_->setFlat(true);
  swatch_->setAutoFillBackground(true);
  swatch_->setFixedSize(40, 22);
  SetPaletteColour(swatch_, QPalette::Button, Qt::black);
  SetPaletteColour(swatch_, QPalette::Window, Qt::black);
  size_->setEnabled(false);
  colour_->setEnabled(false);
  swatch_->setEnabled(false);
  connect(size_wanted_, &QCheckBox::toggled, size_, &QWidget::setEnabled);
  connect(colour_wanted_, &QCheckBox::toggled, colour_, &QWidget::setEnabled);
  connect(colour_wanted_, &QCheckBox::toggled, swatch_, &QWidget::setEnabled);
  // The picker shows free-standing; its colour of the moment is copied at once.
  connect(swatch_, &QPushButton::clicked, this, [this, &picker] {
    picker.ShowFreeStanding();
    colour_->setText(picker.ColourText());
  });
  auto* ok = Named<QPushButton>(this, QStringLiteral("Button1"), QStringLiteral("Ok"));
  connect(ok, &QPushButton::clicked, this, [this] {
    target_.InsertAtCaret(RuleTag(
        size_wanted_->isChecked() ? std::optional<int>(size_->value()) : std::nullopt,
        noshade_->isChecked(),
        colour_wanted_->isChecked() ? std::optional<QString>(colour_->text()) : std::nullopt));
    accept();
  });
  auto* layout = new QGridLayout(this);
  layout->addWidget(size_wanted_, 0, 0);
  layout->addWidget(size_, 0, 1);
  layout->addWidget(noshade_, 1, 0);
  layout->addWidget(colour_wanted_, 2, 0);
  layout->addWidget(colour_, 2, 1);
  layout->addWidget(swatch_, 2, 2);
  auto* cancel = Captioned<QPushButton>(this, QStringLiteral("CancelButton"), Text::kCancel);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(ok, 3, 1);
  layout->addWidget(cancel, 3, 2);
}
