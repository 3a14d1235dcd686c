#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "settings/settings_record.h"

class SettingsRecordTest : public QObject {
  Q_OBJECT

 private slots:
  void LaysOutFieldsByteForByte();
  void KeepsReservedBytesAndLeftovers();
  void ReadsFilesOfAnySize_data();
  void ReadsFilesOfAnySize();
  void ClampsTheLanguageNameLength();
  void StoresLanguageNamesThatFit_data();
  void StoresLanguageNamesThatFit();
  void PlacesTheWindow_data();
  void PlacesTheWindow();
  void WritesExactlyOneRecord();
};

void SettingsRecordTest::LaysOutFieldsByteForByte() {
  SettingsRecord record;
  record.save_before_preview = 1;
  record.editor_colour = 0x00112233;
  record.file_panel_shown = 1;
  record.word_wrap_on = 1;
  record.window_left = -5;
  record.window_top = 0x01020304;
  QVERIFY(record.SetLanguageFileName("english.lng"));
  record.preview_in_built_in_window = 1;
  QByteArray expected(44, '\0');
  expected[0] = 1;
  expected.replace(4, 4, QByteArray("\x33\x22\x11\x00", 4));
  expected[8] = 1;
  expected[9] = 1;
  expected.replace(14, 4, QByteArray("\xFB\xFF\xFF\xFF", 4));
  expected.replace(18, 4, QByteArray("\x04\x03\x02\x01", 4));
  expected[22] = 11;
  expected.replace(23, 11, "english.lng");
  expected[43] = 1;
  QCOMPARE(record.ToBytes(), expected);
  QCOMPARE(SettingsRecord::FromBytes(expected)->ToBytes(), expected);
}

void SettingsRecordTest::KeepsReservedBytesAndLeftovers() {
  QByteArray bytes(44, '\0');
  for (int i = 0; i < 44; ++i) bytes[i] = char(0xA0 + i);
  bytes[22] = 3;
  const auto record = SettingsRecord::FromBytes(bytes);
  QVERIFY(record);
  QCOMPARE(record->ToBytes(), bytes);
  SettingsRecord renamed = *record;
  QVERIFY(renamed.SetLanguageFileName("ab"));
  QByteArray expected = bytes;
  expected[22] = 2;
  expected[23] = 'a';
  expected[24] = 'b';
  QCOMPARE(renamed.ToBytes(), expected);  // the bytes after the name keep their leftovers
}

void SettingsRecordTest::ReadsFilesOfAnySize_data() {
  QTest::addColumn<int>("size");
  QTest::addColumn<bool>("ok");
  QTest::addRow("empty") << 0 << false;
  QTest::addRow("one byte short") << 43 << false;
  QTest::addRow("one record") << 44 << true;
  QTest::addRow("a long file") << 1000 << true;
}

void SettingsRecordTest::ReadsFilesOfAnySize() {
  QFETCH(int, size);
  QFETCH(bool, ok);
  QTemporaryDir dir;
  const QString path = dir.filePath("htmled.ini");
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QByteArray bytes(size, '\x07');
  file.write(bytes);
  file.close();
  const SettingsRead read = ReadSettingsFile(path);
  QVERIFY(!read.Missing());
  QCOMPARE(read.record.has_value(), ok);
  QCOMPARE(!read.error, ok);
  if (ok) QCOMPARE(read.record->ToBytes(), bytes.left(44));
  QVERIFY(ReadSettingsFile(dir.filePath("none.ini")).Missing());
}

void SettingsRecordTest::ClampsTheLanguageNameLength() {
  QByteArray bytes(44, '\0');
  bytes[22] = char(200);
  bytes.replace(23, 20, QByteArray(20, 'x'));
  QCOMPARE(SettingsRecord::FromBytes(bytes)->LanguageFileName(), QString(20, 'x'));
}

void SettingsRecordTest::StoresLanguageNamesThatFit_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("stored");
  QTest::addRow("20 characters") << QString(16, 'a') + ".lng" << true;
  QTest::addRow("21 characters") << QString(17, 'a') + ".lng" << false;
  QTest::addRow("cyrillic") << "русский.lng" << true;
  QTest::addRow("outside the code page") << "中文.lng" << false;
}

void SettingsRecordTest::StoresLanguageNamesThatFit() {
  QFETCH(QString, name);
  QFETCH(bool, stored);
  SettingsRecord record = SettingsRecord::Defaults();
  QCOMPARE(record.SetLanguageFileName(name), stored);
  QCOMPARE(record.LanguageFileName(), stored ? name : QString("english.lng"));
  QCOMPARE(SettingsRecord::FromBytes(record.ToBytes())->LanguageFileName(),
           record.LanguageFileName());
}

void SettingsRecordTest::PlacesTheWindow_data() {
  QTest::addColumn<int>("stored");
  QTest::addColumn<int>("left");
  QTest::addColumn<int>("top");
  QTest::addRow("inside") << 100 << 100 << 100;
  QTest::addRow("at the width") << 1024 << 1024 - 112 << 1024 - 478;
  QTest::addRow("beyond") << 5000 << 1024 - 112 << 768 - 478;
  QTest::addRow("negative kept") << -30 << -30 << -30;
}

void SettingsRecordTest::PlacesTheWindow() {
  QFETCH(int, stored);
  QFETCH(int, left);
  QFETCH(int, top);
  QCOMPARE(PlaceWindowLeft(stored, 1024), left);
  if (stored == 1024) {
    QCOMPARE(PlaceWindowTop(stored, 1024), top);
  } else {
    QCOMPARE(PlaceWindowTop(stored, 768), top);
  }
}

void SettingsRecordTest::WritesExactlyOneRecord() {
  QTemporaryDir dir;
  const QString path = dir.filePath("htmled.ini");
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(1000, '\x01'));
  file.close();
  QVERIFY(!WriteSettingsFile(path, SettingsRecord::Defaults()));
  QCOMPARE(QFileInfo(path).size(), 44);
  QVERIFY(WriteSettingsFile(dir.filePath("missing/htmled.ini"), SettingsRecord()));
}

QTEST_APPLESS_MAIN(SettingsRecordTest)
#include "settings_record_test.moc"
