#include <QTest>

#include "platform/codec.h"
#include "platform/text_format.h"

class CodecTest : public QObject {
  Q_OBJECT

 private slots:
  void EveryByteRoundTrips();
  void EncodesOutsideCharactersAsReferences_data();
  void EncodesOutsideCharactersAsReferences();
  void SplitsLineBreaks_data();
  void SplitsLineBreaks();
  void WritesCrLf_data();
  void WritesCrLf();
};

namespace {

QByteArray AllBytes() {
  QByteArray bytes;
  for (int b = 0; b < 256; ++b) bytes.append(static_cast<char>(b));
  return bytes;
}

}  // namespace

void CodecTest::EveryByteRoundTrips() {
  const QByteArray bytes = AllBytes();
  const QString text = DecodeCp1251(bytes);
  QCOMPARE(text.size(), 256);
  QCOMPARE(text.at(0xC0), QChar(0x0410));  // А
  QCOMPARE(text.at(0xA8), QChar(0x0401));  // Ё
  QCOMPARE(text.at(0x98), QChar(0x0098));  // the undefined byte
  QCOMPARE(text.at(0x88), QChar(0x20AC));  // €
  qsizetype replaced = 0;
  QCOMPARE(EncodeCp1251(text, &replaced), bytes);
  QCOMPARE(replaced, 0);
  QVERIFY(FitsCp1251(text));
}

void CodecTest::EncodesOutsideCharactersAsReferences_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<int>("replaced");
  QTest::addRow("plain ascii") << QStringLiteral("abc") << QByteArray("abc") << 0;
  QTest::addRow("cyrillic") << QStringLiteral("Яё") << QByteArray("\xDF\xB8") << 0;
  QTest::addRow("chinese") << QStringLiteral("a中b") << QByteArray("a&#20013;b") << 1;
  QTest::addRow("surrogate pair is one reference")
      << QString::fromUtf8("\xF0\x9F\x98\x80") << QByteArray("&#128512;") << 1;
  QTest::addRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("&#55296;") << 1;
  QTest::addRow("two outside") << QStringLiteral("ŁŁ") << QByteArray("&#321;&#321;") << 2;
  QTest::addRow("references longer than their UTF-8")
      << QString(20, QChar(0x4E2D)) + QStringLiteral("Яz")
      << QByteArray("&#20013;").repeated(20) + "\xDFz" << 20;
  QTest::addRow("leading mark is text")
      << QStringLiteral("\uFEFFa") << QByteArray("&#65279;a") << 1;
}

void CodecTest::EncodesOutsideCharactersAsReferences() {
  QFETCH(QString, text);
  QFETCH(QByteArray, bytes);
  QFETCH(int, replaced);
  qsizetype count = 0;
  QCOMPARE(EncodeCp1251(text, &count), bytes);
  QCOMPARE(count, replaced);
  QCOMPARE(FitsCp1251(text), replaced == 0);
  // Saving encodes the editor's UTF-8 straight away, to the same bytes.
  if (!text.contains(QChar(0xD800))) {
    count = 0;
    QCOMPARE(Cp1251Codec().EncodeUtf8(text.toUtf8(), &count), bytes);
    QCOMPARE(count, replaced);
  }
}

void CodecTest::SplitsLineBreaks_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QStringList>("lines");
  QTest::addColumn<bool>("final_break");
  QTest::addRow("empty") << QByteArray() << QStringList() << false;
  QTest::addRow("crlf") << QByteArray("a\r\nb") << QStringList{"a", "b"} << false;
  QTest::addRow("final crlf kept") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"} << true;
  QTest::addRow("lone cr") << QByteArray("a\rb") << QStringList{"a", "b"} << false;
  QTest::addRow("lone lf") << QByteArray("a\nb\n") << QStringList{"a", "b"} << true;
  QTest::addRow("cr cr lf is two breaks")
      << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"} << false;
  QTest::addRow("lf cr is two breaks")
      << QByteArray("a\n\rb") << QStringList{"a", "", "b"} << false;
  QTest::addRow("nul bytes kept") << QByteArray("a\0b\r\n", 5)
                                  << QStringList{QString(QStringLiteral("a") + QChar(0) + u'b')}
                                  << true;
  QTest::addRow("only a break") << QByteArray("\r\n") << QStringList{""} << true;
}

void CodecTest::SplitsLineBreaks() {
  QFETCH(QByteArray, bytes);
  QFETCH(QStringList, lines);
  QFETCH(bool, final_break);
  const QString text = BytesToText(bytes);
  QCOMPARE(SplitLines(text), lines);
  QCOMPARE(text.endsWith(u'\n'), final_break);
}

void CodecTest::WritesCrLf_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QByteArray>("bytes");
  QTest::addRow("no final break") << QStringLiteral("a\nb") << QByteArray("a\r\nb");
  QTest::addRow("final break") << QStringLiteral("a\nb\n") << QByteArray("a\r\nb\r\n");
  QTest::addRow("empty lines") << QStringLiteral("\n\n") << QByteArray("\r\n\r\n");
  QTest::addRow("empty") << QString() << QByteArray();
}

void CodecTest::WritesCrLf() {
  QFETCH(QString, text);
  QFETCH(QByteArray, bytes);
  QCOMPARE(TextToBytes(text), bytes);
  QCOMPARE(BytesToText(bytes), text);
}

QTEST_GUILESS_MAIN(CodecTest)
#include "codec_test.moc"
