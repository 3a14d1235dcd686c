#include "generators/small_generator_windows.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "document/editor_model.h"
#include "document/editor_target.h"
#include "document/new_page.h"
#include "document/text_helpers.h"
#include "generators/colour_picker_window.h"
#include "generators/markup.h"
#include "widgets/widget_helpers.h"

TableWindow::TableWindow(EditorTarget& target, ColourPickerWindow& picker, QWidget* parent)
    : ToolWindow(QStringLiteral("Form8"), parent),
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
  setWindowTitle(QStringLiteral("Генератор таблиц"));
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
    auto* button =
        Named<QPushButton>(group, QString::fromUtf16(button_name), QStringLiteral("Выбрать"));
    grid->addWidget(button, row++, 2);
    BindColourButton(button, field, picker);
  }
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

ListWindow::ListWindow(EditorTarget& target, QWidget* parent)
    : ToolWindow(QStringLiteral("Form19"), parent),
      target_(target),
      ordered_(Named<QRadioButton>(this, QStringLiteral("RadioButton1"))),
      unordered_(Named<QRadioButton>(this, QStringLiteral("RadioButton2"))),
      ordered_style_(
          NewCombo(this, QStringLiteral("ComboBox1"),
                   {QStringLiteral("1,2,3"), QStringLiteral("A,B,C"), QStringLiteral("a,b,c"),
                    QStringLiteral("I,II,III"), QStringLiteral("i,ii,ii")},
                   false)),
      unordered_style_(NewCombo(
          this, QStringLiteral("ComboBox2"),
          {QStringLiteral("Discs"), QStringLiteral("Circles"), QStringLiteral("Squares")}, false)),
      items_(NewSpin(this, QStringLiteral("SpinEdit1"), 1, 9999, 1)) {
  MakeExclusive(this, {ordered_, unordered_});
  ordered_->setChecked(true);
  // Changed with the arrows only.
  items_->findChild<QLineEdit*>()->setReadOnly(true);
  auto* insert = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button2"));
  auto* layout = new QGridLayout(this);
  layout->addWidget(ordered_, 0, 0);
  layout->addWidget(unordered_, 1, 0);
  layout->addWidget(ordered_style_, 0, 1, 2, 1);
  layout->addWidget(unordered_style_, 0, 1, 2, 1);
  layout->addWidget(Named<QLabel>(this, QStringLiteral("Label1")), 2, 0);
  layout->addWidget(items_, 2, 1);
  layout->addWidget(insert, 3, 0);
  layout->addWidget(close_button, 3, 1);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  ShowStyleBox();
  connect(ordered_, &QRadioButton::toggled, this, &ListWindow::ShowStyleBox);
  connect(insert, &QPushButton::clicked, this, &ListWindow::Insert);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
}

void ListWindow::ShowStyleBox() {
  ordered_style_->setVisible(ordered_->isChecked());
  unordered_style_->setVisible(!ordered_->isChecked());
}

void ListWindow::Insert() {
  const bool ordered = ordered_->isChecked();
  const int style = ordered ? ordered_style_->currentIndex() : unordered_style_->currentIndex();
  EditorModel& editor = target_.Editor();
  editor.InsertLines(editor.CaretLine(), ListLines(ordered, style, items_->value()));
}

RuleWindow::RuleWindow(EditorTarget& target, ColourPickerWindow& picker, QWidget* parent)
    : ToolWindow(QStringLiteral("Form22"), parent),
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
  auto* cancel = Named<QPushButton>(this, QStringLiteral("CancelButton"), QStringLiteral("Cancel"));
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(ok, 3, 1);
  layout->addWidget(cancel, 3, 2);
}

BlockReplaceWindow::BlockReplaceWindow(EditorTarget& target, QWidget* parent)
    : ToolWindow(QStringLiteral("Form15"), parent),
      target_(target),
      find_(NewTextView(this, QStringLiteral("Memo1"))),
      replacement_(NewTextView(this, QStringLiteral("Memo2"))) {
  find_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* replace = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button3"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Named<QLabel>(this, QStringLiteral("Label1")));
  layout->addWidget(find_);
  layout->addWidget(Named<QLabel>(this, QStringLiteral("Label2")));
  layout->addWidget(replacement_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(replace);
  buttons->addWidget(close_button);
  layout->addLayout(buttons);
  connect(replace, &QPushButton::clicked, this, &BlockReplaceWindow::Replace);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
}

void BlockReplaceWindow::Replace() {
  EditorModel& editor = target_.Editor();
  const QStringList lines = editor.Lines();
  editor.ApplyLines(lines, ReplaceBlocksInLines(lines, FieldLines(find_->toPlainText()),
                                                FieldLines(replacement_->toPlainText())));
}

LineReplaceWindow::LineReplaceWindow(EditorTarget& target, QWidget* parent)
    : ToolWindow(QStringLiteral("Form18"), parent),
      target_(target),
      find_(Named<QLineEdit>(this, QStringLiteral("Edit1"))),
      replacement_(Named<QLineEdit>(this, QStringLiteral("Edit2"))) {
  auto* replace = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button2"));
  auto* layout = new QGridLayout(this);
  layout->addWidget(Named<QLabel>(this, QStringLiteral("Label1")), 0, 0);
  layout->addWidget(find_, 0, 1);
  layout->addWidget(Named<QLabel>(this, QStringLiteral("Label2")), 1, 0);
  layout->addWidget(replacement_, 1, 1);
  layout->addWidget(replace, 2, 0);
  layout->addWidget(close_button, 2, 1);
  connect(replace, &QPushButton::clicked, this, &LineReplaceWindow::Replace);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
}

void LineReplaceWindow::Replace() {
  EditorModel& editor = target_.Editor();
  const QStringList lines = editor.Lines();
  editor.ApplyLines(lines, ReplaceFirstInEveryLine(lines, find_->text(), replacement_->text()));
}
