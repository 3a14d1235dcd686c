#include <QTest>

#include "platform/text_format.h"

// Each file keeps its encoding and line ends: detection and byte-for-byte round trips.
class TextFormatTest : public QObject {
  Q_OBJECT

 private slots:
  void RoundTripsByteForByte_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("label");
    QTest::addRow("1251 crlf with final break")
        << QByteArray("\xCF\xF0\xE8\r\nb\r\n") << "Windows-1251 · CR LF";
    QTest::addRow("1251 crlf without final break")
        << QByteArray("a\r\nb") << "Windows-1251 · CR LF";
    QTest::addRow("lf") << QByteArray("a\nb\n") << "Windows-1251 · LF";
    QTest::addRow("cr") << QByteArray("a\rb\r") << "Windows-1251 · CR";
    QTest::addRow("utf-8") << QByteArray("\xD0\x97\xD0\xB4\n\xE4\xB8\xAD\n") << "UTF-8 · LF";
    QTest::addRow("utf-8 with bom") << QByteArray("\xEF\xBB\xBFx\r\n") << "UTF-8 BOM · CR LF";
    QTest::addRow("ascii") << QByteArray("<p>plain</p>\r\n") << "Windows-1251 · CR LF";
    QTest::addRow("empty") << QByteArray() << "Windows-1251 · CR LF";
  }
  void RoundTripsByteForByte() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, label);
    const TextFormat format = DetectTextFormat(bytes);
    QCOMPARE(FormatLabel(format), label);
    QCOMPARE(EncodeText(DecodeText(bytes, format), format), bytes);
  }

  void DetectsUtf8_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("utf8");
    QTest::addRow("1251 letters are not valid utf-8")
        << QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2") << false;
    QTest::addRow("ascii only stays 1251") << QByteArray("<html>abc</html>") << false;
    QTest::addRow("meta in upper case") << QByteArray("<META CHARSET=UTF-8><p>abc") << true;
    QTest::addRow("content type declaration")
        << QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">")
        << true;
    QTest::addRow("invalid utf-8 after a declaration stays 1251")
        << QByteArray("<meta charset=utf-8>\xCF\xF0") << false;
    QTest::addRow("overlong form is invalid") << QByteArray("\xC0\xAF") << false;
    QTest::addRow("truncated sequence is invalid") << QByteArray("a\xD0") << false;
    // Long ASCII runs are read eight bytes at a time: what follows one is still read.
    QTest::addRow("letter after eight ascii bytes") << QByteArray("abcdefgh\xD0\x96") << true;
    QTest::addRow("1251 byte ending a long ascii run")
        << QByteArray("<p>0123456789abc\xCF") << false;
    QTest::addRow("1251 bytes inside a word of eight") << QByteArray(
                                                              "<p>01234\xCF\xF0"
                                                              "56789abcdef")
                                                       << false;
  }
  void DetectsUtf8() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, utf8);
    const TextFormat format = DetectTextFormat(bytes);
    QCOMPARE(format.encoding == TextEncoding::kUtf8, utf8);
    // Whatever the decision, nothing is lost.
    QCOMPARE(EncodeText(DecodeText(bytes, format), format), bytes);
  }

  // A page that declares another single-byte encoding opens in it and saves its own bytes,
  // undefined bytes too.
  void DeclaredSingleByteEncodings_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");  // what the bytes after the declaration read as
    QTest::addRow("iso-8859-1") << QByteArray("<meta charset=\"iso-8859-1\">Pokorn\xFD\r\n")
                                << "ISO-8859-1 · CR LF" << QString::fromUtf16(u"Pokorný\n");
    QTest::addRow("latin1 in a content type")
        << QByteArray("<meta content='text/html; charset=latin1'>\xE9") << "ISO-8859-1 · CR LF"
        << QString::fromUtf16(u"é");
    QTest::addRow("windows-1252 with an undefined byte")
        << QByteArray("<meta charset=cp1252>\x80\x81\x9F") << "Windows-1252 · CR LF"
        << QString::fromUtf16(u"€\u0081Ÿ");
    QTest::addRow("koi8-r") << QByteArray("<META CHARSET=KOI8-R>\xF0\xD2\xC9\n") << "KOI8-R · LF"
                            << QString::fromUtf16(u"При\n");
    QTest::addRow("iso-8859-2") << QByteArray("<meta charset=ISO_8859-2>\xB1")
                                << "ISO-8859-2 · CR LF" << QString::fromUtf16(u"ą");
    QTest::addRow("unknown label stays 1251") << QByteArray("<meta charset=x-mystery>\xCF")
                                              << "Windows-1251 · CR LF" << QString::fromUtf16(u"П");
  }
  void DeclaredSingleByteEncodings() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, label);
    QFETCH(QString, text);
    const TextFormat format = DetectTextFormat(bytes);
    QCOMPARE(FormatLabel(format), label);
    const QString decoded = DecodeText(bytes, format);
    QCOMPARE(decoded.mid(decoded.indexOf(u'>') + 1), text);
    QCOMPARE(EncodeText(decoded, format), bytes);
    QCOMPARE(FileBytes(EditorBytes(bytes, format), format), bytes);
  }

  void MixedLineEndsTakeTheMostFrequent() {
    const TextFormat format = DetectTextFormat("a\nb\nc\r\nd");
    QCOMPARE(format.line_end, LineEnd::kLf);
    QVERIFY(format.mixed_line_ends);
    QCOMPARE(EncodeText(DecodeText("a\nb\nc\r\nd", format), format), QByteArray("a\nb\nc\nd"));
  }

  void Utf8KeepsWhat1251CannotHold() {
    TextFormat utf8;
    utf8.encoding = TextEncoding::kUtf8;
    qsizetype replaced = 0;
    QCOMPARE(EncodeText(u"Тест 中", utf8, &replaced), QString::fromUtf16(u"Тест 中").toUtf8());
    QCOMPARE(replaced, 0);
    QCOMPARE(EncodeText(u"中", TextFormat{}, &replaced), QByteArray("&#20013;"));
    QCOMPARE(replaced, 1);
  }
};

QTEST_GUILESS_MAIN(TextFormatTest)
#include "text_format_test.moc"
