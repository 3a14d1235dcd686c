#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The one Windows-1251 codec of the program. Decoding is lossless for every byte: the byte
// the code page leaves undefined (0x98) maps to U+0098 and back.
QString DecodeCp1251(QByteArrayView bytes);

// The same as UTF-8 bytes, in one pass.
QByteArray Cp1251ToUtf8(QByteArrayView bytes);

// Encodes text to Windows-1251. A character the code page cannot hold is written as the
// numeric character reference "&#N;" (N decimal, of the whole code point); the number of
// such characters is added to *replaced when it is given.
// Each '\n' is written as newline.
QByteArray EncodeCp1251(QStringView text, qsizetype* replaced = nullptr,
                        QByteArrayView newline = "\n");

// True when every character of text has a Windows-1251 byte.
bool FitsCp1251(QStringView text);
