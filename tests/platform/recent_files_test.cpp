#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/recent_files.h"

class RecentFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void StartsEmptyWhatever_data();
  void StartsEmptyWhatever();
  void PushesInOrderEachPathOnce();
  void KeepsEntriesAcrossStores();
  void UsesTheConfigHome();
};

void RecentFilesTest::StartsEmptyWhatever_data() {
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<bool>("exists");
  QTest::addRow("missing store") << QByteArray() << false;
  QTest::addRow("empty store") << QByteArray() << true;
  QTest::addRow("corrupt store") << QByteArray("\x01\x02[[[=\xFF\xFE\nnot an ini\n\0\0", 22)
                                 << true;
  QTest::addRow("other groups only") << QByteArray("[Other]\nx=1\n") << true;
}

void RecentFilesTest::StartsEmptyWhatever() {
  QFETCH(QByteArray, content);
  QFETCH(bool, exists);
  QTemporaryDir dir;
  RecentFilesStore store(dir.path());
  if (exists) {
    QDir().mkpath(dir.path() + QStringLiteral("/brindlemark"));
    QFile file(store.FilePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
  }
  QCOMPARE(store.Load(), QStringList(4, QString()));
  QVERIFY(QFile::exists(store.FilePath()));
  store.Push(QStringLiteral("/a.htm"));
  QCOMPARE(store.Load(), (QStringList{"/a.htm", "", "", ""}));
}

void RecentFilesTest::PushesInOrderEachPathOnce() {
  QTemporaryDir dir;
  RecentFilesStore store(dir.path());
  for (const char* path : {"/1.htm", "/2.htm", "/3.htm", "/4.htm"})
    store.Push(QString::fromLatin1(path));
  QCOMPARE(store.Load(), (QStringList{"/4.htm", "/3.htm", "/2.htm", "/1.htm"}));
  store.Push(QStringLiteral("/2.htm"));  // item 3 opened again moves to the top
  QCOMPARE(store.Load(), (QStringList{"/2.htm", "/4.htm", "/3.htm", "/1.htm"}));
  store.Push(QStringLiteral("/2.htm"));
  QCOMPARE(store.Load(), (QStringList{"/2.htm", "/4.htm", "/3.htm", "/1.htm"}));
}

void RecentFilesTest::KeepsEntriesAcrossStores() {
  QTemporaryDir dir;
  const QString odd = QStringLiteral("/сайт/a & b; c=d [x].htm");
  RecentFilesStore(dir.path()).Push(odd);
  QCOMPARE(RecentFilesStore(dir.path()).Load().constFirst(), odd);
}

void RecentFilesTest::UsesTheConfigHome() {
  QTemporaryDir dir;
  qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
  QCOMPARE(RecentFilesStore().FilePath(),
           dir.path() + QStringLiteral("/brindlemark/brindlemark.ini"));
}

QTEST_GUILESS_MAIN(RecentFilesTest)
#include "recent_files_test.moc"
