#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "support/files.h"

#include "batch/batch_engine.h"
#include "batch/batch_tools.h"

namespace {

QByteArray Read(const QString& path) { return ReadBytes(path); }
void Write(const QString& path, const QByteArray& bytes) { QVERIFY(WriteBytesTo(path, bytes)); }

}  // namespace

// The engine over real folders: bytes, modification times, failures, cancel, undo, dry run.
class BatchEngineTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    site_ = std::make_unique<QTemporaryDir>();
    journal_ = site_->filePath("journal");
    Write(Path("a.htm"), "one foo\r\ntwo foo foo\r\n");
    Write(Path("b.htm"), "nothing here\r\n");
    Write(Path("c.htm"), "foo\nlf page\n");
    Write(Path("d.htm"), "\xEF\xBB\xBF\xD0\x96 foo\r\n");
  }

  void RewritesOnlyChangedFilesKeepingTheirForm() {
    const QDateTime untouched = QFileInfo(Path("b.htm")).lastModified();
    QTest::qWait(20);
    const BatchReport report = Run(ReplaceTextSteps(Files(), "foo", "ф"));
    QVERIFY(report.ok());
    QCOMPARE(report.changed, 3);
    QCOMPARE(report.unchanged, 1);
    QCOMPARE(Read(Path("a.htm")), QByteArray("one \xF4\r\ntwo \xF4 foo\r\n"));
    QCOMPARE(Read(Path("c.htm")), QByteArray("\xF4\nlf page\n"));
    QCOMPARE(Read(Path("d.htm")), QByteArray("\xEF\xBB\xBF\xD0\x96 \xD1\x84\r\n"));
    QCOMPARE(QFileInfo(Path("b.htm")).lastModified(), untouched);
  }

  void DryRunListsExactlyWhatTheRunDoes() {
    BatchOptions dry = Options();
    dry.dry_run = true;
    const QByteArray before = Read(Path("a.htm"));
    const BatchReport preview = RunBatch(ReplaceTextSteps(Files(), "foo", "X"), dry);
    QCOMPARE(Read(Path("a.htm")), before);
    QVERIFY(!QFileInfo::exists(journal_));
    const BatchReport report = Run(ReplaceTextSteps(Files(), "foo", "X"));
    QCOMPARE(preview.changes.size(), report.changed_paths.size());
    for (int i = 0; i < preview.changes.size(); ++i) {
      QCOMPARE(preview.changes[i].path, report.changed_paths[i]);
      QCOMPARE(preview.changes[i].after, Read(report.changed_paths[i]));
    }
  }

  void AFailingFileStopsTheRunAndEarlierOnesStayUndoable() {
    QStringList files = Files();
    files.insert(1, Path("missing.htm"));
    const BatchReport report = Run(ReplaceTextSteps(files, "foo", "X"));
    QVERIFY(!report.ok());
    QVERIFY(report.error.contains("missing.htm"));
    QCOMPARE(Read(Path("a.htm")), QByteArray("one X\r\ntwo X foo\r\n"));
    QCOMPARE(Read(Path("c.htm")), QByteArray("foo\nlf page\n"));  // after the failure: untouched
    const UndoReport undo = UndoLastRun(journal_);
    QCOMPARE(undo.restored, 1);
    QCOMPARE(Read(Path("a.htm")), QByteArray("one foo\r\ntwo foo foo\r\n"));
  }

  void CancelStopsBetweenFiles() {
    BatchOptions options = Options();
    options.progress = [](int done, int, const QString&) { return done < 1; };
    const BatchReport report = RunBatch(ReplaceTextSteps(Files(), "foo", "X"), options);
    QVERIFY(report.cancelled);
    QCOMPARE(report.changed, 1);
    QCOMPARE(Read(Path("c.htm")), QByteArray("foo\nlf page\n"));
  }

  void UndoRestoresAndLeavesLaterEditsAlone() {
    const QByteArray a = Read(Path("a.htm"));
    const QByteArray d = Read(Path("d.htm"));
    Run(ReplaceTextSteps(Files(), "foo", "X"));
    Write(Path("c.htm"), "edited by hand\n");
    const UndoReport undo = UndoLastRun(journal_);
    QCOMPARE(undo.restored, 2);
    QCOMPARE(undo.conflicts, QStringList{Path("c.htm")});
    QCOMPARE(Read(Path("a.htm")), a);
    QCOMPARE(Read(Path("d.htm")), d);
    QCOMPARE(Read(Path("c.htm")), QByteArray("edited by hand\n"));
    QVERIFY(UndoLastRun(journal_).nothing);
  }

  void UndoRemovesNewFilesAndRenamesBack() {
    const BatchReport series = Run(SeriesSteps({"<p>", "x"}, 1, 8, 9, 4, "<img src=\"", ".jpg\">",
                                               site_->path(), "page", TextFormat{}));
    QCOMPARE(series.changed, 2);
    QCOMPARE(Read(Path("page0009.htm")), QByteArray("<p>\r\n<img src=\"0009.jpg\">\r\n"));
    QVERIFY(!UndoLastRun(journal_).nothing);
    QVERIFY(!QFileInfo::exists(Path("page0008.htm")));

    const QList<Rename> plan =
        RenamePlan(site_->path(), {"a.htm", "b.htm"}, "", "", 2, "htm", "htm", false);
    Write(Path("02.htm"), "in the way");
    BatchOptions options = Options();
    const BatchReport renamed = RunRenames(plan, options);
    QCOMPARE(renamed.changed, 1);  // b.htm clashes with 02.htm and keeps its name
    QVERIFY(QFileInfo::exists(Path("01.htm")));
    QVERIFY(QFileInfo::exists(Path("b.htm")));
    UndoLastRun(journal_);
    QVERIFY(QFileInfo::exists(Path("a.htm")));
    QVERIFY(!QFileInfo::exists(Path("01.htm")));
  }

  void JournalsAreKeptForTheLastRuns() {
    Write(Path("b.htm"), "v0");
    for (int i = 0; i < 4; ++i) {
      Run(ReplaceTextSteps({Path("b.htm")}, QString("v%1").arg(i), QString("v%1").arg(i + 1)));
    }
    QCOMPARE(QDir(journal_).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 4);
    PruneJournals(journal_, 2);
    QCOMPARE(QDir(journal_).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 2);
  }

 private:
  QString Path(const QString& name) const { return site_->filePath(name); }
  QStringList Files() const { return {Path("a.htm"), Path("b.htm"), Path("c.htm"), Path("d.htm")}; }
  BatchOptions Options() const {
    BatchOptions options;
    options.journal_folder = journal_;
    return options;
  }
  BatchReport Run(const QList<BatchStep>& steps) { return RunBatch(steps, Options()); }

  std::unique_ptr<QTemporaryDir> site_;
  QString journal_;
};

QTEST_GUILESS_MAIN(BatchEngineTest)
#include "batch_engine_test.moc"
