#include "generators/style_sheet_window.h"
#include "names/texts.h"
#include "widgets/file_browser.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "document/text_helpers.h"
#include "generators/colour.h"
#include "generators/colour_picker_window.h"
#include "generators/markup.h"
#include "platform/desktop.h"
#include "platform/file_write.h"
#include "platform/text_format.h"
#include "widgets/widget_helpers.h"

namespace {

enum class Kind { kList, kNumber, kColour };

}  // namespace

struct StyleSheetWindow::PropertyRow {
  Kind kind;
  const char16_t* value_name;
  const char16_t* unit_name;
  const char16_t* swatch_name;
  QStringList values;  // list values, or the start text of a number or colour
};

namespace {

QStringList Words(const char* text) {
  return QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts);
}

}  // namespace

StyleSheetWindow::StyleSheetWindow(Desktop& desktop, ColourPickerWindow& picker,
                                   const QStringList& font_families, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
      desktop_(desktop),
      dialog_folder_(new DialogFolder(this)),
      selector_(NewCombo(this, QStringLiteral("ComboBox6"),
                         Words("H1 H2 H3 H3 BODY P A A:visited A:active A:link TD TR"), true)),
      rules_(Named<QListWidget>(this, QStringLiteral("ListBox1"))) {
  auto* panel4 = Named<QFrame>(this, QStringLiteral("Panel4"));
  auto* panel5 = Named<QFrame>(this, QStringLiteral("Panel5"));
  AddProperties(picker, font_families, panel4, panel5);
  LayOut(panel4, panel5);
}

void StyleSheetWindow::AddProperties(ColourPickerWindow& picker, const QStringList& font_families,
                                     QFrame* panel4, QFrame* panel5) {
  QStringList fonts;
  for (const QString& family : font_families) fonts.append(FontFamilyName(family));
  fonts.removeDuplicates();
  fonts.append(QStringLiteral("Default"));
  std::sort(fonts.begin(), fonts.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  const QStringList number = {QStringLiteral("12")};
  const PropertyRow rows[] = {
      {Kind::kList, u"ComboBox1", u"", u"", fonts},
      {Kind::kList, u"ComboBox2", u"", u"", Words("lighter bold bolder")},
      {Kind::kList, u"ComboBox3", u"", u"", Words("normal italic oblique")},
      {Kind::kList, u"ComboBox4", u"", u"", Words("normal small-caps")},
      {Kind::kNumber, u"Edit1", u"ComboBox5", u"", number},
      {Kind::kColour, u"Edit2", u"", u"Panel1", {QStringLiteral("#ffffff")}},
      {Kind::kColour, u"Edit3", u"", u"Panel2", {QStringLiteral("#000000")}},
      {Kind::kColour, u"Edit4", u"", u"Panel3", {QStringLiteral("#000000")}},
      {Kind::kList, u"ComboBox7", u"", u"", Words("none underline overline line-through blink")},
      {Kind::kList, u"ComboBox8", u"", u"", Words("left right center justify")},
      {Kind::kList, u"ComboBox9", u"", u"",
       Words("baseline sub super top text-top middle bottom text-bottom")},
      {Kind::kList, u"ComboBox10", u"", u"", Words("none capitalize uppercase lowercase")},
      {Kind::kNumber, u"Edit5", u"ComboBox12", u"", number},
      {Kind::kNumber, u"Edit6", u"ComboBox11", u"", number},
      {Kind::kNumber, u"Edit7", u"ComboBox13", u"", number},
      {Kind::kNumber, u"Edit8", u"ComboBox14", u"", number},
      {Kind::kNumber, u"Edit9", u"ComboBox16", u"", number},
      {Kind::kNumber, u"Edit10", u"ComboBox17", u"", number},
      {Kind::kNumber, u"Edit11", u"ComboBox18", u"", number},
      {Kind::kNumber, u"Edit12", u"ComboBox19", u"", number},
      {Kind::kNumber, u"Edit13", u"ComboBox20", u"", number},
      {Kind::kNumber, u"Edit14", u"ComboBox21", u"", number},
      {Kind::kNumber, u"Edit15", u"ComboBox22", u"", number},
      {Kind::kNumber, u"Edit16", u"ComboBox23", u"", number},
      {Kind::kList, u"ComboBox15", u"", u"",
       Words("none dotted dashed solid double groove ridge inset outset")}};
  auto* grid4 = new QGridLayout(panel4);
  auto* grid5 = new QGridLayout(panel5);
  // The first 13 properties stand in the left panel, the rest in the right one.
  for (int i = 0; i < 25; ++i) {
    properties_.append(i < 13 ? NewProperty(rows[i], i, panel4, grid4, i, picker)
                              : NewProperty(rows[i], i, panel5, grid5, i - 13, picker));
  }
}

// Property i of the list: its tick box, its value and its unit or colour swatch, on row r.
StyleSheetWindow::Property StyleSheetWindow::NewProperty(const PropertyRow& row, int i,
                                                         QFrame* panel, QGridLayout* grid, int r,
                                                         ColourPickerWindow& picker) {
  const QStringList& names = CssPropertyNames();
  Property property{Named<QCheckBox>(panel, QStringLiteral("CheckBox%1").arg(i + 1), names[i]),
                    nullptr, nullptr, nullptr};
  grid->addWidget(property.tick, r, 0);
  if (row.kind == Kind::kList) {
    property.value = NewCombo(panel, QString::fromUtf16(row.value_name), row.values, true);
  } else {
    auto* edit = Named<QLineEdit>(panel, QString::fromUtf16(row.value_name), row.values.first());
    property.value = edit;
    if (row.kind == Kind::kNumber) {
      property.unit = NewCombo(panel, QString::fromUtf16(row.unit_name), CssUnits(), true);
      grid->addWidget(property.unit, r, 2);
    } else {
      edit->setMaxLength(7);
      property.swatch = Named<QPushButton>(panel, QString::fromUtf16(row.swatch_name));
      property.swatch->setFixedSize(40, 22);
      property.swatch->setAutoFillBackground(true);
      property.swatch->setFlat(true);
      const QColor start(row.values.first());
      SetPaletteColour(property.swatch, QPalette::Button, start);
      SetPaletteColour(property.swatch, QPalette::Window, start);
      grid->addWidget(property.swatch, r, 2);
      QPushButton* swatch = property.swatch;
      connect(swatch, &QPushButton::clicked, this, [swatch, edit, &picker] {
        const ColourPick pick = picker.PickColour();
        SetPaletteColour(swatch, QPalette::Button, ColourOf(pick.value));
        SetPaletteColour(swatch, QPalette::Window, ColourOf(pick.value));
        edit->setText(pick.text);
      });
    }
  }
  grid->addWidget(property.value, r, 1);
  for (QWidget* control : {property.value, static_cast<QWidget*>(property.unit),
                           static_cast<QWidget*>(property.swatch)}) {
    if (control == nullptr) continue;
    control->setEnabled(false);
    connect(property.tick, &QCheckBox::toggled, control, &QWidget::setEnabled);
  }
  return property;
}

void StyleSheetWindow::LayOut(QFrame* panel4, QFrame* panel5) {
  auto* add = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* clear = Named<QPushButton>(this, QStringLiteral("Button3"));
  auto* save = Named<QPushButton>(this, QStringLiteral("Button4"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button2"));
  auto* top = new QHBoxLayout;
  top->addWidget(Named<QLabel>(this, QStringLiteral("Label1")));
  top->addWidget(selector_, 1);
  auto* panels = new QHBoxLayout;
  panels->addWidget(panel4);
  panels->addWidget(panel5);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {add, clear, save, close_button}) buttons->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(panels);
  layout->addWidget(rules_);
  layout->addLayout(buttons);

  connect(add, &QPushButton::clicked, this, [this] { rules_->addItem(BuildRule()); });
  connect(clear, &QPushButton::clicked, rules_, &QListWidget::clear);
  connect(save, &QPushButton::clicked, this, &StyleSheetWindow::Save);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  connect(rules_, &QListWidget::itemDoubleClicked, this, [this] { RemoveSelectedEntry(rules_); });
}

QString StyleSheetWindow::BuildRule() const {
  QList<std::pair<QString, QString>> declarations;
  for (const Property& property : properties_) {
    if (!property.tick->isChecked()) continue;
    QString value;
    if (auto* combo = qobject_cast<QComboBox*>(property.value)) {
      value = combo->currentText();
    } else {
      value = static_cast<QLineEdit*>(property.value)->text();
    }
    if (property.unit != nullptr) value += property.unit->currentText();
    if (property.tick->text() == u"font-family") value = CssFontFamily(value);
    declarations.append({property.tick->text(), value});
  }
  return CssRule(selector_->currentText(), declarations);
}

void StyleSheetWindow::Save() {
  const auto choice =
      desktop_.AskSavePath(this, {Tr(Text::kStylesFilter)}, 1,
                           save_path_.isEmpty() ? dialog_folder_->Start() : save_path_);
  if (!choice || choice->path.isEmpty()) return;
  save_path_ = WithDefaultExtension(choice->path, QStringLiteral(".css"));
  dialog_folder_->Chose(save_path_);
  QString text;
  for (int i = 0; i < rules_->count(); ++i) text += rules_->item(i)->text() + u'\n';
  qsizetype replaced = 0;
  const std::optional<IoError> error = WriteWholeFile(save_path_, TextToBytes(text, &replaced));
  if (error) desktop_.ShowError(this, error->message);
}
