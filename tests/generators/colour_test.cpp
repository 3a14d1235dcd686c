#include <QTest>

#include "generators/colour.h"

class ColourTest : public QObject {
  Q_OBJECT

 private slots:
  void WritesColourTextAndValue_data();
  void WritesColourTextAndValue();
};

void ColourTest::WritesColourTextAndValue_data() {
  QTest::addColumn<int>("red");
  QTest::addColumn<int>("green");
  QTest::addColumn<int>("blue");
  QTest::addColumn<QString>("text");
  QTest::addColumn<quint32>("value");
  QTest::addRow("black") << 0 << 0 << 0 << "#000000" << 0u;
  QTest::addRow("red") << 255 << 0 << 0 << "#FF0000" << 0x0000FFu;
  QTest::addRow("one digit values get a zero") << 10 << 1 << 15 << "#0A010F" << 0x0F010Au;
  QTest::addRow("orange") << 255 << 128 << 0 << "#FF8000" << 0x0080FFu;
  QTest::addRow("white") << 255 << 255 << 255 << "#FFFFFF" << 0xFFFFFFu;
}

void ColourTest::WritesColourTextAndValue() {
  QFETCH(int, red);
  QFETCH(int, green);
  QFETCH(int, blue);
  QFETCH(QString, text);
  QFETCH(quint32, value);
  QCOMPARE(ColourText(red, green, blue), text);
  QCOMPARE(ColourValue(red, green, blue), value);
  QCOMPARE(RedOf(value), red);
  QCOMPARE(GreenOf(value), green);
  QCOMPARE(BlueOf(value), blue);
  QCOMPARE(ColourOf(value), QColor(red, green, blue));
}

QTEST_APPLESS_MAIN(ColourTest)
#include "colour_test.moc"
