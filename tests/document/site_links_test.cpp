#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "document/site_links.h"

// The links of a test site: every planted fault (marked by a comment on its line) and
// nothing else, good links of every kind passing; and the files nothing reaches.
class SiteLinksTest : public QObject {
  Q_OBJECT

 private slots:
  void CommandLineFindsThePlantedFaults();
  void Roots_data();
  void Roots();
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

QTEST_GUILESS_MAIN(SiteLinksTest)
#include "site_links_test.moc"
