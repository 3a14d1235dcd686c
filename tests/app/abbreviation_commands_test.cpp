#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
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

  // The library's published examples, each expanded in memo1 on a CR LF page indented with
  // tabs, as one undo step, written as the library writes them with the page's line ends.
  // One program runs them all: a row each would start the program hundreds of times.
  void LibraryExamplesAsThePageWritesThem() {
    QFile file(BM_TEST_DATA "/abbreviations/examples.tsv");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const auto unescape = [](QString text) {
      return text.replace("\\n", "\n").replace("\\t", "\t").replace("\\\\", "\\");
    };
    int counts[2] = {0, 0};
    for (const QByteArray& line : file.readAll().split('\n')) {
      if (line.isEmpty() || line.startsWith('#')) continue;
      const QList<QByteArray> fields = line.split('\t');
      const bool css = fields[0] == "css";
      ++counts[css ? 1 : 0];
      const QByteArray page = css ? "<style>\r\n\tp {}\r\n" : "<body>\r\n\t<p>x</p>\r\n";
      const QString abbreviation = unescape(QString::fromUtf8(fields[1]));
      const QString expected = unescape(QString::fromUtf8(fields[2]));
      Write("page.htm", page);
      Main().Session().ClearPage();  // the last example's edits go without a question
      QVERIFY(Main().Session().OpenFile(Path("page.htm")));
      Editor()->SendScintilla(QsciScintilla::SCI_DOCUMENTEND);
      Editor()->insert(abbreviation);
      Editor()->SendScintilla(QsciScintilla::SCI_DOCUMENTEND);
      Run("ExpandAbbreviation");
      QVERIFY2(Main().Editor().Buffer() == page + QString(expected).replace("\n", "\r\n").toUtf8(),
               qPrintable(abbreviation + " gave " + QString::fromUtf8(Main().Editor().Buffer())));
      Editor()->undo();
      QVERIFY2(Main().Editor().Buffer() == page + abbreviation.toUtf8(), qPrintable(abbreviation));
    }
    QVERIFY(counts[0] >= 60 && counts[1] >= 30);
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

  // Tab at the end of 200 lines of English and Russian prose, as text and in markup, inserts
  // a tab and expands nothing.
  void TabLeavesProseAlone() {
    const char* sentences[] = {
        "The house stands by the river",
        "We met at the table",
        "Please read the form",
        "Open the main menu",
        "A small section of the article",
        "The header and the footer",
        "Put the button on the left",
        "An image says more than a list",
        "Nothing stays the same",
        "This is the end",
        "Look at the map",
        "She wrote an address",
        "Check the label",
        "The video is long",
        "Turn the page",
        "Дом стоит у реки",
        "Мы встретились за столом",
        "Прочитайте форму",
        "Откройте главное меню",
        "Небольшой раздел статьи",
        "Шапка и подвал страницы",
        "Поставьте кнопку слева",
        "Картинка говорит больше списка",
        "Ничто не остаётся прежним",
        "Это конец",
    };
    int n = 0;
    for (const char* sentence : sentences) {
      const QString s = QString::fromUtf8(sentence);
      for (const QString& line : {s, s + ".", "<li>" + s, s + " -", "<p>" + s + "</p>",
                                  "    " + s + ",", "<td>" + s + ".", "- " + s}) {
        Main().Editor().LoadText(line);
        Editor()->SendScintilla(QsciScintilla::SCI_DOCUMENTEND);
        QTest::keyClick(Editor(), Qt::Key_Tab);
        QVERIFY2(Main().Editor().Text() == line + "\t", qPrintable(line));
        ++n;
      }
    }
    QVERIFY(n >= 200);
  }

  // Without the library the commands say so once, in the status bar, and Tab inserts a tab.
  void MissingLibrarySaysSoOnce() {
    AbbreviationCommands missing(
        Path("none/emmet.cjs"), [this] { return Editor(); }, Main().Session(),
        Main().centralWidget());
    QSignalSpy notes(&missing, &AbbreviationCommands::Note);
    missing.WatchTab(Editor());
    Main().Editor().LoadText("ul>li");
    Editor()->SendScintilla(QsciScintilla::SCI_DOCUMENTEND);
    QVERIFY(!missing.Expand(false));
    QTest::keyClick(Editor(), Qt::Key_Tab);
    QCOMPARE(Main().Editor().Text(), QString("ul>li\t"));
    QCOMPARE(notes.size(), 1);
    QVERIFY(notes.first().first().toString().contains(Path("none/emmet.cjs")));
    Main().Abbreviations()->WatchTab(Editor());
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
    // With no selection the element around the caret is wrapped.
    Main().Editor().LoadText("<p>one <b>two</b></p>");
    Main().Editor().Select(11, 0);  // in "two"
    Run("WrapWithAbbreviation");
    QTest::keyClicks(field, "em");
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(Main().Editor().Text(), QString("<p>one <em><b>two</b></em></p>"));
    Main().Editor().LoadText("one\ntwo\nthree");
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
