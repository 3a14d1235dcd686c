#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTabBar>
#include <QTest>
#include <QThreadPool>
#include <QTreeWidget>

#include "app/application.h"
#include "app/command_table.h"
#include "app/file_panel.h"
#include "app/main_window.h"
#include "app/problems_panel.h"
#include "batch/move_window.h"
#include "batch/site_check_window.h"
#include "support/window_fixture.h"
#include "widgets/file_browser.h"

// The problems panel through the window: it lists the page's problems, F8 goes to them, a
// kind hides and shows again, and the list follows edits and tabs.
class ProblemsTest : public WindowTest {
  Q_OBJECT

 public:
  ProblemsTest() : WindowTest(Launch::kByTest) {}

 private slots:
  void ListsJumpsAndHidesAKind();
  void FollowsEditsAndTabs();
  void SpellingSuggestsAddsAndIgnores();
  void MinifiedPageMarksAroundTheScreen();
  void LargePageNeverWaitsOnTheSharedPool();
  void UndeclaredPageBeyondAsciiIsWarnedAndDeclared();
  void LinksListedAndFollowed();
  void SiteCheckWindowListsAndOpens();
  void SiteCheckStartsInTheSiteAndSortsAndFilters();
  void MoveWindowTakesLinksAndTabsAlong();

 private:
  void Prepare() override {
    Write("broken.htm",
          "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<title>t</title>\n</head>\n<body>\n"
          "<img src=\"a.png\">\n<p>&bogus; x</p>\n<img src=\"b.png\">\n</body>\n</html>\n");
    Write("valid.htm",
          "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<title>t</title>\n</head>\n<body>\n"
          "<p>fine</p>\n</body>\n</html>\n");
    Write("links.htm",
          "<!DOCTYPE html>\n<title>t</title>\n"
          "<p><a href=\"valid.htm\">fine</a> <a href=\"gone.htm\">lost</a></p>\n");
    Write("a.png", "");
    Write("b.png", "");
    Write("spelled.htm", "<!DOCTYPE html>\n<title>t</title>\n<p>A smple page, a mistke.</p>\n");
  }
  // Right-clicks the marked word that starts at position and runs the spelling item named.
  // A suggestion is named by its text.
  void RunSpellingItem(long position, const QString& name) {
    const QPoint at(
        int(Editor()->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0, position + 1)),
        int(Editor()->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0, position + 1)));
    emit Editor()->customContextMenuRequested(at);
    QMenu* menu = Main().PopupMenu();
    QAction* item = menu->findChild<QAction*>(name);
    for (QAction* action : menu->actions()) {
      if (action->objectName().startsWith("Suggestion") && action->text() == name) item = action;
    }
    QVERIFY2(item != nullptr && menu->actions().indexOf(item) < 10, qPrintable(name));
    item->trigger();
    menu->hide();
  }
  ProblemsPanel* Panel() { return Main().Problems(); }
  QStringList Rows() {
    QStringList rows;
    for (const Problem& problem : Panel()->Shown()) {
      rows << QString("%1:%2 %3").arg(problem.line).arg(problem.column).arg(problem.kind);
    }
    return rows;
  }
  int CaretLine() {
    int line = 0;
    int column = 0;
    Editor()->getCursorPosition(&line, &column);
    return line + 1;
  }
};

void ProblemsTest::ListsJumpsAndHidesAKind() {
  StartProgram(Path("broken.htm"));
  QVERIFY(Panel()->isHidden());
  Editor()->setCursorPosition(0, 0);
  Main().Commands().Run(Command::kNextProblem);  // shows the panel, checked at once
  QVERIFY(Panel()->isVisible());
  QVERIFY(Main().Commands().MenuItemOf(Command::kProblems)->isChecked());
  QCOMPARE(Rows(),
           QStringList({"7:1 missing-attribute", "8:4 unknown-entity", "9:1 missing-attribute"}));
  QCOMPARE(CaretLine(), 7);
  Main().Commands().Run(Command::kNextProblem);
  QCOMPARE(CaretLine(), 8);
  Main().Commands().Run(Command::kPreviousProblem);
  Main().Commands().Run(Command::kPreviousProblem);  // round to the last
  QCOMPARE(CaretLine(), 9);
  QVERIFY(Main().findChild<QLabel*>("ProblemsField")->text().startsWith("3 errors, 0 warnings"));
  // Underlined where they are: the picture's tag, the reference.
  const long line8 = Editor()->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, 7);
  QCOMPARE(Editor()->ProblemMarks(Severity::kError).size(), 3);
  QCOMPARE(Editor()->ProblemMarks(Severity::kError).at(1),
           (std::pair<long, long>(line8 + 3, line8 + 10)));

  // Activating a row moves the caret there.
  auto* list = Panel()->findChild<QTreeWidget*>("ProblemsList");
  emit list->itemActivated(list->topLevelItem(1), 0);
  QCOMPARE(CaretLine(), 8);

  Panel()->SetHiddenKinds({"missing-attribute"});
  QCOMPARE(Rows(), QStringList({"8:4 unknown-entity"}));
  Panel()->SetHiddenKinds({});
  QCOMPARE(Rows().size(), 3);
  // A page emptied holds nothing yet, and nothing is wrong with it.
  Main().Editor().LoadText(" \n");
  Panel()->Runner().CheckNow();
  QCOMPARE(Rows(), QStringList());
}

void ProblemsTest::FollowsEditsAndTabs() {
  StartProgram(Path("broken.htm"));
  Main().Commands().MenuItemOf(Command::kProblems)->setChecked(true);
  QCOMPARE(Rows().size(), 3);
  Main().OpenInNewTab(Path("valid.htm"));
  QCOMPARE(Rows(), QStringList());
  // Typing a fault shows it after the pause.
  Editor()->setCursorPosition(6, 3);
  QTest::keyClicks(Editor(), " &nope;");
  QTRY_COMPARE(Rows(), QStringList({"7:5 unknown-entity"}));
  // An error gets the margin's dot on its line.
  Editor()->setCursorPosition(7, 0);
  QTest::keyClicks(Editor(), "<frob>x</frob>");
  QTRY_VERIFY(Editor()->ErrorLines().contains(7));
  Main().ShowPageAt(0);
  QCOMPARE(Rows().size(), 3);
}

// One line of many unknown words: each mark lands on its word (the line has characters of
// several bytes), and only the part of the line around the screen is marked.
void ProblemsTest::MinifiedPageMarksAroundTheScreen() {
  StartProgram(Path("spelled.htm"));
  QString line = QStringLiteral("<p>");
  for (int i = 0; i < 20000; ++i) line += QStringLiteral("\u2014 qwzx ");
  Main().Editor().LoadText(line + QStringLiteral("</p>"));
  QTRY_COMPARE(Editor()->SpellingMarks().value(0), (std::pair<long, long>{7, 11}));
  const QList<std::pair<long, long>> marks = Editor()->SpellingMarks();
  QVERIFY(marks.size() < 2000);
  const QByteArray text = Editor()->text().toUtf8();
  for (const auto& [from, to] : marks) QCOMPARE(text.mid(from, to - from), QByteArray("qwzx"));
  // At the line's end, the words there are marked, as surely.
  Editor()->SendScintilla(QsciScintilla::SCI_DOCUMENTEND);
  QTRY_VERIFY(Editor()->SpellingMarks().value(0).first > text.size() / 2);
  for (const auto& [from, to] : Editor()->SpellingMarks()) {
    QCOMPARE(text.mid(from, to - from), QByteArray("qwzx"));
  }
  // The list makes rows as they come into view, not one for each of the 20,000 words; going
  // to the last problem makes its row.
  auto* list = Panel()->findChild<QTreeWidget*>("ProblemsList");
  QCOMPARE(Panel()->Shown().size(), 20000);
  QVERIFY(list->topLevelItemCount() < 1000);
  QVERIFY(Panel()->GoToNext(1, 1, true));
  QCOMPARE(list->currentItem()->text(1), QString::number(Panel()->Shown().last().column));
}

// Painting shares Qt's global pool: a large page's check runs on the panel's own thread, with
// the spelling of the lines on screen shown at once.
void ProblemsTest::LargePageNeverWaitsOnTheSharedPool() {
  StartProgram(Path("spelled.htm"));
  Main().Commands().MenuItemOf(Command::kProblems)->setChecked(true);
  // Hidden meanwhile: the shared pool is held below, and painting would wait on it.
  Main().hide();
  QSemaphore release;
  const int shared = QThreadPool::globalInstance()->maxThreadCount();
  for (int i = 0; i < shared; ++i) QThreadPool::globalInstance()->start([&] { release.acquire(); });
  const auto free_pool = qScopeGuard([&] {
    release.release(shared);
    QThreadPool::globalInstance()->waitForDone();
    Main().show();
  });
  QString text = "<!DOCTYPE html>\n<title>t</title>\n<p>A smple page.</p>\n";
  for (int i = 0; i < 30000; ++i) text += "<p>Some ordinary words in a line of text.</p>\n";
  text += "<p>A mistke at the end.</p>\n";
  Main().Editor().LoadText(text);
  Panel()->Runner().CheckNow();
  QCOMPARE(Rows(), QStringList({"3:6 spelling"}));
  QTRY_COMPARE(Rows().size(), 2);
  QCOMPARE(Rows().last(), QString("30004:6 spelling"));
}

void ProblemsTest::UndeclaredPageBeyondAsciiIsWarnedAndDeclared() {
  Write("plain.htm",
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<title>t</title>\n</head>\n"
        "<body><p>plain</p></body></html>\n");
  StartProgram(Path("plain.htm"));
  Main().Commands().MenuItemOf(Command::kProblems)->setChecked(true);
  QCOMPARE(Rows(), QStringList());  // ASCII reads the same in every encoding
  Editor()->setCursorPosition(5, 9);
  QKeyEvent euro(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, "€");
  QApplication::sendEvent(Editor(), &euro);
  QTRY_COMPARE(Rows(), QStringList({"1:1 no-charset"}));
  QCOMPARE(Panel()->Shown().first().severity, Severity::kWarning);
  Main().DeclareEncoding();
  QCOMPARE(Main().Editor().Line(3), QString("<meta charset=\"windows-1251\">"));
  QCOMPARE(Rows(), QStringList());
  QVERIFY(Main().Session().SaveDocument());
  QVERIFY(Read("plain.htm").contains("<meta charset=\"windows-1251\">\n<title>"));
}

void ProblemsTest::SpellingSuggestsAddsAndIgnores() {
  StartProgram(Path("spelled.htm"));
  // On by default, with the panel hidden: the unknown words are underlined.
  const long line = Editor()->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, 2);
  QCOMPARE(Editor()->SpellingMarks(),
           (QList<std::pair<long, long>>{{line + 5, line + 10}, {line + 19, line + 25}}));
  // A suggestion replaces the word, one undo step takes it back.
  RunSpellingItem(line + 5, "simple");
  QCOMPARE(Editor()->text(2), QString("<p>A simple page, a mistke.</p>\n"));
  QCOMPARE(Editor()->SpellingMarks().size(), 1);
  Editor()->undo();
  QCOMPARE(Editor()->text(2), QString("<p>A smple page, a mistke.</p>\n"));
  Editor()->redo();
  // Ignored in this page only; a personal word is known in every page and kept on disk.
  RunSpellingItem(line + 19, "IgnoreInPage");
  QVERIFY(Editor()->SpellingMarks().isEmpty());
  Main().OpenInNewTab(Path("valid.htm"));
  Editor()->setCursorPosition(6, 7);
  QTest::keyClicks(Editor(), " mistke qwzx");
  QTRY_COMPARE(Editor()->SpellingMarks().size(), 2);
  const long typed = Editor()->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, 6) + 15;
  RunSpellingItem(typed, "AddToDictionary");
  QCOMPARE(Editor()->SpellingMarks().size(), 1);
  QFile words(QDir(qEnvironmentVariable("XDG_DATA_HOME")).filePath("brindlemark/words.txt"));
  QVERIFY(words.open(QIODevice::ReadOnly));
  QCOMPARE(words.readAll(), QByteArray("qwzx\n"));
  // Off: no marks.
  Main().Commands().MenuItemOf(Command::kCheckSpelling)->setChecked(false);
  QVERIFY(Editor()->SpellingMarks().isEmpty());
}

void ProblemsTest::LinksListedAndFollowed() {
  StartProgram(Path("links.htm"));
  Main().Commands().MenuItemOf(Command::kProblems)->setChecked(true);
  QCOMPARE(Rows(), QStringList({"3:42 missing-file"}));
  // Ctrl+click on a link opens its page; on a link that leads nowhere, says so.
  const auto click = [this](long position) {
    const QPoint at(
        int(Editor()->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0, position)),
        int(Editor()->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0, position)));
    QTest::mouseClick(Editor()->viewport(), Qt::LeftButton, Qt::ControlModifier, at);
  };
  const long line = Editor()->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, 2);
  click(line + 43);
  QVERIFY(Main().findChild<QLabel*>("NotePanel")->text().startsWith("gone.htm"));
  click(line + 15);
  QVERIFY(Editor()->text().contains("<p>fine</p>"));
}

void ProblemsTest::SiteCheckWindowListsAndOpens() {
  StartProgram(Path("valid.htm"));
  Main().Commands().Run(Command::kCheckSite);
  auto* window = app_->Window<SiteCheckWindow>();
  QVERIFY(window->isVisible());
  window->findChild<FolderList*>("DirectoryListBox1")->SetFolder(BM_TEST_DATA "/site");
  window->findChild<QPushButton*>("Run")->click();
  // The faults planted in the test site, grouped by page, and the two orphans.
  auto* results = window->findChild<QTreeWidget*>("Results");
  QCOMPARE(results->topLevelItemCount(), 3);
  QCOMPARE(results->topLevelItem(0)->text(0),
           QString("broken.html  (7 errors, 4 warnings, 0 notes)"));
  QCOMPARE(results->topLevelItem(0)->childCount(), 11);
  QVERIFY(window->findChild<QLabel*>("Summary")->text().startsWith("8 pages checked: 7 errors"));
  QVERIFY(!QFile::exists(BM_TEST_DATA "/site/site-check.txt"));
  // A row opens its page at the line.
  emit results->itemActivated(results->topLevelItem(0)->child(2), 0);
  QVERIFY(Editor()->text().contains("<title>Faults</title>"));
  QCOMPARE(CaretLine(), 6);
}

void ProblemsTest::SiteCheckStartsInTheSiteAndSortsAndFilters() {
  // From an untitled page: the site of the page last opened, named in the folder field.
  Write("site/.brindlemark-site", "index=index.html\n");
  Write("site/sub/last.htm", "<p>x</p>");
  StartProgram(Path("site/sub/last.htm"));
  Main().Commands().Run(Command::kNewTab);
  Main().Commands().Run(Command::kCheckSite);
  auto* window = app_->Window<SiteCheckWindow>();
  auto* field = window->findChild<QLineEdit*>("SiteFolder");
  QCOMPARE(field->text(), Path("site"));
  // The chooser asks the desktop for a folder.
  desktop_->folder_answers.push_back(QString(BM_TEST_DATA "/site"));
  window->findChild<QPushButton*>("ChooseFolder")->click();
  QCOMPARE(field->text(), QString(BM_TEST_DATA "/site"));
  window->findChild<QCheckBox*>("CheckHtml")->setChecked(true);
  window->findChild<QPushButton*>("Run")->click();
  auto* results = window->findChild<QTreeWidget*>("Results");
  const QList<QTreeWidgetItem*> pages = results->findItems("broken.html", Qt::MatchStartsWith);
  QCOMPARE(pages.size(), 1);
  QTreeWidgetItem* broken = pages.first();
  // Sorted by severity: the errors first, by line within each severity.
  results->sortByColumn(2, Qt::AscendingOrder);
  QStringList severities;
  for (int i = 0; i < broken->childCount(); ++i) severities << broken->child(i)->text(2);
  QVERIFY(severities.indexOf("warning") > severities.lastIndexOf("error"));
  // By line, as numbers: 9 before 10.
  results->sortByColumn(1, Qt::AscendingOrder);
  for (int i = 1; i < broken->childCount(); ++i) {
    QVERIFY(broken->child(i - 1)->text(1).section(':', 0, 0).toInt() <=
            broken->child(i)->text(1).section(':', 0, 0).toInt());
  }
  // Filtered by severity, then by kind.
  auto* severity = window->findChild<QComboBox*>("SeverityFilter");
  severity->setCurrentIndex(2);  // warnings
  emit severity->activated(2);
  for (int page = 0; page < results->topLevelItemCount(); ++page) {
    for (int i = 0; i < results->topLevelItem(page)->childCount(); ++i) {
      QCOMPARE(results->topLevelItem(page)->child(i)->text(2), QString("warning"));
    }
  }
  QVERIFY(window->findChild<QLabel*>("Summary")->text().contains("Showing"));
  severity->setCurrentIndex(0);
  auto* kind = window->findChild<QComboBox*>("KindFilter");
  const int missing = kind->findText("missing-file");
  QVERIFY(missing > 0);
  kind->setCurrentIndex(missing);
  emit kind->activated(missing);
  QVERIFY(results->topLevelItemCount() >= 1);
  for (int page = 0; page < results->topLevelItemCount(); ++page) {
    for (int i = 0; i < results->topLevelItem(page)->childCount(); ++i) {
      QCOMPARE(results->topLevelItem(page)->child(i)->text(4), QString("missing-file"));
    }
  }
}

void ProblemsTest::MoveWindowTakesLinksAndTabsAlong() {
  Write("from.htm", "<p><a href=\"moving.htm#x\">there</a></p>\n");
  Write("moving.htm", "<p id=\"x\"><a href=\"from.htm\">back</a></p>\n");
  StartProgram(Path("from.htm"));
  Main().OpenInNewTab(Path("moving.htm"));
  Main().ShowPageAt(0);
  // "Rename or move..." from the file list's own menu.
  QListWidget* files = Main().Files()->Files();
  files->setCurrentItem(files->findItems("moving.htm", Qt::MatchExactly).value(0));
  Main().Files()->FileMenu()->findChild<QAction*>("RenameOrMove")->trigger();
  auto* window = app_->Window<MoveWindow>();
  QVERIFY(window->isVisible());
  window->findChild<QLineEdit*>("MoveTo")->setText("pages/moved.htm");
  window->findChild<QPushButton*>("MoveButton")->click();
  QCOMPARE(Read("from.htm"), QByteArray("<p><a href=\"pages/moved.htm#x\">there</a></p>\n"));
  QCOMPARE(Read("pages/moved.htm"),
           QByteArray("<p id=\"x\"><a href=\"../from.htm\">back</a></p>\n"));
  QVERIFY(!QFile::exists(Path("moving.htm")));
  // The open pages follow: the rewritten one is read again, the moved one has its new name.
  QVERIFY(Editor()->text().contains("pages/moved.htm#x"));
  auto* tabs = Main().findChild<QTabBar*>("PageTabs");
  QCOMPARE(tabs->tabToolTip(1), QDir::cleanPath(Path("pages/moved.htm")));
}

QTEST_MAIN(ProblemsTest)
#include "problems_test.moc"
