#include <QTest>

#include "document/block_edits.h"

using Lines = QList<QByteArray>;

// The line edits of the batch tools on byte lines.
class BlockEditsTest : public QObject {
  Q_OBJECT

 private slots:
  void RemoveBlankLines_data() {
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<Lines>("result");
    QTest::addRow("three blank lines vanish") << Lines{"a", "", " ", "\t", "b"} << Lines{"a", "b"};
    QTest::addRow("four keep one") << Lines{"a", "", "", "", "", "b"} << Lines{"a", "", "b"};
    QTest::addRow("five keep one") << Lines{"", "", "", "", ""} << Lines{""};
    QTest::addRow("no blanks") << Lines{"a", "b"} << Lines{"a", "b"};
    QTest::addRow("empty") << Lines{} << Lines{};
  }
  void RemoveBlankLines() {
    QFETCH(Lines, lines);
    QFETCH(Lines, result);
    block_edits::RemoveBlankLines(lines);
    QCOMPARE(lines, result);
  }

  void DeleteBlocks_data() {
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<Lines>("find");
    QTest::addColumn<Lines>("result");
    QTest::addColumn<int>("deleted");
    QTest::addRow("one block") << Lines{"x", "a", "b", "y"} << Lines{"a", "b"} << Lines{"x", "y"}
                               << 1;
    QTest::addRow("two in a row: only the first in one run")
        << Lines{"a", "a", "c"} << Lines{"a"} << Lines{"a", "c"} << 1;
    QTest::addRow("walk goes on after the skipped line")
        << Lines{"a", "b", "a", "c"} << Lines{"a"} << Lines{"b", "c"} << 2;
    QTest::addRow("block at the end with an empty line beyond")
        << Lines{"x", "a"} << Lines{"a", ""} << Lines{"x"} << 1;
    QTest::addRow("no match") << Lines{"x"} << Lines{"a"} << Lines{"x"} << 0;
  }
  void DeleteBlocks() {
    QFETCH(Lines, lines);
    QFETCH(Lines, find);
    QFETCH(Lines, result);
    QFETCH(int, deleted);
    QCOMPARE(block_edits::DeleteBlocks(lines, find), deleted);
    QCOMPARE(lines, result);
  }

  void ReplaceFirstOnly() {
    Lines lines{"aaa", "b"};
    QCOMPARE(block_edits::ReplaceFirstInLines(lines, QByteArray("a"), QByteArray("")), 1);
    QCOMPARE(lines, (Lines{"aa", "b"}));
  }

  void ReplaceBlocksWithItselfInside() {
    // A replacement that contains the block can match again only above it.
    Lines lines{"a", "a"};
    QCOMPARE(block_edits::ReplaceBlocks(lines, Lines{"a"}, Lines{"a", "a"}), 2);
    QCOMPARE(lines, (Lines{"a", "a", "a", "a"}));
  }
};

QTEST_GUILESS_MAIN(BlockEditsTest)
#include "block_edits_test.moc"
