#include "generators/chart_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QShowEvent>
#include <QVBoxLayout>

#include "document/editor_model.h"
#include "document/editor_target.h"
#include "generators/colour_picker_window.h"
#include "generators/markup.h"

ChartWindow::ChartWindow(EditorTarget& target, ColourPickerWindow& picker, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
      target_(target),
      background_(Named<QLineEdit>(this, QStringLiteral("Edit3"), QStringLiteral("white"))),
      value_colour_(Named<QLineEdit>(this, QStringLiteral("Edit4"))),
      label_(Named<QLineEdit>(this, QStringLiteral("Edit1"))),
      bar_colour_(Named<QLineEdit>(this, QStringLiteral("Edit2"), QStringLiteral("blue"))),
      value_(NewSpin(this, QStringLiteral("SpinEdit2"), 1, 999, 1)),
      label_follows_(Named<QCheckBox>(this, QStringLiteral("CheckBox1"))),
      limit_(Named<QCheckBox>(this, QStringLiteral("CheckBox2"))),
      styles_{Named<QRadioButton>(this, QStringLiteral("RadioButton1")),
              Named<QRadioButton>(this, QStringLiteral("RadioButton2")),
              Named<QRadioButton>(this, QStringLiteral("RadioButton3"))},
      title_(Named<QLineEdit>(this, QStringLiteral("Edit5"))),
      lines_(Named<QListWidget>(this, QStringLiteral("RichEdit1"))) {
  background_->setReadOnly(true);
  value_colour_->setText(background_->text());
  MakeExclusive(this, {styles_[0], styles_[1], styles_[2]});
  styles_[2]->setChecked(true);

  auto* add = Named<QPushButton>(this, QStringLiteral("Button3"));
  auto* insert = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* new_chart = Named<QPushButton>(this, QStringLiteral("Button7"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button5"));
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {add, insert, new_chart, close_button}) buttons->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  top->addLayout(Fields(picker));
  top->addWidget(lines_, 1);
  layout->addLayout(top, 1);
  layout->addLayout(buttons);
  resize(820, 420);

  connect(add, &QPushButton::clicked, this, &ChartWindow::AddBar);
  connect(insert, &QPushButton::clicked, this, &ChartWindow::Insert);
  connect(new_chart, &QPushButton::clicked, this, &ChartWindow::NewChart);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  connect(value_, &QSpinBox::valueChanged, this, [this](int value) {
    if (label_follows_->isChecked()) label_->setText(QString::number(value));
  });
  connect(limit_, &QCheckBox::toggled, this,
          [this](bool on) { value_->setMaximum(on ? 100 : 999); });
  connect(lines_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    const int index = lines_->row(item);
    if (index > 0 && index < lines_->count() - 1) delete lines_->takeItem(index);
  });
  ResetList();
}

// The colours with their pick buttons, the bar's label, colour and value, the limits, the
// style and the title.
QGridLayout* ChartWindow::Fields(ColourPickerWindow& picker) {
  auto* pick_background = Named<QPushButton>(this, QStringLiteral("Button4"));
  auto* pick_value = Named<QPushButton>(this, QStringLiteral("Button6"));
  auto* pick_bar = Named<QPushButton>(this, QStringLiteral("Button2"));
  // A new background rebuilds the opening line only; bars keep their colour.
  BindColourButton(pick_background, background_, picker, [this] {
    if (lines_->count() > 0) lines_->item(0)->setText(ChartOpeningLine(background_->text()));
  });
  BindColourButton(pick_value, value_colour_, picker);
  BindColourButton(pick_bar, bar_colour_, picker);

  auto* grid = new QGridLayout;
  int row = 0;
  auto add_row = [&](const char16_t* label, QWidget* field, QWidget* button) {
    grid->addWidget(Named<QLabel>(this, QString::fromUtf16(label)), row, 0);
    grid->addWidget(field, row, 1);
    if (button != nullptr) grid->addWidget(button, row, 2);
    ++row;
  };
  add_row(u"Label5", background_, pick_background);
  add_row(u"Label7", value_colour_, pick_value);
  grid->addWidget(Named<QLabel>(this, QStringLiteral("Label1")), row++, 0, 1, 3);
  add_row(u"Label2", label_, nullptr);
  add_row(u"Label3", bar_colour_, pick_bar);
  add_row(u"Label4", value_, nullptr);
  grid->addWidget(label_follows_, row++, 0, 1, 3);
  grid->addWidget(limit_, row++, 0, 1, 3);
  grid->addWidget(Named<QLabel>(this, QStringLiteral("Label6")), row++, 0, 1, 3);
  for (QRadioButton* style : styles_) grid->addWidget(style, row++, 0, 1, 3);
  add_row(u"Label8", title_, nullptr);
  return grid;
}

void ChartWindow::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) ResetList();
  ToolWindow::showEvent(event);
}

void ChartWindow::ResetList() {
  lines_->clear();
  lines_->addItem(ChartOpeningLine(background_->text()));
  lines_->addItem(ChartClosingLine());
}

void ChartWindow::AddBar() {
  for (QRadioButton* style : styles_) style->setEnabled(false);
  const BarStyle style = styles_[0]->isChecked()   ? BarStyle::kLabelInside
                         : styles_[1]->isChecked() ? BarStyle::kLabelBeside
                                                   : BarStyle::kLabelBesideValue;
  Bar bar;
  bar.label = label_->text();
  bar.value = value_->value();
  bar.colour = bar_colour_->text();
  bar.value_colour = value_colour_->text();
  bar.background = background_->text();
  lines_->insertItem(1, BarLine(style, bar));
}

void ChartWindow::NewChart() {
  for (QRadioButton* style : styles_) style->setEnabled(true);
  ResetList();
}

void ChartWindow::Insert() {
  QStringList chart;
  for (int i = 0; i < lines_->count(); ++i) chart.append(lines_->item(i)->text());
  EditorModel& editor = target_.Editor();
  editor.InsertLines(editor.CaretLine(), ChartInsertion(chart, title_->text()));
}
