#include "generators/table_window.h"
#include "names/texts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "document/editor_target.h"
#include "document/new_page.h"
#include "generators/colour_picker_window.h"
#include "generators/markup.h"

TableWindow::TableWindow(EditorTarget& target, ColourPickerWindow& picker, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
      target_(target),
      rows_(NewSpin(this, QStringLiteral("SpinEdit1"), 1, 99, 1)),
      columns_(NewSpin(this, QStringLiteral("SpinEdit2"), 1, 99, 1)),
      background_(Named<QLineEdit>(this, QStringLiteral("Edit1"))),
      light_(Named<QLineEdit>(this, QStringLiteral("Edit2"))),
      dark_(Named<QLineEdit>(this, QStringLiteral("Edit3"))),
      cell_colour_(Named<QCheckBox>(this, QStringLiteral("CheckBox2"))),
      border_settings_(Named<QCheckBox>(this, QStringLiteral("CheckBox1"))),
      border_panel_(Named<QFrame>(this, QStringLiteral("Panel1"))),
      border_(NewSpin(border_panel_, QStringLiteral("SpinEdit3"), 0, 99, 1)),
      padding_(NewSpin(border_panel_, QStringLiteral("SpinEdit4"), 0, 99, 1)),
      spacing_(NewSpin(border_panel_, QStringLiteral("SpinEdit5"), 0, 99, 1)) {
  ShowText(this, &QWidget::setWindowTitle, Text::kTableTitle);
  auto* group = Named<QGroupBox>(this, QStringLiteral("GroupBox1"));
  auto* grid = new QGridLayout(group);
  grid->addWidget(Named<QLabel>(group, QStringLiteral("Label1")), 0, 0);
  grid->addWidget(rows_, 0, 1);
  grid->addWidget(Named<QLabel>(group, QStringLiteral("Label2")), 1, 0);
  grid->addWidget(columns_, 1, 1);
  const std::tuple<const char16_t*, const char16_t*, const char16_t*, QLineEdit*> colours[] = {
      {u"Label6", u"Background", u"Button3", background_},
      {u"Label7", u"Bordercolorlight", u"Button4", light_},
      {u"Label8", u"Bordercolordark", u"Button5", dark_}};
  int row = 2;
  for (const auto& [label, text, button_name, field] : colours) {
    grid->addWidget(Named<QLabel>(group, QString::fromUtf16(label), QString::fromUtf16(text)), row,
                    0);
    grid->addWidget(field, row, 1);
    auto* button = Captioned<QPushButton>(group, QString::fromUtf16(button_name), Text::kChoose);
    grid->addWidget(button, row++, 2);
    BindColourButton(button, field, picker);
  }
  BuildBorderPanel();

  auto* generate = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button2"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(generate);
  buttons->addWidget(close_button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(cell_colour_);
  layout->addWidget(border_settings_);
  layout->addWidget(border_panel_);
  layout->addLayout(buttons);
  connect(generate, &QPushButton::clicked, this, &TableWindow::Generate);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
}

// Border, cell padding and cell spacing, enabled by their check box.
void TableWindow::BuildBorderPanel() {
  auto* panel_grid = new QGridLayout(border_panel_);
  const std::pair<const char16_t*, const char16_t*> border_labels[] = {
      {u"Label3", u"Border:"}, {u"Label4", u"Cellpadding:"}, {u"Label5", u"Cellspacing:"}};
  QSpinBox* border_fields[] = {border_, padding_, spacing_};
  for (int i = 0; i < 3; ++i) {
    panel_grid->addWidget(Named<QLabel>(border_panel_, QString::fromUtf16(border_labels[i].first),
                                        QString::fromUtf16(border_labels[i].second)),
                          i, 0);
    panel_grid->addWidget(border_fields[i], i, 1);
  }
  border_panel_->setEnabled(false);
  connect(border_settings_, &QCheckBox::toggled, border_panel_, &QWidget::setEnabled);
}

void TableWindow::Generate() {
  TableFields fields;
  fields.rows = rows_->value();
  fields.columns = columns_->value();
  fields.background = background_->text();
  fields.light_border = light_->text();
  fields.dark_border = dark_->text();
  fields.cell_colour = cell_colour_->isChecked();
  fields.border_settings = border_settings_->isChecked();
  fields.border = border_->value();
  fields.padding = padding_->value();
  fields.spacing = spacing_->value();
  // All lines in one edit: the same text as one insertline per line, one undo step.
  const int caret_line = insertlines(target_.Editor(), TableLines(fields));
  target_.SetStatusPanel(1, QString::number(caret_line));
  target_.SetCaretLine(caret_line + 1);
  target_.FocusEditor();
}
