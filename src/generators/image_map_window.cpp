#include "generators/image_map_window.h"
#include "names/texts.h"
#include "widgets/file_browser.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

#include "document/editor_model.h"
#include "document/editor_target.h"
#include "generators/markup.h"
#include "platform/desktop.h"
#include "platform/picture.h"

namespace {

QString PointText(QPoint point) { return QStringLiteral("%1,%2").arg(point.x()).arg(point.y()); }

}  // namespace

MapLayer::MapLayer(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Image1"));
  setCursor(Qt::CrossCursor);
  setMouseTracking(true);
  setAttribute(Qt::WA_TranslucentBackground);
}

void MapLayer::SetRectangle(const QRect& rectangle) {
  rectangle_ = rectangle;
  update();
}

void MapLayer::paintEvent(QPaintEvent*) {
  if (rectangle_.isNull()) return;
  QPainter painter(this);
  // Inverted dots show on any picture, as a focus rectangle does.
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
  painter.drawRect(rectangle_.adjusted(0, 0, -1, -1));
}

void MapLayer::mouseMoveEvent(QMouseEvent* event) { emit Moved(event->position().toPoint()); }
void MapLayer::mousePressEvent(QMouseEvent* event) { emit Pressed(event->position().toPoint()); }
void MapLayer::mouseReleaseEvent(QMouseEvent* event) { emit Released(event->position().toPoint()); }

ImageMapWindow::ImageMapWindow(Desktop& desktop, EditorTarget& target, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
      desktop_(desktop),
      dialog_folder_(new DialogFolder(this)),
      target_(target),
      picture_(Named<QLabel>(this, QStringLiteral("Image2"))),
      layer_(new MapLayer(picture_)),
      scroll_(Named<QScrollArea>(this, QStringLiteral("ScrollBox1"))),
      map_name_(Named<QLineEdit>(this, QStringLiteral("Edit1"))),
      shape_(NewCombo(this, QStringLiteral("shape"),
                      {QStringLiteral("rect"), QStringLiteral("circle")}, true)),
      coords_(Named<QLineEdit>(this, QStringLiteral("Edit5"))),
      link_(Named<QLineEdit>(this, QStringLiteral("Edit2"))),
      alt_(Named<QLineEdit>(this, QStringLiteral("Edit3"))),
      title_(Named<QLineEdit>(this, QStringLiteral("Edit4"))),
      areas_(Named<QListWidget>(this, QStringLiteral("ListBox1"))),
      image_tag_(Named<QLineEdit>(this, QStringLiteral("Edit6"))),
      size_label_(Named<QLabel>(this, QStringLiteral("Label9"))),
      pointer_label_(Named<QLabel>(this, QStringLiteral("Label6"))),
      corner_label_(Named<QLabel>(this, QStringLiteral("Label7"))) {
  coords_->setReadOnly(true);
  picture_->setFixedSize(105, 105);
  layer_->setGeometry(0, 0, 105, 105);
  scroll_->setWidget(picture_);
  scroll_->setMinimumSize(360, 300);

  auto* load = Named<QPushButton>(this, QStringLiteral("Button2"));
  auto* insert = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button4"));
  auto* positions = new QHBoxLayout;
  for (QLabel* label : {size_label_, pointer_label_, corner_label_}) positions->addWidget(label);
  auto* left = new QVBoxLayout;
  left->addWidget(load);
  left->addWidget(scroll_, 1);
  left->addLayout(positions);
  auto* top = new QHBoxLayout;
  top->addLayout(left, 1);
  top->addLayout(AreaFields());
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(image_tag_, 1);
  bottom->addWidget(insert);
  bottom->addWidget(close_button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(bottom);
  resize(760, 520);

  connect(load, &QPushButton::clicked, this, &ImageMapWindow::ChoosePicture);
  connect(insert, &QPushButton::clicked, this, &ImageMapWindow::InsertMap);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  connect(map_name_, &QLineEdit::textChanged, this, &ImageMapWindow::UpdateImageTag);
  connect(areas_, &QListWidget::itemDoubleClicked, this, [this] { RemoveSelectedEntry(areas_); });
  connect(layer_, &MapLayer::Moved, this, &ImageMapWindow::OnMoved);
  connect(layer_, &MapLayer::Pressed, this, &ImageMapWindow::OnPressed);
  connect(layer_, &MapLayer::Released, this, &ImageMapWindow::OnReleased);
}

void ImageMapWindow::ChoosePicture() {
  const auto choice =
      desktop_.AskOpenPath(this,
                           {Tr(Text::kPicturesFilter), Tr(Text::kJpgFilter), Tr(Text::kJpegFilter),
                            Tr(Text::kBitmapsFilter), QStringLiteral("PNG (*.png)")},
                           1, dialog_folder_->Start());
  if (!choice || choice->path.isEmpty()) return;
  dialog_folder_->Chose(choice->path);
  LoadPicture(choice->path);
}

// The map's name, the area being drawn (shape, coordinates, link, alt, title), Add and the
// list of areas.
QGridLayout* ImageMapWindow::AreaFields() {
  auto* add = Named<QPushButton>(this, QStringLiteral("Button3"));
  auto* fields = new QGridLayout;
  int row = 0;
  auto add_row = [&](const QString& label_name, const QString& text, QWidget* field) {
    fields->addWidget(Named<QLabel>(this, label_name, text), row, 0);
    fields->addWidget(field, row++, 1);
  };
  add_row(QStringLiteral("Label1"), QString(), map_name_);
  add_row(QStringLiteral("Label2"), QStringLiteral("shape"), shape_);
  add_row(QStringLiteral("Label3"), QStringLiteral("coords"), coords_);
  add_row(QStringLiteral("Label4"), QStringLiteral("href"), link_);
  add_row(QStringLiteral("Label5"), QStringLiteral("alt"), alt_);
  add_row(QStringLiteral("Label8"), QStringLiteral("title"), title_);
  fields->addWidget(add, row++, 1);
  fields->addWidget(areas_, row++, 0, 1, 2);
  connect(add, &QPushButton::clicked, this, &ImageMapWindow::AddArea);
  return fields;
}

void ImageMapWindow::showEvent(QShowEvent* event) {
  dragging_ = false;
  ToolWindow::showEvent(event);
}

bool ImageMapWindow::LoadPicture(const QString& path) {
  const PictureResult picture = ::LoadPicture(path);
  if (!picture.ok()) {
    desktop_.ShowError(this, picture.error);
    return false;
  }
  picture_path_ = path;
  picture_->setPixmap(QPixmap::fromImage(picture.image));
  picture_->setFixedSize(picture.image.size());
  layer_->setGeometry(QRect(QPoint(0, 0), picture.image.size()));
  size_label_->setText(
      QStringLiteral("%1,%2").arg(picture.image.width()).arg(picture.image.height()));
  UpdateImageTag();
  return true;
}

void ImageMapWindow::UpdateImageTag() {
  image_tag_->setText(
      ImageTagText(PagePath(picture_path_, target_.DocumentFolder()), map_name_->text()));
}

void ImageMapWindow::OnMoved(QPoint point) {
  if (!dragging_) {
    start_ = point;
    pointer_label_->setText(PointText(point));
    return;
  }
  end_ = point;
  corner_label_->setText(PointText(point));
  layer_->SetRectangle(QRect(start_, end_).normalized());
}

void ImageMapWindow::OnPressed(QPoint point) {
  // The press stands where the last move did; taking it here spares a lost move event.
  if (!dragging_) start_ = point;
  dragging_ = true;
  layer_->SetRectangle(QRect(start_, end_).normalized());
}

void ImageMapWindow::OnReleased(QPoint point) {
  if (dragging_) {
    end_ = point;
    layer_->SetRectangle(QRect());
  }
  dragging_ = false;
  end_ = ClampToPicture(end_, layer_->width(), layer_->height());
  coords_->setText(AreaCoords(start_, end_, layer_->width(), layer_->height()));
}

void ImageMapWindow::AddArea() {
  const auto tag = AreaTagText(shape_->currentText(), coords_->text(), link_->text(), alt_->text(),
                               title_->text());
  if (!tag) {
    desktop_.ShowMessage(this, Tr(Text::kMissingParameter));
    return;
  }
  areas_->insertItem(0, *tag);
}

void ImageMapWindow::InsertMap() {
  if (map_name_->text().isEmpty()) return;
  EditorModel& editor = target_.Editor();
  editor.InsertLines(editor.CaretLine(),
                     ImageMapLines(image_tag_->text(), map_name_->text(), Entries(areas_)));
}
