#include "platform/picture.h"
#include "names/texts.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <csetjmp>
#include <cstdio>
#include "platform/text_file.h"

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace {

// libjpeg's default error handler calls exit(); this one jumps back with the message.
struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr info) {
  auto* error = reinterpret_cast<JpegError*>(info->err);
  (*info->err->format_message)(info, error->message);
  std::longjmp(error->jump, 1);
}

void OnJpegMessage(j_common_ptr, int) {}

bool IsJpegPath(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  return suffix == u"jpg" || suffix == u"jpeg" || suffix == u"jpe";
}

QString TooLargeMessage(qint64 width, qint64 height) {
  return Tr(Text::kPictureTooLarge).arg(width).arg(height).arg(kMaxPicturePixels / 1000000);
}

}  // namespace

PictureResult DecodeJpeg(const QByteArray& bytes) {
  PictureResult result;
  jpeg_decompress_struct info{};
  JpegError error{};
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = OnJpegError;
  error.manager.emit_message = OnJpegMessage;
  // Kept out of the jump's reach: locals changed after setjmp must not live in registers.
  QImage* volatile image = new QImage;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&info);
    delete image;
    result.error = Tr(Text::kJpegError).arg(QString::fromLocal8Bit(error.message));
    return result;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (static_cast<qint64>(info.image_width) * info.image_height > kMaxPicturePixels) {
    jpeg_destroy_decompress(&info);
    delete image;
    result.error = TooLargeMessage(info.image_width, info.image_height);
    return result;
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  *image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                  QImage::Format_RGB888);
  if (image->isNull()) {
    jpeg_destroy_decompress(&info);
    delete image;
    result.error = Tr(Text::kJpegTooLarge);
    return result;
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image->scanLine(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  result.image = std::move(*image);
  delete image;
  return result;
}

QByteArray EncodeJpeg(const QImage& source, int quality) {
  const QImage image = source.convertToFormat(QImage::Format_RGB888);
  jpeg_compress_struct info{};
  JpegError error{};
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = OnJpegError;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  if (setjmp(error.jump)) {
    jpeg_destroy_compress(&info);
    free(buffer);
    return QByteArray();
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(image.width());
  info.image_height = static_cast<JDIMENSION>(image.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<uchar*>(image.constScanLine(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  QByteArray bytes(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
  free(buffer);
  return bytes;
}

PictureResult LoadPicture(const QString& path) {
  PictureResult result;
  const ReadOutcome read = ReadWholeFile(path, kMaxPictureFileBytes);
  if (!read.ok()) {
    result.error = read.message();
    return result;
  }
  const QByteArray& bytes = read.bytes;
  if (IsJpegPath(path) || bytes.startsWith("\xFF\xD8")) {
    result = DecodeJpeg(bytes);
    if (!result.ok()) result.error = path + QStringLiteral(": ") + result.error;
    return result;
  }
  QBuffer buffer;
  buffer.setData(bytes);
  QImageReader reader(&buffer);
  reader.setDecideFormatFromContent(true);
  // The header's size is checked before any pixel memory is taken.
  const QSize size = reader.size();
  if (size.isValid() && static_cast<qint64>(size.width()) * size.height() > kMaxPicturePixels) {
    result.error = path + QStringLiteral(": ") + TooLargeMessage(size.width(), size.height());
    return result;
  }
  result.image = reader.read();
  if (result.image.isNull()) {
    result.error = QStringLiteral("%1: %2").arg(path, reader.errorString());
  }
  return result;
}
