#include <QTest>

#include "document/line_diff.h"

namespace {

QStringList Numbered(int count) {
  QStringList lines;
  for (int i = 1; i <= count; ++i) lines.append(QString("line %1").arg(i));
  return lines;
}

}  // namespace

// The dry run's view of a change: only changed lines, three lines of context, numbers from 1.
class LineDiffTest : public QObject {
  Q_OBJECT

 private slots:
  void Diffs_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("diff");
    QStringList far_apart = Numbered(150);
    far_apart[5] = "six";
    far_apart[143] = "one hundred and forty-four";
    QTest::addRow("equal") << Numbered(5) << Numbered(5) << "";
    QTest::addRow("two changes far apart")
        << Numbered(150) << far_apart
        << "@@ -3,7 +3,7 @@\n line 3\n line 4\n line 5\n-line 6\n+six\n line 7\n line 8\n line 9\n"
           "@@ -141,7 +141,7 @@\n line 141\n line 142\n line 143\n-line 144\n"
           "+one hundred and forty-four\n line 145\n line 146\n line 147\n";
    QTest::addRow("insert at the start") << Numbered(5) << QStringList{"new"} + Numbered(5)
                                         << "@@ -1,3 +1,4 @@\n+new\n line 1\n line 2\n line 3\n";
    QStringList close = Numbered(12);
    close[2] = "x";
    close[8] = "y";
    QTest::addRow("changes six lines apart joined")
        << Numbered(12) << close
        << "@@ -1,12 +1,12 @@\n line 1\n line 2\n-line 3\n+x\n line 4\n line 5\n line 6\n line 7\n"
           " line 8\n-line 9\n+y\n line 10\n line 11\n line 12\n";
    QTest::addRow("delete at the end")
        << Numbered(3) << Numbered(2) << "@@ -1,3 +1,2 @@\n line 1\n line 2\n-line 3\n";
  }
  void Diffs() {
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(QString, diff);
    QCOMPARE(UnifiedLineDiff(before, after), diff);
  }
};

QTEST_GUILESS_MAIN(LineDiffTest)
#include "line_diff_test.moc"
