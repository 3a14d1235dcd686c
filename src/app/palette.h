#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

// Sets one colour role of a widget's palette (swatches, the editor background, labels).
inline void SetPaletteColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(role, colour);
  widget->setPalette(palette);
}
