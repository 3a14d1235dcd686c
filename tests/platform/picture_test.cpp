#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

#include "support/files.h"

#include "platform/picture.h"

namespace {

quint32 Crc32(QByteArrayView bytes) {
  quint32 crc = 0xFFFFFFFFu;
  for (const char c : bytes) {
    crc ^= static_cast<unsigned char>(c);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutBigEndian(QByteArray& bytes, qsizetype at, quint32 value, int size) {
  for (int i = 0; i < size; ++i) {
    bytes[at + i] = static_cast<char>((value >> (8 * (size - 1 - i))) & 0xFF);
  }
}

QImage SmallImage() {
  QImage image(4, 3, QImage::Format_RGB888);
  image.fill(Qt::red);
  return image;
}

// A small JPEG whose frame header claims width x height.
QByteArray JpegClaiming(quint32 width, quint32 height) {
  QByteArray bytes = EncodeJpeg(SmallImage());
  const qsizetype frame = bytes.indexOf("\xFF\xC0");
  PutBigEndian(bytes, frame + 5, height, 2);
  PutBigEndian(bytes, frame + 7, width, 2);
  return bytes;
}

// A small PNG whose header claims width x height, with a correct checksum.
QByteArray PngClaiming(quint32 width, quint32 height) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  SmallImage().save(&buffer, "PNG");
  PutBigEndian(bytes, 16, width, 4);
  PutBigEndian(bytes, 20, height, 4);
  PutBigEndian(bytes, 29, Crc32(QByteArrayView(bytes).sliced(12, 17)), 4);
  return bytes;
}

}  // namespace

// Pictures from disk: good ones decode, short or lying ones give a message, fast.
class PictureTest : public QObject {
  Q_OBJECT

 private slots:
  void Loads_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    QTest::addRow("jpeg") << "a.jpg" << EncodeJpeg(SmallImage()) << "";
    QTest::addRow("png") << "a.png" << PngClaiming(4, 3) << "";
    QTest::addRow("short jpeg") << "b.jpg" << EncodeJpeg(SmallImage()).first(40) << "JPEG";
    QTest::addRow("jpeg claiming 20000 x 20000")
        << "c.jpg" << JpegClaiming(20000, 20000) << "megapixels";
    QTest::addRow("png claiming 20000 x 20000")
        << "c.png" << PngClaiming(20000, 20000) << "megapixels";
  }
  void Loads() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QVERIFY(WriteBytesTo(dir.filePath(name), bytes));
    const PictureResult picture = LoadPicture(dir.filePath(name));
    if (error.isEmpty()) {
      QVERIFY2(picture.ok(), qPrintable(picture.error));
      QCOMPARE(picture.image.size(), QSize(4, 3));
    } else {
      QVERIFY2(picture.error.contains(error), qPrintable(picture.error));
    }
  }
};

QTEST_GUILESS_MAIN(PictureTest)
#include "picture_test.moc"
