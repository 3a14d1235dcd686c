#include <QTest>

#include "document/html_lexer.h"

using Spans = QList<HtmlSpan>;
Q_DECLARE_METATYPE(HtmlSpan)

// The parts of tricky lines, and what a line leaves open for the next.
class HtmlLexerTest : public QObject {
  Q_OBJECT

 private slots:
  void Lines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("state");
    QTest::addColumn<Spans>("spans");
    QTest::addColumn<int>("end_state");
    using P = HtmlPart;
    QTest::addRow("tag with a quoted value")
        << R"(<a href="x.htm">)" << int(kInText)
        << Spans{{0, 2, P::kTag}, {3, 4, P::kAttribute}, {8, 7, P::kValue}, {15, 1, P::kTag}}
        << int(kInText);
    QTest::addRow("> inside quotes")
        << R"(<p title="a>b">)" << int(kInText)
        << Spans{{0, 2, P::kTag}, {3, 5, P::kAttribute}, {9, 5, P::kValue}, {14, 1, P::kTag}}
        << int(kInText);
    QTest::addRow("unquoted value")
        << "<td width=5>" << int(kInText)
        << Spans{{0, 3, P::kTag}, {4, 5, P::kAttribute}, {10, 1, P::kValue}, {11, 1, P::kTag}}
        << int(kInText);
    QTest::addRow("comment left open")
        << "x <!-- a <b>" << int(kInText) << Spans{{2, 10, P::kComment}} << int(kInComment);
    QTest::addRow("comment closed on the next line")
        << "still --> <i>" << int(kInComment)
        << Spans{{0, 9, P::kComment}, {10, 2, P::kTag}, {12, 1, P::kTag}} << int(kInText);
    QTest::addRow("marker") << "<p><,,pattern,,></p>" << int(kInText)
                            << Spans{{0, 2, P::kTag},
                                     {2, 1, P::kTag},
                                     {3, 13, P::kMarker},
                                     {16, 3, P::kTag},
                                     {19, 1, P::kTag}}
                            << int(kInText);
    QTest::addRow("entity, and a bare ampersand")
        << "a &amp; b & c &#169;" << int(kInText) << Spans{{2, 5, P::kEntity}, {14, 6, P::kEntity}}
        << int(kInText);
    QTest::addRow("tag across lines")
        << "<img src=\"a" << int(kInText)
        << Spans{{0, 4, P::kTag}, {5, 3, P::kAttribute}, {9, 2, P::kValue}} << int(kInDoubleQuoted);
    QTest::addRow("less-than in text") << "a < b" << int(kInText) << Spans{} << int(kInText);
  }
  void Lines() {
    QFETCH(QString, line);
    QFETCH(int, state);
    QFETCH(Spans, spans);
    QFETCH(int, end_state);
    const HtmlLine lexed = LexHtmlLine(line, state);
    QCOMPARE(lexed.spans, spans);
    QCOMPARE(lexed.end_state, end_state);
  }
};

QTEST_GUILESS_MAIN(HtmlLexerTest)
#include "html_lexer_test.moc"
