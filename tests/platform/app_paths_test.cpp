#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "platform/app_paths.h"

namespace {

void Touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
}

}  // namespace

// Where the program keeps its files, run from its own folder and installed.
class AppPathsTest : public QObject {
  Q_OBJECT

 private slots:
  void PortableKeepsEverythingBesideTheProgram() {
    QTemporaryDir dir;
    Touch(dir.filePath("build/english.lng"));
    const AppPaths paths = AppPaths::ForExecutable(dir.filePath("build"), dir.filePath("config"),
                                                   dir.filePath("data"));
    QVERIFY(!paths.installed);
    QCOMPARE(paths.SettingsFolder(), dir.filePath("build"));
    QCOMPARE(paths.LanguageFile("english.lng"), dir.filePath("build/english.lng"));
    QCOMPARE(paths.ManualFolder(), dir.filePath("build/manual"));
    QCOMPARE(paths.ScratchFolder(), dir.filePath("build"));
  }

  void InstalledReadsThePrefixAndWritesTheUsersFolders() {
    QTemporaryDir dir;
    Touch(dir.filePath("usr/bin/brindlemark"));
    Touch(dir.filePath("usr/share/brindlemark/lng/english.lng"));
    Touch(dir.filePath("usr/share/brindlemark/lng/russian.lng"));
    Touch(dir.filePath("data/brindlemark/lng/russian.lng"));
    Touch(dir.filePath("data/brindlemark/lng/mine.lng"));
    const AppPaths paths = AppPaths::ForExecutable(dir.filePath("usr/bin"), dir.filePath("config"),
                                                   dir.filePath("data"), dir.filePath("cache"));
    QVERIFY(paths.installed);
    QCOMPARE(paths.SettingsFolder(), dir.filePath("config/brindlemark"));
    QCOMPARE(paths.LanguageNames(), (QStringList{"english.lng", "mine.lng", "russian.lng"}));
    // A user's file of the same name wins.
    QCOMPARE(paths.LanguageFile("russian.lng"), dir.filePath("data/brindlemark/lng/russian.lng"));
    QCOMPARE(paths.LanguageFile("english.lng"),
             dir.filePath("usr/share/brindlemark/lng/english.lng"));
    QCOMPARE(paths.ManualFolder(), dir.filePath("usr/share/brindlemark/manual"));
    QCOMPARE(paths.ScratchFolder(), dir.filePath("cache/brindlemark"));
    for (const QString& written : {paths.SettingsFolder(), paths.ScratchFolder()}) {
      QVERIFY(!written.startsWith(dir.filePath("usr")));
    }
  }
};

QTEST_GUILESS_MAIN(AppPathsTest)
#include "app_paths_test.moc"
