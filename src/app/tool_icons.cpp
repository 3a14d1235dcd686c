#include "app/tool_icons.h"

#include <QApplication>
#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace {

struct Picture {
  QStyle::StandardPixmap standard = QStyle::SP_CustomBase;  // SP_CustomBase: draw the glyph
  const char16_t* glyph = u"";
  QColor colour;
};

QIcon GlyphIcon(const Picture& picture) {
  QPixmap pixmap(28, 28);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(picture.colour.darker(140), 1));
  painter.setBrush(picture.colour.lighter(185));
  painter.drawRoundedRect(QRectF(1.5, 1.5, 25, 25), 4, 4);
  QFont font = QApplication::font();
  const QString glyph = QString::fromUtf16(picture.glyph);
  font.setPixelSize(glyph.size() > 2 ? 9 : 13);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(picture.colour.darker(170));
  painter.drawText(QRect(0, 0, 28, 28), Qt::AlignCenter, glyph);
  return QIcon(pixmap);
}

}  // namespace

QIcon ToolIcon(const QString& button_name) {
  static const QHash<QString, Picture> pictures = {
      {QStringLiteral("SpeedButton1"), {QStyle::SP_ArrowLeft, u"", QColor()}},
      {QStringLiteral("SpeedButton2"), {QStyle::SP_ArrowRight, u"", QColor()}},
      {QStringLiteral("SpeedButton8"), {QStyle::SP_FileIcon, u"", QColor()}},
      {QStringLiteral("SpeedButton14"), {QStyle::SP_DialogOpenButton, u"", QColor()}},
      {QStringLiteral("SpeedButton15"), {QStyle::SP_DialogSaveButton, u"", QColor()}},
      {QStringLiteral("SpeedButton16"), {QStyle::SP_DesktopIcon, u"", QColor()}},
      {QStringLiteral("SpeedButton11"), {QStyle::SP_ArrowBack, u"", QColor()}},
      {QStringLiteral("SpeedButton7"), {QStyle::SP_CustomBase, u"T>H", QColor(40, 110, 200)}},
      {QStringLiteral("SpeedButton13"), {QStyle::SP_CustomBase, u"H>T", QColor(40, 110, 200)}},
      {QStringLiteral("SpeedButton12"), {QStyle::SP_CustomBase, u"ab", QColor(160, 90, 20)}},
      {QStringLiteral("SpeedButton9"), {QStyle::SP_CustomBase, u"a¶b", QColor(160, 90, 20)}},
      {QStringLiteral("knopka8"), {QStyle::SP_CustomBase, u"▦", QColor(30, 140, 80)}},
      {QStringLiteral("SpeedButton6"), {QStyle::SP_CustomBase, u"↵", QColor(90, 90, 90)}},
      {QStringLiteral("SpeedButton22"), {QStyle::SP_CustomBase, u"▦", QColor(30, 140, 80)}},
      {QStringLiteral("SpeedButton25"), {QStyle::SP_CustomBase, u"☰", QColor(30, 140, 80)}},
      {QStringLiteral("SpeedButton26"), {QStyle::SP_CustomBase, u"img", QColor(30, 140, 80)}},
      {QStringLiteral("SpeedButton27"), {QStyle::SP_CustomBase, u"▮▮", QColor(30, 140, 80)}},
      {QStringLiteral("SpeedButton28"), {QStyle::SP_CustomBase, u"map", QColor(30, 140, 80)}},
      {QStringLiteral("SpeedButton29"), {QStyle::SP_CustomBase, u"a→b", QColor(150, 50, 150)}},
      {QStringLiteral("SpeedButton30"), {QStyle::SP_CustomBase, u"1,2", QColor(150, 50, 150)}},
      {QStringLiteral("SpeedButton31"), {QStyle::SP_CustomBase, u"1…n", QColor(150, 50, 150)}},
      {QStringLiteral("SpeedButton32"), {QStyle::SP_CustomBase, u"≡", QColor(150, 50, 150)}},
      {QStringLiteral("SpeedButton33"), {QStyle::SP_CustomBase, u"●", QColor(200, 60, 60)}},
      {QStringLiteral("SpeedButton34"), {QStyle::SP_CustomBase, u"css", QColor(150, 50, 150)}},
      {QStringLiteral("SpeedButton35"), {QStyle::SP_CustomBase, u"T↔H", QColor(150, 50, 150)}},
      {QStringLiteral("SpeedButton36"), {QStyle::SP_CustomBase, u"pat", QColor(150, 50, 150)}},
      {QStringLiteral("SpeedButton37"), {QStyle::SP_CustomBase, u"idx", QColor(150, 50, 150)}},
  };
  const auto it = pictures.constFind(button_name);
  if (it == pictures.cend()) return QIcon();
  if (it->standard != QStyle::SP_CustomBase) {
    return QApplication::style()->standardIcon(it->standard);
  }
  return GlyphIcon(*it);
}
