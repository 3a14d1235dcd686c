#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <array>
#include <vector>

// A single-byte code page: ASCII below 0x80 and one table of the high half each way.
// Decoding is lossless for every byte, so a page saves back the bytes it came with.
class SingleByteCodec {
 public:
  explicit SingleByteCodec(const std::array<char16_t, 128>& high_half);
  QString Decode(QByteArrayView bytes) const;
  QByteArray ToUtf8(QByteArrayView bytes) const;
  // A character the code page cannot hold is written as "&#N;" and counted into *replaced;
  // each '\n' is written as newline.
  QByteArray Encode(QStringView text, qsizetype* replaced = nullptr,
                    QByteArrayView newline = "\n") const;
  // The same from UTF-8, without the text in between; bytes that are not UTF-8 count as
  // U+FFFD, as decoding would make them.
  QByteArray EncodeUtf8(QByteArrayView utf8, qsizetype* replaced = nullptr) const;
  bool Fits(QStringView text) const;

 private:
  std::array<char16_t, 128> high_;
  std::vector<int16_t> reverse_;  // over the basic plane; -1: no byte
};

const SingleByteCodec& Cp1251Codec();
// The single-byte code page glibc's iconv knows by that name, read once; nullptr when it
// knows none. Safe from any thread.
const SingleByteCodec* SingleByteCodecNamed(const char* iconv_name);

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
