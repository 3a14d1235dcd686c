#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/command_table.h"
#include "app/main_window.h"
#include "app/search_panel.h"
#include "support/window_fixture.h"

// Find in files through the window: pages in several encodings and line ends, the hits
// grouped by page, a hit opened at its place, F4 round the hits; and `find` on the command line.
class SearchTest : public WindowTest {
  Q_OBJECT

 public:
  SearchTest() : WindowTest(Launch::kByTest) {}

 private slots:
  void FindsInEveryEncodingAndOpensTheHit();
  void StopsWhenAsked();
  void ReplacesTheTickedHitsAndUndoes();
  void FormatPageIsOneUndoStep();
  void CommandLine_data();
  void CommandLine();

 private:
  void Prepare() override {
    // "страница" in Windows-1251 with CR LF, in UTF-8 with LF, in KOI8-R with CR.
    Write("site/one.htm", "<p>\xDD\xF2\xE0 \xF1\xF2\xF0\xE0\xED\xE8\xF6\xE0</p>\r\n<p>x</p>\r\n");
    Write(
        "site/sub/two.html",
        "<meta charset=utf-8>\n<p>\xD0\xA1\xD1\x82\xD1\x80\xD0\xB0\xD0\xBD\xD0\xB8\xD1\x86\xD0\xB0"
        " \xD0\xB8 \xD1\x81\xD1\x82\xD1\x80\xD0\xB0\xD0\xBD\xD0\xB8\xD1\x86\xD0\xB0</p>\n");
    Write("site/sub/three.htm",
          "<meta charset=koi8-r>\r<p>x</p>\r<p>\xD3\xD4\xD2\xC1\xCE\xC9\xC3\xC1</p>\r");
    Write("site/skip.txt", "страница");
    Write("site/picture.htm", QByteArray("GIF89a\0\0страница", 20));
  }
  SearchPanel* Panel() { return Main().Search(); }
  QTreeWidget* Hits() { return Panel()->findChild<QTreeWidget*>("SearchHits"); }
};

void SearchTest::FindsInEveryEncodingAndOpensTheHit() {
  StartProgram(Path("site/one.htm"));
  QTest::keyClick(Editor(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
  QVERIFY(Panel()->isVisible());
  QCOMPARE(Panel()->findChild<QLineEdit*>("SearchFolder")->text(), Path("site"));
  Panel()->findChild<QLineEdit*>("FindText")->setText("страница");
  Panel()->findChild<QPushButton*>("FindAll")->click();
  Panel()->WaitIdle();
  QTRY_COMPARE(Panel()->Summary().hits, 4);
  QCOMPARE(Panel()->Summary().pages, 3);
  QCOMPARE(Panel()->Summary().skipped, 1);  // the picture; the .txt is not among the patterns
  QCOMPARE(Panel()->findChild<QLabel*>("HitCount")->text(),
           QString("4 hits in 3 pages; 1 files skipped (binary, unreadable or too large)"));
  QStringList pages;
  for (int i = 0; i < Hits()->topLevelItemCount(); ++i) pages << Hits()->topLevelItem(i)->text(0);
  QCOMPARE(pages, QStringList({"one.htm (1)", "sub/three.htm (1)", "sub/two.html (2)"}));
  QCOMPARE(Hits()->topLevelItem(1)->child(0)->text(0),
           QString("3: <p>странициа</p>").replace("циа", "ца"));
  // A hit opens its page in a tab, the match selected; F4 goes on round the hits.
  emit Hits()->itemActivated(Hits()->topLevelItem(2)->child(1), 0);
  QCOMPARE(Main().Session().FileName(), Path("site/sub/two.html"));
  QCOMPARE(Editor()->selectedText(), QString("страница"));
  int line = 0;
  int column = 0;
  Editor()->getCursorPosition(&line, &column);
  QCOMPARE(line, 1);
  Main().Commands().Run(Command::kNextHit);
  QCOMPARE(Main().Session().FileName(), Path("site/one.htm"));
  QCOMPARE(Editor()->selectedText(), QString("страница"));
  Main().Commands().Run(Command::kPreviousHit);
  QCOMPARE(Main().Session().FileName(), Path("site/sub/two.html"));
  // Match case and whole word.
  Panel()->findChild<QCheckBox*>("MatchCase")->setChecked(true);
  Panel()->findChild<QPushButton*>("FindAll")->click();
  Panel()->WaitIdle();
  QTRY_COMPARE(Panel()->Summary().hits, 3);
  Panel()->findChild<QLineEdit*>("FindText")->setText("стр");
  Panel()->findChild<QCheckBox*>("WholeWord")->setChecked(true);
  Panel()->findChild<QPushButton*>("FindAll")->click();
  Panel()->WaitIdle();
  QTRY_VERIFY(!Panel()->Running());
  QCOMPARE(Panel()->Summary().hits, 0);
}

void SearchTest::StopsWhenAsked() {
  for (int i = 0; i < 400; ++i)
    Write(QString("many/p%1.htm").arg(i), QByteArray(20000, 'a') + "needle");
  StartProgram(Path("many/p0.htm"));
  Main().Commands().Run(Command::kFindInFiles);
  Panel()->findChild<QLineEdit*>("FindText")->setText("needle");
  Panel()->Start();
  Panel()->Stop();
  QTRY_VERIFY(!Panel()->Running());
  QTRY_VERIFY(Panel()->findChild<QPushButton*>("FindAll")->isEnabled());
  QVERIFY(Panel()->Summary().hits <= 400);
  // And again, to the end.
  Panel()->Start();
  Panel()->WaitIdle();
  QTRY_COMPARE(Panel()->Summary().hits, 400);
  QVERIFY(!Panel()->Summary().cancelled);
}

void SearchTest::ReplacesTheTickedHitsAndUndoes() {
  const QByteArray one = Read("site/one.htm");
  const QByteArray two = Read("site/sub/two.html");
  const QByteArray three = Read("site/sub/three.htm");
  StartProgram(Path("site/one.htm"));
  Main().Commands().Run(Command::kFindInFiles);
  Panel()->findChild<QLineEdit*>("FindText")->setText("страница");
  Panel()->Start();
  Panel()->WaitIdle();
  QTRY_COMPARE(Panel()->Summary().hits, 4);
  // The KOI8-R page's hit is left out.
  Hits()->topLevelItem(1)->child(0)->setCheckState(0, Qt::Unchecked);
  Panel()->findChild<QLineEdit*>("ReplaceWith")->setText("лист\\1");
  Panel()->findChild<QPushButton*>("ReplaceThese")->click();
  Panel()->WaitIdle();
  // Each page in its own encoding and line ends, every match of a ticked line, the
  // replacement taken as it stands.
  QCOMPARE(Read("site/one.htm"),
           QByteArray("<p>\xDD\xF2\xE0 \xEB\xE8\xF1\xF2\\1</p>\r\n<p>x</p>\r\n"));
  QCOMPARE(Read("site/sub/two.html"),
           QByteArray("<meta charset=utf-8>\n<p>\xD0\xBB\xD0\xB8\xD1\x81\xD1\x82\\1 \xD0\xB8 "
                      "\xD0\xBB\xD0\xB8\xD1\x81\xD1\x82\\1</p>\n"));
  QCOMPARE(Read("site/sub/three.htm"), three);
  QTRY_COMPARE(Panel()->Summary().hits, 1);  // searched again: the hit left
  Panel()->findChild<QPushButton*>("UndoRun")->click();
  QCOMPARE(Read("site/one.htm"), one);
  QCOMPARE(Read("site/sub/two.html"), two);
}

void SearchTest::FormatPageIsOneUndoStep() {
  StartProgram(Path("site/one.htm"));
  Main().Editor().LoadText("<div><p>a</p><pre> x\n  y</pre></div>\n");
  QTest::keyClick(Editor(), Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(Main().Editor().Text(), QString("<div>\n  <p>a</p>\n  <pre> x\n  y</pre>\n</div>\n"));
  Main().Commands().Run(Command::kUndo);
  QCOMPARE(Main().Editor().Text(), QString("<div><p>a</p><pre> x\n  y</pre></div>\n"));
  // With a selection, only its lines, at the indentation of the first of them.
  Main().Editor().LoadText("<ul>\n  <li><div><p>a</p></div></li>\n  <li>b</li>\n</ul>\n");
  Main().Editor().Select(7, 3);  // in the first item's line
  Main().Commands().Run(Command::kFormatPage);
  QCOMPARE(Main().Editor().Text(), QString("<ul>\n  <li>\n    <div>\n      <p>a</p>\n    </div>\n"
                                           "  </li>\n  <li>b</li>\n</ul>\n"));
  Main().Commands().Run(Command::kUndo);
  QCOMPARE(Main().Editor().Text(),
           QString("<ul>\n  <li><div><p>a</p></div></li>\n  <li>b</li>\n</ul>\n"));
  // A <pre> in the selection keeps every byte: only its start tag's line is indented.
  Main().Editor().LoadText("<div>\n  <div><pre> x\ny</pre></div>\n</div>\n");
  Main().Editor().Select(8, 15);  // from the inner div's line into the next
  Main().Commands().Run(Command::kFormatPage);
  QCOMPARE(Main().Editor().Text(),
           QString("<div>\n  <div>\n    <pre> x\ny</pre>\n  </div>\n</div>\n"));
  // A page it cannot format safely stays as it is, and says why.
  Main().Editor().LoadText("<p>a < b</p>");
  Main().Commands().Run(Command::kFormatPage);
  QCOMPARE(Main().Editor().Text(), QString("<p>a < b</p>"));
  QVERIFY(Main().findChild<QLabel*>("NotePanel")->text().contains("left as it is"));
}

void SearchTest::CommandLine_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<int>("status");
  QTest::addColumn<QString>("out");
  QTest::addRow("in every encoding") << QStringList{"страница", "--recursive", "site"} << 0
                                     << "site/one.htm:1:8: <p>Эта страница</p>\n"
                                        "site/sub/three.htm:3:4: <p>страница</p>\n"
                                        "site/sub/two.html:2:4: <p>Страница и страница</p>\n"
                                        "site/sub/two.html:2:15: <p>Страница и страница</p>\n";
  QTest::addRow("match case") << QStringList{"--case", "Страница", "--recursive", "site"} << 0
                              << "site/sub/two.html:2:4: <p>Страница и страница</p>\n";
  QTest::addRow("a regular expression, one folder")
      << QStringList{"--regex", "<p>x</p>", "site"} << 0 << "site/one.htm:2:1: <p>x</p>\n";
  QTest::addRow("plain text, letter case ignored")
      << QStringList{"<P>X</P>", "site"} << 0 << "site/one.htm:2:1: <p>x</p>\n";
  QTest::addRow("starting with a letter")
      << QStringList{"P>X", "site"} << 0 << "site/one.htm:2:2: <p>x</p>\n";
  QTest::addRow("not found: 1") << QStringList{"nowhere", "site"} << 1 << "";
  QTest::addRow("bad expression: 2") << QStringList{"--regex", "(", "site"} << 2 << "";
  QTest::addRow("no path: 2") << QStringList{"x"} << 2 << "";
}

void SearchTest::CommandLine() {
  QFETCH(QStringList, arguments);
  QFETCH(int, status);
  QFETCH(QString, out);
  QProcess process;
  process.setWorkingDirectory(dir_->path());
  process.start(BM_BATCH_EXECUTABLE, QStringList{"find"} + arguments);
  QVERIFY(process.waitForFinished());
  QCOMPARE(process.exitCode(), status);
  QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()), out);
}

QTEST_MAIN(SearchTest)
#include "search_test.moc"
