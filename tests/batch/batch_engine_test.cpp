#include <sys/stat.h>
#include <unistd.h>
#include <QDateTime>
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
void Touch(const QString& path, const QDateTime& time) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::ReadWrite));
  QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

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

  void EveryMatchInALineWhenAsked() {
    Run(ReplaceTextSteps({Path("a.htm"), Path("d.htm")}, "foo", "X", true));
    QCOMPARE(Read(Path("a.htm")), QByteArray("one X\r\ntwo X X\r\n"));
    QCOMPARE(Read(Path("d.htm")), QByteArray("\xEF\xBB\xBF\xD0\x96 X\r\n"));
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

  // Missing, a folder, read-only, too large: each is reported and the run goes on.
  void FailingFilesAreReportedAndTheRunGoesOn() {
    QVERIFY(QDir(site_->path()).mkdir("folder.htm"));
    Write(Path("locked.htm"), "foo locked\n");
    QFile::setPermissions(Path("locked.htm"), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    QFile huge(Path("huge.htm"));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(kBatchInputCap + 1));
    QStringList files = Files();
    files.insert(1, Path("missing.htm"));
    files.insert(2, Path("folder.htm"));
    files.insert(3, Path("locked.htm"));
    files.insert(4, Path("huge.htm"));
    const BatchReport report = Run(ReplaceTextSteps(files, "foo", "X"));
    QVERIFY(!report.ok());
    QCOMPARE(report.failures.size(), 4);
    QVERIFY(report.failures[0].error.message.contains("missing.htm"));
    QCOMPARE(report.failures[2].path, Path("locked.htm"));
    QCOMPARE(Read(Path("locked.htm")), QByteArray("foo locked\n"));
    QCOMPARE(Read(Path("c.htm")), QByteArray("X\nlf page\n"));  // after the failures
    QCOMPARE(report.changed, 3);
    QCOMPARE(UndoLastRun(journal_).restored, 3);
    QCOMPARE(Read(Path("a.htm")), QByteArray("one foo\r\ntwo foo foo\r\n"));
  }

  // Lines of non-ASCII letters are not blank lines; a U+FEFF starting a line is text.
  void AppendKeepsNonAsciiLines_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("appended");
    QTest::addRow("windows-1251") << QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2 \xEC\xE8\xF0\r\n \r\n")
                                  << QByteArray(
                                         "\xCF\xF0\xE8\xE2\xE5\xF2 \xEC\xE8\xF0\r\n<p>end\r\n");
    QTest::addRow("utf-8") << QByteArray("\xD0\x9F\xD1\x80\xD0\xB8 \xE4\xB8\xAD\r\n \r\n")
                           << QByteArray("\xD0\x9F\xD1\x80\xD0\xB8 \xE4\xB8\xAD\r\n<p>end\r\n");
  }
  void AppendKeepsNonAsciiLines() {
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, appended);
    Write(Path("a.htm"), page);
    Run(BlockEditSteps({Path("a.htm")}, BlockMode::kAppend, {}, {"<p>end"}));
    QCOMPARE(Read(Path("a.htm")), appended);
  }

  void TidyKeepsAFeffThatStartsALine() {
    const QByteArray page("\xEF\xBB\xBF\xD0\x96\n\xEF\xBB\xBFx\n");
    Write(Path("a.htm"), page);
    Run(TidySteps({Path("a.htm")}));
    QCOMPARE(Read(Path("a.htm")), page);
  }

  // Pages with other names are rewritten in place: the journal must hold a copy, and
  // undo is checked against it.
  void UndoRestoresAPageWithOtherNames() {
    QVERIFY(::link(QFile::encodeName(Path("a.htm")), QFile::encodeName(Path("a2.htm"))) == 0);
    Run(ReplaceTextSteps({Path("a.htm")}, "foo", "X"));
    QCOMPARE(Read(Path("a2.htm")), QByteArray("one X\r\ntwo X foo\r\n"));
    const UndoReport undo = UndoLastRun(journal_);
    QCOMPARE(undo.restored, 1);
    QVERIFY(undo.failed.isEmpty());
    QCOMPARE(Read(Path("a2.htm")), QByteArray("one foo\r\ntwo foo foo\r\n"));
  }

  // A symbolic link stays a link: its target is written and restored.
  void SymbolicLinksAreFollowed() {
    QVERIFY(QDir(site_->path()).mkdir("real"));
    Write(Path("real/page.htm"), "foo\n");
    QVERIFY(QFile::link(Path("real/page.htm"), Path("link.htm")));
    Run(ReplaceTextSteps({Path("link.htm")}, "foo", "X"));
    QVERIFY(QFileInfo(Path("link.htm")).isSymLink());
    QCOMPARE(Read(Path("real/page.htm")), QByteArray("X\n"));
    QCOMPARE(UndoLastRun(journal_).restored, 1);
    QCOMPARE(Read(Path("real/page.htm")), QByteArray("foo\n"));
    QVERIFY(QFileInfo(Path("link.htm")).isSymLink());
  }

  // Writes wait to be flushed together, yet each step reads what the steps before it wrote,
  // under any of the file's names, and a run longer than one group writes every page.
  void LaterStepsSeeWhatEarlierStepsWrote_data() {
    QTest::addColumn<QString>("second");
    QTest::addRow("same name") << "a.htm";
    QTest::addRow("symbolic link") << "link.htm";
    QTest::addRow("second name") << "a2.htm";
    QTest::addRow("made by the run") << "new.htm";
  }
  void LaterStepsSeeWhatEarlierStepsWrote() {
    QFETCH(QString, second);
    QVERIFY(QFile::link(Path("a.htm"), Path("link.htm")));
    if (second == "a2.htm") {
      QVERIFY(::link(QFile::encodeName(Path("a.htm")), QFile::encodeName(Path("a2.htm"))) == 0);
    }
    const QString first = second == "new.htm" ? second : QString("a.htm");
    QList<BatchStep> steps;
    QStringList many;
    for (int i = 0; i < 300; ++i) {
      many.append(Path(QString("p%1.htm").arg(i)));
      Write(many.last(), "foo\n");
    }
    steps = ReplaceTextSteps(many, "foo", "X");
    if (first == "new.htm") {
      steps.append({QString(), Path(first), [](const QByteArray&, QString*) {
                      return std::optional<QByteArray>("made\r\n");
                    }});
    }
    steps += BlockEditSteps({Path(first), Path(second)}, BlockMode::kAppend, {}, {"<p>end"});
    const BatchReport report = Run(steps);
    QVERIFY(report.ok());
    const QByteArray start = first == "new.htm" ? "made\r\n" : "one foo\r\ntwo foo foo\r\n";
    QCOMPARE(Read(Path(second)), start + "<p>end\r\n<p>end\r\n");
    for (const QString& page : many) QCOMPARE(Read(page), QByteArray("X\n"));
    const UndoReport undo = UndoLastRun(journal_);
    QVERIFY(undo.failed.isEmpty() && undo.conflicts.isEmpty());
    QCOMPARE(Read(Path("a.htm")), QByteArray("one foo\r\ntwo foo foo\r\n"));
    QCOMPARE(QFileInfo::exists(Path("new.htm")), false);
    QCOMPARE(Read(many.last()), QByteArray("foo\n"));
  }

  // The journal names any page a folder may hold, and undo finds it by that name.
  void UndoFindsPagesOfAnyName_data() {
    QTest::addColumn<QString>("name");
    QTest::addRow("quote") << "a\"b.htm";
    QTest::addRow("backslash") << "a\\b\\.htm";
    QTest::addRow("control characters") << "a\nb\t\x01\x1f.htm";
    QTest::addRow("beyond ASCII") << u8"страница \U0001F600.htm";
  }
  void UndoFindsPagesOfAnyName() {
    QFETCH(QString, name);
    Write(Path(name), "foo\n");
    Run(ReplaceTextSteps({Path(name)}, "foo", "X"));
    QCOMPARE(Read(Path(name)), QByteArray("X\n"));
    QCOMPARE(UndoLastRun(journal_).restored, 1);
    QCOMPARE(Read(Path(name)), QByteArray("foo\n"));
  }

  // Paths typed relative to one folder are undone from another.
  void JournalRecordsAbsolutePaths() {
    const QString before = QDir::currentPath();
    QDir::setCurrent(site_->path());
    Run(ReplaceTextSteps({"a.htm"}, "foo", "X"));
    QDir::setCurrent(QDir::tempPath());
    const UndoReport undo = UndoLastRun(journal_);
    QDir::setCurrent(before);
    QCOMPARE(undo.restored, 1);
    QCOMPARE(Read(Path("a.htm")), QByteArray("one foo\r\ntwo foo foo\r\n"));
  }

  void UndoDryRunWritesNothing() {
    Run(ReplaceTextSteps(Files(), "foo", "X"));
    const UndoReport dry = UndoLastRun(journal_, QString(), true);
    QCOMPARE(dry.would_restore.size(), 3);
    QCOMPARE(Read(Path("a.htm")), QByteArray("one X\r\ntwo X foo\r\n"));
    QCOMPARE(UndoLastRun(journal_).restored, 3);
  }

  // A damaged entry is named, the rest goes back, the journal stays and the next undo goes
  // to the run before. A page still as before the run (a run killed before writing it) is
  // not a conflict.
  void OneBadRunDoesNotBlockOlderRuns() {
    Run(ReplaceTextSteps({Path("c.htm")}, "foo", "older"));
    Write(Path("b.htm"), "foo b\n");
    const BatchReport newer = Run(ReplaceTextSteps(Files(), "foo", "X"));
    QVERIFY(QFile::remove(newer.journal + "/0.orig"));           // a.htm's copy
    Write(Path("d.htm"), ReadBytes(newer.journal + "/2.orig"));  // never written
    const UndoReport undo = UndoLastRun(journal_);
    QCOMPARE(undo.failed.size(), 1);
    QVERIFY(undo.failed.first().startsWith(Path("a.htm")));
    // The journaled copy is gone: a read that failed, with its kind.
    QCOMPARE(undo.io_failures.size(), 1);
    QCOMPARE(undo.io_failures.first().error.kind, FileError::kMissing);
    QCOMPARE(undo.not_written, QStringList{Path("d.htm")});
    QCOMPARE(undo.restored, 1);
    QVERIFY(undo.kept);
    QVERIFY(QFileInfo::exists(newer.journal));
    QCOMPARE(UndoLastRun(journal_).restored, 1);  // the older run
    QCOMPARE(Read(Path("c.htm")), QByteArray("foo\nlf page\n"));
  }

  void JournalIsPrivate() {
    const BatchReport report = Run(BlockEditSteps({Path("a.htm")}, BlockMode::kAppend, {}, {"x"}));
    const auto group_or_other = QFileDevice::ReadGroup | QFileDevice::ReadOther |
                                QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                QFileDevice::ExeOther;
    for (const QString& path : {report.journal, report.journal + "/index.jsonl"}) {
      QVERIFY2(!(QFileInfo(path).permissions() & group_or_other), qPrintable(path));
    }
    const QStringList leftovers =
        QDir(site_->path()).entryList({".*.*"}, QDir::Files | QDir::Hidden);
    QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(' ')));
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
    // With no run left, undo removes nothing, not even the folder it was started in.
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(site_->path()));
    QVERIFY(UndoLastRun(journal_).nothing);
    QVERIFY(QFileInfo::exists(Path("a.htm")));
    QDir::setCurrent(before);
  }

  // Restored files get their times and permissions back (upload tools compare times), each
  // with the names it has then; an undone run cannot be undone again from any window.
  void UndoGivesBackTimes() {
    const QDateTime old = QDateTime::currentDateTime().addDays(-3);
    Touch(Path("a.htm"), old);
    const auto permissions =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QVERIFY(QFile::setPermissions(Path("a.htm"), permissions));
    const QByteArray c = Read(Path("c.htm"));
    const BatchReport report = Run(ReplaceTextSteps(Files(), "foo", "X"));
    QVERIFY(RunIsUndoable(report.journal));
    QVERIFY(::link(QFile::encodeName(Path("c.htm")), QFile::encodeName(Path("c2.htm"))) == 0);
    int told = 0;
    const UndoReport undo = UndoLastRun(journal_, QString(), false,
                                        [&](int, int, const QString&) { return ++told > 0; });
    QCOMPARE(undo.restored, 3);
    QVERIFY(told >= report.changed);
    QCOMPARE(QFileInfo(Path("a.htm")).lastModified(), old);
    // Owner, group and others; the "user" bits depend on who runs the test.
    QCOMPARE(QFileInfo(Path("a.htm")).permissions() & 0x7077, permissions);
    QCOMPARE(QFileInfo(Path("a.htm")).size(), qint64(22));
    QCOMPARE(Read(Path("c2.htm")), c);
    QVERIFY(!RunIsUndoable(report.journal));
    struct stat info {};
    QVERIFY(::stat(QFile::encodeName(Path("a.htm")).constData(), &info) == 0);
    QCOMPARE(int(info.st_nlink), 1);
  }

  // A write killed between naming its new file and renaming it over the page leaves that
  // file; the next run and an undo remove it, and only such files of ended processes.
  void LeftoversOfKilledWritesGo() {
    const QString dead = Path(".a.htm.brindlemark-999999999-k1lled");
    const QString dead_beside = Path(".c.htm.brindlemark-999999999-0000k1lledabc");
    const QString running = Path(QStringLiteral(".b.htm.brindlemark-%1-w0rkin").arg(::getppid()));
    const QString other = Path(".a.htm.keep");
    // A user's own file that only looks like one: the random part is not a writer's.
    const QString users = Path(".notes.brindlemark-999999-final");
    const QDateTime before = QDateTime::currentDateTime().addSecs(-60);
    for (const QString& path : {dead, dead_beside, running, other, users}) {
      Write(path, "new text");
      Touch(path, before);
    }
    Run(ReplaceTextSteps(Files(), "foo", "X"));
    QVERIFY(!QFileInfo::exists(dead));
    QVERIFY(!QFileInfo::exists(dead_beside));
    QVERIFY(QFileInfo::exists(running));
    QVERIFY(QFileInfo::exists(other));
    QVERIFY(QFileInfo::exists(users));
    Write(dead, "again");
    Touch(dead, before);
    UndoLastRun(journal_);
    QVERIFY(!QFileInfo::exists(dead));
  }

  void UndoRemovesNewFilesAndRenamesBack() {
    const BatchReport series = Run(SeriesSteps({.page = {"<p>", "x"},
                                                .line_index = 1,
                                                .first = 8,
                                                .last = 9,
                                                .before = "<img src=\"",
                                                .after = ".jpg\">",
                                                .folder = site_->path(),
                                                .base = "page"}));
    QCOMPARE(series.changed, 2);
    QCOMPARE(Read(Path("page0009.htm")), QByteArray("<p>\r\n<img src=\"0009.jpg\">\r\n"));
    QVERIFY(!UndoLastRun(journal_).nothing);
    QVERIFY(!QFileInfo::exists(Path("page0008.htm")));

    const QList<Rename> plan = RenamePlan({.folder = site_->path(),
                                           .names = {"a.htm", "b.htm"},
                                           .old_extension = "htm",
                                           .new_extension = "htm"});
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
#include "platform/file_write.h"
