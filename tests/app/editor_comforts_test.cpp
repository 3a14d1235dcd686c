#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include "app/application.h"
#include "app/find_bar.h"
#include "app/main_window.h"
#include "app/tool_icons.h"
#include "editor/code_editor.h"
#include "platform/text_format.h"
#include "settings/preview_window.h"
#include "support/fake_desktop.h"
#include "support/test_app.h"
#include "support/window_fixture.h"
#include "widgets/key_hint_menu.h"

Q_DECLARE_METATYPE(LineEnd)

// Find and replace, the Edit menu, line numbers, colours, folding, matching tags, end tags
// and name lists, dropped files, the remembered font and view choices and the preview that
// follows the document.
class EditorComfortsTest : public WindowTest {
  Q_OBJECT

 private slots:

  void FindCountsAndSelectsGoingRound() {
    Main().Editor().LoadText("one two\nTwo three two");
    Key(Qt::CTRL | Qt::Key_F);
    QWidget* bar = Main().findChild<QWidget*>("FindBar");
    QVERIFY(bar->isVisible());
    Bar<QLineEdit>("FindText")->setText("two");
    QCOMPARE(Bar<QLabel>("FindCount")->text(), QString("3 matches"));
    Bar<QCheckBox>("FindCase")->setChecked(true);
    QCOMPARE(Main().Find()->Count(), 2);
    Bar<QPushButton>("FindNext")->click();
    QCOMPARE(Main().Editor().SelectionStart(), 4);
    Bar<QPushButton>("FindNext")->click();
    QCOMPARE(Main().Editor().SelectionStart(), 18);
    QCOMPARE(Bar<QLabel>("FindCount")->text(), QString("2 of 2"));
    Bar<QPushButton>("FindNext")->click();  // round to the start
    QCOMPARE(Main().Editor().SelectionStart(), 4);
    // Every match is marked while the bar is open, and no longer once it closes.
    QCOMPARE(Editor()->FindMarks(), (QList<std::pair<long, long>>{{4, 7}, {18, 21}}));
    Main().Editor().LoadText("é é\nxé");
    Bar<QLineEdit>("FindText")->setText("é");
    QCOMPARE(Editor()->FindMarks(), (QList<std::pair<long, long>>{{0, 2}, {3, 5}, {7, 9}}));
    QTest::keyClick(Bar<QLineEdit>("FindText"), Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
    QVERIFY(Editor()->FindMarks().isEmpty());
  }

  void ReplaceAllIsOneUndoStep() {
    Main().Editor().LoadText("a1 a2\na3");
    Key(Qt::CTRL | Qt::Key_H);
    QVERIFY(Bar<QLineEdit>("ReplaceText")->isVisible());
    Bar<QLineEdit>("FindText")->setText("a(\\d)");
    Bar<QCheckBox>("FindRegex")->setChecked(true);
    Bar<QLineEdit>("ReplaceText")->setText("b\\1");
    Bar<QPushButton>("ReplaceAll")->click();
    QCOMPARE(Main().Editor().Text(), QString("b1 b2\nb3"));
    QVERIFY(Main().Session().Modified());
    Editor()->undo();
    QCOMPARE(Main().Editor().Text(), QString("a1 a2\na3"));
    Main().findChild<QAction*>("Redo")->trigger();
    QCOMPARE(Main().Editor().Text(), QString("b1 b2\nb3"));
  }

  void EditMenuShowsShortcuts() {
    QMenu* edit = Main().findChild<QMenu*>("EditMenu");
    QVERIFY(edit != nullptr);
    QStringList names;
    for (QAction* action : edit->actions()) {
      if (!action->isSeparator()) names.append(action->objectName());
    }
    QCOMPARE(names, QStringList({"Undo", "Redo", "Cut", "Copy", "Paste", "SelectAll", "Find",
                                 "Replace", "FindNext", "FindPrevious", "GoToLine", "FindInFiles",
                                 "NextHit", "PreviousHit", "FormatPage", "ExpandAbbreviation",
                                 "WrapWithAbbreviation"}));
    QCOMPARE(Main().findChild<QAction*>("Redo")->shortcuts().size(), 2);
    QCOMPARE(KeyHintMenu::KeyHint(Main().Commands().MenuItem("N63")),
             QKeySequence(Qt::CTRL | Qt::Key_S));
    // Shown in the menu, yet Ctrl+S stays one command: the page is saved once.
    Main().Editor().LoadText("x");
    desktop_->save_answers.push_back(Desktop::FileChoice{dir_->filePath("once.htm"), 1});
    Key(Qt::CTRL | Qt::Key_S);
    QCOMPARE(desktop_->save_dialogs, 1);
  }

  void GoToLine() {
    Main().Editor().LoadText("a\nb\nc\nd");
    desktop_->number_answers.push_back(3);
    Key(Qt::CTRL | Qt::Key_G);
    QCOMPARE(Main().Editor().CaretLine(), 2);
    // The margin's bar follows the caret.
    QTRY_VERIFY(Editor()->markersAtLine(2) & (1 << CodeEditor::kCurrentLineMarker));
    QVERIFY(!(Editor()->markersAtLine(0) & (1 << CodeEditor::kCurrentLineMarker)));
  }

  void LineNumbersAndColoursCanBeTurnedOff() {
    auto* code = Main().EditorWidget();
    QVERIFY(code->marginWidth(0) > 0);
    Main().Commands().MenuItem("LineNumbers")->setChecked(false);
    QCOMPARE(code->marginWidth(0), 0);
    Main().Editor().LoadText("<p class=\"x\">text</p><,,pattern,,>");
    auto marked = [code] { return code->SendScintilla(QsciScintilla::SCI_INDICATORALLONFOR, 25); };
    QTRY_VERIFY(marked() != 0);  // the template marker
    auto style_at = [code](long position) {
      code->SendScintilla(QsciScintilla::SCI_COLOURISE, 0, -1);
      return code->SendScintilla(QsciScintilla::SCI_STYLEGETFORE,
                                 code->SendScintilla(QsciScintilla::SCI_GETSTYLEAT, position));
    };
    QVERIFY(style_at(1) != style_at(13));  // a tag name and text
    Main().Commands().MenuItem("Highlighting")->setChecked(false);
    QCOMPARE(style_at(1), style_at(13));
    QCOMPARE(marked(), 0);
    // Colours are not edits: no change signal, nothing to undo.
    QSignalSpy changes(Editor(), &CodeEditor::Edited);
    Main().Commands().MenuItem("Highlighting")->setChecked(true);
    QVERIFY(style_at(1) != style_at(13));
    QCOMPARE(changes.count(), 0);
    QVERIFY(!Editor()->isUndoAvailable());
  }

  // A minified page is coloured again from near each edit: its colours must be those the
  // whole page coloured afresh has, whatever the edit opens or closes.
  void EditsOnALongLineColourAsTheWholePage_data() {
    QTest::addColumn<double>("at");         // where in the long line, as a share of it
    QTest::addColumn<QByteArray>("after");  // and then just after this text, if given
    QTest::addColumn<QByteArray>("text");   // typed there; empty: the next character deleted
    QTest::newRow("a letter in text") << 0.5 << QByteArray() << QByteArray("x");
    QTest::newRow("a tag opened in text") << 0.5 << QByteArray("more") << QByteArray("<");
    QTest::newRow("a comment opened") << 0.5 << QByteArray("more ") << QByteArray("<!--");
    QTest::newRow("a script opened") << 0.3 << QByteArray() << QByteArray("<script>");
    QTest::newRow("an entity begun") << 0.7 << QByteArray("tail") << QByteArray("&");
    QTest::newRow("a quote") << 0.6 << QByteArray() << QByteArray("\"");
    QTest::newRow("in a style element") << 0.5 << QByteArray("color:") << QByteArray("}</");
    QTest::newRow("a comment closed") << 0.5 << QByteArray("note") << QByteArray("-->");
    QTest::newRow("a tag's end deleted") << 0.5 << QByteArray("bold</b") << QByteArray();
    QTest::newRow("a character deleted") << 0.5 << QByteArray() << QByteArray();
    QTest::newRow("at the line's end") << 1.0 << QByteArray() << QByteArray("<b");
    QTest::newRow("near its start") << 0.001 << QByteArray() << QByteArray("<");
    QTest::newRow("at the line's start") << 0.0 << QByteArray() << QByteArray("x");
    QTest::newRow("a letter near its start") << 0.001 << QByteArray("tail") << QByteArray("x");
  }
  void EditsOnALongLineColourAsTheWholePage() {
    QFETCH(double, at);
    QFETCH(QByteArray, after);
    QFETCH(QByteArray, text);
    QByteArray page;
    for (int i = 0; page.size() < 100000; ++i) {
      const QByteArray n = QByteArray::number(i);
      page += "<div class=\"c" + n + "\" id='x" + n + "'>\xD0\xA2\xD0\xB5 " + n +
              " &amp; more <b>bold</b><!-- note " + n + " --><script>var s = \"<p>\" + " + n +
              "; if (a < b) {}</script><style>p { color: red }</style><![CDATA[ raw ]]>"
              "<img src=\"a.png\" alt=x> tail</div>";
    }
    const long line_end = page.size();
    page += "\n<p>after</p>\n<script>var z = 1;</script>\n";
    Main().Editor().LoadText(QString::fromUtf8(page));
    auto* code = Editor();
    auto styles = [code] {
      QByteArray all;
      const long length = code->SendScintilla(QsciScintilla::SCI_GETLENGTH);
      for (long i = 0; i < length; ++i) {
        all += char(code->SendScintilla(QsciScintilla::SCI_GETSTYLEAT, i));
      }
      return all;
    };
    code->SendScintilla(QsciScintilla::SCI_COLOURISE, 0, -1);
    // Several edits in a row, each checked: an edit lands on what the last one coloured.
    for (int step = 0; step < 3; ++step) {
      long position = std::min(line_end - 1, long(double(line_end) * at));
      if (!after.isEmpty()) position = page.indexOf(after, position) + after.size();
      position += step;
      if (text.isEmpty()) {
        code->SendScintilla(QsciScintilla::SCI_DELETERANGE, position, 1);
      } else {
        code->SendScintilla(QsciScintilla::SCI_INSERTTEXT, position, text.constData());
      }
      code->grab();  // the edit is coloured before the paint
      // The rest as the component colours it: from the start of the first line not coloured.
      const long styled = code->SendScintilla(QsciScintilla::SCI_GETENDSTYLED);
      code->SendScintilla(
          QsciScintilla::SCI_COLOURISE,
          code->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE,
                              code->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, styled)),
          -1);
      const QByteArray edited = styles();
      code->SendScintilla(QsciScintilla::SCI_CLEARDOCUMENTSTYLE);
      code->SendScintilla(QsciScintilla::SCI_COLOURISE, 0, -1);
      const QByteArray afresh = styles();
      const qsizetype differ =
          std::mismatch(edited.begin(), edited.end(), afresh.begin()).first - edited.begin();
      QVERIFY2(edited == afresh, qPrintable(QString("step %1: first differs at %2 of %3")
                                                .arg(step)
                                                .arg(differ)
                                                .arg(edited.size())));
    }
  }

  void FoldsTheElementAtTheCaret() {
    Main().Editor().LoadText("<div>\n<p>\nx\n</p>\n</div>");
    Main().Editor().Select(int(Main().Editor().Text().indexOf("x")), 0);
    auto visible = [this](int line) {
      return Editor()->SendScintilla(QsciScintilla::SCI_GETLINEVISIBLE, line) != 0;
    };
    QTest::keyClick(Editor(), Qt::Key_BraceLeft, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Main().Editor().CaretLine(), 1);  // on the folded element's first line
    QVERIFY(!visible(2) && !visible(3));
    QVERIFY(visible(1) && visible(4));
    QTest::keyClick(Editor(), Qt::Key_BraceRight, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(visible(2) && visible(3));
    QTest::keyClick(Editor(), Qt::Key_BraceLeft, Qt::ControlModifier | Qt::ShiftModifier);
    Main().Commands().MenuItem("Folding")->setChecked(false);  // nothing stays hidden
    QVERIFY(visible(2));
  }

  void MarksAndJumpsToTheMatchingTag() {
    Main().Editor().LoadText("<ul>\n  <li>a</li>\n</UL>");
    Main().Editor().Select(2, 0);
    QTRY_COMPARE(Editor()->MarkedTags().size(), 2);
    QCOMPARE(Editor()->MarkedTags(), (QList<std::pair<long, long>>{{1, 3}, {20, 22}}));
    QTest::keyClick(Editor(), Qt::Key_M, Qt::ControlModifier);
    QCOMPARE(Main().Editor().CaretLine(), 2);
    QTest::keyClick(Editor(), Qt::Key_M, Qt::ControlModifier);
    QCOMPARE(Main().Editor().CaretLine(), 0);
    // On a large page a near partner is marked at its place; one beyond the marks' reach is
    // not, and the jump still finds it.
    const QString filler = QString("x\n").repeated(1 << 21);
    Main().Editor().LoadText("<div>\n" + filler + "<b>y</b></div>");
    const long b = long(6 + filler.size());
    Main().Editor().Select(int(b + 1), 0);
    QTRY_COMPARE(Editor()->MarkedTags(),
                 (QList<std::pair<long, long>>{{b + 1, b + 2}, {b + 6, b + 7}}));
    Main().Editor().Select(int(b + 10), 0);
    QTRY_VERIFY(Editor()->MarkedTags().isEmpty());
    QTest::keyClick(Editor(), Qt::Key_M, Qt::ControlModifier);
    QCOMPARE(Main().Editor().CaretLine(), 0);
    Main().Commands().MenuItem("TagMatching")->setChecked(false);
    QVERIFY(Editor()->MarkedTags().isEmpty());
  }

  void CompletesTheEndTagOnly() {
    LoadWithCaretAtEnd("<div>\n<p>Привет");
    QTest::keyClicks(Editor(), "</");
    QCOMPARE(Main().Editor().Line(1), QString("<p>Привет</p>"));
    QCOMPARE(Main().Editor().CaretOffset(), 13);
    Editor()->undo();  // the completion is its own step
    QCOMPARE(Main().Editor().Line(1), QString("<p>Привет</"));
    QTest::keyClicks(Editor(), "p><b>");  // a start tag's '>' adds nothing
    QCOMPARE(Main().Editor().Line(1), QString("<p>Привет</p><b>"));
    Main().Commands().MenuItem("CloseTags")->setChecked(false);
    QTest::keyClicks(Editor(), "</");
    QCOMPARE(Main().Editor().Line(1), QString("<p>Привет</p><b></"));
  }

  void EndTagCompletionSeesEditsAbove() {
    LoadWithCaretAtEnd("<div>\n<p>x</p>\n");
    QTest::keyClicks(Editor(), "</");
    QCOMPARE(Main().Editor().Line(2), QString("</div>"));
    Main().Editor().Select(0, 0);
    QTest::keyClicks(Editor(), "<ol>");
    CaretToEnd();
    QTest::keyClicks(Editor(), "</");
    QCOMPARE(Main().Editor().Line(2), QString("</div></ol>"));
  }

  void TypedEndTagGoesOverTheCompletion() {
    LoadWithCaretAtEnd("<ul>\n  <li><b>x");
    // A key that types nothing, as Shift pressed for the '>', does not end it.
    QTest::keyClicks(Editor(), "</b");
    QTest::keyClick(Editor(), Qt::Key_Shift, Qt::ShiftModifier);
    QTest::keyClicks(Editor(), "></li>");
    QCOMPARE(Main().Editor().Line(1), QString("  <li><b>x</b></li>"));
    // Something else typed after a completion is typed as it comes.
    QTest::keyClicks(Editor(), "</x");
    QCOMPARE(Main().Editor().Line(1), QString("  <li><b>x</b></li></ul>x"));
  }

  void EnterIndentsOnceWhateverTheLineEnds_data() {
    QTest::addColumn<LineEnd>("line_end");
    for (const LineEnd end : kLineEnds) QTest::addRow("%s", NameOf(end)) << end;
  }

  void EnterIndentsOnceWhateverTheLineEnds() {
    QFETCH(LineEnd, line_end);
    Main().Editor().LoadText("<div>\n  <div>");
    Main().Editor().SetLineEnds(line_end);
    Editor()->setFocus();
    CaretToEnd();
    QTest::keyClick(Editor(), Qt::Key_Return);
    QTest::keyClicks(Editor(), "x");
    QCOMPARE(Main().Editor().Line(2), QString("    x"));
    QCOMPARE(Main().Editor().Buffer().toByteArray(),
             "<div>" + LineEndBytes(line_end) + "  <div>" + LineEndBytes(line_end) + "    x");
  }

  void EndTagIsNotCompletedInScriptOrStyle_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::addRow("script") << "<b><script>s += \""
                            << "</b>\";";
    QTest::addRow("style") << "<b><style>/* "
                           << "</b> */";
    QTest::addRow("after the script") << "<b><script>x</script>"
                                      << "</";
  }

  void EndTagIsNotCompletedInScriptOrStyle() {
    QFETCH(QString, before);
    QFETCH(QString, typed);
    LoadWithCaretAtEnd(before);
    QTest::keyClicks(Editor(), typed);
    const QString completed = typed == "</" ? "b>" : "";
    QCOMPARE(Main().Editor().Line(0), before + typed + completed);
  }

  void EnterKeepsTheIndentation() {
    LoadWithCaretAtEnd("<ul>\n  <li>one</li>\n  <li>");
    QTest::keyClick(Editor(), Qt::Key_Return);  // inside the element just opened: one more level
    QTest::keyClicks(Editor(), "two</li>");
    QTest::keyClick(Editor(), Qt::Key_Return);
    QTest::keyClicks(Editor(), "x");
    QCOMPARE(Main().Editor().Line(3), QString("    two</li>"));
    QCOMPARE(Main().Editor().Line(4), QString("    x"));
    Main().Commands().MenuItem("AutoIndent")->setChecked(false);
    QTest::keyClick(Editor(), Qt::Key_Return);
    QTest::keyClicks(Editor(), "y");
    QCOMPARE(Main().Editor().Line(5), QString("y"));
    // The same far into a large page, where only the text just before is read.
    Main().Commands().MenuItem("AutoIndent")->setChecked(true);
    const QString filler = QString("<p>filler</p>\n").repeated(10000);
    Main().Editor().LoadText(filler + "<ul>\n  <li>");
    CaretToEnd();
    QTest::keyClick(Editor(), Qt::Key_Return);
    QTest::keyClicks(Editor(), "two");
    QCOMPARE(Main().Editor().Line(10002), QString("    two"));
  }

  void OffersNamesWhileTyping() {
    Main().Editor().LoadText("<p>\n");
    Editor()->setFocus();
    Main().Editor().Select(4, 0);
    QTest::keyClicks(Editor(), "<");
    QVERIFY(Editor()->isListActive());
    QVERIFY(Editor()->ShownCompletions().contains("div"));
    QTest::keyClick(Editor(), Qt::Key_Escape);  // closes the list, inserts nothing
    QVERIFY(!Editor()->isListActive());
    QCOMPARE(Main().Editor().Line(1), QString("<"));
    QTest::keyClicks(Editor(), "im");
    QVERIFY(Editor()->isListActive());
    QTest::keyClick(Editor(), Qt::Key_Tab);
    QCOMPARE(Main().Editor().Line(1), QString("<img"));
    QTest::keyClicks(Editor(), " ");
    QVERIFY(Editor()->ShownCompletions().contains("src"));
    QVERIFY(!Editor()->ShownCompletions().contains("href"));
    QTest::keyClicks(Editor(), "alt");
    QTest::keyClick(Editor(), Qt::Key_Return);
    QCOMPARE(Main().Editor().Line(1), QString("<img alt"));
    QTest::keyClicks(Editor(), "=\"x\" style=\"");
    QVERIFY(Editor()->ShownCompletions().contains("margin-top"));
    QTest::keyClick(Editor(), Qt::Key_Escape);
    QCOMPARE(Main().Editor().Line(1), QString("<img alt=\"x\" style=\""));
    Main().Commands().MenuItem("Completion")->setChecked(false);
    QTest::keyClicks(Editor(), " <");
    QVERIFY(!Editor()->isListActive());
  }

  void ViewChoicesAreRemembered() {
    for (const char* name : {"Folding", "TagMatching", "CloseTags", "Completion"}) {
      QVERIFY2(Main().Commands().MenuItem(name)->isChecked(), name);
      Main().Commands().MenuItem(name)->setChecked(false);
    }
    app_.reset();
    StartProgram();
    for (const char* name : {"Folding", "TagMatching", "CloseTags", "Completion"}) {
      QVERIFY2(!Main().Commands().MenuItem(name)->isChecked(), name);
    }
    QVERIFY(!Editor()->Folding() && !Editor()->TagMatching());
    QVERIFY(!Editor()->ClosingTags() && !Editor()->Completion());
  }

  void DroppedFileOpens() {
    QFile page(dir_->filePath("dropped.htm"));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<p>dropped</p>\r\n");
    page.close();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(page.fileName())});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Editor()->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Editor()->viewport(), &drop);
    QCOMPARE(Main().Session().FileName(), page.fileName());
    QCOMPARE(Main().Editor().Line(0), QString("<p>dropped</p>"));
  }

  void FontIsRememberedAcrossRestarts() {
    QFont font("DejaVu Sans Mono");
    font.setPointSize(15);
    desktop_->font_answers.push_back(font);
    desktop_->modal_scripts.push_back([](QDialog* dialog) {
      dialog->findChild<QPushButton*>("Button3")->click();
      dialog->findChild<QPushButton*>("Button1")->click();
    });
    Main().Commands().Button("SpeedButton19")->click();
    QCOMPARE(Editor()->font().pointSize(), 15);
    app_.reset();
    StartProgram();
    QCOMPARE(Editor()->font().pointSize(), 15);
  }

  void PreviewFollowsASave() {
    Main().Editor().LoadText("<p>first</p>");
    desktop_->save_answers.push_back(Desktop::FileChoice{dir_->filePath("page.htm"), 1});
    QVERIFY(Main().Session().SaveDocumentAs());
    Main().Commands().MenuItem("N79")->trigger();
    const QString scratch = Main().Session().ScratchFiles().first();
    Main().Editor().LoadText("<p>second</p>");
    QVERIFY(Main().Session().SaveDocument());
    QFile file(scratch);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("<p>second</p>"));
    QVERIFY(app_->Preview().findChild<QAction*>("Reload") != nullptr);
    QVERIFY(app_->Preview().width() >= 544);
  }

  // Keys a new user tries first: Alt opens menus without typing, Escape leaves the find
  // bar, Ctrl+Shift+S, Ctrl+W and their menu items, the caret field after an open.
  void EverydayKeys() {
    QFile page(dir_->filePath("page.htm"));
    QVERIFY(page.open(QIODevice::WriteOnly) && page.write("<p>one\r\ntwo three\r\n") > 0);
    page.close();
    Main().show();
    QVERIFY(QTest::qWaitForWindowActive(&Main()));
    const QString text = Main().Editor().Text();
    Main().Editor().SelectAll();
    QTest::keyClick(Editor(), Qt::Key_F, Qt::AltModifier);
    QCOMPARE(Main().Editor().Text(), text);
    QTRY_VERIFY(Main().menuBar()->activeAction() != nullptr);
    QCOMPARE(Main().menuBar()->activeAction()->objectName(), QString("dsfg1"));
    Main().menuBar()->activeAction()->menu()->close();

    Key(Qt::CTRL | Qt::Key_F);
    Editor()->setFocus();
    QTest::keyClick(Editor(), Qt::Key_Escape);
    QVERIFY(!Main().findChild<QWidget*>("FindBar")->isVisible());

    desktop_->open_answers.push_back(Desktop::FileChoice{dir_->filePath("page.htm"), 1});
    QTest::keyClick(Editor(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(Main().Session().FileName(), dir_->filePath("page.htm"));
    QCOMPARE(Main().StatusPanel(1), QString("0,0"));
    QVERIFY(Editor()->hasFocus());
    QCOMPARE(KeyHintMenu::KeyHint(Main().Commands().MenuItem("N64")),
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    QCOMPARE(KeyHintMenu::KeyHint(Main().Commands().MenuItem("ClosePage")),
             QKeySequence(Qt::CTRL | Qt::Key_W));
    Key(Qt::CTRL | Qt::Key_W);
    QVERIFY(Main().Session().FileName().isEmpty());
  }

  // Every tool button has a picture, sharp at twice the scale; so has the program.
  // A screen reader reads lines, words and characters around an offset, a CR LF as one.
  void ReaderSeesTextCaretAndSelection_data() {
    QTest::addColumn<int>("boundary");
    QTest::addColumn<QString>("at");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addRow("line") << int(QAccessible::LineBoundary) << "вторая строка\n"
                          << "first line\n"
                          << "last";
    QTest::addRow("word") << int(QAccessible::WordBoundary) << "вторая"
                          << "\n"
                          << " ";
    QTest::addRow("character") << int(QAccessible::CharBoundary) << "о"
                               << "т"
                               << "р";
  }
  void ReaderSeesTextCaretAndSelection() {
    QFETCH(int, boundary);
    const auto type = QAccessible::TextBoundaryType(boundary);
    Main().Editor().LoadText("first line\nвторая строка\nlast", LineEnd::kCrLf);
    QAccessibleTextInterface* reader =
        QAccessible::queryAccessibleInterface(Editor())->textInterface();
    QVERIFY(reader != nullptr);
    QCOMPARE(reader->characterCount(), 29);
    QCOMPARE(reader->text(0, 29), QString("first line\nвторая строка\nlast"));
    int start = 0;
    int end = 0;
    QTEST(reader->textAtOffset(13, type, &start, &end), "at");
    QCOMPARE(reader->text(start, end), reader->textAtOffset(13, type, &start, &end));
    QTEST(reader->textBeforeOffset(13, type, &start, &end), "before");
    QTEST(reader->textAfterOffset(13, type, &start, &end), "after");
    reader->setSelection(0, 11, 17);
    QCOMPARE(Main().Editor().SelectedText(), QString("вторая"));
    reader->selection(0, &start, &end);
    QCOMPARE(QPair(start, end), QPair(11, 17));
    QCOMPARE(reader->textAtOffset(29, QAccessible::LineBoundary, &start, &end), QString("last"));
    reader->setCursorPosition(27);
    QCOMPARE(reader->cursorPosition(), 27);
    QCOMPARE(Main().Editor().CaretLine(), 2);
  }

  void ToolButtonsHaveIcons() {
    for (QToolButton* button : Main().findChildren<QToolButton*>()) {
      const QString name = button->objectName();
      if (button->window() != &Main() || (!name.startsWith("SpeedButton") && name != "knopka8")) {
        continue;
      }
      QVERIFY2(!button->icon().isNull(), qPrintable(name));
    }
    const QPixmap sharp = ProgramIcon().pixmap(QSize(32, 32), 2.0);
    QCOMPARE(sharp.size(), QSize(64, 64));
  }

  // Real mouse and key events on the editor's viewport.
  void SeveralSelectionsByMouseAndKeys() {
    Main().show();
    Main().Editor().LoadText("alpha beta\ngamma delta\nepsilon zeta\n");
    CodeEditor* editor = Editor();
    QWidget* view = editor->viewport();
    auto at = [editor](int line, int index) {
      const long pos = editor->positionFromLineIndex(line, index);
      return QPoint(int(editor->SendScintilla(QsciScintilla::SCI_POINTXFROMPOSITION, 0, pos)),
                    int(editor->SendScintilla(QsciScintilla::SCI_POINTYFROMPOSITION, 0, pos)) + 3);
    };
    auto selections = [editor] {
      QList<std::pair<long, long>> ranges;
      for (long i = 0, n = editor->SendScintilla(QsciScintilla::SCI_GETSELECTIONS); i < n; ++i) {
        ranges.append({editor->SendScintilla(QsciScintilla::SCI_GETSELECTIONNSTART, i),
                       editor->SendScintilla(QsciScintilla::SCI_GETSELECTIONNEND, i)});
      }
      std::sort(ranges.begin(), ranges.end());
      return ranges;
    };
    QTest::mouseClick(view, Qt::LeftButton, {}, at(0, 0));
    QTest::mouseClick(view, Qt::LeftButton, Qt::ControlModifier, at(1, 0));
    QTest::mouseClick(view, Qt::LeftButton, Qt::ControlModifier, at(2, 0));
    QCOMPARE(selections().size(), 3);
    QTest::keyClicks(editor, "xy");
    QTest::keyClick(editor, Qt::Key_Backspace);
    QCOMPARE(Main().Editor().Text(), QString("xalpha beta\nxgamma delta\nxepsilon zeta\n"));
    QApplication::clipboard()->setText("P");
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Main().Editor().Text(), QString("xPalpha beta\nxPgamma delta\nxPepsilon zeta\n"));
    QTest::keyClick(editor, Qt::Key_Escape);
    QCOMPARE(selections().size(), 1);

    // Ctrl+double-click adds the word.
    QTest::mouseClick(view, Qt::LeftButton, {}, at(0, 0));
    QTest::mouseClick(view, Qt::LeftButton, Qt::ControlModifier, at(1, 10));
    QTest::mouseDClick(view, Qt::LeftButton, Qt::ControlModifier, at(1, 10));
    QCOMPARE(selections(), (QList<std::pair<long, long>>{{0, 0}, {21, 26}}));

    // Alt+drag, and Alt+Shift+arrows, make a rectangle.
    QTest::mousePress(view, Qt::LeftButton, Qt::AltModifier, at(0, 1));
    QTest::mouseMove(view, at(2, 3));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::AltModifier, at(2, 3));
    QCOMPARE(selections(), (QList<std::pair<long, long>>{{1, 3}, {14, 16}, {28, 30}}));
    QTest::keyClick(editor, Qt::Key_Escape);
    QTest::mouseClick(view, Qt::LeftButton, {}, at(0, 1));
    QTest::keyClick(editor, Qt::Key_Down, Qt::AltModifier | Qt::ShiftModifier);
    QTest::keyClick(editor, Qt::Key_Right, Qt::AltModifier | Qt::ShiftModifier);
    QCOMPARE(selections(), (QList<std::pair<long, long>>{{1, 2}, {14, 15}}));

    // Where the desktop takes Alt+drag: Ctrl+Alt+drag, or the Block selection toggle with a
    // plain drag and Shift+arrows.
    QTest::keyClick(editor, Qt::Key_Escape);
    QTest::mousePress(view, Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier, at(0, 1));
    QTest::mouseMove(view, at(2, 3));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier, at(2, 3));
    QCOMPARE(selections(), (QList<std::pair<long, long>>{{1, 3}, {14, 16}, {28, 30}}));
    QTest::keyClick(editor, Qt::Key_Escape);
    Main().Commands().MenuItem("BlockSelection")->setChecked(true);
    QTest::mousePress(view, Qt::LeftButton, {}, at(0, 1));
    QTest::mouseMove(view, at(1, 3));
    QTest::mouseRelease(view, Qt::LeftButton, {}, at(1, 3));
    QCOMPARE(selections(), (QList<std::pair<long, long>>{{1, 3}, {14, 16}}));
    QTest::mouseClick(view, Qt::LeftButton, {}, at(0, 1));
    QTest::keyClick(editor, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(editor, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(selections(), (QList<std::pair<long, long>>{{1, 2}, {14, 15}}));
    Main().Commands().MenuItem("BlockSelection")->setChecked(false);
    QTest::mouseClick(view, Qt::LeftButton, {}, at(0, 1));
    QTest::keyClick(editor, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(selections().size(), 1);
  }

 private:
  void CaretToEnd() { Main().Editor().Select(int(Main().Editor().Text().size()), 0); }
  void LoadWithCaretAtEnd(const QString& text) {
    Main().Editor().LoadText(text);
    Editor()->setFocus();
    CaretToEnd();
  }
  template <typename T>
  T* Bar(const char* name) {
    return Main().findChild<QWidget*>("FindBar")->findChild<T*>(name);
  }
  void Key(QKeyCombination key) { QTest::keySequence(&Main(), QKeySequence(key)); }
};

QTEST_MAIN(EditorComfortsTest)
#include "editor_comforts_test.moc"
