#include <QTest>

#include "document/editor_model.h"
#include "document/memory_editor_model.h"
#include "document/new_page.h"
#include "names/texts.h"

Q_DECLARE_METATYPE(NewPageFields)

class NewPageTest : public QObject {
  Q_OBJECT

 private slots:
  void BuildsThePage_data();
  void BuildsThePage();
  void BuildsFramesets_data();
  void BuildsFramesets();
  void InsertsLinesIntoAnEmptyEditor();
  void StacksLinesAboveTheCaretLine();
  void DefaultTitleFollowsTheLanguage();
};

void NewPageTest::BuildsThePage_data() {
  QTest::addColumn<NewPageFields>("fields");
  QTest::addColumn<QStringList>("lines");
  QTest::addRow("all fields empty, frames off")
      << NewPageFields{}
      << QStringList{"<html>",
                     "<head>",
                     "<title>Enter the page title</title>",
                     "</head>",
                     "<body bgcolor=white text=black link=blue vlink=green alink=red>",
                     "",
                     "</body>",
                     "</html>"};
  NewPageFields coloured;
  coloured.title = "   ";
  coloured.background = "#FF0000";
  coloured.active_link = "#00FF7F";
  QTest::addRow("blank title kept, picked colours unquoted")
      << coloured
      << QStringList{"<html>",
                     "<head>",
                     "<title>   </title>",
                     "</head>",
                     "<body bgcolor=#FF0000 text=black link=blue vlink=green alink=#00FF7F>",
                     "",
                     "</body>",
                     "</html>"};
  NewPageFields frames;
  frames.frames = true;
  frames.layout = 2;
  frames.border = true;
  QTest::addRow("frames: no body, no empty line")
      << frames
      << QStringList{"<html>",
                     "<head>",
                     "<title>Enter the page title</title>",
                     "</head>",
                     "<frameset cols=\"*,110\" border=1>",
                     "<frame name=\"second\" src=\"second.htm\" scrolling=no>",
                     "<frame name=\"main\" src=\"main.htm\">",
                     "</frameset>",
                     "</html>"};
}

void NewPageTest::BuildsThePage() {
  QFETCH(NewPageFields, fields);
  QFETCH(QStringList, lines);
  QCOMPARE(NewPageLines(fields), lines);
}

void NewPageTest::BuildsFramesets_data() {
  QTest::addColumn<int>("layout");
  QTest::addColumn<bool>("border");
  QTest::addColumn<bool>("scrolling");
  QTest::addColumn<bool>("noresize");
  QTest::addColumn<QString>("frameset");
  QTest::addColumn<QString>("second");
  QTest::addRow("layout 1, plain")
      << 1 << false << false << false << "<frameset cols=\"110,*\" border=0 >"
      << "<frame name=\"second\" src=\"second.htm\" scrolling=no>";
  QTest::addRow("layout 2, border")
      << 2 << true << false << false << "<frameset cols=\"*,110\" border=1>"
      << "<frame name=\"second\" src=\"second.htm\" scrolling=no>";
  QTest::addRow("layout 3, scrolling")
      << 3 << false << true << false << "<frameset rows=\"110,*\" border=0 >"
      << "<frame name=\"second\" src=\"second.htm\" scrolling=yes>";
  QTest::addRow("layout 4, all options")
      << 4 << true << true << true << "<frameset rows=\"*,110\" border=1>"
      << "<frame name=\"second\" src=\"second.htm\" scrolling=yes noresize>";
}

void NewPageTest::BuildsFramesets() {
  QFETCH(int, layout);
  QFETCH(bool, border);
  QFETCH(bool, scrolling);
  QFETCH(bool, noresize);
  QFETCH(QString, frameset);
  QFETCH(QString, second);
  NewPageFields fields;
  fields.frames = true;
  fields.layout = layout;
  fields.border = border;
  fields.scrolling = scrolling;
  fields.noresize = noresize;
  QCOMPARE(
      AppendFrameset(fields),
      (QStringList{frameset, second, "<frame name=\"main\" src=\"main.htm\">", "</frameset>"}));
}

void NewPageTest::InsertsLinesIntoAnEmptyEditor() {
  MemoryEditorModel editor;
  QCOMPARE(insertline(editor, "<table>"), 0);
  QCOMPARE(editor.Lines(), (QStringList{"<table>", " "}));
}

void NewPageTest::StacksLinesAboveTheCaretLine() {
  MemoryEditorModel editor;
  editor.LoadText("l0\nl1\nl2\nline 3\nl4");
  editor.Select(int(editor.Text().indexOf("line 3")) + 2, 0);  // middle of line index 3
  QCOMPARE(insertline(editor, "a"), 3);
  QCOMPARE(insertline(editor, "b"), 4);
  QCOMPARE(insertline(editor, "c"), 5);
  QCOMPARE(editor.Lines(), (QStringList{"l0", "l1", "l2", "a", "b", "c", "line 3", "l4"}));
}

void NewPageTest::DefaultTitleFollowsTheLanguage() {
  SetLanguage(Language::kRussian);
  const QStringList lines = NewPageLines(NewPageFields{});
  SetLanguage(Language::kEnglish);
  QCOMPARE(lines.at(2), QString("<title>Введите название страницы</title>"));
}

QTEST_GUILESS_MAIN(NewPageTest)
#include "new_page_test.moc"
