#include <QTest>

#include "document/block_edits.h"
#include "document/transforms.h"
#include "document/utf8_lines.h"
#include "generators/table.h"

class TransformsTest : public QObject {
  Q_OBJECT

 private slots:
  void TurnsTextIntoHtml_data();
  void TurnsTextIntoHtml();
  void TurnsHtmlIntoText_data();
  void TurnsHtmlIntoText();
  void CompressesText_data();
  void CompressesText();
  void BuildsTheQuickTable_data();
  void BuildsTheQuickTable();
  void BatchFormsKeepWhatABrowserShows_data();
  void BatchFormsKeepWhatABrowserShows();
  void SplitsTheEditorsBytesAsItsLines_data();
  void SplitsTheEditorsBytesAsItsLines();
};

using Lines = QStringList;

namespace {

// A transform on the editor's UTF-8 lines, given and giving decoded lines.
Lines Through(Utf8LineTransform transform, const Lines& lines) {
  return ThroughUtf8(lines, transform);
}

}  // namespace

void TransformsTest::TurnsTextIntoHtml_data() {
  QTest::addColumn<Lines>("lines");
  QTest::addColumn<Lines>("expected");
  QTest::addRow("paragraphs") << Lines{"Hello", "world", "", "Bye"}
                              << Lines{"Hello<br>", "world<p>", "", "Bye<p>"};
  QTest::addRow("single line") << Lines{"x"} << Lines{"x<p>"};
  QTest::addRow("empty editor") << Lines{} << Lines{};
  QTest::addRow("lines are trimmed, blank lines emptied")
      << Lines{"  a  ", "\tb", "   ", "c "} << Lines{"a<br>", "b<p>", "", "c<p>"};
  QTest::addRow("final empty line") << Lines{"a", ""} << Lines{"a<p>", ""};
}

void TransformsTest::TurnsTextIntoHtml() {
  QFETCH(Lines, lines);
  QFETCH(Lines, expected);
  QCOMPARE(Through(&TextToHtml, lines), expected);
}

void TransformsTest::TurnsHtmlIntoText_data() {
  QTest::addColumn<Lines>("lines");
  QTest::addColumn<Lines>("expected");
  QTest::addRow("first nbsp only") << Lines{"a &nbsp;&nbsp; b"} << Lines{"a  ;&nbsp; b"};
  QTest::addRow("lone > takes the start") << Lines{"x > y"} << Lines{" y"};
  QTest::addRow("entities keep their semicolon")
      << Lines{"&lt;b&gt; &copy;"} << Lines{"<;b>; (c);"};
  QTest::addRow("tags removed") << Lines{"<p>Hi <b>you</b></p>", "<br>"} << Lines{"Hi you", ""};
  QTest::addRow("second entity of a kind stays") << Lines{"&lt&lt"} << Lines{"<&lt"};
}

void TransformsTest::TurnsHtmlIntoText() {
  QFETCH(Lines, lines);
  QFETCH(Lines, expected);
  QCOMPARE(Through(&HtmlToText, lines), expected);
}

void TransformsTest::CompressesText_data() {
  QTest::addColumn<Lines>("lines");
  QTest::addColumn<Lines>("expected");
  QTest::addRow("example") << Lines{"  a   b  ", "", "c"} << Lines{"a b", "c"};
  QTest::addRow("only blank lines") << Lines{"", "  ", "\t"} << Lines{};
  QTest::addRow("tabs inside stay") << Lines{"a\t\tb"} << Lines{"a\t\tb"};
  QTest::addRow("non-breaking spaces stay")
      << Lines{QString("a") + QChar(0xA0) + QChar(0xA0) + "b"}
      << Lines{QString("a") + QChar(0xA0) + QChar(0xA0) + "b"};
  QTest::addRow("long run") << Lines{"a" + QString(10000, ' ') + "b"} << Lines{"a b"};
}

void TransformsTest::CompressesText() {
  QFETCH(Lines, lines);
  QFETCH(Lines, expected);
  QCOMPARE(Through(&CompressText, lines), expected);
}

void TransformsTest::BuildsTheQuickTable_data() {
  QTest::addColumn<Lines>("lines");
  QTest::addColumn<Lines>("expected");
  QTest::addRow("two lines") << Lines{"a", "b"}
                             << Lines{"<table>", "<tr><td>a</td></tr>", "<tr><td>b</td></tr>",
                                      "</table>"};
  QTest::addRow("empty line") << Lines{""} << Lines{"<table>", "<tr><td></td></tr>", "</table>"};
  QTest::addRow("empty document") << Lines{} << Lines{"<table>", "</table>"};
}

void TransformsTest::BuildsTheQuickTable() {
  QFETCH(Lines, lines);
  QFETCH(Lines, expected);
  QCOMPARE(Through(&QuickTableLines, lines), expected);
}

QTEST_APPLESS_MAIN(TransformsTest)
void TransformsTest::SplitsTheEditorsBytesAsItsLines_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<QList<QByteArray>>("lines");
  using L = QList<QByteArray>;
  QTest::addRow("empty: no lines") << QByteArray() << L{};
  QTest::addRow("one line") << QByteArray("a") << L{"a"};
  QTest::addRow("final break") << QByteArray("a\n") << L{"a", ""};
  QTest::addRow("every kind of break") << QByteArray("a\r\nb\rc\nd") << L{"a", "b", "c", "d"};
  QTest::addRow("a lone CR before CRLF") << QByteArray("\r\r\n") << L{"", "", ""};
  QTest::addRow("breaks of CR only") << QByteArray("x\r\ry") << L{"x", "", "y"};
}

void TransformsTest::SplitsTheEditorsBytesAsItsLines() {
  QFETCH(QByteArray, text);
  QFETCH(QList<QByteArray>, lines);
  QList<QByteArray> split;
  for (const QByteArrayView line : SplitUtf8Lines(text)) split.append(line.toByteArray());
  QCOMPARE(split, lines);
}

#include "transforms_test.moc"

// The batch tools' forms: preformatted content untouched, only visible text kept, text
// escaped. Each case pairs the function with its input and output.
void TransformsTest::BatchFormsKeepWhatABrowserShows_data() {
  QTest::addColumn<QString>("function");
  QTest::addColumn<Lines>("lines");
  QTest::addColumn<Lines>("expected");
  QTest::addRow("pre kept by tidy")
      << "tidy"
      << Lines{"  <p>a   b", "<PRE class=c>int  main()", "", "    return 0;", "</pre>", "", "  x  "}
      << Lines{"<p>a b", "<PRE class=c>int  main()", "", "    return 0;", "</pre>", "x"};
  QTest::addRow("open script runs to the end") << "tidy" << Lines{"<script>", "  if (a)  b();", ""}
                                               << Lines{"<script>", "  if (a)  b();", ""};
  QTest::addRow("prefix is not pre")
      << "tidy" << Lines{"<prefix>", "  a  "} << Lines{"<prefix>", "a"};
  QTest::addRow("blank lines of textarea kept by append")
      << "blank" << Lines{"<textarea>", "", "</textarea>", "", "end"}
      << Lines{"<textarea>", "", "</textarea>", "end"};
  QTest::addRow("comment, style, script and head left out of the text")
      << "text"
      << Lines{"<!-- licence",
               "text -->",
               "<html><head><title>Title</title>",
               "<meta charset=utf-8><style>",
               "p { color: red }",
               "</style></head>",
               "<body><p>Shown &lt;here&gt;<script>hidden()</script>",
               "</body></html>"}
      << Lines{"Title", "", "Shown <here>"};
  QTest::addRow("references as a browser reads them")
      << "text" << Lines{"&lt;b&gt; &amp;amp; &quot;q&quot; &#945;&#x3b2; &copy; &copy x&nbsp;y"}
      << Lines{QString::fromUtf16(u"<b> &amp; \"q\" αβ © © x\u00A0y")};
  QTest::addRow("what is no reference stays")
      << "text" << Lines{"a & b &bogus; &#; &#150; &notit;"}
      << Lines{QString::fromUtf16(u"a & b &bogus; &#; \u2013 ¬it;")};
  QTest::addRow("blocks end their lines")
      << "text" << Lines{"<h1>Head</h1><p>one</p><p>two<br>three</p>", "<ul><li>a</li> <li>b</ul>"}
      << Lines{"Head", "one", "two", "three", "a", "b"};
  QTest::addRow("empty page") << "text" << Lines{} << Lines{};
  QTest::addRow("byte order mark inside is text")
      << "text" << Lines{"<p>a", QString::fromUtf16(u"\uFEFFb")}
      << Lines{"a", QString::fromUtf16(u"\uFEFFb")};
  QTest::addRow("text escaped into html")
      << "html" << Lines{"a < 5 & b > 2"} << Lines{"a &lt; 5 &amp; b &gt; 2<p>"};
}

void TransformsTest::BatchFormsKeepWhatABrowserShows() {
  QFETCH(QString, function);
  QFETCH(Lines, lines);
  QFETCH(Lines, expected);
  Lines result = lines;
  if (function == "tidy") result = CompressTextKeepingRaw(lines);
  if (function == "blank") block_edits::RemoveBlankLines(result);
  if (function == "text") result = HtmlToVisibleText(lines);
  if (function == "html") result = PlainTextToHtml(lines);
  QCOMPARE(result, expected);
}
