#include <QFile>
#include <QTest>

#include "platform/codec.h"
#include "settings/language.h"

class LanguageTest : public QObject {
  Q_OBJECT

 private slots:
  void SplitsLines_data();
  void SplitsLines();
  void StopsAtTheFirstMissingLine_data();
  void StopsAtTheFirstMissingLine();
  void ComposesAndCopiesTexts();
  void NeverReadsTheUnusedLines();
  void ShipsCompleteLanguageFiles_data();
  void ShipsCompleteLanguageFiles();
};

namespace {

QStringList NumberedLines(int count) {
  QStringList lines;
  for (int i = 0; i < count; ++i) lines << QString("L%1").arg(i);
  return lines;
}

QString TextOf(const LanguageTexts& texts, const QString& window, const QString& control,
               TextTarget target) {
  QString found = "<none>";
  for (const LanguageText& text : texts.texts) {
    if (text.window == window && text.control == control && text.target == target)
      found = text.text;
  }
  return found;
}

}  // namespace

void LanguageTest::SplitsLines_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QStringList>("lines");
  QTest::addRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
  QTest::addRow("cr only") << QByteArray("a\rb\r") << QStringList{"a", "b"};
  QTest::addRow("lf only") << QByteArray("a\nb") << QStringList{"a", "b"};
  QTest::addRow("zero byte ends the text")
      << QByteArray("a\r\nb\0c\r\nd", 9) << QStringList{"a", "b"};
  QTest::addRow("blanks kept") << QByteArray(" a \r\n\r\n") << QStringList{" a ", ""};
  QTest::addRow("cyrillic") << QByteArray("\xD4\xE0\xE9\xEB") << QStringList{"Файл"};
  QTest::addRow("a line of 10,000 characters")
      << QByteArray(10000, 'w') + "\r\nx" << QStringList{QString(10000, 'w'), "x"};
}

void LanguageTest::SplitsLines() {
  QFETCH(QByteArray, bytes);
  QFETCH(QStringList, lines);
  QCOMPARE(LanguageLines(bytes), lines);
}

void LanguageTest::StopsAtTheFirstMissingLine_data() {
  QTest::addColumn<int>("count");
  QTest::addColumn<int>("missing");
  QTest::addRow("empty file") << 0 << 0;
  QTest::addRow("106 lines") << 106 << 106;
  QTest::addRow("107 lines") << 107 << 113;
  QTest::addRow("99 lines stop inside the main window") << 99 << 106;
  QTest::addRow("141 lines") << 141 << -1;
}

void LanguageTest::StopsAtTheFirstMissingLine() {
  QFETCH(int, count);
  QFETCH(int, missing);
  const LanguageTexts texts = ResolveLanguageTexts(NumberedLines(count));
  QCOMPARE(texts.missing_line.value_or(-1), missing);
  // The steps before the missing line all ran, and none after it.
  qsizetype ran = 0;
  for (const LanguageStep& step : LanguageSteps()) {
    if (missing >= 0 && (step.line == missing || step.second_line == missing)) break;
    ++ran;
  }
  QCOMPARE(texts.texts.size(), ran);
  if (count < 107) {
    QCOMPARE(TextOf(texts, "form1", "N61", TextTarget::kMenu), QString("<none>"));
    QCOMPARE(TextOf(texts, "Form2", "", TextTarget::kWindowCaption), QString("<none>"));
  }
  if (count == 141)
    QCOMPARE(TextOf(texts, "Form24", "", TextTarget::kWindowCaption), QString("L140"));
}

void LanguageTest::ComposesAndCopiesTexts() {
  QStringList lines = NumberedLines(141);
  lines[46] = "Edit with ";
  const LanguageTexts texts = ResolveLanguageTexts(lines);
  QCOMPARE(TextOf(texts, "Form6", "Button6", TextTarget::kCaption),
           QString("Edit with Brindlemark"));
  QCOMPARE(TextOf(texts, "Form6", "Button5", TextTarget::kCaption), QString("L47Brindlemark"));
  QCOMPARE(TextOf(texts, "Form20", "Button1", TextTarget::kCaption), QString("L58 L98"));
  QCOMPARE(TextOf(texts, "form1", "SpeedButton35", TextTarget::kHint), QString("L106"));
  QCOMPARE(TextOf(texts, "form1", "N92", TextTarget::kMenu), QString("L106"));
  QCOMPARE(TextOf(texts, "form1", "N77", TextTarget::kMenu), QString("L1"));
  QCOMPARE(TextOf(texts, "form1", "N73", TextTarget::kMenu), QString("L136"));
  QCOMPARE(TextOf(texts, "form1", "SpeedButton10", TextTarget::kHint), QString("L14"));
  QCOMPARE(TextOf(texts, "form1", "", TextTarget::kUntitledName), QString("L19"));
  QCOMPARE(TextOf(texts, "Form10", "RadioGroup1", TextTarget::kItem1), QString("L73"));
}

void LanguageTest::NeverReadsTheUnusedLines() {
  QStringList lines = NumberedLines(141);
  const LanguageTexts plain = ResolveLanguageTexts(lines);
  for (int unused : {7, 18, 24, 116, 117}) lines[unused] = "anything at all";
  const LanguageTexts changed = ResolveLanguageTexts(lines);
  QCOMPARE(changed.texts.size(), plain.texts.size());
  for (qsizetype i = 0; i < plain.texts.size(); ++i)
    QCOMPARE(changed.texts[i].text, plain.texts[i].text);
}

void LanguageTest::ShipsCompleteLanguageFiles_data() {
  QTest::addColumn<QString>("name");
  QTest::addRow("english") << "english.lng";
  QTest::addRow("russian") << "russian.lng";
}

void LanguageTest::ShipsCompleteLanguageFiles() {
  QFETCH(QString, name);
  QFile file(QStringLiteral(BM_LANGUAGE_DIR "/") + name);
  QVERIFY(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  QVERIFY(bytes.endsWith("\r\n"));
  QCOMPARE(bytes.count("\r\n"), 141);
  QCOMPARE(bytes.count('\n'), 141);  // no lone line ends
  const LanguageTexts texts = ResolveLanguageTexts(LanguageLines(bytes));
  QVERIFY(!texts.missing_line);
  for (const LanguageText& text : texts.texts) {
    if (text.target != TextTarget::kUntitledName)
      QVERIFY2(!text.text.trimmed().isEmpty(), qPrintable(text.control));
  }
}

QTEST_APPLESS_MAIN(LanguageTest)
#include "language_test.moc"
