#include "generators/image_tag_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

#include "document/editor_model.h"
#include "document/editor_target.h"
#include "generators/markup.h"
#include "platform/desktop.h"
#include "platform/picture.h"

ImageTagWindow::ImageTagWindow(Desktop& desktop, EditorTarget& target, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
      desktop_(desktop),
      target_(target),
      browser_(this, QStringLiteral("*.jpg;*.gif;*.bmp;*.png;*.jpeg")),
      image_(Named<QLabel>(this, QStringLiteral("Image1"))),
      scroll_(Named<QScrollArea>(this, QStringLiteral("ScrollBox1"))),
      src_(Named<QLineEdit>(this, QStringLiteral("Edit2"))),
      border_(NewSpin(this, QStringLiteral("SpinEdit3"), -1, 999, -1)),
      align_(NewCombo(
          this, QStringLiteral("ComboBox1"),
          {QStringLiteral("left"), QStringLiteral("right"), QStringLiteral("top"),
           QStringLiteral("bottom"), QStringLiteral("middle"), QStringLiteral("texttob"),
           QStringLiteral("absbottom"), QStringLiteral("absmiddle"), QStringLiteral("baseline")},
          true)),
      alt_(Named<QLineEdit>(this, QStringLiteral("Edit1"))),
      height_(NewSpin(this, QStringLiteral("SpinEdit1"), 0, 9999, 0)),
      width_(NewSpin(this, QStringLiteral("SpinEdit2"), 0, 9999, 0)),
      hspace_(NewSpin(this, QStringLiteral("SpinEdit4"), -1, 999, -1)),
      vspace_(NewSpin(this, QStringLiteral("SpinEdit5"), -1, 999, -1)),
      full_path_(Named<QRadioButton>(this, QStringLiteral("RadioButton3"))),
      without_drive_(Named<QRadioButton>(this, QStringLiteral("RadioButton2"))),
      file_name_(Named<QRadioButton>(this, QStringLiteral("RadioButton1"))) {
  align_->setCurrentIndex(-1);
  align_->setEditText(QString());
  // -1 means unset: such a field shows nothing rather than the number.
  for (QSpinBox* spin : {border_, hspace_, vspace_}) spin->setSpecialValueText(QStringLiteral(" "));
  MakeExclusive(this, {full_path_, without_drive_, file_name_});
  full_path_->setChecked(true);
  image_->setFixedSize(105, 105);
  image_->installEventFilter(this);
  scroll_->setWidget(image_);
  scroll_->setMinimumSize(220, 220);

  auto* insert = Named<QPushButton>(this, QStringLiteral("Button2"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button1"));

  auto* browse = new QVBoxLayout;
  browser_.AddTo(browse);
  QVBoxLayout* right = AttributeColumn();
  right->addStretch(1);
  right->addWidget(insert);
  right->addWidget(close_button);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(browse);
  layout->addWidget(scroll_, 1);
  layout->addLayout(right);

  connect(browser_.files, &QListWidget::itemSelectionChanged, this, &ImageTagWindow::OnFileChosen);
  for (QRadioButton* button : {full_path_, without_drive_, file_name_}) {
    connect(button, &QRadioButton::clicked, this, &ImageTagWindow::FillFromPicture);
  }
  connect(insert, &QPushButton::clicked, this, &ImageTagWindow::InsertTag);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  browser_.SetFolder(QString());
}

// The attribute fields, each under its caption, and the choice of how the path is written.
QVBoxLayout* ImageTagWindow::AttributeColumn() {
  auto* fields = new QGridLayout;
  const std::tuple<const char16_t*, const char16_t*, QWidget*> rows[] = {
      {u"Label6", u"SRC=", src_},       {u"Label4", u"BORDER=", border_},
      {u"Label5", u"ALIGN=", align_},   {u"Label3", u"ALT=", alt_},
      {u"Label1", u"Height", height_},  {u"Label2", u"Width", width_},
      {u"Label7", u"HSPACE=", hspace_}, {u"Label8", u"VSPACE=", vspace_}};
  int row = 0;
  for (const auto& [label_name, text, control] : rows) {
    fields->addWidget(Named<QLabel>(this, QString::fromUtf16(label_name), QString::fromUtf16(text)),
                      row, 0);
    fields->addWidget(control, row++, 1);
  }
  auto* forms = new QVBoxLayout;
  forms->addWidget(full_path_);
  forms->addWidget(without_drive_);
  forms->addWidget(file_name_);
  auto* right = new QVBoxLayout;
  right->addLayout(fields);
  right->addLayout(forms);
  return right;
}

void ImageTagWindow::showEvent(QShowEvent* event) {
  browser_.files->Reread();
  ToolWindow::showEvent(event);
}

bool ImageTagWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == image_ && event->type() == QEvent::MouseButtonDblClick) InsertTag();
  return ToolWindow::eventFilter(watched, event);
}

void ImageTagWindow::OnFileChosen() {
  const QString path = browser_.files->SelectedPath();
  if (path.isEmpty()) return;
  const PictureResult picture = LoadPicture(path);
  if (!picture.ok()) {
    // The previous picture, sizes and SRC stay.
    desktop_.ShowError(this, picture.error);
    return;
  }
  image_->setPixmap(QPixmap::fromImage(picture.image));
  image_->setFixedSize(picture.image.size());
  FillFromPicture();
}

void ImageTagWindow::FillFromPicture() {
  height_->setValue(image_->height());
  width_->setValue(image_->width());
  const QString path = browser_.files->SelectedPath();
  if (path.isEmpty()) {
    src_->clear();
    return;
  }
  const SrcForm form = file_name_->isChecked()       ? SrcForm::kFileName
                       : without_drive_->isChecked() ? SrcForm::kWithoutDrive
                                                     : SrcForm::kFullPath;
  src_->setText(SrcFromPath(path, form, target_.DocumentFolder()));
}

void ImageTagWindow::InsertTag() {
  EditorModel& editor = target_.Editor();
  if (editor.LineCount() == 0) editor.AppendLine(QStringLiteral(" "));
  const int line = editor.SelectionLine();
  target_.SetCaretLine(line);
  target_.SetStatusPanel(1, QString::number(line));
  if (browser_.files->SelectedPath().isEmpty()) return;
  ImageTagFields fields;
  fields.src = src_->text();
  fields.border = border_->value();
  fields.align = align_->currentText();
  fields.alt = alt_->text();
  fields.height = height_->value();
  fields.width = width_->value();
  fields.hspace = hspace_->value();
  fields.vspace = vspace_->value();
  editor.ReplaceSelection(BuildImageTag(fields));
  target_.FocusEditor();
}
