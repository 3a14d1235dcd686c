#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>

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
const QString kTyped = QStringLiteral("Привет ");

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

// The program in a process of its own: types into the page and into a new tab, writes the
// bytes a save would write beside them, says "ready" once the copies are on disk, and waits
// to be killed.
int TypeThenWait(const QString& folder) {
  FakeDesktop desktop;
  std::unique_ptr<Application> app = StartApplication(desktop, folder, folder + "/page.htm");
  MainWindow& main = app->Main();
  for (int page = 0; page < 2; ++page) {
    if (page == 1) main.RunCommand(Command::kNewTab);
    TypeInto(main.EditorWidget(), kTyped);
    QFile expected(folder + QStringLiteral("/expected-%1").arg(page));
    if (!expected.open(QIODevice::WriteOnly)) return 1;
    expected.write(FileBytes(main.Editor().Buffer(), main.DocumentFormat()));
  }
  app->Recovery().FlushDue();
  main.ShowPageAt(0);  // the other page's copy is due on leaving it
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

 private:
  void Prepare() override { Write("page.htm", kPage); }
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
  QCOMPARE(CopiesIn(StateFolder() + "/brindlemark/recovery").size(), 2);

  desktop_->modal_scripts.push_back([](QDialog* window) {
    QCOMPARE(window->objectName(), QString("RecoveryWindow"));
    QCOMPARE(window->findChild<QTreeWidget*>("RecoveryList")->topLevelItemCount(), 2);
    window->findChild<QPushButton*>("Restore")->click();
  });
  StartProgram();
  QCOMPARE(desktop_->modal_windows, QStringList{"RecoveryWindow"});
  QCOMPARE(Main().PageCount(), 2);
  for (int page = 0; page < 2; ++page) {
    Main().ShowPageAt(page);
    QVERIFY(Main().Modified());
    const bool untitled = Main().FileName() == Main().UntitledName();
    if (untitled) desktop_->save_answers.push_back(Desktop::FileChoice{Path("new.htm"), 1});
    QVERIFY(Main().SaveDocument());
    QCOMPARE(Read(untitled ? "new.htm" : "page.htm"), Read(untitled ? "expected-1" : "expected-0"));
  }
  QCOMPARE(Read("page.htm"), QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2 <p>a</p>\r\n"));
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
  if (how == "save") QVERIFY(Main().SaveDocument());
  if (how == "undo") Main().RunCommand(Command::kUndo);
  if (how == "close" || how == "quit") {
    desktop_->modal_scripts.push_back(FakeDesktop::Press("BitBtn2"));
  }
  if (how == "close") Main().RunCommand(Command::kClosePage);
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
  QVERIFY(Main().SaveDocument());
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
  QVERIFY(!Main().Modified());
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
  QCOMPARE(Main().FileName(), Path("page.htm"));
  QCOMPARE(Main().Editor().Text(), QString("recovered\n"));
  QVERIFY(Main().Modified());
  QCOMPARE(Read("page.htm"), QByteArray("saved by another program\r\n"));
  desktop_->yes_no_answers.push_back(true);
  QVERIFY(Main().SaveDocument());
  QCOMPARE(desktop_->questions.size(), 1);
  QCOMPARE(Read("page.htm"), QByteArray("recovered\r\n"));
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

#include "recovery_test.moc"
