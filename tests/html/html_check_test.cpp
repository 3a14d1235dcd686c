#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include "html/html_check.h"

// The HTML check on test pages: valid pages report no error or warning, broken ones report
// each fault planted in them (listed in their last comment) at its line; and `check`.
class HtmlCheckTest : public QObject {
  Q_OBJECT

 private slots:
  void Pages_data();
  void Pages();
  void CommandLine_data();
  void CommandLine();
};

namespace {

QString Page(const QString& name) { return QStringLiteral(BM_TEST_DATA "/check/") + name; }

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

void HtmlCheckTest::Pages_data() {
  QTest::addColumn<QString>("name");
  for (const QString& name : QDir(Page(QString())).entryList({"*.htm"})) {
    QTest::addRow("%s", qPrintable(name)) << name;
  }
}

void HtmlCheckTest::Pages() {
  QFETCH(QString, name);
  const QByteArray text = Read(Page(name));
  QVERIFY(!text.isEmpty());
  const QList<Problem> problems = CheckHtml(text);
  QStringList found;
  for (const Problem& problem : problems) {
    if (problem.severity != Severity::kNote)
      found << QString("%1 %2").arg(problem.line).arg(problem.kind);
  }
  static const QRegularExpression planted("^(\\d+) ([a-z0-9-]+)$",
                                          QRegularExpression::MultilineOption);
  QStringList expected;
  for (auto match = planted.globalMatch(QString::fromUtf8(text)); match.hasNext();) {
    expected << match.next().captured(0);
  }
  if (name.startsWith("valid")) {
    QCOMPARE(found, QStringList());
    return;
  }
  QVERIFY(!expected.isEmpty());
  for (const QString& fault : std::as_const(expected)) {
    QVERIFY2(found.contains(fault), qPrintable(fault + " not in: " + found.join(", ")));
  }
  // In the order of the page.
  for (qsizetype i = 1; i < problems.size(); ++i) QVERIFY(problems[i - 1].line <= problems[i].line);
}

void HtmlCheckTest::CommandLine_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<int>("status");
  QTest::addColumn<QString>("first_line");
  QTest::addRow("valid: nothing, 0") << QStringList{"--html", Page("valid-html5.htm")} << 0 << "";
  QTest::addRow("warnings only: 0") << QStringList{Page("broken.htm")} << 0
                                    << Page("broken.htm") +
                                           ":3:1: warning: inserting missing 'title' element "
                                           "[missing-title-element]";
  QTest::addRow("an error: 1") << QStringList{"--html", Page("broken-nesting.htm"),
                                              Page("broken.htm")}
                               << 1
                               << Page("broken-nesting.htm") +
                                      ":7:7: warning: replacing unexpected b with </b> "
                                      "[non-matching-endtag]";
  // Spelling only, in a page's own encoding and language.
  const QString russian = QStringLiteral(BM_TEST_DATA "/spelling/ru-1251.htm");
  QTest::addRow("spelling: 0") << QStringList{"--spelling", russian} << 0
                               << russian +
                                      ":5:19: warning: “ашибкой” is not in the ru_RU "
                                      "dictionary [spelling]";
  QTest::addRow("missing file: 2") << QStringList{Page("missing.htm")} << 2 << "";
  QTest::addRow("bad format: 2") << QStringList{"--format", "xml", Page("broken.htm")} << 2 << "";
}

void HtmlCheckTest::CommandLine() {
  QFETCH(QStringList, arguments);
  QFETCH(int, status);
  QFETCH(QString, first_line);
  QProcess process;
  process.start(BM_BATCH_EXECUTABLE, QStringList{"check"} + arguments);
  QVERIFY(process.waitForFinished());
  QCOMPARE(process.exitCode(), status);
  const QString out = QString::fromUtf8(process.readAllStandardOutput());
  QCOMPARE(out.section('\n', 0, 0), first_line);
  if (status == 2) return;
  // The same problems as JSON.
  process.start(BM_BATCH_EXECUTABLE, QStringList{"check", "--format", "json"} + arguments);
  QVERIFY(process.waitForFinished());
  QCOMPARE(process.exitCode(), status);
  const QJsonArray json = QJsonDocument::fromJson(process.readAllStandardOutput()).array();
  QCOMPARE(json.size(), out.count('\n'));
  if (!json.isEmpty()) {
    const QJsonObject first = json.first().toObject();
    QCOMPARE(QString("%1:%2:%3")
                 .arg(first["path"].toString())
                 .arg(first["line"].toInt())
                 .arg(first["column"].toInt()),
             first_line.section(": ", 0, 0));
  }
}

QTEST_GUILESS_MAIN(HtmlCheckTest)
#include "html_check_test.moc"
