#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>
#include <memory>

#include "app/application.h"
#include "app/main_window.h"
#include "support/fake_desktop.h"
#include "support/test_app.h"
#include "support/window_fixture.h"
#include "tags/tag_catalogue.h"

// The editor of the main window: pop-up tag commands, status bar, flags, undo, wrap, clear
// and the whole-text transforms, driven through the window's own controls.
class EditingTest : public WindowTest {
  Q_OBJECT

 private slots:

  void BuildsThePopupMenuFromTheCatalogue();
  void RunsEveryCatalogueItem();
  void BoldShortcutWrapsTheSelection();
  void TypingMarksTheDocument();
  void KeyShowsThePositionBeforeIt();
  void ClickShowsTheNewPosition();
  void SwitchesWordWrap();
  void ClearKeepsTheFileName();
  void TransformsAreOneUndoStep_data();
  void TransformsAreOneUndoStep();
  void PopupNewAndClearItems();

 private:
  QToolButton* Button(const char* name) { return Main().findChild<QToolButton*>(name); }
  void SetText(const QString& text, int start, int length);
};

void EditingTest::SetText(const QString& text, int start, int length) {
  Main().Editor().LoadText(text);
  Main().Editor().Select(start, length);
}

void EditingTest::BuildsThePopupMenuFromTheCatalogue() {
  QMenu* popup = Main().PopupMenu();
  QCOMPARE(popup->objectName(), QString("PopupMenu1"));
  // Walk the menu tree depth first; it must list the catalogue rows in order.
  QList<const QAction*> walked;
  std::function<void(QMenu*)> walk = [&](QMenu* menu) {
    for (QAction* action : menu->actions()) {
      walked.append(action);
      if (action->menu() != nullptr) walk(action->menu());
    }
  };
  walk(popup);
  // The clipboard commands and a separator stand above the catalogue.
  QCOMPARE(walked.first()->objectName(), QString("PopupCut"));
  QVERIFY(walked[4]->isSeparator());
  walked.remove(0, 5);
  const auto catalogue = TagCatalogue();
  QCOMPARE(walked.size(), qsizetype(catalogue.size()));
  for (qsizetype i = 0; i < walked.size(); ++i) {
    const TagCommand& row = catalogue[i];
    QCOMPARE(walked[i]->objectName(), QString::fromUtf16(row.name));
    if (row.kind == TagKind::kSeparator) {
      QVERIFY(walked[i]->isSeparator());
    } else {
      QCOMPARE(walked[i]->text(), CaptionOf(row));
    }
  }
  QStringList top;
  for (QAction* action : popup->actions().mid(5)) top << action->objectName();
  QCOMPARE(top, (QStringList{"N4", "N16", "N5", "N28", "N38", "N1", "N54", "N33", "N47", "N52",
                             "N51", "N50", "N49", "N48"}));
  QCOMPARE(popup->findChild<QMenu*>("N15")->parent(), popup->findChild<QMenu*>("N5"));
}

void EditingTest::RunsEveryCatalogueItem() {
  for (const TagCommand& row : TagCatalogue()) {
    if (row.kind == TagKind::kSubmenu || row.kind == TagKind::kSeparator ||
        row.kind == TagKind::kWindow) {
      continue;
    }
    const QString name = QString::fromUtf16(row.name);
    auto* action = Main().PopupMenu()->findChild<QAction*>(name);
    QVERIFY2(action != nullptr, qPrintable(name));
    QString snippet = QString::fromUtf16(row.snippet);
    if (row.kind == TagKind::kDate) snippet = desktop_->date_text + " ";
    if (row.kind == TagKind::kTime) snippet = desktop_->time_text + " ";

    SetText("ab", 1, 0);
    action->trigger();
    QCOMPARE(Main().Editor().Text(), "a" + snippet + "b");
    QCOMPARE(Main().CaretColumn(), 2);

    SetText("xy", 0, 2);
    action->trigger();
    QString wrapped = "xy" + snippet;
    if (row.kind == TagKind::kWrapInsert) {
      wrapped = "<" + QString::fromUtf16(row.open) + ">xy</" + QString::fromUtf16(row.close) + ">";
    } else if (row.kind == TagKind::kComment) {
      wrapped = "<!--xy-->";
    }
    QCOMPARE(Main().Editor().Text(), wrapped);
  }
}

void EditingTest::BoldShortcutWrapsTheSelection() {
  SetText("a word", 2, 4);
  Main().SetStatusPanel(0, QString());
  QTest::keyClick(Main().EditorWidget(), Qt::Key_B, Qt::ControlModifier);
  QCOMPARE(Main().Editor().Text(), QString("a <b>word</b>"));
  QCOMPARE(Main().Editor().CaretPosition(), 13);
  QCOMPARE(Main().StatusPanel(0), QString("*"));
  QVERIFY(Main().Session().Modified());
  QTest::keyClick(Main().EditorWidget(), Qt::Key_I, Qt::ControlModifier);
  QTest::keyClick(Main().EditorWidget(), Qt::Key_U, Qt::ControlModifier);
  QCOMPARE(Main().Editor().Text(), QString("a <b>word</b><i> </i><u> </u>"));
}

void EditingTest::TypingMarksTheDocument() {
  QVERIFY(!Main().Session().Modified());
  QCOMPARE(Main().StatusPanel(0), QString());
  Main().EditorWidget()->setCursorPosition(0, 0);
  QTest::keyClick(Main().EditorWidget(), Qt::Key_X);
  QVERIFY(Main().Session().Modified());
  QVERIFY(!Main().Session().Saved());
  QCOMPARE(Main().StatusPanel(0), QString("*"));
  QCOMPARE(Main().StatusPanel(1), QString("1,0"));
  desktop_->save_answers.push_back(Desktop::FileChoice{dir_->filePath("typed.htm"), 1});
  QVERIFY(Main().Session().SaveDocument());
  QVERIFY(!Main().Session().Modified());
  QCOMPARE(Main().StatusPanel(0), QString());
}

void EditingTest::KeyShowsThePositionBeforeIt() {
  Main().EditorWidget()->setCursorPosition(0, 0);
  QTest::keyClick(Main().EditorWidget(), Qt::Key_Down);
  QCOMPARE(Main().StatusPanel(1), QString("0,0"));
  QCOMPARE(Main().StatusPanel(2), QString("0"));
  QTest::keyClick(Main().EditorWidget(), Qt::Key_Down);
  QCOMPARE(Main().StatusPanel(1), QString("0,1"));
  QCOMPARE(Main().StatusPanel(2), QString("7"));  // "<html>" and its line break
}

void EditingTest::ClickShowsTheNewPosition() {
  SetText("line0\nline1\nline2\nline3\nline4\nline5 here", 0, 0);
  CodeEditor* editor = Main().EditorWidget();
  const long position = editor->positionFromLineIndex(5, 2);
  const QPoint point(
      int(editor->SendScintilla(QsciScintilla::SCI_POINTXFROMPOSITION, 0, position)),
      int(editor->SendScintilla(QsciScintilla::SCI_POINTYFROMPOSITION, 0, position)));
  QTest::mouseClick(editor->viewport(), Qt::LeftButton, Qt::NoModifier, point + QPoint(1, 4));
  QTRY_COMPARE(Main().StatusPanel(1), QString("2,5"));
  QCOMPARE(Main().StatusPanel(2), QString::number(6 * 5 + 2));
  // Wide enough for the offsets of a 50 MB page.
  auto* offset = Main().findChild<QLabel*>("StatusPanel2");
  QVERIFY(offset->width() >= offset->fontMetrics().horizontalAdvance("88888888"));
}

void EditingTest::SwitchesWordWrap() {
  CodeEditor* editor = Main().EditorWidget();
  QCOMPARE(editor->wrapMode(), QsciScintilla::WrapNone);
  QTest::mouseClick(Button("SpeedButton6"), Qt::LeftButton);
  QVERIFY(Main().WordWrapOn());
  QCOMPARE(editor->wrapMode(), QsciScintilla::WrapWord);
  QTest::mouseClick(Button("SpeedButton6"), Qt::LeftButton);
  QVERIFY(!Main().WordWrapOn());
  QCOMPARE(editor->wrapMode(), QsciScintilla::WrapNone);
}

void EditingTest::ClearKeepsTheFileName() {
  const QString path = dir_->filePath("clear.htm");
  desktop_->save_answers.push_back(Desktop::FileChoice{path, 1});
  QVERIFY(Main().Session().SaveDocument());
  QTest::mouseClick(Button("SpeedButton5"), Qt::LeftButton);
  QCOMPARE(Main().Editor().LineCount(), 0);
  QCOMPARE(Main().Session().FileName(), path);
  QVERIFY(Main().Session().Modified());
  QCOMPARE(Main().StatusPanel(0), QString("*"));
  QVERIFY(Main().Session().SaveDocument());
  QCOMPARE(QFileInfo(path).size(), 0);
}

void EditingTest::TransformsAreOneUndoStep_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("before");
  QTest::addColumn<QString>("after");
  QTest::addRow("text to html") << "SpeedButton7"
                                << "Hello\nworld\n\nBye"
                                << "Hello<br>\nworld<p>\n\nBye<p>";
  QTest::addRow("html to text") << "SpeedButton13"
                                << "<b>a</b> &lt;\nx > y"
                                << "a <;\n y";
  QTest::addRow("compress") << "SpeedButton10"
                            << "  a   b  \n\nc"
                            << "a b\nc";
  QTest::addRow("quick table") << "knopka8"
                               << "a\nb"
                               << "<table>\n<tr><td>a</td></tr>\n<tr><td>b</td></tr>\n</table>";
  QTest::addRow("quick table of nothing") << "knopka8"
                                          << ""
                                          << "<table>\n</table>";
}

void EditingTest::TransformsAreOneUndoStep() {
  QFETCH(QString, button);
  QFETCH(QString, before);
  QFETCH(QString, after);
  SetText(before, 0, 0);
  Main().SetStatusPanel(0, QString());
  QTest::mouseClick(Button(qPrintable(button)), Qt::LeftButton);
  QCOMPARE(Main().Editor().Text(), after);
  QCOMPARE(Main().StatusPanel(0), QString("*"));
  QTest::mouseClick(Button("SpeedButton11"), Qt::LeftButton);
  QCOMPARE(Main().Editor().Text(), before);
}

void EditingTest::PopupNewAndClearItems() {
  QMenu* popup = Main().PopupMenu();
  popup->findChild<QAction*>("N48")->trigger();
  QCOMPARE(Main().Editor().Text(), QString());
  desktop_->modal_scripts.push_back(FakeDesktop::Press("Button6"));
  desktop_->modal_scripts.push_back(FakeDesktop::Press("BitBtn2"));
  popup->findChild<QAction*>("N49")->trigger();
  QCOMPARE(desktop_->modal_windows, (QStringList{"Form7", "Form2"}));
  QCOMPARE(Main().Editor().LineCount(), 8);
  QVERIFY(!Main().Session().Modified());
}

QTEST_MAIN(EditingTest)
#include "editing_test.moc"
