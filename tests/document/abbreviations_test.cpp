#include <QTest>

#include "document/abbreviations.h"

namespace {

QString Library() { return QStringLiteral(BM_SCRIPT_DIR "/emmet.cjs"); }

}  // namespace

// The abbreviation library in its own engine: expansions as the page writes them, what Tab
// takes for an abbreviation, and where abbreviations are read.
class AbbreviationsTest : public QObject {
  Q_OBJECT

 private slots:
  void Markup_data() {
    QTest::addColumn<QString>("abbreviation");
    QTest::addColumn<QString>("expected");
    QTest::addRow("list") << "ul>li.item$*3"
                          << "<ul>\n\t<li class=\"item1\"></li>\n\t<li class=\"item2\"></li>\n"
                             "\t<li class=\"item3\"></li>\n</ul>";
    QTest::addRow("sibling") << "div+p+bq"
                             << "<div></div>\n<p></p>\n<blockquote></blockquote>";
    QTest::addRow("climb up") << "div+div>p>span+em^bq"
                              << "<div></div>\n<div>\n\t<p><span></span><em></em></p>\n"
                                 "\t<blockquote></blockquote>\n</div>";
    QTest::addRow("grouping") << "(header>ul>li*2>a)+footer>p"
                              << "<header>\n\t<ul>\n\t\t<li><a href=\"\"></a></li>\n"
                                 "\t\t<li><a href=\"\"></a></li>\n\t</ul>\n</header>\n"
                                 "<footer>\n\t<p></p>\n</footer>";
    QTest::addRow("id and class") << "div#header+div.page"
                                  << "<div id=\"header\"></div>\n<div class=\"page\"></div>";
    QTest::addRow("attributes") << "td[title=\"Hello world!\" colspan=3]"
                                << "<td title=\"Hello world!\" colspan=\"3\"></td>";
    QTest::addRow("text") << "a{Click me}"
                          << "<a href=\"\">Click me</a>";
    QTest::addRow("numbering down") << "ul>li.item$@-*3"
                                    << "<ul>\n\t<li class=\"item3\"></li>\n"
                                       "\t<li class=\"item2\"></li>\n\t<li class=\"item1\"></li>\n"
                                       "</ul>";
    QTest::addRow("implicit") << "ul>.item"
                              << "<ul>\n\t<li class=\"item\"></li>\n</ul>";
    QTest::addRow("empty element") << "img"
                                   << "<img src=\"\" alt=\"\">";
    QTest::addRow("link css") << "link:css"
                              << "<link rel=\"stylesheet\" href=\"style.css\">";
  }
  void Markup() {
    QFETCH(QString, abbreviation);
    QFETCH(QString, expected);
    AbbreviationEngine engine(Library());
    const std::optional<Expansion> expansion = engine.Expand(abbreviation, AbbreviationStyle{});
    QVERIFY(expansion);
    QCOMPARE(expansion->text, expected);
  }

  void Css_data() {
    QTest::addColumn<QString>("abbreviation");
    QTest::addColumn<QString>("expected");
    QTest::addRow("margin") << "m10"
                            << "margin: 10px;";
    QTest::addRow("border") << "bd1-s"
                            << "border: 1px solid;";
    QTest::addRow("two values") << "p10-20"
                                << "padding: 10px 20px;";
    QTest::addRow("display") << "d:n"
                             << "display: none;";
    QTest::addRow("percent") << "w100p"
                             << "width: 100%;";
  }
  void Css() {
    QFETCH(QString, abbreviation);
    QFETCH(QString, expected);
    AbbreviationEngine engine(Library());
    const std::optional<Expansion> expansion =
        engine.Expand(abbreviation, AbbreviationStyle{.syntax = AbbreviationSyntax::kCss});
    QVERIFY(expansion);
    QCOMPARE(expansion->text, expected);
  }

  // The page's indent step and the line's indentation; XHTML's empty elements; "!" in the
  // page's encoding and the interface's language.
  void OutputFitsThePage() {
    AbbreviationEngine engine(Library());
    AbbreviationStyle style{.indent_step = "  ", .base_indent = "    "};
    QCOMPARE(engine.Expand("ul>li", style)->text, QString("<ul>\n      <li></li>\n    </ul>"));
    style.syntax = AbbreviationSyntax::kXhtml;
    QCOMPARE(engine.Expand("br", style)->text, QString("<br />"));
    style = AbbreviationStyle{.charset = "windows-1251", .lang = "ru"};
    const QString page = engine.Expand("!", style)->text;
    QVERIFY(page.contains("<html lang=\"ru\">"));
    QVERIFY(page.contains("<meta charset=\"windows-1251\">"));
    QVERIFY(!page.contains("${"));
  }

  // Tab stops: every empty place and default text, in the library's order, without its marks.
  void TabStops() {
    AbbreviationEngine engine(Library());
    const Expansion expansion = *engine.Expand("a+img", AbbreviationStyle{});
    QCOMPARE(expansion.text, QString("<a href=\"\"></a><img src=\"\" alt=\"\">"));
    QCOMPARE(expansion.stops.size(), 4);
    QCOMPARE(expansion.stops[0], (TabStop{9, 0}));   // href
    QCOMPARE(expansion.stops[1], (TabStop{11, 0}));  // the link's text
  }

  void Wraps() {
    AbbreviationEngine engine(Library());
    const std::optional<Expansion> list =
        engine.Expand("ul>li*", AbbreviationStyle{}, {"one", "two", "three"});
    QCOMPARE(list->text, QString("<ul>\n\t<li>one</li>\n\t<li>two</li>\n\t<li>three</li>\n</ul>"));
  }

  // What Tab takes for an abbreviation, and what it leaves as prose.
  void TabExpandsOnlyAbbreviations_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("expands");
    QTest::addRow("syntax") << "ul>li*3" << true;
    QTest::addRow("element") << "table" << true;
    QTest::addRow("snippet") << "link:css" << true;
    QTest::addRow("plus form") << "ul+" << true;
    QTest::addRow("sentence end") << "This is the end." << false;
    QTest::addRow("comment end") << "<!-- note -->" << false;
    QTest::addRow("hyphen") << "well-" << false;
    QTest::addRow("word") << "house" << false;
    QTest::addRow("russian") << QString::fromUtf8("конец.") << false;
  }
  void TabExpandsOnlyAbbreviations() {
    QFETCH(QString, line);
    QFETCH(bool, expands);
    AbbreviationEngine engine(Library());
    const std::optional<ExtractedAbbreviation> found =
        engine.Extract(line, AbbreviationSyntax::kHtml);
    QCOMPARE(
        found.has_value() && engine.ExpandsOnTab(found->abbreviation, AbbreviationSyntax::kHtml),
        expands);
  }

  void SyntaxAtTheCaret_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("syntax");  // -1: nowhere
    QTest::addRow("text") << QByteArray("<body><p>x</p>") << int(AbbreviationSyntax::kHtml);
    QTest::addRow("style element")
        << QByteArray("<style>\nbody { ") << int(AbbreviationSyntax::kCss);
    QTest::addRow("style attribute")
        << QByteArray("<p style=\"m1") << int(AbbreviationSyntax::kCss);
    QTest::addRow("other attribute") << QByteArray("<p title=\"m1") << -1;
    QTest::addRow("script") << QByteArray("<script>\nvar a") << -1;
    QTest::addRow("comment") << QByteArray("<!-- ul>li") << -1;
    QTest::addRow("after style") << QByteArray("<style>a{}</style>\n<p>")
                                 << int(AbbreviationSyntax::kHtml);
  }
  void SyntaxAtTheCaret() {
    QFETCH(QByteArray, before);
    QFETCH(int, syntax);
    const std::optional<AbbreviationSyntax> found = AbbreviationSyntaxAt(before, false);
    QCOMPARE(found ? int(*found) : -1, syntax);
  }

  void MissingLibrarySaysWhy() {
    AbbreviationEngine engine("/nonexistent/emmet.cjs");
    QString error;
    QVERIFY(!engine.Ready(&error));
    QVERIFY(error.contains("/nonexistent/emmet.cjs"));
    QVERIFY(!engine.Expand("ul>li", AbbreviationStyle{}));
  }
};

QTEST_GUILESS_MAIN(AbbreviationsTest)
#include "abbreviations_test.moc"
