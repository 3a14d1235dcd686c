#pragma once

class DialogFolder;
class QGridLayout;

#include <QPoint>

#include "names/window_names.h"
#include "widgets/form_helpers.h"

class Desktop;
class EditorTarget;
class QScrollArea;

// The drawing layer over the picture: reports the pointer and draws the dragged rectangle.
class MapLayer : public QWidget {
  Q_OBJECT
 public:
  explicit MapLayer(QWidget* parent);
  void SetRectangle(const QRect& rectangle);

 signals:
  void Moved(QPoint point);
  void Pressed(QPoint point);
  void Released(QPoint point);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QRect rectangle_;
};

// The image map editor "Form27": rectangles dragged over a picture become area tags.
class ImageMapWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kImageMap;

  ImageMapWindow(Desktop& desktop, EditorTarget& target, QWidget* parent = nullptr);
  // Loads a picture as the load button does after the dialog.
  bool LoadPicture(const QString& path);
  void AddArea();
  void InsertMap();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QGridLayout* AreaFields();
  void ChoosePicture();
  void OnMoved(QPoint point);
  void OnPressed(QPoint point);
  void OnReleased(QPoint point);
  void UpdateImageTag();

  Desktop& desktop_;
  DialogFolder* dialog_folder_;
  EditorTarget& target_;
  QLabel* picture_;
  MapLayer* layer_;
  QScrollArea* scroll_;
  QLineEdit* map_name_;
  QComboBox* shape_;
  QLineEdit* coords_;
  QLineEdit* link_;
  QLineEdit* alt_;
  QLineEdit* title_;
  QListWidget* areas_;
  QLineEdit* image_tag_;
  QLabel* size_label_;
  QLabel* pointer_label_;
  QLabel* corner_label_;
  QString picture_path_;
  bool dragging_ = false;
  QPoint start_;
  QPoint end_;
};
