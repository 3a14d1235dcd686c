#include <QTest>

#include "document/editor_model.h"
#include "document/memory_editor_model.h"
#include "tags/tag_catalogue.h"
#include "tags/tag_engine.h"

class TagEngineTest : public QObject {
  Q_OBJECT

 private slots:
  void InsertsAtTheCaret_data();
  void InsertsAtTheCaret();
  void WrapsTheSelection_data();
  void WrapsTheSelection();
  void RunsCommands_data();
  void RunsCommands();
  void WorksOnAMegabyteLine();
};

namespace {

// A document holding text, with the characters [start, start + length) selected.
struct Editing {
  Editing(const QString& text, int start, int length) : editor(model) {
    editor.LoadText(text);
    editor.Select(start, length);
  }
  MemoryEditorModel model;
  EditorModel& editor;
};

const TagCommand& Command(const QString& name) {
  for (const TagCommand& command : TagCatalogue()) {
    if (QString::fromUtf16(command.name) == name) return command;
  }
  qFatal("no command %s", qPrintable(name));
}

}  // namespace

void TagEngineTest::InsertsAtTheCaret_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("start");
  QTest::addColumn<int>("length");
  QTest::addColumn<QString>("snippet");
  QTest::addColumn<QString>("expected");
  QTest::addColumn<int>("line");
  QTest::addColumn<int>("column");
  QTest::addRow("empty editor") << "" << 0 << 0 << "<br>"
                                << "<br>" << 0 << 1;
  QTest::addRow("middle of a line") << "abcd" << 2 << 0 << "<p>"
                                    << "ab<p>cd" << 0 << 3;
  QTest::addRow("end of a line") << "abcd" << 4 << 0 << "<br>"
                                 << "abcd<br>" << 0 << 5;
  QTest::addRow("selection stays, snippet at its end") << "abcd" << 1 << 2 << "<br>"
                                                       << "abc<br>d" << 0 << 4;
  QTest::addRow("second line") << "one\ntwo" << 5 << 0 << "X"
                               << "one\ntXwo" << 1 << 2;
  QTest::addRow("selection over lines goes to its end line") << "one\ntwo" << 1 << 5 << "X"
                                                             << "one\ntwXo" << 1 << 3;
}

void TagEngineTest::InsertsAtTheCaret() {
  QFETCH(QString, text);
  QFETCH(int, start);
  QFETCH(int, length);
  QFETCH(QString, snippet);
  QFETCH(QString, expected);
  QFETCH(int, line);
  QFETCH(int, column);
  Editing editing(text, start, length);
  EditorModel& editor = editing.editor;
  const InsertionPoint point = InsertAtCaret(editor, snippet);
  QCOMPARE(editor.Text(), expected);
  QCOMPARE(point.line, line);
  QCOMPARE(point.column, column);
  // The whole line was rewritten: the caret stands at its end, nothing selected.
  QCOMPARE(editor.CaretLine(), line);
  QCOMPARE(editor.CaretOffset(), editor.Line(line).size());
  QCOMPARE(editor.SelectedText(), QString());
}

void TagEngineTest::WrapsTheSelection_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("start");
  QTest::addColumn<int>("length");
  QTest::addColumn<QString>("expected");
  QTest::addRow("word") << "a word here" << 2 << 4 << "a <b>word</b> here";
  QTest::addRow("two lines keep their break") << "ab\ncd" << 1 << 3 << "a<b>b\nc</b>d";
  QTest::addRow("only spaces") << "a   b" << 1 << 3 << "a<b>   </b>b";
}

void TagEngineTest::WrapsTheSelection() {
  QFETCH(QString, text);
  QFETCH(int, start);
  QFETCH(int, length);
  QFETCH(QString, expected);
  Editing editing(text, start, length);
  EditorModel& editor = editing.editor;
  WrapSelection(editor, "b", "b");
  QCOMPARE(editor.Text(), expected);
  // The caret stands right after the closing tag.
  QCOMPARE(editor.CaretPosition(), start + length + 7);
  QCOMPARE(editor.SelectedText(), QString());
}

void TagEngineTest::RunsCommands_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("start");
  QTest::addColumn<int>("length");
  QTest::addColumn<QString>("expected");
  QTest::addRow("bold with selection") << "N6"
                                       << "word" << 0 << 4 << "<b>word</b>";
  QTest::addRow("bold without selection") << "N6"
                                          << "" << 0 << 0 << "<b> </b>";
  QTest::addRow("mailto wraps") << "ahrefmailto1"
                                << "mail me" << 0 << 7 << "<a href=\"mailto:\">mail me</a>";
  QTest::addRow("font wrap has no attributes") << "font1"
                                               << "x" << 0 << 1 << "<font>x</font>";
  QTest::addRow("paragraph wraps closed") << "N30"
                                          << "x" << 0 << 1 << "<p>x</p>";
  QTest::addRow("paragraph inserts open") << "N30"
                                          << "x" << 1 << 0 << "x<p>";
  QTest::addRow("comment with selection") << "N34"
                                          << "x" << 0 << 1 << "<!--x-->";
  QTest::addRow("comment without selection") << "N34"
                                             << "" << 0 << 0 << "<!-- -->";
  QTest::addRow("entity has no semicolon") << "N2"
                                           << "ab" << 1 << 0 << "a&ltb";
  QTest::addRow("insert ignores selection") << "meta1"
                                            << "ab" << 0 << 2 << "ab<meta name=\"\" content=\"\">";
  QTest::addRow("date and a space") << "N46"
                                    << "" << 0 << 0 << "06.12.2026 ";
  QTest::addRow("time and a space") << "N53"
                                    << "" << 0 << 0 << "17:42:49 ";
  QTest::addRow("template marker") << "N52"
                                   << "" << 0 << 0 << "<,,pattern,,>";
}

void TagEngineTest::RunsCommands() {
  QFETCH(QString, name);
  QFETCH(QString, text);
  QFETCH(int, start);
  QFETCH(int, length);
  QFETCH(QString, expected);
  Editing editing(text, start, length);
  EditorModel& editor = editing.editor;
  RunTagCommand(editor, Command(name), "06.12.2026", "17:42:49");
  QCOMPARE(editor.Text(), expected);
}

void TagEngineTest::WorksOnAMegabyteLine() {
  MemoryEditorModel editor;
  const QString line(1 << 20, 'a');
  editor.LoadText(line);
  editor.Select(int(line.size()) - 1, 0);
  InsertAtCaret(editor, "<br>");
  QCOMPARE(editor.Line(0).size(), line.size() + 4);
  QVERIFY(editor.Line(0).endsWith("a<br>a"));
}

QTEST_GUILESS_MAIN(TagEngineTest)
#include "tag_engine_test.moc"
