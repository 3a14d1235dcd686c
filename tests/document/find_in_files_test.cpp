#include <QTemporaryDir>
#include <QTest>

#include "document/find_in_files.h"
#include "support/files.h"

// Find in files as core code: pages in their own encodings, skipped files, the order pages
// are handed on in while every core searches, and cancelling.
class FindInFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(dir_.isValid()); }

  // Pages come in the files' order whichever worker searched them.
  void HandsPagesOnInTheFilesOrder() {
    QStringList files;
    QStringList expected;
    for (int i = 0; i < 600; ++i) {
      const QString path = dir_.filePath(QStringLiteral("p%1.htm").arg(i, 3, 10, QChar(u'0')));
      // Pages of different sizes, so that workers finish out of order.
      QByteArray text = QByteArray("<p>x</p>\n").repeated(1 + (i * 37) % 400);
      if (i % 7 == 3) {
        text += "<p>Needle here</p>\n";
        expected << path;
      }
      QVERIFY(WriteBytesTo(path, text));
      files << path;
    }
    const FindQuery query{QStringLiteral("needle")};
    QString error;
    QStringList seen;
    const FindSummary summary = FindInFiles(
        files, *QueryExpression(query, &error),
        [&seen](const FileHits& page) { seen << page.path; }, nullptr, PrefilterOf(query));
    QCOMPARE(seen, expected);
    QCOMPARE(summary.pages, int(expected.size()));
    QCOMPARE(summary.searched, 600);
  }

  // Each page in its own encoding; a binary file and a missing one are skipped and counted.
  void EncodingsAndSkippedFiles() {
    QVERIFY(WriteBytesTo(dir_.filePath("cp.htm"), "<p>\xD1\xF2\xF0\xE0\xED\xE8\xF6\xE0</p>\r\n"));
    QVERIFY(WriteBytesTo(
        dir_.filePath("utf.htm"),
        "<meta charset=utf-8>\n<p>" + QString::fromUtf8("Страница").toUtf8() + "</p>\n"));
    QVERIFY(WriteBytesTo(dir_.filePath("bin.htm"), QByteArray("<p>\0\0\0</p>", 11)));
    const FindQuery query{QString::fromUtf8("страница")};
    QString error;
    QList<FileHits> pages;
    const FindSummary summary = FindInFiles(
        {dir_.filePath("cp.htm"), dir_.filePath("utf.htm"), dir_.filePath("bin.htm"),
         dir_.filePath("missing.htm")},
        *QueryExpression(query, &error), [&pages](const FileHits& page) { pages << page; }, nullptr,
        PrefilterOf(query));
    QCOMPARE(pages.size(), 2);
    QCOMPARE(pages[0].hits.first().line, 1);
    QCOMPARE(pages[0].hits.first().column, 4);
    QCOMPARE(pages[1].hits.first().line, 2);
    QCOMPARE(summary.skipped, 2);
    QCOMPARE(summary.hits, 2);
  }

  // Cancelled while pages come in: the search ends and says so.
  void Cancels() {
    QStringList files;
    for (int i = 0; i < 200; ++i) {
      const QString path = dir_.filePath(QStringLiteral("c%1.htm").arg(i));
      QVERIFY(WriteBytesTo(path, "<p>needle</p>\n"));
      files << path;
    }
    std::atomic<bool> cancelled{false};
    QString error;
    int pages = 0;
    const FindSummary summary = FindInFiles(
        files, *QueryExpression(FindQuery{QStringLiteral("needle")}, &error),
        [&](const FileHits&) {
          if (++pages == 5) cancelled = true;
        },
        &cancelled);
    QVERIFY(summary.cancelled);
    QCOMPARE(pages, 5);
  }

 private:
  QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(FindInFilesTest)
#include "find_in_files_test.moc"
