#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

// Shows a window, or brings it to the front when it is open.
inline void ShowInFront(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

// Sets one colour role of a widget's palette (swatches, the editor background, labels).
inline void SetPaletteColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(role, colour);
  widget->setPalette(palette);
}
