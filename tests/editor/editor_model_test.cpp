#include <QTest>

#include "document/editor_model.h"
#include "document/memory_editor_model.h"
#include "editor/code_editor.h"
#include "platform/codec.h"
#include "platform/text_format.h"

Q_DECLARE_METATYPE(LineEnd)

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
  void CountsCharactersWhateverTheBytesAndBreaks_data();
  void CountsCharactersWhateverTheBytesAndBreaks();
  void CountsStrayBytesAsTheComponentDoes();
  void UndoingBackToTheSaveClearsTheMark();
  void EveryByteSurvivesTheEditor_data();
  void EveryByteSurvivesTheEditor();
};

namespace {

// The rows of a data function once per line-end style the editor may hold.
void AddLineEndColumn() { QTest::addColumn<LineEnd>("line_end"); }

// The editing component's model and the in-memory one keep one contract.
struct BothModels {
  CodeEditor widget;
  MemoryEditorModel memory;
  QList<EditorModel*> All() { return {&widget.Model(), &memory}; }
};

}  // namespace

void EditorModelTest::ReadsLines_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QStringList>("lines");
  AddLineEndColumn();
  for (const LineEnd end : kLineEnds) {
    const char* name = NameOf(end);
    QTest::addRow("%s: empty document has no lines", name) << "" << QStringList{} << end;
    QTest::addRow("%s: one line", name) << "abc" << QStringList{"abc"} << end;
    QTest::addRow("%s: final break gives an empty last line", name)
        << "a\nb\n"
        << QStringList{"a", "b", ""} << end;
    QTest::addRow("%s: non-breaking space stays", name)
        << QString(QChar(0xA0)) << QStringList{QString(QChar(0xA0))} << end;
    QTest::addRow("%s: paragraph separator and noncharacters are text", name)
        << QString::fromUtf16(u"a\u2029b\uFDD0\uFDD1\nc")
        << QStringList{QString::fromUtf16(u"a\u2029b\uFDD0\uFDD1"), "c"} << end;
  }
}

void EditorModelTest::ReadsLines() {
  QFETCH(QString, text);
  QFETCH(QStringList, lines);
  QFETCH(LineEnd, line_end);
  BothModels models;
  for (EditorModel* model : models.All()) {
    EditorModel& editor = *model;
    editor.LoadText(text, line_end);
    QByteArray held = text.toUtf8();
    held.replace('\n', LineEndBytes(line_end));
    QCOMPARE(editor.Buffer().toByteArray(), held);
    QCOMPARE(editor.LineCount(), lines.size());
    QCOMPARE(editor.Lines(), lines);
    QCOMPARE(editor.Text(), text);
    for (int i = 0; i < lines.size(); ++i) QCOMPARE(editor.Line(i), lines[i]);
  }
}

void EditorModelTest::WritesALineAndPutsTheCaretAtItsEnd() {
  BothModels models;
  for (EditorModel* editor : models.All()) {
    editor->LoadText("one\ntwo\nthree");
    editor->SetLine(1, "second");
    QCOMPARE(editor->Text(), QString("one\nsecond\nthree"));
    QCOMPARE(editor->CaretLine(), 1);
    QCOMPARE(editor->CaretOffset(), 6);
  }
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
  // In a page of CR LF lines the new breaks are CR LF too.
  for (const LineEnd end : kLineEnds) {
    BothModels models;
    for (EditorModel* editor : models.All()) {
      editor->LoadText(text, end);
      if (operation == "insert") {
        editor->InsertLine(index, "X");
      } else {
        editor->DeleteLine(index);
      }
      QCOMPARE(editor->Text(), expected);
      QCOMPARE(editor->Buffer().toByteArray(), expected.toUtf8().replace('\n', LineEndBytes(end)));
    }
  }
}

void EditorModelTest::ReplacesSelectionAcrossLines() {
  BothModels models;
  for (EditorModel* model : models.All()) {
    EditorModel& editor = *model;
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

namespace {

QStringList g_transformed;  // what WriteTransformed writes, whatever it is given

void WriteTransformed(const QList<QByteArrayView>& /*lines*/, Utf8LineWriter& out) {
  for (const QString& line : g_transformed) out.Add(line.toUtf8());
}

}  // namespace

void EditorModelTest::AppliesChangedLinesAsOneUndoStep() {
  QFETCH(QStringList, before);
  QFETCH(QStringList, after);
  MemoryEditorModel memory;
  memory.LoadText(before.join('\n'));
  memory.ApplyLines(after);
  QCOMPARE(memory.Lines(), after);
  QCOMPARE(memory.AtSavePoint(), before == after);
  // Through lines or through the UTF-8 the editor holds, with either kind of break, the same
  // text, caret and single undo step.
  g_transformed = after;
  for (const LineEnd line_end : {LineEnd::kLf, LineEnd::kCrLf}) {
    CodeEditor by_lines;
    CodeEditor by_bytes;
    by_lines.Model().LoadText(before.join('\n'), line_end);
    by_bytes.Model().LoadText(before.join('\n'), line_end);
    by_lines.Model().ApplyLines(after);
    by_bytes.Model().TransformLines(&WriteTransformed);
    QCOMPARE(by_bytes.Model().Buffer(), by_lines.Model().Buffer());
    QCOMPARE(by_bytes.Model().CaretPosition(), by_lines.Model().CaretPosition());
    for (CodeEditor* widget : {&by_lines, &by_bytes}) {
      EditorModel& editor = widget->Model();
      QCOMPARE(editor.Lines(), after);
      if (before != after) {
        QVERIFY(widget->isUndoAvailable());
        widget->undo();
        QCOMPARE(editor.Lines(), before);
        QVERIFY(!widget->isUndoAvailable());
      }
    }
  }
}

void EditorModelTest::CountsCharactersWhateverTheBytesAndBreaks_data() {
  AddLineEndColumn();
  for (const LineEnd end : kLineEnds) QTest::addRow("%s", NameOf(end)) << end;
}

void EditorModelTest::CountsCharactersWhateverTheBytesAndBreaks() {
  QFETCH(LineEnd, line_end);
  // Two, three and four UTF-8 bytes a character; the emoji is two UTF-16 characters.
  const QString text = QString::fromUtf8("Привет\n中文\xF0\x9F\x98\x80x\nend");
  CodeEditor widget;
  EditorModel& editor = widget.Model();
  editor.LoadText(text, line_end);
  // Forward and back: positions are counted from the last one asked on the same line.
  QList<int> starts;
  for (int start = 0; start <= text.size(); ++start) starts.append(start);
  for (int start = int(text.size()); start >= 0; --start) starts.append(start);
  for (const int start : starts) {
    if (text.at(qMin(start, int(text.size()) - 1)).isLowSurrogate()) continue;
    editor.Select(start, 0);
    QCOMPARE(editor.SelectionStart(), start);
    QCOMPARE(editor.CaretPosition(), start);
  }
  const int at = int(text.indexOf(u'文'));
  editor.Select(at, 8);
  QCOMPARE(editor.SelectedText(), text.mid(at, 8));
  QCOMPARE(editor.SelectionLine(), 1);
  QCOMPARE(editor.CaretLine(), 2);
  QCOMPARE(editor.CaretOffset(), 3);
  QCOMPARE(editor.SelectionEnd(), at + 8);
  editor.ReplaceSelection("a\nb");
  QCOMPARE(editor.Text(), text.left(at) + "a\nb" + text.mid(at + 8));
  QCOMPARE(editor.CaretPosition(), at + 3);
  // A counted position outlives edits after it, and is counted again after one before it.
  editor.Select(3, 0);
  QCOMPARE(editor.CaretPosition(), 3);
  widget.SendScintilla(QsciScintilla::SCI_INSERTTEXT, 10UL, "\xD0\x96");
  QCOMPARE(editor.CaretPosition(), 3);
  widget.SendScintilla(QsciScintilla::SCI_INSERTTEXT, 0UL, "\xF0\x9F\x98\x80");
  QCOMPARE(editor.CaretPosition(), 5);
}

void EditorModelTest::CountsStrayBytesAsTheComponentDoes() {
  // What a page read in the wrong encoding brings: stray continuation bytes, a lead byte
  // without its continuation, a four-byte lead before plain text.
  CodeEditor widget;
  widget.Model().LoadBuffer("a\x80\x80 \xD0x\n\xF0z \xD0\xB6\n\xBF", LineEnd::kLf);
  const long length = widget.SendScintilla(QsciScintilla::SCI_GETLENGTH);
  for (long byte = 0; byte <= length;
       byte = widget.SendScintilla(QsciScintilla::SCI_POSITIONAFTER, byte)) {
    widget.SendScintilla(QsciScintilla::SCI_GOTOPOS, byte);
    QCOMPARE(widget.Model().CaretPosition(),
             int(widget.SendScintilla(QsciScintilla::SCI_COUNTCODEUNITS, 0UL, byte)));
    if (byte == length) break;
  }
}

void EditorModelTest::UndoingBackToTheSaveClearsTheMark() {
  CodeEditor widget;
  EditorModel& editor = widget.Model();
  editor.LoadText("one\ntwo", LineEnd::kCrLf);
  QVERIFY(editor.AtSavePoint());
  editor.SetLine(0, "first");
  QVERIFY(!editor.AtSavePoint());
  widget.undo();
  QVERIFY(editor.AtSavePoint());
  editor.SetLine(1, "second");
  editor.MarkSaved();
  widget.undo();
  QVERIFY(!editor.AtSavePoint());
  widget.redo();
  QVERIFY(editor.AtSavePoint());
}

void EditorModelTest::EveryByteSurvivesTheEditor_data() {
  QTest::addColumn<QByteArray>("bytes");
  QByteArray every;
  for (int b = 0; b < 256; ++b) {
    if (b != '\r' && b != '\n') every.append(static_cast<char>(b));
  }
  QTest::addRow("every Windows-1251 byte, NUL too") << every + "\r\nsecond line\r\n";
  QTest::addRow("UTF-8 with a mark, U+FEFF and U+2029 inside") << QByteArray(
      "\xEF\xBB\xBF\xEF\xBB\xBF"
      "a\xE2\x80\xA9\xD0\xAF\nb\n");
  QTest::addRow("mixed line ends") << QByteArray("a\r\nb\nc\rd\r\n");
  QTest::addRow("no final break, CR") << QByteArray("a\rb");
}

void EditorModelTest::EveryByteSurvivesTheEditor() {
  QFETCH(QByteArray, bytes);
  TextFormat format = DetectTextFormat(bytes);
  CodeEditor widget;
  EditorModel& editor = widget.Model();
  editor.LoadBuffer(EditorBytes(bytes, format), format.line_end);
  QCOMPARE(editor.Text(), DecodeText(bytes, format));
  if (format.mixed_line_ends) {
    // Held in the most frequent style, which a later save writes.
    format.mixed_line_ends = false;
    QCOMPARE(FileBytes(editor.Buffer(), format), EncodeText(DecodeText(bytes, format), format));
  } else {
    QCOMPARE(FileBytes(editor.Buffer(), format), bytes);
  }
}

QTEST_MAIN(EditorModelTest)
#include "editor_model_test.moc"
