#pragma once

#include <QImage>
#include <QString>

// A decoded picture, or why it could not be decoded.
struct PictureResult {
  QImage image;
  QString error;  // empty on success
  bool ok() const { return error.isEmpty(); }
};

// Pictures are for pages: a header claiming more pixels than this is refused before any
// decoding, and files larger than the byte cap are not read.
inline constexpr qint64 kMaxPicturePixels = 100'000'000;
inline constexpr qint64 kMaxPictureFileBytes = 512LL << 20;

// Decodes a picture file: JPEG through libjpeg, every other kind (GIF, BMP, PNG) through
// Qt's image readers. A short or corrupt file gives an error; the process never ends.
PictureResult LoadPicture(const QString& path);

// Decodes JPEG bytes through libjpeg.
PictureResult DecodeJpeg(const QByteArray& bytes);

// Encodes an image as JPEG bytes through libjpeg (quality 0-100).
QByteArray EncodeJpeg(const QImage& image, int quality = 90);
