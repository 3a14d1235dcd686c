#include <QTest>

#include "batch/batch_tools.h"

// Templates, numbering and renaming rules.
class BatchToolsTest : public QObject {
  Q_OBJECT

 private slots:
  void FillTemplate_data() {
    QTest::addColumn<QStringList>("pattern");
    QTest::addColumn<QStringList>("content");
    QTest::addColumn<QStringList>("result");
    const QString m = "<,,pattern,,>";
    QTest::addRow("whole marker line dropped")
        << QStringList{"<html>", "<p>" + m + "</p>", "</html>"} << QStringList{"a", "b"}
        << QStringList{"<html>", "a", "b", "</html>"};
    QTest::addRow("only the later marker") << QStringList{"h", m, "mid", m, "f"} << QStringList{"c"}
                                           << QStringList{"h", m, "mid", "c", "f"};
    QTest::addRow("empty content")
        << QStringList{"h", m, "f"} << QStringList{} << QStringList{"h", "f"};
    QTest::addRow("content holding the marker stays")
        << QStringList{"h", m} << QStringList{m} << QStringList{"h", m};
  }
  void FillTemplate() {
    QFETCH(QStringList, pattern);
    QFETCH(QStringList, content);
    QFETCH(QStringList, result);
    QCOMPARE(*::FillTemplate(pattern, content), result);
  }

  void MarkerOnTheFirstLineOnlyIsNoMarker() {
    QCOMPARE(MarkerLine({"<,,pattern,,>", "x"}), std::nullopt);
    QCOMPARE(::FillTemplate({"<,,pattern,,>"}, {"x"}), std::nullopt);
  }

  void NumberText_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("text");
    QTest::addRow("5 in two") << 5 << 2 << "05";
    QTest::addRow("42 in two") << 42 << 2 << "42";
    QTest::addRow("100 in three") << 100 << 3 << "100";
    QTest::addRow("10 in four") << 10 << 4 << "0010";
    QTest::addRow("longer than the count") << 12345 << 2 << "12345";
  }
  void NumberText() {
    QFETCH(int, n);
    QFETCH(int, digits);
    QFETCH(QString, text);
    QCOMPARE(::NumberText(n, digits), text);
  }

  void RenamePlans() {
    const QList<Rename> plan = RenamePlan({.folder = "/p",
                                           .names = {"x.jpg", "y.JPG"},
                                           .old_extension = "jpg",
                                           .new_extension = "txt",
                                           .keep_name = true});
    QCOMPARE(plan[0].to, QString("/p/x.txt"));
    QCOMPARE(plan[1].to, QString("/p/y.JPG.txt"));
    const QList<Rename> numbered = RenamePlan({.folder = "/p",
                                               .names = {"x.jpg"},
                                               .before = "img",
                                               .after = "_s",
                                               .digits = 4,
                                               .old_extension = "jpg",
                                               .new_extension = "jpg"});
    QCOMPARE(numbered[0].to, QString("/p/img0001_s.jpg"));
    QVERIFY(IsRefusedName("01.*"));
    QVERIFY(!IsRefusedName("01.jpg"));
  }

  // Only the last extension of the file name changes, in any letter case.
  void ConvertedPaths_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("to_html");
    QTest::addColumn<QString>("converted");
    QTest::addRow("txt") << "/a/notes.txt" << true << "/a/notes.htm";
    QTest::addRow("upper case") << "/a/README.TXT" << true << "/a/README.htm";
    QTest::addRow("html to text") << "/a/page.html" << false << "/a/page.txt";
    QTest::addRow("folder with a dot")
        << "/my.htm.pages/page.htm" << false << "/my.htm.pages/page.txt";
    QTest::addRow("folder named like a file") << "/notes.txt/a.txt" << true << "/notes.txt/a.htm";
    QTest::addRow("no extension") << "/a/.htmrc/plain" << true << "/a/.htmrc/plain.htm";
  }
  void ConvertedPaths() {
    QFETCH(QString, path);
    QFETCH(bool, to_html);
    QFETCH(QString, converted);
    QCOMPARE(ConvertedPath(path, to_html), converted);
  }

  void IndexLines() {
    QCOMPARE(IndexLine("a.htm", " Home", "<p>"), QString("<a href=\"a.htm\">a.htm</a> -  Home<p>"));
    QCOMPARE(IndexLine("b.htm", "", "<br>"), QString("<a href=\"b.htm\">b.htm</a> - <br>"));
  }
};

QTEST_GUILESS_MAIN(BatchToolsTest)
#include "batch_tools_test.moc"
