#include "generators/colour.h"

QString ComponentDigits(int component) {
  return QStringLiteral("%1").arg(qBound(0, component, 255), 2, 16, QLatin1Char('0')).toUpper();
}

QString ColourText(int red, int green, int blue) {
  return u'#' + ComponentDigits(red) + ComponentDigits(green) + ComponentDigits(blue);
}

quint32 ColourValue(int red, int green, int blue) {
  return quint32(blue & 0xFF) << 16 | quint32(green & 0xFF) << 8 | quint32(red & 0xFF);
}

int RedOf(quint32 value) { return int(value & 0xFF); }
int GreenOf(quint32 value) { return int((value >> 8) & 0xFF); }
int BlueOf(quint32 value) { return int((value >> 16) & 0xFF); }
QColor ColourOf(quint32 value) { return QColor(RedOf(value), GreenOf(value), BlueOf(value)); }
