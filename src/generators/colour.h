#pragma once

#include <QColor>
#include <QString>

// A component 0..255 as two upper-case hexadecimal digits ("0A", "FF").
QString ComponentDigits(int component);

// The colour text shared by the whole program: "#" and the red, green and blue digits.
QString ColourText(int red, int green, int blue);

// The colour value blue × 65536 + green × 256 + red (0x00BBGGRR), and back.
quint32 ColourValue(int red, int green, int blue);
int RedOf(quint32 value);
int GreenOf(quint32 value);
int BlueOf(quint32 value);
QColor ColourOf(quint32 value);
