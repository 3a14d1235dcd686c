#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "html/html_check.h"
#include "html/html_tokens.h"

// The HTML check on test pages: valid pages report no error or warning, broken ones report
// each fault planted in them (listed in their last comment) at its line; and `check`.
class HtmlCheckTest : public QObject {
  Q_OBJECT

 private slots:
  void Pages_data();
  void Pages();
  void CommandLine_data();
  void CommandLine();
  void TagWithThousandsOfAttributes();
  void UnendedInstructionLeaksNothing();
  void ColumnsLeadBackToTheirBytes_data();
  void ColumnsLeadBackToTheirBytes();
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
  QTest::addRow("warnings only: 0")
      << QStringList{Page("warnings-only.htm")} << 0
      << Page("warnings-only.htm") + ":8:4: warning: nested emphasis <b> [nested-emphasis]";
  QTest::addRow("--werror: 1") << QStringList{"--werror", Page("warnings-only.htm")} << 1
                               << Page("warnings-only.htm") +
                                      ":8:4: warning: nested emphasis <b> [nested-emphasis]";
  QTest::addRow("--fail-on warning: 1")
      << QStringList{"--fail-on", "warning", Page("warnings-only.htm")} << 1
      << Page("warnings-only.htm") + ":8:4: warning: nested emphasis <b> [nested-emphasis]";
  QTest::addRow("a page that does not conform: 1")
      << QStringList{Page("broken.htm")} << 1
      << Page("broken.htm") +
             ":3:1: error: inserting missing 'title' element "
             "[missing-title-element]";
  QTest::addRow("an error: 1") << QStringList{"--html", Page("broken-nesting.htm"),
                                              Page("broken.htm")}
                               << 1
                               << Page("broken-nesting.htm") +
                                      ":7:7: error: replacing unexpected b with </b> "
                                      "[non-matching-endtag]";
  // Spelling only, in a page's own encoding and language.
  const QString russian = QStringLiteral(BM_TEST_DATA "/spelling/ru-1251.htm");
  QTest::addRow("spelling: 0") << QStringList{"--spelling", russian} << 0
                               << russian +
                                      ":5:19: warning: “ашибкой” is not in the ru_RU "
                                      "dictionary [spelling]";
  QTest::addRow("missing file: 2") << QStringList{Page("missing.htm")} << 2 << "";
  QTest::addRow("bad format: 2") << QStringList{"--format", "xml", Page("broken.htm")} << 2 << "";
  QTest::addRow("bad --fail-on: 2") << QStringList{"--fail-on", "x", Page("broken.htm")} << 2 << "";
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
  if (arguments.last() == Page("warnings-only.htm")) {
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
             QString("1 page checked: 0 errors, 2 warnings, 0 notes\n"));
  }
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

// The checker compares each attribute with every other: a damaged page with a tag of
// 150,000 repeated attributes took it minutes. Told once, and checked in a blink.
void HtmlCheckTest::TagWithThousandsOfAttributes() {
  QByteArray page = "<!DOCTYPE html><html lang=en><head><title>t</title></head><body><p";
  for (int i = 0; i < 150000; ++i) page += " a=\"1\"";
  page += ">x</p></body></html>";
  const QList<Problem> problems = CheckHtml(page);
  const auto many = std::find_if(problems.begin(), problems.end(), [](const Problem& problem) {
    return problem.kind == "many-attributes";
  });
  QVERIFY(many != problems.end());
  QCOMPARE(many->severity, Severity::kError);
  QVERIFY(problems.size() < 200);
}

// The checker kept a piece of an unended "<?xml" for good, at every check of such a page.
void HtmlCheckTest::UnendedInstructionLeaksNothing() {
  const QList<Problem> problems = CheckHtml("<p>x</p>\n<?xml l");
  QVERIFY(std::any_of(problems.begin(), problems.end(), [](const Problem& problem) {
    return problem.kind == "unended-instruction" && problem.line == 2;
  }));
  if (QStandardPaths::findExecutable("valgrind").isEmpty()) QSKIP("valgrind is not installed");
  QTemporaryDir dir;
  QFile page(dir.filePath("x.htm"));
  QVERIFY(page.open(QIODevice::WriteOnly) && page.write("<?xml l") > 0);
  page.close();
  QProcess process;
  process.start("valgrind",
                {"--leak-check=full", "--errors-for-leak-kinds=definite", "--undef-value-errors=no",
                 "--error-exitcode=3", BM_BATCH_EXECUTABLE, "check", "--html", page.fileName()});
  QVERIFY(process.waitForFinished(120000));
  QVERIFY2(process.exitCode() == 1, process.readAllStandardError().right(2000).constData());
}

// A problem's column, counted in characters, leads the editor back to the byte it stands on,
// eight bytes at a time; characters of every width straddle the eight-byte steps here.
void HtmlCheckTest::ColumnsLeadBackToTheirBytes_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addRow("empty") << QByteArray();
  QTest::addRow("ASCII") << QByteArray("<p class=x>seventeen bytes</p>");
  QTest::addRow("two-byte") << QString("\u00e9t\u00e9 \u00e0 la plage, \u00e9t\u00e9").toUtf8();
  QTest::addRow("three-byte") << QString("ab\u2014cd\u2014\u2014\u2014e\u2014fgh\u2014").toUtf8();
  QTest::addRow("four-byte") << QString("a\U0001F600bcdef\U0001F600\U0001F600gh").toUtf8();
  QTest::addRow("stray bytes") << QByteArray(
      "abc\x80\x80"
      "def\xBF"
      "ghij\x80"
      "k\xC3");
}

void HtmlCheckTest::ColumnsLeadBackToTheirBytes() {
  QFETCH(QByteArray, text);
  for (int shift = 0; shift < 8; ++shift) {
    const QByteArray line = QByteArray(shift, ' ') + text + text;
    qsizetype expected = 0;  // where the character count characters in starts
    for (qsizetype count = 0; count <= CharacterCount(line) + 1; ++count) {
      while (expected < line.size() && (line[expected] & 0xC0) == 0x80) ++expected;
      QCOMPARE(CharactersForward(line, count), expected);
      if (expected < line.size()) QCOMPARE(CharacterCount(line.first(expected)), count);
      if (expected < line.size()) ++expected;
    }
  }
}

QTEST_GUILESS_MAIN(HtmlCheckTest)
#include "html_check_test.moc"
