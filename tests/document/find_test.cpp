#include <QTest>

#include "document/find.h"

// Find and replace on plain text: expressions, whole words, going round, replace all.
class FindTest : public QObject {
  Q_OBJECT

 private slots:
  void Counts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("find");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<bool>("match_case");
    QTest::addColumn<bool>("whole_word");
    QTest::addColumn<int>("count");
    QTest::addRow("plain, any case") << "Ab ab aB"
                                     << "ab" << false << false << false << 3;
    QTest::addRow("match case") << "Ab ab aB"
                                << "ab" << false << true << false << 1;
    QTest::addRow("whole word") << "cat concat cat."
                                << "cat" << false << false << true << 2;
    QTest::addRow("plain text with regex signs") << "a.b axb"
                                                 << "a.b" << false << false << false << 1;
    QTest::addRow("regex") << "a.b axb"
                           << "a.b" << true << false << false << 2;
    QTest::addRow("whole word of signs") << "x <b> y<b> <b>."
                                         << "<b>" << false << false << true << 2;
    QTest::addRow("cyrillic any case") << "Тест тест"
                                       << "ТЕСТ" << false << false << false << 2;
    QTest::addRow("cyrillic whole word") << "кот котик кот. скот"
                                         << "кот" << false << false << true << 2;
    QTest::addRow("cjk and digits are word characters") << "中文 中文字 x1 x"
                                                        << "中文" << false << false << true << 1;
    const QString nul_one = QString(QChar(0)) + u'1';
    QTest::addRow("NUL before a digit")
        << QChar(1) + (u' ' + nul_one) << nul_one << false << false << false << 1;
    QTest::addRow("backslash, signs and a newline") << "a\\0\n$ a\\0"
                                                    << "\\0\n$" << false << false << false << 1;
  }
  void Counts() {
    QFETCH(QString, text);
    QFETCH(QString, find);
    QFETCH(bool, regex);
    QFETCH(bool, match_case);
    QFETCH(bool, whole_word);
    QFETCH(int, count);
    const auto expression = FindExpression(find, {regex, match_case, whole_word});
    QVERIFY(expression);
    QCOMPARE(CountMatches(text, *expression), count);
  }

  void BrokenExpressionIsReported() {
    QString error;
    QVERIFY(!FindExpression("(", {true, false, false}, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!FindExpression("", {}, &error));
  }

  void GoesRoundBothWays() {
    const auto expression = *FindExpression("ab", {});
    const QString text = "ab xx ab";
    TextMatch next = FindMatch(text, expression, 1, false);
    QCOMPARE(next.start, 6);
    QVERIFY(!next.wrapped);
    next = FindMatch(text, expression, 7, false);
    QCOMPARE(next.start, 0);
    QVERIFY(next.wrapped);
    TextMatch previous = FindMatch(text, expression, 6, false);
    QCOMPARE(previous.start, 6);
    previous = FindMatch(text, expression, 5, true);
    QCOMPARE(previous.start, 0);
    previous = FindMatch(text, expression, 1, true);
    QCOMPARE(previous.start, 6);
    QVERIFY(previous.wrapped);
    QVERIFY(!FindMatch("none", expression, 0, false).found());
  }

  void ReplacesAll() {
    int count = 0;
    QCOMPARE(ReplaceAllMatches("a1 b2", *FindExpression("([a-z])(\\d)", {true, false, false}),
                               "\\2\\1", {true, false, false}, &count),
             QString("1a 2b"));
    QCOMPARE(count, 2);
    QCOMPARE(ReplaceAllMatches("a.b a.b", *FindExpression("a.b", {}), "\\1", {}, &count),
             QString("\\1 \\1"));
    QCOMPARE(ReplaceAllMatches("x", *FindExpression("y", {}), "z", {}, &count), QString("x"));
    QCOMPARE(count, 0);
  }
};

QTEST_GUILESS_MAIN(FindTest)
#include "find_test.moc"
