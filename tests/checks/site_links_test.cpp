#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "checks/site_links.h"

// The links of a test site: every planted fault (marked by a comment on its line) and
// nothing else, good links of every kind passing; and the files nothing reaches.
class SiteLinksTest : public QObject {
  Q_OBJECT

 private slots:
  void CommandLineFindsThePlantedFaults();
  void Roots_data();
  void Roots();
  void ReadAsBrowsersRead_data();
  void ReadAsBrowsersRead();
  void SiteFileThatIsAPipeIsNotRead();
};

namespace {

const QString kSite = QStringLiteral(BM_TEST_DATA "/site");

}  // namespace

void SiteLinksTest::CommandLineFindsThePlantedFaults() {
  QFile broken(kSite + "/broken.html");
  QVERIFY(broken.open(QIODevice::ReadOnly));
  QStringList expected;
  int line = 0;
  static const QRegularExpression planted("<!-- ([a-z-]+) -->");
  for (const QByteArray& text : broken.readAll().split('\n')) {
    ++line;
    const QRegularExpressionMatch match = planted.match(QString::fromUtf8(text));
    if (match.hasMatch()) expected << QString("broken.html:%1 %2").arg(line).arg(match.captured(1));
  }
  expected << "img/unused.png:1 orphan"
           << "lonely.html:1 orphan";
  QProcess process;
  process.setWorkingDirectory(kSite);
  process.start(BM_BATCH_EXECUTABLE,
                {"check", "--links", "--orphans", "--recursive", "--format", "text", "."});
  QVERIFY(process.waitForFinished());
  QCOMPARE(process.exitCode(), 1);
  QStringList found;
  static const QRegularExpression form(
      "^(?:\\./)?(.+):(\\d+):\\d+: (?:error|warning|note): .* \\[([a-z-]+)\\]$");
  for (const QString& text :
       QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
    const QRegularExpressionMatch match = form.match(text);
    QVERIFY2(match.hasMatch(), qPrintable(text));
    found << QString("%1:%2 %3").arg(match.captured(1), match.captured(2), match.captured(3));
  }
  QCOMPARE(found, expected);
  QVERIFY(process.readAllStandardError().startsWith("3 links to other schemes"));
}

void SiteLinksTest::Roots_data() {
  QTest::addColumn<QString>("page");
  QTest::addColumn<QString>("root");
  QTest::addRow("under a site file") << kSite + "/docs/guide.html" << kSite;
  QTest::addRow("without one: its folder")
      << QStringLiteral(BM_TEST_DATA "/check/broken.htm") << QStringLiteral(BM_TEST_DATA "/check");
}

void SiteLinksTest::Roots() {
  QFETCH(QString, page);
  QFETCH(QString, root);
  QCOMPARE(SiteRootOf(page), QDir(root).absolutePath());
}

void SiteLinksTest::ReadAsBrowsersRead_data() {
  QTest::addColumn<QByteArray>("page");
  QTest::addColumn<QStringList>("missing");  // the links reported missing
  QTest::addRow("an empty comment <!--> ends at once")
      << QByteArray("<!--> <a href=\"gone.htm\">x</a> -->") << QStringList{"gone.htm"};
  QTest::addRow("so does <!--->") << QByteArray("<!---> <a href=\"gone.htm\">x</a>")
                                  << QStringList{"gone.htm"};
  QTest::addRow("an old reference before a letter stays in an attribute")
      << QByteArray("<img src=\"a&copyb.png\"><img src=\"a&copy;b.png\">")
      << QStringList{"a©b.png"};
  QTest::addRow("and before '='") << QByteArray("<a href=\"page.htm?x=1&copy=2\">x</a>")
                                  << QStringList();
}

void SiteLinksTest::ReadAsBrowsersRead() {
  QFETCH(QByteArray, page);
  QFETCH(QStringList, missing);
  QTemporaryDir dir;
  for (const char* name : {"a&copyb.png", "page.htm"}) {
    QFile file(dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
  }
  SiteLinkChecker site(dir.path(), SiteOptions{});
  QStringList found;
  for (const Problem& problem : site.Check(dir.filePath("page.htm"), page)) {
    if (problem.kind == "missing-file") found << problem.message.section(' ', -1);
  }
  QCOMPARE(found, missing);
}

void SiteLinksTest::SiteFileThatIsAPipeIsNotRead() {
  QTemporaryDir dir;
  QVERIFY(QProcess::execute("mkfifo", {dir.filePath(".brindlemark-site")}) == 0);
  QFile page(dir.filePath("index.html"));
  QVERIFY(page.open(QIODevice::WriteOnly) && page.write("<a href=\"gone.htm\">x</a>") > 0);
  page.close();
  QProcess process;
  process.start(BM_BATCH_EXECUTABLE, {"check", "--links", dir.path()});
  QVERIFY(process.waitForFinished(20000));
  QCOMPARE(process.exitCode(), 1);
  QVERIFY(process.readAllStandardOutput().contains("[missing-file]"));
}

QTEST_GUILESS_MAIN(SiteLinksTest)
#include "site_links_test.moc"
