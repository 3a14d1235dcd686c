#include <QAction>
#include <QLineEdit>
#include <QTest>

#include "app/abbreviation_commands.h"
#include "app/main_window.h"
#include "editor/code_editor.h"
#include "support/window_fixture.h"

// Abbreviations through memo1: Ctrl+E, Tab, tab stops and wrapping, as the user types them.
class AbbreviationCommandsTest : public WindowTest {
  Q_OBJECT

 private slots:
  // Each expansion is one undo step, written with the page's indent and line ends.
  void ExpandsAsOneStep_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    // A page with no indentation yet takes the editor's own step, as auto-indent does.
    QTest::addRow("list")
        << ""
        << "ul>li.item$*2"
        << "<ul>\n  <li class=\"item1\"></li>\n  <li class=\"item2\"></li>\n</ul>";
    QTest::addRow("tab page") << "<ul>\n\t<li>a</li>\n</ul>\n"
                              << "ol>li"
                              << "<ul>\n\t<li>a</li>\n</ul>\n<ol>\n\t<li></li>\n</ol>";
    QTest::addRow("two-space page") << "<div>\n  <p>x</p>\n</div>\n"
                                    << "ol>li"
                                    << "<div>\n  <p>x</p>\n</div>\n<ol>\n  <li></li>\n</ol>";
    QTest::addRow("indented line") << "<div>\n\t"
                                   << "p>b"
                                   << "<div>\n\t<p><b></b></p>";
    QTest::addRow("style element") << "<style>\n"
                                   << "m10"
                                   << "<style>\nmargin: 10px;";
    QTest::addRow("style attribute") << "<p style=\""
                                     << "bd1-s"
                                     << "<p style=\"border: 1px solid;";
  }
  void ExpandsAsOneStep() {
    QFETCH(QString, page);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    Main().Editor().LoadText(page);
    Editor()->SendScintilla(QsciScintilla::SCI_DOCUMENTEND);
    QTest::keyClicks(Editor(), typed);
    Run("ExpandAbbreviation");
    QCOMPARE(Main().Editor().Text(), expected);
    Editor()->undo();
    QCOMPARE(Main().Editor().Text(), page + typed);
  }

  // Tab visits the empty places in order; Escape leaves them.
  void TabStopsInOrder() {
    Main().Editor().LoadText(QString());
    QTest::keyClicks(Editor(), "a+img");
    QTest::keyClick(Editor(), Qt::Key_Tab);
    QCOMPARE(Main().Editor().Text(), QString("<a href=\"\"></a><img src=\"\" alt=\"\">"));
    QCOMPARE(Main().Editor().CaretPosition(), 9);  // in href's value
    QTest::keyClicks(Editor(), "x.htm");
    QTest::keyClick(Editor(), Qt::Key_Tab);
    QCOMPARE(Main().Editor().CaretPosition(), 16);  // the link's text
    QTest::keyClick(Editor(), Qt::Key_Tab);
    QCOMPARE(Main().Editor().CaretPosition(), 30);  // src
    QTest::keyClick(Editor(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(Main().Editor().CaretPosition(), 16);
    QTest::keyClick(Editor(), Qt::Key_Escape);
    QVERIFY(!Editor()->HasTabStops());
  }

  // Tab on prose, and on markup already written, inserts a tab and expands nothing.
  void TabLeavesProseAlone_data() {
    QTest::addColumn<QString>("line");
    QTest::addRow("sentence") << "The house stands by the river.";
    QTest::addRow("words") << "and then the table";
    QTest::addRow("russian") << QString::fromUtf8("Дом стоит у реки. Конец.");
    QTest::addRow("hyphen") << "a well-";
    QTest::addRow("comment") << "<!-- note -->";
    QTest::addRow("markup") << "<p>Some <b>bold</b> text</p>";
    QTest::addRow("inside script") << "<script>\nvar a = b>c";
  }
  void TabLeavesProseAlone() {
    QFETCH(QString, line);
    Main().Editor().LoadText(line);
    Editor()->SendScintilla(QsciScintilla::SCI_DOCUMENTEND);
    const QString before = Main().Editor().Text();
    QTest::keyClick(Editor(), Qt::Key_Tab);
    QCOMPARE(Main().Editor().Text(), before + "\t");
  }

  // "!" writes the page's own encoding and the interface's language.
  void SkeletonInThePagesEncoding() {
    Write("old.htm", "x");
    QVERIFY(Main().Session().OpenFile(Path("old.htm")));
    Main().Editor().LoadText(QString());
    QTest::keyClicks(Editor(), "!");
    Run("ExpandAbbreviation");
    QVERIFY(Main().Editor().Text().contains("<meta charset=\"windows-1251\">"));
    QVERIFY(Main().Editor().Text().contains("<html lang=\"en\">"));
  }

  // Three lines wrapped with li* become three items, shown live, kept as one step.
  void WrapsLines() {
    Main().Editor().LoadText("one\ntwo\nthree");
    Main().Editor().SelectAll();
    Run("WrapWithAbbreviation");
    QLineEdit* field = Main().findChild<QLineEdit*>("AbbreviationField");
    QVERIFY(field->isVisible());
    QTest::keyClicks(field, "ul>li*");
    QCOMPARE(Main().Editor().Text(),
             QString("<ul>\n  <li>one</li>\n  <li>two</li>\n  <li>three</li>\n</ul>"));
    QTest::keyClick(field, Qt::Key_Return);
    QVERIFY(!field->isVisible());
    Editor()->undo();
    QCOMPARE(Main().Editor().Text(), QString("one\ntwo\nthree"));
    // Escape puts the text back.
    Main().Editor().SelectAll();
    Run("WrapWithAbbreviation");
    QTest::keyClicks(field, "li*");
    QTest::keyClick(field, Qt::Key_Escape);
    QCOMPARE(Main().Editor().Text(), QString("one\ntwo\nthree"));
  }

  // Ctrl+Shift+Up selects the element around the caret, then its parent; Down goes back in.
  void BalancesThroughTheEditor() {
    Main().Editor().LoadText("<div><p>one <b>two</b></p></div>");
    Main().Editor().Select(17, 0);  // in "two"
    QTest::keySequence(&Main(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up));
    QCOMPARE(Main().Editor().SelectedText(), QString("<b>two</b>"));
    Run("BalanceOutward");
    QCOMPARE(Main().Editor().SelectedText(), QString("<p>one <b>two</b></p>"));
    Run("BalanceInward");
    QCOMPARE(Main().Editor().SelectedText(), QString("<b>two</b>"));
  }

 private:
  void Run(const char* action) { Main().findChild<QAction*>(action)->trigger(); }
};

QTEST_MAIN(AbbreviationCommandsTest)
#include "abbreviation_commands_test.moc"
