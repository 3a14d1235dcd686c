#include <sys/resource.h>
#include <unistd.h>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>
#include <span>

#include "app/command_table.h"
#include "app/main_window.h"
#include "app/recovery_keeper.h"
#include "document/recovery.h"
#include "platform/text_format.h"
#include "support/test_app.h"
#include "support/window_fixture.h"

namespace {

// Cyrillic in a Windows-1251 page with CR LF.
const QByteArray kPage = "<p>a</p>\r\n";
const QString kTyped = QStringLiteral("Привет é ");

// A page in every encoding and line-end style the program opens, by file name.
const std::pair<const char*, QByteArray> kPages[] = {
    {"page.htm", kPage},
    {"utf8-lf.htm", "<meta charset=utf-8><p>\xC3\xA9</p>\n"},
    {"utf8-crlf.htm", "<p>\xD0\xAF</p>\r\n"},
    {"utf8-cr.htm", "<p>\xC3\xBC</p>\r"},
    {"utf8-bom.htm", "\xEF\xBB\xBF<p>a</p>\n"},
    {"latin1.htm", "<meta charset=iso-8859-1><p>\xE9</p>\n"},
    {"koi8.htm", "<meta charset=koi8-r><p>\xF0\xD2\xC9</p>\r\n"},
};

void TypeInto(CodeEditor* editor, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(editor, &press);
  }
}

QString StateFolder() { return qEnvironmentVariable("XDG_STATE_HOME"); }

QStringList CopiesIn(const QString& root) {
  QStringList copies;
  for (const QString& folder : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    for (const QString& file : QDir(root + u'/' + folder).entryList(QDir::Files)) {
      copies << folder + u'/' + file;
    }
  }
  return copies;
}

// The program in a process of its own: types into every page and into a new tab, writes the
// bytes a save would write beside each (as NAME.expected), says "ready" once the copies are on
// disk, and waits to be killed.
int TypeThenWait(const QString& folder) {
  FakeDesktop desktop;
  std::unique_ptr<Application> app = StartApplication(desktop, folder, folder + "/page.htm");
  MainWindow& main = app->Main();
  for (const auto& [name, bytes] : std::span(kPages).subspan(1)) {
    main.OpenInNewTab(folder + u'/' + QLatin1String(name));
  }
  main.Commands().Run(Command::kNewTab);
  for (int page = 0; page < main.PageCount(); ++page) {
    main.ShowPageAt(page);  // the page left has its copy due
    TypeInto(main.EditorWidget(), kTyped);
    const QString name = main.Session().FileName() == main.Session().UntitledName()
                             ? QStringLiteral("untitled.htm")
                             : QFileInfo(main.Session().FileName()).fileName();
    QFile expected(folder + u'/' + name + QStringLiteral(".expected"));
    if (!expected.open(QIODevice::WriteOnly)) return 1;
    expected.write(FileBytes(main.Editor().Buffer(), main.Session().Format()));
  }
  app->Recovery().FlushDue();
  app->Recovery().WaitIdle();
  std::puts("ready");
  std::fflush(stdout);
  return QApplication::exec();
}

}  // namespace

// Recovery copies and the recovery window, over real files and a real killed process.
class RecoveryTest : public WindowTest {
  Q_OBJECT

 public:
  RecoveryTest() : WindowTest(Launch::kByTest) {}

 private slots:
  void KilledProgramsTypingIsRestored();
  void CopyGoesWhenThePageHasNoUnsavedEdits_data();
  void CopyGoesWhenThePageHasNoUnsavedEdits();
  void SecondProgramLeavesTheFirstOnesCopies();
  void UnwritableFolderGivesOneNote();
  void DamagedCopyIsListedButNeverOpened();
  void FileChangedSinceAsksBeforeTheSave();
  void RestoreNeverSkipsARowSilently();
  void OldCopyStaysUntilItsReplacementIsWhole();
  void StartReadsHeadersOnly();
  void DiscardNeverLeavesTheRecoveryFolder();
  void ReadOnlyFolderStillOffersItsCopies();

 private:
  void Prepare() override {
    for (const auto& [name, bytes] : kPages) Write(name, bytes);
  }
  // A copy of a program that ended without quitting: its folder has no lock.
  void LeaveOrphan(const QByteArray& stored);
};

void RecoveryTest::KilledProgramsTypingIsRestored() {
  QProcess child;
  child.start(QCoreApplication::applicationFilePath(), {"--type-then-wait", dir_->path()});
  QVERIFY(child.waitForStarted());
  QByteArray said;
  QTRY_VERIFY_WITH_TIMEOUT((said += child.readAllStandardOutput()).contains("ready"), 60000);
  child.kill();  // SIGKILL: nothing of the program's own runs
  QVERIFY(child.waitForFinished());
  const int pages = int(std::size(kPages)) + 1;
  QCOMPARE(CopiesIn(StateFolder() + "/brindlemark/recovery").size(), pages);

  desktop_->modal_scripts.push_back([pages](QDialog* window) {
    QCOMPARE(window->objectName(), QString("RecoveryWindow"));
    auto* rows = window->findChild<QTreeWidget*>("RecoveryList");
    QCOMPARE(rows->topLevelItemCount(), pages);
    for (int row = 0; row < pages; ++row) QCOMPARE(rows->topLevelItem(row)->text(4), QString());
    window->findChild<QPushButton*>("Restore")->click();
  });
  StartProgram();
  QCOMPARE(desktop_->modal_windows, QStringList{"RecoveryWindow"});
  QCOMPARE(Main().PageCount(), pages);
  for (int page = 0; page < pages; ++page) {
    Main().ShowPageAt(page);
    QVERIFY(Main().Session().Modified());
    const bool untitled = Main().Session().FileName() == Main().Session().UntitledName();
    const QString name =
        untitled ? "untitled.htm" : QFileInfo(Main().Session().FileName()).fileName();
    if (untitled) desktop_->save_answers.push_back(Desktop::FileChoice{Path(name), 1});
    QVERIFY(Main().Session().SaveDocument());
    QCOMPARE(Read(name), Read(name + ".expected"));
  }
  QCOMPARE(Read("page.htm"), QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2 &#233; <p>a</p>\r\n"));
  QCOMPARE(Read("utf8-cr.htm"), QByteArray("Привет é <p>\xC3\xBC</p>\r"));
  app_->Recovery().WaitIdle();
  QVERIFY(CopiesIn(StateFolder() + "/brindlemark/recovery").isEmpty());
}

void RecoveryTest::CopyGoesWhenThePageHasNoUnsavedEdits_data() {
  QTest::addColumn<QString>("how");
  QTest::addRow("saved") << "save";
  QTest::addRow("No in the close prompt") << "close";
  QTest::addRow("undone") << "undo";
  QTest::addRow("normal quit") << "quit";
}

void RecoveryTest::CopyGoesWhenThePageHasNoUnsavedEdits() {
  QFETCH(QString, how);
  StartProgram(Path("page.htm"));
  TypeInto(Editor(), "x");
  app_->Recovery().FlushDue();
  app_->Recovery().WaitIdle();
  const QStringList copies = CopiesIn(StateFolder() + "/brindlemark/recovery");
  QCOMPARE(copies.size(), 1);
  const QString file = StateFolder() + "/brindlemark/recovery/" + copies.first();
  const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                    QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
  QCOMPARE(QFile::permissions(file) & others, QFile::Permissions());
  if (how == "save") QVERIFY(Main().Session().SaveDocument());
  if (how == "undo") Main().Commands().Run(Command::kUndo);
  if (how == "close" || how == "quit") {
    desktop_->modal_scripts.push_back(FakeDesktop::Press("BitBtn2"));
  }
  if (how == "close") Main().Commands().Run(Command::kClosePage);
  if (how == "quit") QVERIFY(Main().close());
  app_->Recovery().WaitIdle();
  QVERIFY(!QFile::exists(file));
  if (how == "quit") QVERIFY(QDir(StateFolder() + "/brindlemark/recovery").isEmpty());
}

void RecoveryTest::SecondProgramLeavesTheFirstOnesCopies() {
  StartProgram(Path("page.htm"));
  TypeInto(Editor(), "x");
  app_->Recovery().FlushDue();
  app_->Recovery().WaitIdle();
  FakeDesktop second_desktop;
  {
    std::unique_ptr<Application> second = StartApplication(second_desktop, dir_->path());
    QVERIFY(second_desktop.modal_windows.isEmpty());
  }
  QCOMPARE(CopiesIn(StateFolder() + "/brindlemark/recovery").size(), 1);
}

void RecoveryTest::UnwritableFolderGivesOneNote() {
  Write("state/brindlemark", "a file where the folder should be");
  StartProgram(Path("page.htm"));
  QVERIFY(Main().findChild<QLabel*>("NotePanel")->text().contains("cannot be kept"));
  TypeInto(Editor(), "x");
  QCOMPARE(Main().Editor().Text(), QString("x<p>a</p>\n"));
  QVERIFY(Main().Session().SaveDocument());
}

void RecoveryTest::LeaveOrphan(const QByteArray& stored) {
  Write("state/brindlemark/recovery/1-dead/page-0.copy", stored);
}

void RecoveryTest::DamagedCopyIsListedButNeverOpened() {
  RecoveryCopy copy;
  copy.path = Path("page.htm");
  copy.bytes = "whole text";
  LeaveOrphan(copy.Encoded().chopped(3));  // cut short
  desktop_->modal_scripts.push_back([](QDialog* window) {
    QTreeWidgetItem* row = window->findChild<QTreeWidget*>("RecoveryList")->topLevelItem(0);
    QVERIFY(row->text(4).contains("unreadable"));
    window->findChild<QPushButton*>("Restore")->click();
  });
  StartProgram();
  QCOMPARE(desktop_->modal_windows, QStringList{"RecoveryWindow"});
  QCOMPARE(Main().PageCount(), 1);
  QVERIFY(!Main().Session().Modified());
  // Kept for the user to look at or discard; offered again at the next start.
  QVERIFY(QFile::exists(Path("state/brindlemark/recovery/1-dead/page-0.copy")));
}

void RecoveryTest::FileChangedSinceAsksBeforeTheSave() {
  RecoveryCopy copy;
  copy.path = Path("page.htm");
  copy.disk = StampOf(copy.path);
  copy.bytes = "recovered\r\n";
  LeaveOrphan(copy.Encoded());
  Write("page.htm", "saved by another program\r\n");
  desktop_->modal_scripts.push_back([](QDialog* window) {
    QTreeWidgetItem* row = window->findChild<QTreeWidget*>("RecoveryList")->topLevelItem(0);
    QVERIFY(row->text(4).contains("changed on disk"));
    window->findChild<QPushButton*>("Restore")->click();
  });
  StartProgram();
  QCOMPARE(Main().Session().FileName(), Path("page.htm"));
  QCOMPARE(Main().Editor().Text(), QString("recovered\n"));
  QVERIFY(Main().Session().Modified());
  QCOMPARE(Read("page.htm"), QByteArray("saved by another program\r\n"));
  desktop_->yes_no_answers.push_back(true);
  QVERIFY(Main().Session().SaveDocument());
  QCOMPARE(desktop_->questions.size(), 1);
  QCOMPARE(Read("page.htm"), QByteArray("recovered\r\n"));
}

void RecoveryTest::RestoreNeverSkipsARowSilently() {
  RecoveryCopy copy;
  copy.path = Path("page.htm");
  copy.format.encoding = TextEncoding::kUtf8;
  copy.bytes = "restored\n";
  LeaveOrphan(copy.Encoded());
  Write("state/brindlemark/recovery/1-dead/page-1.copy", copy.Encoded().chopped(2));
  desktop_->modal_scripts.push_back([](QDialog* window) {
    auto* rows = window->findChild<QTreeWidget*>("RecoveryList");
    QCOMPARE(rows->topLevelItemCount(), 2);
    window->findChild<QPushButton*>("Restore")->click();
  });
  StartProgram();
  QCOMPARE(desktop_->messages.size(), 1);
  QVERIFY(desktop_->messages.first().contains("page-1.copy: unreadable: cut short"));
  QCOMPARE(Main().Editor().Text(), QString("restored\n"));
  QCOMPARE(Main().Session().Format().encoding, TextEncoding::kUtf8);
  QVERIFY(!QFile::exists(Path("state/brindlemark/recovery/1-dead/page-0.copy")));
  QVERIFY(QFile::exists(Path("state/brindlemark/recovery/1-dead/page-1.copy")));
}

void RecoveryTest::OldCopyStaysUntilItsReplacementIsWhole() {
  RecoveryCopy copy;
  copy.path = Path("page.htm");
  copy.bytes = "only here\r\n";
  LeaveOrphan(copy.Encoded());
  desktop_->modal_scripts.push_back([this](QDialog* window) {
    // The disk is full, as far as this program's own copies go.
    const QString root = StateFolder() + "/brindlemark/recovery";
    for (const QString& own : QDir(root).entryList(
             {QString::number(QCoreApplication::applicationPid()) + "-*"}, QDir::Dirs)) {
      for (int page = 0; page < 4; ++page)
        QDir(root + u'/' + own).mkpath(QString("page-%1.copy").arg(page));
    }
    window->findChild<QPushButton*>("Restore")->click();
  });
  StartProgram();
  QCOMPARE(Main().Editor().Text(), QString("only here\n"));
  QVERIFY(QFile::exists(Path("state/brindlemark/recovery/1-dead/page-0.copy")));
}

void RecoveryTest::StartReadsHeadersOnly() {
  // A foreign file of 400 MiB (sparse) and a copy naming a device that never ends.
  QFile big(Path("state/brindlemark/recovery/1-dead/notes.bin"));
  QVERIFY(QDir().mkpath(Path("state/brindlemark/recovery/1-dead")));
  QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(400LL << 20));
  big.close();
  RecoveryCopy copy;
  copy.path = "/dev/zero";
  copy.disk = {true, 0, 1, 1, 1};
  copy.disk_md5 = "0123";
  copy.bytes = "text\r\n";
  LeaveOrphan(copy.Encoded());
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  desktop_->modal_scripts.push_back([](QDialog* window) {
    QCOMPARE(window->findChild<QTreeWidget*>("RecoveryList")->topLevelItemCount(), 2);
    window->reject();
  });
  StartProgram();
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  QVERIFY2(after.ru_maxrss - before.ru_maxrss < 100 * 1024, "the foreign file was read whole");
}

void RecoveryTest::DiscardNeverLeavesTheRecoveryFolder() {
  Write("outside/page-0.copy", "a file of the user's");
  Write("outside/notes.txt", "another");
  QVERIFY(QDir().mkpath(Path("state/brindlemark/recovery/2-dead")));
  QVERIFY(QFile::link(Path("outside"), Path("state/brindlemark/recovery/1-dead")));
  QVERIFY(QFile::link(Path("outside/notes.txt"),
                      Path("state/brindlemark/recovery/2-dead/page-0.copy")));
  Write("state/brindlemark/recovery/2-dead/foreign.txt", "not a copy");
  desktop_->yes_no_answers.push_back(true);
  desktop_->modal_scripts.push_back([](QDialog* window) {
    // The linked folder and the link to a file are not listed at all.
    auto* rows = window->findChild<QTreeWidget*>("RecoveryList");
    QCOMPARE(rows->topLevelItemCount(), 1);
    rows->selectAll();
    window->findChild<QPushButton*>("Discard")->click();
    window->reject();
  });
  StartProgram();
  QCOMPARE(Read("outside/page-0.copy"), QByteArray("a file of the user's"));
  QCOMPARE(Read("outside/notes.txt"), QByteArray("another"));
  QVERIFY(QFile::exists(Path("state/brindlemark/recovery/2-dead/foreign.txt")));
}

void RecoveryTest::ReadOnlyFolderStillOffersItsCopies() {
  if (geteuid() == 0) QSKIP("file permissions do not stop root");
  RecoveryCopy copy;
  copy.path = Path("page.htm");
  copy.bytes = "kept\r\n";
  LeaveOrphan(copy.Encoded());
  const QString root = Path("state/brindlemark/recovery");
  QVERIFY(QFile::setPermissions(root, QFile::ReadOwner | QFile::ExeOwner));
  desktop_->modal_scripts.push_back(FakeDesktop::Press("Restore"));
  StartProgram();
  QCOMPARE(Main().Editor().Text(), QString("kept\n"));
  QVERIFY(QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  QVERIFY(QFile::exists(root + "/1-dead/page-0.copy"));
}

int main(int argc, char* argv[]) {
  RecoveryTest::initMain();
  QApplication app(argc, argv);
  if (argc == 3 && QByteArray(argv[1]) == "--type-then-wait") {
    return TypeThenWait(QString::fromLocal8Bit(argv[2]));
  }
  RecoveryTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "platform/file_write.h"
#include "recovery_test.moc"
