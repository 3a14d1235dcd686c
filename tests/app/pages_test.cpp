#include <QAction>
#include <QTabBar>
#include <QTest>

#include "app/command_table.h"
#include "app/main_window.h"
#include "editor/code_editor.h"
#include "support/window_fixture.h"

// Several pages in one window, through the tab bar, the keys and the commands.
class PagesTest : public WindowTest {
  Q_OBJECT

 public:
  PagesTest() : WindowTest(Launch::kByTest) {}

 private slots:
  void EachTabKeepsItsTextCaretFoldsAndUndo();
  void ClosingATabAsksAboutThatPageOnly();
  void CloseQueryAsksEachModifiedPageAndCancelKeepsAll();
  void OpenFollowsTheNewTabsChoice_data();
  void OpenFollowsTheNewTabsChoice();
  void InsertionsGoToTheCurrentTabOnly();
  void SplitViewEditsOneTextFromTwoViews();
  void EveryPageChangedOnDiskIsChecked();
  void ManyTabsKeepTheirNamesAndScroll();

 private:
  void Prepare() override;
  // Starts with three pages a, b and c (a, b, c.htm), c in front.
  void StartWithThreePages();
  QTabBar* Tabs() { return Main().PageTabs(); }
  QString Text() { return Main().Editor().Text(); }
  void Type(const QString& text) { QTest::keyClicks(Editor(), text); }
  void Key(int key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(Editor(), Qt::Key(key), modifiers);
  }
};

void PagesTest::Prepare() {
  Write("a.htm", "<p>a</p>\n");
  Write("b.htm", "<div>\n<p>b</p>\n</div>\n");
  Write("c.htm", "<p>c</p>\n");
}

void PagesTest::StartWithThreePages() {
  app_ = std::make_unique<Application>(*desktop_, AppPaths::InFolder(dir_->path()));
  app_->Start(QStringList{Path("a.htm"), Path("b.htm"), Path("c.htm")});
  QVERIFY(QTest::qWaitForWindowActive(&Main()));
}

void PagesTest::EachTabKeepsItsTextCaretFoldsAndUndo() {
  StartWithThreePages();
  QCOMPARE(Tabs()->count(), 3);
  QCOMPARE(Tabs()->tabText(2), QString("c.htm"));
  QCOMPARE(Tabs()->tabToolTip(0), Path("a.htm"));
  QCOMPARE(Text(), QString("<p>c</p>\n"));

  Key(Qt::Key_2, Qt::AltModifier);  // b
  QCOMPARE(Main().Session().FileName(), Path("b.htm"));
  Editor()->setCursorPosition(1, 3);
  Type("B");
  Editor()->setCursorPosition(0, 0);
  Main().Commands().Run(Command::kFoldHere);
  QCOMPARE(Editor()->SaveView().folds, QList<long>{0});
  Editor()->setCursorPosition(0, 2);

  Key(Qt::Key_Tab, Qt::ControlModifier);  // c
  QCOMPARE(Main().Session().FileName(), Path("c.htm"));
  QVERIFY(!Main().Session().Modified());
  Key(Qt::Key_PageDown, Qt::ControlModifier);  // round to a
  QCOMPARE(Main().Session().FileName(), Path("a.htm"));
  Type("A");
  QCOMPARE(Tabs()->tabText(0), QString("a.htm*"));

  Key(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);  // round back to c
  Key(Qt::Key_PageUp, Qt::ControlModifier);                   // b
  QCOMPARE(Main().Session().FileName(), Path("b.htm"));
  QVERIFY(Main().Session().Modified());
  QCOMPARE(Main().StatusPanel(0), QString("*"));
  QCOMPARE(Text(), QString("<div>\n<p>Bb</p>\n</div>\n"));
  int line = -1;
  int column = -1;
  Editor()->getCursorPosition(&line, &column);
  QCOMPARE(line, 0);
  QCOMPARE(column, 2);
  QCOMPARE(Editor()->SaveView().folds, QList<long>{0});
  // Undo works on this page's history only: back to the file, and no further.
  Main().Commands().Run(Command::kUndo);
  Main().Commands().Run(Command::kUndo);
  QCOMPARE(Text(), QString("<div>\n<p>b</p>\n</div>\n"));
  QVERIFY(!Main().Session().Modified());
  Main().ShowPageAt(0);
  QCOMPARE(Text(), QString("A<p>a</p>\n"));
}

void PagesTest::ClosingATabAsksAboutThatPageOnly() {
  StartWithThreePages();
  Main().ShowPageAt(0);
  Type("A");
  Main().ShowPageAt(1);
  Type("B");
  desktop_->modal_scripts.push_back(FakeDesktop::Press("BitBtn2"));  // No
  Key(Qt::Key_W, Qt::ControlModifier);
  QCOMPARE(desktop_->modal_windows, QStringList{"Form2"});
  QCOMPARE(Tabs()->count(), 2);
  QCOMPARE(Read("b.htm"), QByteArray("<div>\n<p>b</p>\n</div>\n"));
  // The right-hand neighbour takes the place.
  QCOMPARE(Main().Session().FileName(), Path("c.htm"));
  Key(Qt::Key_W, Qt::ControlModifier);  // unmodified: no prompt
  QCOMPARE(desktop_->modal_windows.size(), 1);
  QCOMPARE(Main().Session().FileName(), Path("a.htm"));
  QCOMPARE(Text(), QString("A<p>a</p>\n"));
  // The last page stays, emptied, once it may go.
  desktop_->modal_scripts.push_back(FakeDesktop::Press("BitBtn3"));  // Cancel
  Key(Qt::Key_W, Qt::ControlModifier);
  QCOMPARE(Text(), QString("A<p>a</p>\n"));
  desktop_->modal_scripts.push_back(FakeDesktop::Press("BitBtn2"));
  Key(Qt::Key_W, Qt::ControlModifier);
  QCOMPARE(Tabs()->count(), 1);
  QCOMPARE(Text(), QString());
  // Left without a name: the caption names nothing.
  QCOMPARE(Main().Session().FileName(), QString());
  QCOMPARE(Main().windowTitle(), QString("Brindlemark : "));
  QVERIFY(!Main().Session().Modified());
}

void PagesTest::CloseQueryAsksEachModifiedPageAndCancelKeepsAll() {
  StartWithThreePages();
  Main().ShowPageAt(0);
  Type("A");
  Main().ShowPageAt(2);
  Type("C");
  Main().ShowPageAt(1);                                              // b, unmodified, in front
  desktop_->modal_scripts.push_back(FakeDesktop::Press("BitBtn2"));  // No for a
  desktop_->modal_scripts.push_back(FakeDesktop::Press("BitBtn3"));  // Cancel for c
  QVERIFY(!Main().close());
  QCOMPARE(desktop_->modal_windows, QStringList({"Form2", "Form2"}));
  QVERIFY(Main().isVisible());
  QCOMPARE(Main().Session().FileName(), Path("c.htm"));
  QCOMPARE(Text(), QString("C<p>c</p>\n"));
  Main().ShowPageAt(0);
  QCOMPARE(Text(), QString("A<p>a</p>\n"));
  QVERIFY(Main().Session().Modified());

  desktop_->modal_scripts.push_back(FakeDesktop::Press("BitBtn1"));  // Yes for a
  desktop_->modal_scripts.push_back(FakeDesktop::Press("BitBtn2"));  // No for c
  QVERIFY(Main().close());
  QCOMPARE(Read("a.htm"), QByteArray("A<p>a</p>\n"));
  QCOMPARE(Read("c.htm"), QByteArray("<p>c</p>\n"));
}

void PagesTest::OpenFollowsTheNewTabsChoice_data() {
  QTest::addColumn<bool>("new_tabs");
  QTest::addRow("off: the current page's prompt") << false;
  QTest::addRow("on: a tab of its own") << true;
}

void PagesTest::OpenFollowsTheNewTabsChoice() {
  QFETCH(bool, new_tabs);
  StartProgram();
  QCOMPARE(Tabs()->count(), 1);
  Main().Commands().MenuItemOf(Command::kOpenInNewTabs)->setChecked(new_tabs);
  // An untouched new page gives way either way.
  desktop_->open_answers.push_back(Desktop::FileChoice{Path("a.htm"), 1});
  Main().Commands().Run(Command::kOpen);
  QCOMPARE(Tabs()->count(), 1);
  Type("A");
  if (!new_tabs) desktop_->modal_scripts.push_back(FakeDesktop::Press("BitBtn2"));
  desktop_->open_answers.push_back(Desktop::FileChoice{Path("b.htm"), 1});
  Main().Commands().Run(Command::kOpen);
  QCOMPARE(desktop_->modal_windows.size(), new_tabs ? 0 : 1);
  QCOMPARE(Tabs()->count(), new_tabs ? 2 : 1);
  QCOMPARE(Main().Session().FileName(), Path("b.htm"));
  if (!new_tabs) return;
  // A page already open comes to front instead of opening twice.
  desktop_->open_answers.push_back(Desktop::FileChoice{Path("a.htm"), 1});
  Main().Commands().Run(Command::kOpen);
  QCOMPARE(Tabs()->count(), 2);
  QCOMPARE(Main().Session().FileName(), Path("a.htm"));
  QCOMPARE(Text(), QString("A<p>a</p>\n"));
  // A file that cannot be read leaves no tab behind.
  desktop_->open_answers.push_back(Desktop::FileChoice{Path("missing.htm"), 1});
  Main().Commands().Run(Command::kOpen);
  QCOMPARE(Tabs()->count(), 2);
  QCOMPARE(Main().Session().FileName(), Path("a.htm"));
}

void PagesTest::InsertionsGoToTheCurrentTabOnly() {
  StartWithThreePages();
  Main().Commands().Run(Command::kNewTab);
  QCOMPARE(Tabs()->count(), 4);
  QCOMPARE(Tabs()->currentIndex(), 3);
  QCOMPARE(Main().Session().FileName(), Main().Session().UntitledName());
  QVERIFY(Text().contains("<html>"));
  Main().ShowPageAt(1);
  Editor()->setCursorPosition(0, 0);
  Main().InsertAtCaret("<hr>");
  Main().Commands().Run(Command::kTextToHtml);
  QVERIFY(Text().startsWith("<hr>"));
  for (int index : {0, 2}) {
    Main().ShowPageAt(index);
    QVERIFY(!Text().contains("<hr>"));
    QVERIFY(!Main().Session().Modified());
  }
}

void PagesTest::SplitViewEditsOneTextFromTwoViews() {
  StartWithThreePages();
  CodeEditor* first = Editor();
  Main().Commands().Run(Command::kSplitView);
  CodeEditor* second = Main().SplitEditor();
  QVERIFY(second->isVisible());
  second->setFocus();
  QTRY_COMPARE(Editor(), second);
  QCOMPARE(Main().findChildren<CodeEditor*>("memo1"), QList<CodeEditor*>{second});
  second->setCursorPosition(1, 0);
  Type("two");
  first->setFocus();
  QTRY_COMPARE(Editor(), first);
  first->setCursorPosition(0, 0);
  Type("one");
  QCOMPARE(first->text(), QString("one<p>c</p>\ntwo"));
  QCOMPARE(second->text(), first->text());
  // One history: both edits undo from either side.
  Main().Commands().Run(Command::kUndo);
  Main().Commands().Run(Command::kUndo);
  QCOMPARE(second->text(), QString("<p>c</p>\n"));
  // Another tab shows in both views; off, one view stays with the page as it is.
  Main().ShowPageAt(0);
  QCOMPARE(second->text(), QString("<p>a</p>\n"));
  Main().Commands().Run(Command::kSplitView);
  QVERIFY(second->isHidden());
  QCOMPARE(Text(), QString("<p>a</p>\n"));
  QCOMPARE(Main().findChildren<CodeEditor*>("memo1"), QList<CodeEditor*>{first});
}

void PagesTest::EveryPageChangedOnDiskIsChecked() {
  StartWithThreePages();
  Main().ShowPageAt(0);
  Type("A");
  Main().ShowPageAt(2);
  Write("a.htm", "<p>a, changed elsewhere</p>\n");
  Write("b.htm", "<p>b, changed elsewhere</p>\n");
  Main().CheckAllDiskChanges();  // No to reloading a over its edits
  QCOMPARE(desktop_->questions.size(), 1);
  QVERIFY(desktop_->questions.constFirst().contains(Path("a.htm")));
  QCOMPARE(Main().Session().FileName(), Path("c.htm"));
  Main().ShowPageAt(1);
  QCOMPARE(Text(), QString("<p>b, changed elsewhere</p>\n"));
  Main().ShowPageAt(0);
  QCOMPARE(Text(), QString("A<p>a</p>\n"));
  Main().CheckAllDiskChanges();  // asked once per change
  QCOMPARE(desktop_->questions.size(), 1);
}

void PagesTest::ManyTabsKeepTheirNamesAndScroll() {
  StartWithThreePages();
  for (int i = 0; i < 30; ++i) {
    const QString name = QString("indent-%1.html").arg(QChar('a' + i % 26)) + QString::number(i);
    Write(name, "x");
    QVERIFY(Main().OpenInNewTab(Path(name)));
  }
  Main().resize(640, 480);
  QCOMPARE(Tabs()->count(), 33);
  // Names this short are never cut: the bar scrolls instead.
  for (int i = 0; i < Tabs()->count(); ++i) {
    QVERIFY(Tabs()->tabRect(i).width() >=
            Tabs()->fontMetrics().horizontalAdvance(Tabs()->tabText(i)));
  }
  QVERIFY(Tabs()->usesScrollButtons());
}

QTEST_MAIN(PagesTest)
#include "pages_test.moc"
