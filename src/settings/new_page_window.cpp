#include "settings/new_page_window.h"
#include "names/texts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "document/editor_target.h"
#include "generators/colour.h"
#include "generators/colour_picker_window.h"
#include "widgets/widget_helpers.h"

namespace {

QFrame* PlainPanel(const QString& name, int width, int height, QWidget* parent) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::Box);
  panel->setFixedSize(width, height);
  return panel;
}

// A small drawing of a layout: two panels side by side or one above the other.
QWidget* LayoutDrawing(bool columns, const QString& first, QSize first_size, const QString& second,
                       QSize second_size, QWidget* parent) {
  auto* drawing = new QWidget(parent);
  QBoxLayout* box = columns ? static_cast<QBoxLayout*>(new QHBoxLayout(drawing))
                            : static_cast<QBoxLayout*>(new QVBoxLayout(drawing));
  box->setContentsMargins(0, 0, 0, 0);
  box->setSpacing(1);
  box->addWidget(PlainPanel(first, first_size.width(), first_size.height(), drawing));
  box->addWidget(PlainPanel(second, second_size.width(), second_size.height(), drawing));
  return drawing;
}

}  // namespace

NewPageWindow::NewPageWindow(ColourPickerWindow& picker, EditorTarget& main_window, QWidget* parent)
    : QDialog(parent),
      picker_(picker),
      main_window_(main_window),
      title_(new QLineEdit(this)),
      frames_(new QCheckBox(this)),
      frames_panel_(new QFrame(this)),
      border_(new QCheckBox(this)),
      scrolling_(new QCheckBox(this)),
      noresize_(new QCheckBox(this)) {
  ShowText(border_, &QCheckBox::setText, Text::kBorder);
  ShowText(scrolling_, &QCheckBox::setText, Text::kScrolling);
  ShowText(noresize_, &QCheckBox::setText, Text::kNoResize);
  setObjectName(kName.toString());
  setWindowFlag(Qt::Tool);
  title_->setObjectName(QStringLiteral("Edit1"));
  frames_->setObjectName(QStringLiteral("CheckBox1"));
  frames_panel_->setObjectName(QStringLiteral("Panel7"));
  border_->setObjectName(QStringLiteral("border"));
  scrolling_->setObjectName(QStringLiteral("scrolling"));
  noresize_->setObjectName(QStringLiteral("noresize"));

  QFrame* left = LeftPanel();
  BuildFramesPanel();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(left);
  layout->addWidget(frames_panel_);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

// The title, the frames box, the five colours with their pick buttons, Ok and Cancel.
QFrame* NewPageWindow::LeftPanel() {
  auto* left = new QFrame(this);
  left->setObjectName(QStringLiteral("Panel1"));
  auto* grid = new QGridLayout(left);
  auto* title_label = new QLabel(left);
  title_label->setObjectName(QStringLiteral("Label1"));
  grid->addWidget(title_label, 0, 0, 1, 4);
  grid->addWidget(title_, 1, 0, 1, 4);
  grid->addWidget(frames_, 2, 0, 1, 4);
  const char16_t* const captions[] = {u"BGColor", u"Text", u"Link", u"VLink", u"ALink"};
  for (int i = 0; i < 5; ++i) {
    auto* label = new QLabel(QString::fromUtf16(captions[i]), left);
    label->setObjectName(QStringLiteral("Label%1").arg(i + 2));
    colours_[i] = new QLineEdit(left);
    colours_[i]->setObjectName(QStringLiteral("Edit%1").arg(i + 2));
    colours_[i]->setReadOnly(true);
    auto* button = new QPushButton(left);
    button->setObjectName(QStringLiteral("Button%1").arg(i + 1));
    button->setAutoDefault(false);
    swatches_[i] = PlainPanel(QStringLiteral("Panel%1").arg(i + 2), 24, 20, left);
    swatches_[i]->setAutoFillBackground(true);
    grid->addWidget(label, 3 + i, 0);
    grid->addWidget(colours_[i], 3 + i, 1);
    grid->addWidget(button, 3 + i, 2);
    grid->addWidget(swatches_[i], 3 + i, 3);
    connect(button, &QPushButton::clicked, this, [this, i] {
      // The picker has no cancel: the field takes whatever colour it closes with.
      const ColourPick pick = picker_.PickColour();
      colours_[i]->setText(pick.text);
      SetPaletteColour(swatches_[i], QPalette::Window, ColourOf(pick.value));
    });
  }
  auto* ok = new QPushButton(QStringLiteral("Ok"), left);
  ok->setObjectName(QStringLiteral("Button6"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  // Cancel (and Escape) leave the page as it is; closing by the frame still makes the page.
  auto* cancel = new QPushButton(left);
  ShowText(cancel, &QPushButton::setText, Text::kCancel);
  cancel->setObjectName(QStringLiteral("CancelButton"));
  connect(cancel, &QPushButton::clicked, this, [this] {
    cancelled_ = true;
    reject();
  });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  grid->addLayout(buttons, 8, 0, 1, 4);
  return left;
}

// The four frame layouts and their options, shown while the frames box is ticked.
void NewPageWindow::BuildFramesPanel() {
  auto* group = new QGroupBox(frames_panel_);
  group->setObjectName(QStringLiteral("GroupBox1"));
  auto* group_layout = new QGridLayout(group);
  const QSize narrow(14, 40), wide(40, 40), low(40, 12), tall(40, 28);
  group_layout->addWidget(
      LayoutDrawing(true, QStringLiteral("Panel8"), narrow, QStringLiteral("Panel9"), wide, group),
      0, 0);
  group_layout->addWidget(LayoutDrawing(true, QStringLiteral("Panel10"), wide,
                                        QStringLiteral("Panel11"), narrow, group),
                          0, 1);
  group_layout->addWidget(
      LayoutDrawing(false, QStringLiteral("Panel12"), low, QStringLiteral("Panel13"), tall, group),
      0, 2);
  group_layout->addWidget(
      LayoutDrawing(false, QStringLiteral("Panel15"), tall, QStringLiteral("Panel14"), low, group),
      0, 3);
  for (int i = 0; i < 4; ++i) {
    layouts_[i] = new QRadioButton(QString::number(i + 1), group);
    layouts_[i]->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
    group_layout->addWidget(layouts_[i], 1, i, Qt::AlignHCenter);
  }
  layouts_[0]->setChecked(true);
  group_layout->addWidget(border_, 2, 0, 1, 4);
  group_layout->addWidget(scrolling_, 3, 0, 1, 4);
  group_layout->addWidget(noresize_, 4, 0, 1, 4);
  auto* frames_layout = new QVBoxLayout(frames_panel_);
  frames_layout->addWidget(group);
  frames_layout->addStretch(1);
  frames_panel_->setVisible(false);
  connect(frames_, &QCheckBox::toggled, frames_panel_, &QWidget::setVisible);
}

NewPageFields NewPageWindow::Fields() const {
  NewPageFields fields;
  fields.title = title_->text();
  fields.frames = frames_->isChecked();
  fields.background = colours_[0]->text();
  fields.text = colours_[1]->text();
  fields.link = colours_[2]->text();
  fields.visited_link = colours_[3]->text();
  fields.active_link = colours_[4]->text();
  for (int i = 0; i < 4; ++i) {
    if (layouts_[i]->isChecked()) fields.layout = i + 1;
  }
  fields.border = border_->isChecked();
  fields.scrolling = scrolling_->isChecked();
  fields.noresize = noresize_->isChecked();
  return fields;
}

void NewPageWindow::insertline(const QString& text) {
  const int caret_line = ::insertline(main_window_.Editor(), text);
  main_window_.SetStatusPanel(1, QString::number(caret_line));
  main_window_.SetCaretLine(caret_line + 1);
  main_window_.FocusEditor();
}

void NewPageWindow::showEvent(QShowEvent* event) {
  cancelled_ = false;
  QDialog::showEvent(event);
}

void NewPageWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) cancelled_ = true;
  QDialog::keyPressEvent(event);
}
