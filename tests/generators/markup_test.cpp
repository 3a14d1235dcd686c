#include <QTest>

#include "document/text_helpers.h"
#include "generators/markup.h"

Q_DECLARE_METATYPE(ImageTagFields)
Q_DECLARE_METATYPE(TableFields)

// The markup builders against the cases the windows are known by.
class MarkupTest : public QObject {
  Q_OBJECT

 private slots:
  void ImageTag_data() {
    QTest::addColumn<ImageTagFields>("fields");
    QTest::addColumn<QString>("tag");
    ImageTagFields start;
    start.src = "a.gif";
    start.height = 50;
    start.width = 100;
    QTest::addRow("start values") << start << R"(<img src="a.gif" height="50" width="100">)";
    ImageTagFields zero = start;
    zero.border = 0;
    zero.height = 0;
    QTest::addRow("border 0 written, height 0 not")
        << zero << R"(<img src="a.gif" border="0" width="100">)";
    ImageTagFields alt = start;
    alt.alt = "   ";
    alt.align = " left";
    QTest::addRow("blank alt left out, align as typed")
        << alt << R"(<img src="a.gif" align=" left" height="50" width="100">)";
    ImageTagFields spaced = start;
    spaced.alt = " x ";
    spaced.hspace = 0;
    spaced.vspace = 3;
    QTest::addRow("alt with spaces, spaces")
        << spaced << R"(<img src="a.gif" alt=" x " height="50" width="100" hspace="0" vspace="3">)";
  }
  void ImageTag() {
    QFETCH(ImageTagFields, fields);
    QFETCH(QString, tag);
    QCOMPARE(BuildImageTag(fields), tag);
  }

  void SrcForms_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("src");
    const int full = int(SrcForm::kFullPath);
    QTest::addRow("untitled page") << "/pics/a.gif" << full << ""
                                   << "/pics/a.gif";
    QTest::addRow("under the page") << "/site/img/a.gif" << full << "/site"
                                    << "img/a.gif";
    QTest::addRow("beside the page") << "/site/a.gif" << full << "/site/"
                                     << "a.gif";
    QTest::addRow("elsewhere") << "/other/a.gif" << full << "/site"
                               << "/other/a.gif";
    QTest::addRow("a folder that only starts alike") << "/site2/a.gif" << full << "/site"
                                                     << "/site2/a.gif";
    QTest::addRow("without the root") << "/home/u/a.gif" << int(SrcForm::kWithoutDrive) << "/home"
                                      << "home/u/a.gif";
    QTest::addRow("file name") << "/home/u/pics/a.gif" << int(SrcForm::kFileName) << ""
                               << "a.gif";
  }
  void SrcForms() {
    QFETCH(QString, path);
    QFETCH(int, form);
    QFETCH(QString, folder);
    QFETCH(QString, src);
    QCOMPARE(SrcFromPath(path, SrcForm(form), folder), src);
  }

  void Table_data() {
    QTest::addColumn<TableFields>("fields");
    QTest::addColumn<QStringList>("lines");
    QTest::addRow("start values") << TableFields{}
                                  << QStringList{"<table>", "<tr>", "<td> </td>", "</tr>",
                                                 "</table>"};
    TableFields coloured;
    coloured.background = "#FF0000";
    coloured.border_settings = true;
    QTest::addRow("colour then border settings")
        << coloured
        << QStringList{"<table bgcolor=#FF0000  border=1 cellpadding=1 cellspacing=1>", "<tr>",
                       "<td> </td>", "</tr>", "</table>"};
    TableFields three;
    three.background = "a";
    three.light_border = "b";
    three.dark_border = "c";
    three.cell_colour = true;
    QTest::addRow("three colours end in a space")
        << three
        << QStringList{"<table bgcolor=a  bordercolorlight=b  bordercolordark=c >", "<tr>",
                       "<td bgcolor=> </td>", "</tr>", "</table>"};
  }
  void Table() {
    QFETCH(TableFields, fields);
    QFETCH(QStringList, lines);
    QCOMPARE(TableLines(fields), lines);
  }

  void TableOfTwoRowsAndThreeColumns() {
    TableFields fields;
    fields.rows = 2;
    fields.columns = 3;
    const QStringList lines = TableLines(fields);
    QCOMPARE(lines.size(), 12);
    QCOMPARE(lines.count("<td> </td>"), 6);
    QCOMPARE(lines.last(), QString("</table>"));
  }

  void Lists() {
    QCOMPARE(ListLines(true, 0, 3),
             QStringList({"<ol type=\"1\">", "<li>", "<li>", "<li>", "</ol>"}));
    QCOMPARE(ListLines(false, 2, 1), QStringList({"<ul type=\"square\">", "<li>", "</ul>"}));
    QCOMPARE(ListLines(true, 4, 1).first(), QString("<ol type=\"i\">"));
    QCOMPARE(ListLines(true, -1, 1).first(), QString("<ol type=\"\">"));
  }

  void Rules() {
    QCOMPARE(RuleTag(std::nullopt, false, std::nullopt), QString("<hr>"));
    QCOMPARE(RuleTag(5, true, QString("#FF0000")), QString("<hr size=5 noshade color=#FF0000>"));
  }

  void ChartBars() {
    QCOMPARE(BarLine(BarStyle::kLabelInside, Bar{"A", 1, "", "a=b", "white"}),
             QString("<table><tr><td width=1 bgcolor=\"\"><font color=\"a=b\">A</font></td></tr>"
                     "</table>"));
    Bar bar{"A", 1, "blue", "white", "white"};
    QCOMPARE(ChartOpeningLine("white"),
             QString("<center><table><tr><td bgcolor=white><p align=left>"));
    QCOMPARE(BarLine(BarStyle::kLabelBesideValue, bar),
             QString("A</td><td><table><tr><td width=1 bgcolor=blue><font color=white>1</font>"
                     "</td></tr></table></td></tr><tr><td bgcolor=white>"));
    QCOMPARE(
        BarLine(BarStyle::kLabelInside, bar),
        QString(
            "<table><tr><td width=1 bgcolor=blue><font color=white>A</font></td></tr></table>"));
    QCOMPARE(BarLine(BarStyle::kLabelBeside, bar),
             QString("A</td><td><table><tr><td width=1 bgcolor=blue>&nbsp</td></tr></table></td>"
                     "</tr><tr><td bgcolor=white>"));
    QCOMPARE(ChartInsertion({"x"}, "   "), QStringList{"x"});
    QCOMPARE(ChartInsertion({"x"}, " X "), QStringList({"<center> X </center>", "x"}));
  }

  void CssRules() {
    QCOMPARE(CssRule("H1", {{"font-weight", "lighter"}}), QString("H1 { font-weight: lighter; }"));
    QCOMPARE(CssRule("P", {{"font-size", "10pt"}, {"color", "#ffffff"}}),
             QString("P { font-size: 10pt; color: #ffffff; }"));
    QCOMPARE(CssRule("BODY", {}), QString("BODY { }"));
    QCOMPARE(CssPropertyNames().size(), 25);
    QVERIFY(CssPropertyNames().indexOf("font-size") < CssPropertyNames().indexOf("margin-left"));
  }

  void FontFamilies() {
    QCOMPARE(FontFamilyName("C059 [UKWN]"), QString("C059"));
    QCOMPARE(FontFamilyName("DejaVu Sans"), QString("DejaVu Sans"));
    QCOMPARE(CssFontFamily("DejaVu Sans"), QString("\"DejaVu Sans\""));
    QCOMPARE(CssFontFamily("serif"), QString("serif"));
  }

  void ImageMap() {
    QCOMPARE(ImageTagText("/p/a.jpg", "my map"), QString("<img src=/p/a.jpg usemap=\"#my map\">"));
    QCOMPARE(
        *AreaTagText("rect", "1,2,3,4", "a b.htm", "Main \"chip\"", ""),
        QString("<area shape=rect coords=1,2,3,4 href=\"a b.htm\" alt=\"Main &quot;chip&quot;\">"));
    QCOMPARE(AreaTagText("rect", "", "x.htm", "", ""), std::nullopt);
    QCOMPARE(*AreaTagText("rect", "1,2,3,4", "x.htm", "", "T"),
             QString("<area shape=rect coords=1,2,3,4 href=x.htm title=T>"));
    QCOMPARE(AreaCoords({50, 40}, {10, 5}, 100, 80), AreaCoords({10, 5}, {50, 40}, 100, 80));
    QCOMPARE(AreaCoords({10, 5}, {500, 900}, 100, 80), QString("10,5,100,80"));
    QCOMPARE(AreaCoords({10, 5}, {-3, -9}, 100, 80), QString("0,0,10,5"));
    QCOMPARE(ImageMapLines("<img>", "m", {"B", "A"}),
             QStringList({"<img>", "<map name=m>", "B", "A", "</map>"}));
  }

  void BlockReplace_data() {
    QTest::addColumn<QStringList>("document");
    QTest::addColumn<QStringList>("find");
    QTest::addColumn<QStringList>("replacement");
    QTest::addColumn<QStringList>("result");
    QTest::addRow("two blocks") << QStringList{"a", "b", "a", "b"} << QStringList{"a", "b"}
                                << QStringList{"x"} << QStringList{"x", "x"};
    QTest::addRow("from the bottom up") << QStringList{"a", "a", "a"} << QStringList{"a", "a"}
                                        << QStringList{"b"} << QStringList{"a", "b"};
    QTest::addRow("beyond the end counts as empty") << QStringList{"a", "b"} << QStringList{"b", ""}
                                                    << QStringList{"c"} << QStringList{"a", "c"};
    QTest::addRow("empty find inserts before every line")
        << QStringList{"a", "b"} << QStringList{} << QStringList{"x"}
        << QStringList{"x", "a", "x", "b"};
    QTest::addRow("inserted lines take part below")
        << QStringList{"a", "a", "b"} << QStringList{"a", "b"} << QStringList{"b"}
        << QStringList{"b"};
  }
  void BlockReplace() {
    QFETCH(QStringList, document);
    QFETCH(QStringList, find);
    QFETCH(QStringList, replacement);
    QFETCH(QStringList, result);
    QCOMPARE(ReplaceBlocksInLines(document, find, replacement), result);
  }

  void LineReplace() {
    QCOMPARE(ReplaceFirstInEveryLine({"abab", "ab", "a"}, "ab", "X"),
             QStringList({"Xab", "X", "a"}));
    QCOMPARE(ReplaceFirstInEveryLine({"a"}, "A", "X"), QStringList({"a"}));
    QCOMPARE(ReplaceFirstInEveryLine({"a"}, "", "X"), QStringList({"a"}));
  }

  void DefaultExtension() {
    QCOMPARE(WithDefaultExtension("/x/styles", ".css"), QString("/x/styles.css"));
    QCOMPARE(WithDefaultExtension("/my.site/styles", ".css"), QString("/my.site/styles"));
    QCOMPARE(FieldLines("a\nb\n"), QStringList({"a", "b"}));
    QCOMPARE(FieldLines(""), QStringList());
  }
};

QTEST_GUILESS_MAIN(MarkupTest)
#include "markup_test.moc"
