#include <sys/resource.h>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <csignal>
#include <memory>

#include "app/application.h"
#include "app/command_table.h"
#include "app/file_panel.h"
#include "app/main_window.h"
#include "editor/code_editor.h"
#include "names/window_names.h"
#include "platform/recent_files.h"
#include "settings/language.h"
#include "settings/language_applier.h"
#include "settings/preview_window.h"
#include "support/fake_desktop.h"
#include "support/window_fixture.h"

// Document flows at window level: real files, the scripted desktop, the real editor.
class DocumentsTest : public WindowTest {
  Q_OBJECT

 public:
  DocumentsTest() : WindowTest(Launch::kByTest) {}

 private slots:

  void StartsWithANewPage();
  void EveryNamedWindowAndControlExists();
  void EveryWindowCommandOpensItsWindow();
  void StartsWithTheCommandLineFile();
  void StartsWithANewPageWhenTheCommandLineFileFails();
  void OpenEditSaveGivesExpectedBytes();
  void UneditedOpenAndSaveGivesTheSameBytes_data();
  void UneditedOpenAndSaveGivesTheSameBytes();
  void CompletesTheExtensionByFilter_data();
  void CompletesTheExtensionByFilter();
  void DialogsAndBatchWindowsStartBesideThePage();
  void ReportsAFileThatCannotBeOpened_data();
  void ReportsAFileThatCannotBeOpened();
  void KeepsRecentFilesInOrder();
  void AnswersThePrompt_data();
  void AnswersThePrompt();
  void SaveAsCompletesTheName_data();
  void SaveAsCompletesTheName();
  void FailedSaveKeepsFlagsAndFile();
  void FailedSaveAsKeepsNameAndFlags();
  void WritesOutsideCharactersAsReferences();
  void HidesAndShowsTheFilePanel();
  void ShowsTheSelectedFileSize();
  void OpensFromTheFilePanel();
  void ClosingAsksAboutChanges();
  void SavePromptNamesThePage();
  void DeletesOnlyItsOwnScratchFiles();
  void OpensAFiftyMegabyteFile();
  void ReadOnlyPageOffersSaveAs();
  void PageChangedOnDisk();
  void ConvertingTheEncodingRewritesTheDeclaration();
  void ReopeningWithAnotherEncoding();

 private:
  void Prepare() override;
  void Start(const QString& argument = QString());
  void TypeIntoEditor(const QString& text);
  QAction* MenuItem(const QString& name) const;
};

void DocumentsTest::Prepare() {
  // Made, not started: each test starts it with its own command line.
  app_ = std::make_unique<Application>(*desktop_, AppPaths::InFolder(dir_->path()));
}

void DocumentsTest::Start(const QString& argument) {
  app_->Start(argument);
  QVERIFY(QTest::qWaitForWindowActive(&app_->Main()));
}

void DocumentsTest::TypeIntoEditor(const QString& text) {
  CodeEditor* editor = app_->Main().EditorWidget();
  editor->setFocus();
  // Key events carry the text, so letters outside Latin-1 type as well.
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(editor, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(editor, &release);
  }
}

QAction* DocumentsTest::MenuItem(const QString& name) const {
  return app_->Main().findChild<QAction*>(name);
}

void DocumentsTest::StartsWithANewPage() {
  Start();
  MainWindow& main = app_->Main();
  QCOMPARE(main.windowTitle(), QString("Brindlemark : Untitled"));
  QCOMPARE(main.Editor().LineCount(), 8);
  QCOMPARE(main.Editor().Line(0), QString("<html>"));
  QCOMPARE(main.StatusPanel(0), QString());
  QVERIFY(!main.Session().Modified());
  QVERIFY(!main.Session().Saved());
  // The first start creates the store with four empty entries.
  QCOMPARE(RecentFilesStore().Load(), QStringList(4, QString()));
  QCOMPARE(MenuItem("N66")->text(), QString());
  QVERIFY(!MenuItem("N66")->isVisible());  // empty slots are not offered
}

// The names the command table and the language files use are the ones the program builds.
void DocumentsTest::EveryNamedWindowAndControlExists() {
  Start();
  QStringList names;
  for (QWidget* window : app_->Windows()) names << window->objectName();
  QStringList expected;
  for (QStringView name : window_name::kAll) expected << name.toString();
  QCOMPARE(names, expected);
  MainWindow& main = app_->Main();
  QCOMPARE(main.Commands().NotBoundOnce(), QList<Command>());
  for (const CommandRow& row : CommandRows()) {
    QVERIFY(row.button.isEmpty() || main.Commands().ButtonOf(row.command) != nullptr);
    QVERIFY(row.menu_item.isEmpty() || main.Commands().MenuItemOf(row.command) != nullptr);
    QVERIFY(row.action.isEmpty() || main.findChild<QAction*>(row.action.toString()) != nullptr);
  }
  for (const LanguageStep& step : LanguageSteps()) {
    const QString control = QString::fromUtf16(step.control);
    if (control.isEmpty()) continue;
    QWidget* window = app_->Window(step.window.toString());
    const bool found = step.target == TextTarget::kMenu
                           ? main.Commands().MenuItem(control) != nullptr
                           : FindControl(window, control) != nullptr;
    QVERIFY2(found, qPrintable(step.window.toString() + "/" + control));
  }
}

// Each command that opens a window, run from its own control, shows it (a modal one through
// the desktop); every tool button has a picture.
void DocumentsTest::EveryWindowCommandOpensItsWindow() {
  Write("page.htm", "<p>");
  QVERIFY(QDir().mkpath(AppPaths::InFolder(dir_->path()).ManualFolder()));
  Write(AppPaths::InFolder(dir_->path()).ManualFolder() + "/index.html", "<p>manual");
  Start(Path("page.htm"));
  MainWindow& main = app_->Main();
  for (const CommandRow& row : CommandRows()) {
    const QByteArray what = row.button.toLatin1() + row.menu_item.toLatin1() +
                            row.action.toLatin1() + row.popup_item.toLatin1();
    if (!row.button.isEmpty())
      QVERIFY2(!main.Commands().ButtonOf(row.command)->icon().isNull(), what);
    if (row.window.isEmpty()) continue;
    QWidget* window = app_->Window(row.window.toString());
    window->hide();
    desktop_->modal_windows.clear();
    main.Editor().LoadText("<p>\n<,,pattern,,>");  // a template: saving one opens its window
    if (QToolButton* button = main.Commands().ButtonOf(row.command)) {
      button->click();
    } else if (QAction* item = main.Commands().MenuItemOf(row.command)) {
      item->trigger();
    } else if (!row.action.isEmpty()) {
      main.findChild<QAction*>(row.action.toString())->trigger();
    } else {
      main.PopupMenu()->findChild<QAction*>(row.popup_item.toString())->trigger();
    }
    QTRY_VERIFY2(window->isVisible() || desktop_->modal_windows.contains(window->objectName()),
                 what);
    window->hide();
  }
}

void DocumentsTest::StartsWithTheCommandLineFile() {
  RecentFilesStore().Push("/earlier.htm");
  app_ = std::make_unique<Application>(*desktop_, AppPaths::InFolder(dir_->path()));
  Write("start page.htm", "\xCF\xF0\xE8\xE2\xE5\xF2\r\n");  // "Привет"
  Start(Path("start page.htm"));
  MainWindow& main = app_->Main();
  QCOMPARE(main.Editor().Line(0), QString("Привет"));
  QCOMPARE(main.windowTitle(), "Brindlemark : " + Path("start page.htm"));
  QCOMPARE(RecentFilesStore().Load().constFirst(), Path("start page.htm"));
  QCOMPARE(MenuItem("N66")->text(), QString("/earlier.htm"));
  QVERIFY(!main.Session().Modified());
  QVERIFY(desktop_->errors.isEmpty());
}

void DocumentsTest::StartsWithANewPageWhenTheCommandLineFileFails() {
  Start(Path("no such file.htm"));
  MainWindow& main = app_->Main();
  QCOMPARE(desktop_->errors.size(), 1);
  QVERIFY(desktop_->errors.constFirst().contains(Path("no such file.htm")));
  QCOMPARE(main.Editor().LineCount(), 8);
  QCOMPARE(main.windowTitle(), QString("Brindlemark : Untitled"));
  QCOMPARE(RecentFilesStore().Load().constFirst(), QString());
  QVERIFY(!main.Session().Modified());
}

void DocumentsTest::OpenEditSaveGivesExpectedBytes() {
  Write("page.htm", "<p>\xC0\xE1\r\nline two\r\n");
  Start();
  MainWindow& main = app_->Main();
  desktop_->open_answers.push_back(Desktop::FileChoice{Path("page.htm"), 1});
  QTest::keyClick(main.EditorWidget(), Qt::Key_O, Qt::ControlModifier);
  QCOMPARE(main.Session().FileName(), Path("page.htm"));
  QCOMPARE(main.Session().CurrentFolder(), dir_->path() + "/");
  QCOMPARE(main.Files()->Folder(), dir_->path());
  QVERIFY(!main.Session().Modified());

  main.EditorWidget()->setCursorPosition(0, 0);
  TypeIntoEditor("Ё");
  QVERIFY(main.Session().Modified());
  QCOMPARE(main.StatusPanel(0), QString("*"));
  QTest::keyClick(main.EditorWidget(), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(Read("page.htm"), QByteArray("\xA8<p>\xC0\xE1\r\nline two\r\n"));
  QVERIFY(!main.Session().Modified());
  QVERIFY(main.Session().Saved());
  QCOMPARE(main.StatusPanel(0), QString());
  QCOMPARE(desktop_->save_dialogs, 0);
}

void DocumentsTest::UneditedOpenAndSaveGivesTheSameBytes_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QByteArray>("saved");
  QTest::addRow("crlf with final break") << QByteArray("a\r\nb\r\n") << QByteArray("a\r\nb\r\n");
  QTest::addRow("no final break") << QByteArray("a\r\nb") << QByteArray("a\r\nb");
  QTest::addRow("empty file") << QByteArray() << QByteArray();
  QTest::addRow("nul bytes") << QByteArray("a\0b\r\n\0", 6) << QByteArray("a\0b\r\n\0", 6);
  QTest::addRow("cr kept") << QByteArray("a\rb") << QByteArray("a\rb");
  QTest::addRow("lf kept") << QByteArray("a\nb\n") << QByteArray("a\nb\n");
  QTest::addRow("mixed line ends kept") << QByteArray("a\nb\rc\r\nd") << QByteArray("a\nb\rc\r\nd");
  QTest::addRow("utf-8 with bom kept")
      << QByteArray("\xEF\xBB\xBF\xD0\xAF\n") << QByteArray("\xEF\xBB\xBF\xD0\xAF\n");
  QTest::addRow("utf-8 chinese kept")
      << QByteArray("\xE4\xB8\xAD\r\n") << QByteArray("\xE4\xB8\xAD\r\n");
  QTest::addRow("non-breaking space and 0x98")
      << QByteArray("\xA0\x98\xFF") << QByteArray("\xA0\x98\xFF");
  QTest::addRow("one megabyte line") << QByteArray(1 << 20, 'w') << QByteArray(1 << 20, 'w');
  QTest::addRow("bom before bytes that are not utf-8")
      << QByteArray("\xEF\xBB\xBF\xC0\xE1\r\n") << QByteArray("\xEF\xBB\xBF\xC0\xE1\r\n");
  QTest::addRow("second bom is text") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF\xD0\xAF\n")
                                      << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF\xD0\xAF\n");
  QTest::addRow("paragraph separator and frame noncharacters")
      << QByteArray(
             "a\xE2\x80\xA9"
             "b\xEF\xB7\x90\xEF\xB7\x91\xEF\xA3\xBF\n")
      << QByteArray(
             "a\xE2\x80\xA9"
             "b\xEF\xB7\x90\xEF\xB7\x91\xEF\xA3\xBF\n");
  // Any bytes at all: a fixed seed, so a failure repeats.
  QRandomGenerator random(20261208);
  for (int i = 0; i < 12; ++i) {
    QByteArray bytes(static_cast<qsizetype>(random.bounded(1, 400)), Qt::Uninitialized);
    for (char& c : bytes) c = static_cast<char>(random.bounded(256));
    if (i % 3 == 0) bytes.prepend("\xEF\xBB\xBF");
    QTest::addRow("random bytes %d", i) << bytes << bytes;
  }
  QTest::addRow("line separator and noncharacter")
      << QByteArray("\xE2\x80\xA8 \xEF\xB7\xAF\n") << QByteArray("\xE2\x80\xA8 \xEF\xB7\xAF\n");
}

void DocumentsTest::UneditedOpenAndSaveGivesTheSameBytes() {
  QFETCH(QByteArray, bytes);
  QFETCH(QByteArray, saved);
  Write("мой сайт страница.htm", bytes);
  Start(Path("мой сайт страница.htm"));
  QVERIFY(app_->Main().Session().SaveDocument());
  QCOMPARE(Read("мой сайт страница.htm"), saved);
}

void DocumentsTest::CompletesTheExtensionByFilter_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("filter");
  QTest::addColumn<QString>("opened");
  QTest::addRow("txt filter") << "web/page" << 3 << "web/page.txt";
  QTest::addRow("htm filter") << "web/page" << 1 << "web/page.htm";
  QTest::addRow("hsp filter gives htm") << "web/page" << 2 << "web/page.htm";
  QTest::addRow("dot in a folder name") << "web.old/page" << 3 << "web.old/page";
}

void DocumentsTest::DialogsAndBatchWindowsStartBesideThePage() {
  Write("site/a.htm", "a");
  Write("other/b.htm", "b");
  Start(Path("site/a.htm"));
  desktop_->open_answers.push_back(Desktop::FileChoice{Path("other/b.htm"), 1});
  app_->Main().OpenDocument(DocumentSession::Source::kDialog);
  QCOMPARE(desktop_->dialog_starts.last(), Path("site/a.htm"));
  // The Open dialog starts beside the page shown now, not where the last one came from.
  app_->Main().OpenDocument(DocumentSession::Source::kDialog);
  QCOMPARE(desktop_->dialog_starts.last(), Path("other/b.htm"));
  // From an untitled page, a batch window starts in the folder of the last page opened.
  app_->Main().Commands().Run(Command::kNewTab);
  app_->Main().Commands().Run(Command::kBatchReplace);
  QWidget* replace = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->objectName() == window_name::kBatchReplace) replace = top;
  }
  QVERIFY(replace != nullptr && replace->isVisible());
  QCOMPARE(replace->findChild<QWidget*>("DirectoryListBox1")->property("folder").toString(),
           Path("other"));
}

void DocumentsTest::CompletesTheExtensionByFilter() {
  QFETCH(QString, typed);
  QFETCH(int, filter);
  QFETCH(QString, opened);
  // The temporary folder's own name may hold a dot; use a relative path from there.
  QDir::setCurrent(dir_->path());
  QDir().mkpath("web");
  QDir().mkpath("web.old");
  Write(opened, "found");
  Start();
  desktop_->open_answers.push_back(Desktop::FileChoice{typed, filter});
  app_->Main().OpenDocument(DocumentSession::Source::kDialog);
  QVERIFY2(desktop_->messages.isEmpty(), qPrintable(desktop_->messages.join('\n')));
  QCOMPARE(app_->Main().Session().FileName(), Path(opened));  // kept absolute
  QCOMPARE(app_->Main().Editor().Text(), QString("found"));
}

void DocumentsTest::ReportsAFileThatCannotBeOpened_data() {
  QTest::addColumn<QString>("name");
  QTest::addRow("missing") << "missing.htm";
  QTest::addRow("a folder") << "folder.htm";
}

void DocumentsTest::ReportsAFileThatCannotBeOpened() {
  QFETCH(QString, name);
  QDir(dir_->path()).mkdir("folder.htm");
  Start();
  desktop_->open_answers.push_back(Desktop::FileChoice{Path(name), 1});
  app_->Main().OpenDocument(DocumentSession::Source::kDialog);
  QCOMPARE(desktop_->messages, QStringList{"Error opening the file " + Path(name) + "."});
  QCOMPARE(RecentFilesStore().Load(), QStringList(4, QString()));
}

void DocumentsTest::KeepsRecentFilesInOrder() {
  Start();
  MainWindow& main = app_->Main();
  for (const char* name : {"1.htm", "2.htm", "3.htm", "4.htm"}) {
    Write(name, name);
    desktop_->open_answers.push_back(Desktop::FileChoice{Path(name), 1});
    main.OpenDocument(DocumentSession::Source::kDialog);
  }
  const QStringList before{Path("4.htm"), Path("3.htm"), Path("2.htm"), Path("1.htm")};
  QCOMPARE(RecentFilesStore().Load(), before);
  QCOMPARE(MenuItem("N68")->data().toString(), Path("2.htm"));

  MenuItem("N68")->trigger();  // recent item 3
  QCOMPARE(main.Session().FileName(), Path("2.htm"));
  const QStringList after{Path("2.htm"), Path("4.htm"), Path("3.htm"), Path("1.htm")};
  QCOMPARE(RecentFilesStore().Load(), after);
  for (int i = 0; i < 4; ++i) {
    QCOMPARE(MenuItem(QString("N6%1").arg(6 + i))->data().toString(), after[i]);
  }

  // Across a restart the menu shows the same order.
  app_ = std::make_unique<Application>(*desktop_, AppPaths::InFolder(dir_->path()));
  QCOMPARE(MenuItem("N66")->data().toString(), Path("2.htm"));
  QCOMPARE(MenuItem("N69")->data().toString(), Path("1.htm"));
}

void DocumentsTest::AnswersThePrompt_data() {
  QTest::addColumn<QString>("button");  // empty: closed by its frame
  QTest::addColumn<bool>("titled");
  QTest::addColumn<bool>("save_dialog_answered");
  QTest::addColumn<bool>("opened");
  QTest::addColumn<QByteArray>("on_disk");
  QTest::addRow("no discards") << "BitBtn2" << true << false << true << QByteArray("old");
  QTest::addRow("cancel keeps") << "BitBtn3" << true << false << false << QByteArray("old");
  QTest::addRow("frame keeps") << "" << true << false << false << QByteArray("old");
  QTest::addRow("yes saves") << "BitBtn1" << true << false << true << QByteArray("edited old");
  QTest::addRow("yes on untitled, dialog cancelled, keeps")
      << "BitBtn1" << false << false << false << QByteArray();
  QTest::addRow("yes on untitled, saved as") << "BitBtn1" << false << true << true << QByteArray();
}

void DocumentsTest::AnswersThePrompt() {
  QFETCH(QString, button);
  QFETCH(bool, titled);
  QFETCH(bool, save_dialog_answered);
  QFETCH(bool, opened);
  QFETCH(QByteArray, on_disk);
  Write("current.htm", "old");
  Write("other.htm", "other");
  Start(titled ? Path("current.htm") : QString());
  MainWindow& main = app_->Main();
  main.EditorWidget()->setCursorPosition(0, 0);
  main.Editor().LoadText(titled ? "old" : "");
  TypeIntoEditor("edited ");
  QVERIFY(main.Session().Modified());
  const QString text_before = main.Editor().Text();

  if (!button.isEmpty()) desktop_->modal_scripts.push_back(FakeDesktop::Press(button));
  if (save_dialog_answered)
    desktop_->save_answers.push_back(Desktop::FileChoice{Path("new.htm"), 1});
  desktop_->open_answers.push_back(Desktop::FileChoice{Path("other.htm"), 1});
  main.OpenDocument(DocumentSession::Source::kDialog);

  QCOMPARE(desktop_->modal_windows, QStringList{"Form2"});
  QCOMPARE(main.Session().FileName(),
           opened ? Path("other.htm") : (titled ? Path("current.htm") : QString("Untitled")));
  QCOMPARE(main.Editor().Text(), opened ? QString("other") : text_before);
  QCOMPARE(main.Session().Modified(), !opened);
  if (titled) QCOMPARE(Read("current.htm"), on_disk);
  if (save_dialog_answered) QCOMPARE(Read("new.htm"), QByteArray("edited "));
}

void DocumentsTest::SaveAsCompletesTheName_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("filter");
  QTest::addColumn<QString>("written");
  QTest::addRow("hsp filter gives htm") << "index" << 2 << "index.htm";
  QTest::addRow("txt filter") << "notes" << 3 << "notes.txt";
  QTest::addRow("name with a dot") << "page.shtm" << 3 << "page.shtm";
}

void DocumentsTest::SaveAsCompletesTheName() {
  QFETCH(QString, typed);
  QFETCH(int, filter);
  QFETCH(QString, written);
  QDir::setCurrent(dir_->path());
  Start();
  MainWindow& main = app_->Main();
  desktop_->save_answers.push_back(Desktop::FileChoice{typed, filter});
  QTest::keyClick(main.EditorWidget(), Qt::Key_S, Qt::ControlModifier);  // untitled: asks
  QCOMPARE(desktop_->save_dialogs, 1);
  QCOMPARE(main.Session().FileName(), written);
  QCOMPARE(main.windowTitle(), "Brindlemark : " + written);
  QVERIFY(Read(written).startsWith("<html>\r\n<head>\r\n"));
  QVERIFY(main.Session().Saved());
  // Saving as does not touch the recent files.
  QCOMPARE(RecentFilesStore().Load(), QStringList(4, QString()));
}

namespace {

// Makes every file write of this process fail past a few bytes, as a full disk would.
class FileSizeLimit {
 public:
  FileSizeLimit() {
    getrlimit(RLIMIT_FSIZE, &old_);
    handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old_;
    small.rlim_cur = 8;
    setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, handler_);
  }

 private:
  rlimit old_{};
  void (*handler_)(int) = nullptr;
};

}  // namespace

void DocumentsTest::FailedSaveKeepsFlagsAndFile() {
  Write("page.htm", "the page as it was on disk");
  Start(Path("page.htm"));
  MainWindow& main = app_->Main();
  TypeIntoEditor("more text ");
  {
    FileSizeLimit limit;
    QVERIFY(!main.Session().SaveDocument());
  }
  QCOMPARE(desktop_->errors.size(), 1);
  QVERIFY(desktop_->errors.constFirst().contains(Path("page.htm")));
  QCOMPARE(Read("page.htm"), QByteArray("the page as it was on disk"));
  QVERIFY(main.Session().Modified());
  QVERIFY(!main.Session().Saved());
  QCOMPARE(main.StatusPanel(0), QString("*"));
}

void DocumentsTest::FailedSaveAsKeepsNameAndFlags() {
  Write("plain.txt", "x");
  Start();
  MainWindow& main = app_->Main();
  TypeIntoEditor("x");
  const QString impossible = Path("plain.txt") + "/page.htm";
  desktop_->save_answers.push_back(Desktop::FileChoice{impossible, 1});
  QVERIFY(!main.Session().SaveDocumentAs());
  QVERIFY(desktop_->errors.constFirst().contains(impossible));
  QCOMPARE(main.Session().FileName(), QString("Untitled"));
  QCOMPARE(main.windowTitle(), QString("Brindlemark : Untitled"));
  QVERIFY(main.Session().Modified());
  QVERIFY(!main.Session().Saved());
}

void DocumentsTest::WritesOutsideCharactersAsReferences() {
  Write("page.htm", "");
  Start(Path("page.htm"));
  MainWindow& main = app_->Main();
  main.Editor().ReplaceSelection("a中b€ŁŁ");
  QVERIFY(main.Session().SaveDocument());
  QCOMPARE(Read("page.htm"), QByteArray("a&#20013;b\x88&#321;&#321;"));
  QCOMPARE(desktop_->messages.size(), 1);
  QVERIFY(desktop_->messages.constFirst().contains("3"));
}

void DocumentsTest::HidesAndShowsTheFilePanel() {
  Start();
  MainWindow& main = app_->Main();
  auto button = [&](const char* name) { return main.findChild<QToolButton*>(name); };
  QVERIFY(main.FilePanelShown());
  QCOMPARE(main.Files()->width(), 166);
  QVERIFY(!button("SpeedButton2")->isEnabled());
  QTest::mouseClick(button("SpeedButton1"), Qt::LeftButton);
  QVERIFY(!main.FilePanelShown());
  QVERIFY(!button("SpeedButton1")->isEnabled());
  QVERIFY(!button("SpeedButton3")->isEnabled());
  QVERIFY(!button("SpeedButton4")->isEnabled());
  QVERIFY(button("SpeedButton2")->isEnabled());
  QTest::mouseClick(button("SpeedButton2"), Qt::LeftButton);
  QVERIFY(main.FilePanelShown());
  QTRY_COMPARE(main.Files()->width(), 156);
  QVERIFY(button("SpeedButton1")->isEnabled());
  QVERIFY(button("SpeedButton4")->isEnabled());
  QVERIFY(!button("SpeedButton2")->isEnabled());
}

void DocumentsTest::ShowsTheSelectedFileSize() {
  Write("empty.htm", "");
  Write("five.txt", "12345");
  Write("other.doc", "x");
  Start();
  FilePanel* panel = app_->Main().Files();
  panel->SetFolder(dir_->path());
  QListWidget* list = panel->Files();
  QStringList names;
  for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
  QCOMPARE(names, (QStringList{"empty.htm", "five.txt"}));
  list->setCurrentRow(0);
  QCOMPARE(panel->SizeLabel()->text(), QString("0 bytes"));
  list->setCurrentRow(1);
  QCOMPARE(panel->SizeLabel()->text(), QString("5 bytes"));
  QFile::remove(Path("empty.htm"));
  list->setCurrentRow(0);
  QCOMPARE(panel->SizeLabel()->text(), QString("-1 bytes"));
}

void DocumentsTest::OpensFromTheFilePanel() {
  Write("a.htm", "<title>Panel page</title>");
  Start();
  MainWindow& main = app_->Main();
  main.Files()->SetFolder(dir_->path());
  auto* open_selected = main.findChild<QToolButton*>("SpeedButton4");
  // Nothing selected: the dialog is asked.
  main.Files()->Files()->clearSelection();
  QTest::mouseClick(open_selected, Qt::LeftButton);
  QCOMPARE(desktop_->open_dialogs, 1);
  main.Files()->Files()->setCurrentRow(0);
  QTest::mouseClick(open_selected, Qt::LeftButton);
  QCOMPARE(desktop_->open_dialogs, 1);
  QCOMPARE(main.Session().FileName(), Path("a.htm"));
  QCOMPARE(main.findChild<QToolButton*>("SpeedButton2")->toolTip(), QString("Panel page"));
}

void DocumentsTest::ClosingAsksAboutChanges() {
  Start();
  MainWindow& main = app_->Main();
  TypeIntoEditor("x");
  QSignalSpy closing(&main, &MainWindow::Closing);
  desktop_->modal_scripts.push_back(FakeDesktop::Press("BitBtn3"));
  QVERIFY(!main.close());
  QVERIFY(main.isVisible());
  QCOMPARE(closing.size(), 0);
  desktop_->modal_scripts.push_back(FakeDesktop::Press("BitBtn2"));
  MenuItem("N71")->trigger();
  QVERIFY(!main.isVisible());
  QCOMPARE(closing.size(), 1);
}

void DocumentsTest::SavePromptNamesThePage() {
  Write("index.htm", "text");
  Start();
  MainWindow& main = app_->Main();
  main.Session().OpenFile(Path("index.htm"));
  TypeIntoEditor("x");
  QStringList seen;
  const auto look = [&seen](QDialog* prompt) {
    seen << prompt->windowTitle() << prompt->findChild<QLabel*>("Label1")->text()
         << prompt->findChild<QPushButton*>("BitBtn1")->text();
    FakeDesktop::Press("BitBtn2")(prompt);
  };
  desktop_->modal_scripts.push_back(look);
  main.Commands().Run(Command::kClosePage);
  QCOMPARE(seen, QStringList({"Save changes", "Save the changes to index.htm?", "&Yes"}));
  // Closed: the page has no name, and the caption names nothing.
  QCOMPARE(main.windowTitle(), QString("Brindlemark : "));
  TypeIntoEditor("y");
  seen.clear();
  desktop_->modal_scripts.push_back(look);
  main.close();
  QCOMPARE(seen, QStringList({"Exit", "Save the changes to Untitled?", "&Yes"}));
}

void DocumentsTest::DeletesOnlyItsOwnScratchFiles() {
  Write("page.htm", "x");
  Write("temp.htm", "the user's own page");
  Start(Path("page.htm"));
  MainWindow& main = app_->Main();
  main.Settings().preview_in_built_in_window = 0;
  main.Commands().MenuItem("N79")->trigger();  // preview: temp.htm is taken, so the next free name
  QCOMPARE(main.Session().ScratchFiles(), QStringList{Path("temp1.htm")});
  QCOMPARE(Read("temp.htm"), QByteArray("the user's own page"));
  QVERIFY(QFile::exists(Path("temp1.htm")));
  main.OpenDocument(DocumentSession::Source::kDialog);  // cancelled, still deletes ours
  QVERIFY(!QFile::exists(Path("temp1.htm")));
  QCOMPARE(Read("temp.htm"), QByteArray("the user's own page"));
  QCOMPARE(main.Session().FileName(), Path("page.htm"));
}

void DocumentsTest::OpensAFiftyMegabyteFile() {
  QByteArray line("<p>\xC0\xE1\xE2 some text of a big page</p>\r\n");
  QByteArray bytes;
  bytes.reserve(50 << 20);
  while (bytes.size() < (50 << 20)) bytes += line;
  Write("big.htm", bytes);
  Start(Path("big.htm"));
  QVERIFY(app_->Main().Session().SaveDocument());
  QVERIFY(Read("big.htm") == bytes);
}

QTEST_MAIN(DocumentsTest)
#include "documents_test.moc"

void DocumentsTest::ReadOnlyPageOffersSaveAs() {
  Write("locked.htm", "<p>");
  QFile::setPermissions(Path("locked.htm"), QFileDevice::ReadOwner);
  Start(Path("locked.htm"));
  MainWindow& main = app_->Main();
  TypeIntoEditor("x");
  desktop_->yes_no_answers = {true};
  desktop_->save_answers.push_back(Desktop::FileChoice{Path("copy.htm"), 1});
  QVERIFY(main.Session().SaveDocument());
  QVERIFY(desktop_->questions.constFirst().contains("read-only"));
  QCOMPARE(Read("locked.htm"), QByteArray("<p>"));
  QCOMPARE(Read("copy.htm"), QByteArray("x<p>"));
  QCOMPARE(main.Session().FileName(), Path("copy.htm"));
}

// Saving over a page another program changed asks first; coming back to the window
// reloads an unedited page and asks before dropping edits.
void DocumentsTest::PageChangedOnDisk() {
  Write("page.htm", "<p>one");
  Start(Path("page.htm"));
  MainWindow& main = app_->Main();
  TypeIntoEditor("x");
  Write("page.htm", "<p>changed elsewhere, and longer");
  QVERIFY(!main.Session().SaveDocument());  // answered No
  QCOMPARE(Read("page.htm"), QByteArray("<p>changed elsewhere, and longer"));
  desktop_->yes_no_answers = {true};
  QVERIFY(main.Session().SaveDocument());
  QCOMPARE(Read("page.htm"), QByteArray("x<p>one"));

  Write("page.htm", "<p>edited in another program");
  main.Session().CheckDiskChanges();
  QCOMPARE(main.Editor().Text(), QString("<p>edited in another program"));
  QVERIFY(!main.Session().Modified());
  QVERIFY(main.findChild<QLabel*>("NotePanel")->text().contains("reloaded"));

  TypeIntoEditor("y");
  Write("page.htm", "<p>third version, longer still");
  const qsizetype asked = desktop_->questions.size();
  main.Session().CheckDiskChanges();  // answered No: the edits stay
  QCOMPARE(desktop_->questions.size(), asked + 1);
  QCOMPARE(main.Editor().Text(), QString("y<p>edited in another program"));
  main.Session().CheckDiskChanges();  // asked once per change
  QCOMPARE(desktop_->questions.size(), asked + 1);
  QVERIFY(!main.Session().SaveDocument());  // the kept edits still may not overwrite unasked
  QCOMPARE(desktop_->questions.size(), asked + 2);
  QCOMPARE(Read("page.htm"), QByteArray("<p>third version, longer still"));
}

void DocumentsTest::ConvertingTheEncodingRewritesTheDeclaration() {
  Write("page.htm", "<meta charset=windows-1251>\r\n\xCF\xF0\xE8\r\n");
  Start(Path("page.htm"));
  MainWindow& main = app_->Main();
  TextFormat utf8 = main.Session().Format();
  utf8.encoding = TextEncoding::kUtf8;
  utf8.bom = true;
  main.Session().SetFormat(utf8);
  QVERIFY(main.Session().SaveDocument());
  QCOMPARE(Read("page.htm"),
           QByteArray("\xEF\xBB\xBF<meta charset=utf-8>\r\n\xD0\x9F\xD1\x80\xD0\xB8\r\n"));
  main.EditorWidget()->undo();  // one step takes the declaration back
  QCOMPARE(main.Editor().Line(0), QString("<meta charset=windows-1251>"));
}

// A page read in the wrong encoding is read again in the chosen one (asked first when it
// was edited) and saves its own bytes.
void DocumentsTest::ReopeningWithAnotherEncoding() {
  Write("page.htm", "Pokorn\xFD\r\n");
  Start(Path("page.htm"));
  MainWindow& main = app_->Main();
  QCOMPARE(main.Editor().Line(0), QString::fromUtf16(u"Pokornэ"));
  TypeIntoEditor("x");
  main.Session().ReopenWithEncoding(TextEncoding::kIso8859_1);  // answered No
  QCOMPARE(main.Editor().Line(0), QString::fromUtf16(u"xPokornэ"));
  desktop_->yes_no_answers = {true};
  main.Session().ReopenWithEncoding(TextEncoding::kIso8859_1);
  QCOMPARE(main.Editor().Line(0), QString::fromUtf16(u"Pokorný"));
  QVERIFY(!main.Session().Modified());
  QVERIFY(main.findChild<QLabel*>("FormatPanel")->text().startsWith("ISO-8859-1"));
  TypeIntoEditor("y");
  QVERIFY(main.Session().SaveDocument());
  QCOMPARE(Read("page.htm"), QByteArray("yPokorn\xFD\r\n"));
}
