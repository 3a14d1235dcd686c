#include <QTest>
#include <QTextDocument>

#include "document/editor_model.h"

class EditorModelTest : public QObject {
  Q_OBJECT

 private slots:
  void ReadsLines_data();
  void ReadsLines();
  void WritesALineAndPutsTheCaretAtItsEnd();
  void InsertsAndDeletesLines_data();
  void InsertsAndDeletesLines();
  void ReplacesSelectionAcrossLines();
  void AppliesChangedLinesAsOneUndoStep_data();
  void AppliesChangedLinesAsOneUndoStep();
};

void EditorModelTest::ReadsLines_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QStringList>("lines");
  QTest::addRow("empty document has no lines") << "" << QStringList{};
  QTest::addRow("one line") << "abc" << QStringList{"abc"};
  QTest::addRow("final break gives an empty last line") << "a\nb\n" << QStringList{"a", "b", ""};
  QTest::addRow("non-breaking space stays")
      << QString(QChar(0xA0)) << QStringList{QString(QChar(0xA0))};
}

void EditorModelTest::ReadsLines() {
  QFETCH(QString, text);
  QFETCH(QStringList, lines);
  QTextDocument document;
  EditorModel editor(&document);
  editor.LoadText(text);
  QCOMPARE(editor.LineCount(), lines.size());
  QCOMPARE(editor.Lines(), lines);
  QCOMPARE(editor.Text(), text);
  for (int i = 0; i < lines.size(); ++i) QCOMPARE(editor.Line(i), lines[i]);
}

void EditorModelTest::WritesALineAndPutsTheCaretAtItsEnd() {
  QTextDocument document;
  EditorModel editor(&document);
  editor.LoadText("one\ntwo\nthree");
  editor.SetLine(1, "second");
  QCOMPARE(editor.Text(), QString("one\nsecond\nthree"));
  QCOMPARE(editor.CaretLine(), 1);
  QCOMPARE(editor.CaretOffset(), 6);
}

void EditorModelTest::InsertsAndDeletesLines_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("operation");
  QTest::addColumn<int>("index");
  QTest::addColumn<QString>("expected");
  QTest::addRow("insert first") << "a\nb"
                                << "insert" << 0 << "X\na\nb";
  QTest::addRow("insert middle") << "a\nb"
                                 << "insert" << 1 << "a\nX\nb";
  QTest::addRow("append") << "a\nb"
                          << "insert" << 2 << "a\nb\nX";
  QTest::addRow("insert into empty") << ""
                                     << "insert" << 0 << "X";
  QTest::addRow("delete first") << "a\nb\nc"
                                << "delete" << 0 << "b\nc";
  QTest::addRow("delete last") << "a\nb\nc"
                               << "delete" << 2 << "a\nb";
  QTest::addRow("delete only") << "a"
                               << "delete" << 0 << "";
}

void EditorModelTest::InsertsAndDeletesLines() {
  QFETCH(QString, text);
  QFETCH(QString, operation);
  QFETCH(int, index);
  QFETCH(QString, expected);
  QTextDocument document;
  EditorModel editor(&document);
  editor.LoadText(text);
  if (operation == "insert") {
    editor.InsertLine(index, "X");
  } else {
    editor.DeleteLine(index);
  }
  QCOMPARE(editor.Text(), expected);
}

void EditorModelTest::ReplacesSelectionAcrossLines() {
  QTextDocument document;
  EditorModel editor(&document);
  editor.LoadText("abc\ndef");
  editor.Select(1, 4);  // "bc\nd"
  QCOMPARE(editor.SelectedText(), QString("bc\nd"));
  QCOMPARE(editor.SelectionStart(), 1);
  QCOMPARE(editor.CaretLine(), 1);
  QCOMPARE(editor.CaretOffset(), 1);
  editor.ReplaceSelection("<b>" + editor.SelectedText() + "</b>");
  QCOMPARE(editor.Text(), QString("a<b>bc\nd</b>ef"));
  QCOMPARE(editor.CaretPosition(), 12);
  QCOMPARE(editor.SelectedText(), QString());
}

void EditorModelTest::AppliesChangedLinesAsOneUndoStep_data() {
  QTest::addColumn<QStringList>("before");
  QTest::addColumn<QStringList>("after");
  QTest::addRow("middle line changed") << QStringList{"a", "b", "c"} << QStringList{"a", "B", "c"};
  QTest::addRow("every line changed") << QStringList{"a", "b"} << QStringList{"a<br>", "b<p>"};
  QTest::addRow("lines dropped in the middle")
      << QStringList{"a", "", "", "b"} << QStringList{"a", "b"};
  QTest::addRow("last lines dropped") << QStringList{"a", "b", ""} << QStringList{"a"};
  QTest::addRow("first lines dropped") << QStringList{"", "", "a"} << QStringList{"a"};
  QTest::addRow("everything dropped") << QStringList{"", " "} << QStringList{};
  QTest::addRow("lines added at the end") << QStringList{"a"} << QStringList{"a", "b", "c"};
  QTest::addRow("lines added at the start") << QStringList{"c"} << QStringList{"a", "b", "c"};
  QTest::addRow("into an empty document") << QStringList{} << QStringList{"<table>", "</table>"};
  QTest::addRow("no change") << QStringList{"a", "b"} << QStringList{"a", "b"};
}

void EditorModelTest::AppliesChangedLinesAsOneUndoStep() {
  QFETCH(QStringList, before);
  QFETCH(QStringList, after);
  QTextDocument document;
  EditorModel editor(&document);
  editor.LoadText(before.join('\n'));
  editor.ApplyLines(after);
  QCOMPARE(editor.Lines(), after);
  if (before != after) {
    QVERIFY(document.isUndoAvailable());
    document.undo();
    QCOMPARE(editor.Lines(), before);
    QVERIFY(!document.isUndoAvailable());
  }
}

QTEST_GUILESS_MAIN(EditorModelTest)
#include "editor_model_test.moc"
