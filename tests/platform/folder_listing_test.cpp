#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/folder_listing.h"

// Masks in the meaning the sites' own systems give them, and the sorted listing.
class FolderListingTest : public QObject {
  Q_OBJECT

 private slots:
  void MaskMatches_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<bool>("matches");
    QTest::addRow("exact") << "index.htm"
                           << "*.htm" << true;
    QTest::addRow("longer extension of three letters") << "index.html"
                                                       << "*.htm" << true;
    QTest::addRow("case ignored") << "INDEX.HTML"
                                  << "*.htm" << true;
    QTest::addRow("other extension") << "index.txt"
                                     << "*.htm" << false;
    QTest::addRow("extension only inside") << "a.htm.bak"
                                           << "*.htm" << false;
    QTest::addRow("jpeg is not jpg") << "a.jpeg"
                                     << "*.jpg" << false;
    QTest::addRow("second pattern") << "notes.txt"
                                    << "*.htm;*.shtm;*.txt" << true;
    QTest::addRow("four-letter shtm is exact") << "a.shtml"
                                               << "*.htm;*.shtm;*.txt" << false;
    QTest::addRow("star dot star takes names without a dot") << "README"
                                                             << "*.*" << true;
    QTest::addRow("four-letter pattern is exact") << "a.jpegs"
                                                  << "*.jpeg" << false;
    QTest::addRow("question mark") << "a1.htm"
                                   << "a?.htm" << true;
    QTest::addRow("no extension with htm mask") << "htm"
                                                << "*.htm" << false;
  }
  void MaskMatches() {
    QFETCH(QString, name);
    QFETCH(QString, mask);
    QFETCH(bool, matches);
    QCOMPARE(NameMatchesMask(name, mask), matches);
  }

  void ListsOrdinaryFilesSortedIgnoringCase() {
    QTemporaryDir dir;
    for (const char* name : {"b.html", "A.htm", "c.txt", "d.css"}) {
      QFile file(dir.filePath(name));
      QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(dir.path()).mkdir("folder.htm"));
    // A link to a file is a file; a link to a folder, or to nothing, is not listed or entered.
    QVERIFY(QFile::link(dir.filePath("d.css"), dir.filePath("e.htm")));
    QVERIFY(QFile::link(dir.filePath("folder.htm"), dir.filePath("f.htm")));
    QVERIFY(QFile::link(dir.filePath("gone"), dir.filePath("g.htm")));
    QVERIFY(QFile(dir.filePath("folder.htm/h.htm")).open(QIODevice::WriteOnly));
    QCOMPARE(ListFolderFiles(dir.path(), "*.htm;*.txt"),
             QStringList({"A.htm", "b.html", "c.txt", "e.htm"}));
    QCOMPARE(ScanFolder(dir.path(), "*.htm", true).files,
             QStringList({"A.htm", "b.html", "e.htm", "folder.htm/h.htm"}));
    QCOMPARE(ListFolderFiles(dir.path() + "/missing", "*.*"), QStringList());
  }
};

QTEST_GUILESS_MAIN(FolderListingTest)
#include "folder_listing_test.moc"
