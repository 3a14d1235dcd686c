#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "app/application.h"
#include "app/main_window.h"
#include "generators/colour_picker_window.h"
#include "settings/new_page_window.h"
#include "support/fake_desktop.h"
#include "support/test_app.h"
#include "support/window_fixture.h"

// The new page wizard at window level: Ctrl+N, the colour buttons through the picker, the
// frames panel, the prompt after the wizard, and insertline.
class NewPageWindowTest : public WindowTest {
  Q_OBJECT

 private slots:

  void CtrlNShowsTheWizardAndMakesThePage();
  void PickedColourReachesTheBodyLine();
  void FramesPanelFollowsTheCheckBox();
  void FramesetLayoutsGenerateTheirLines_data();
  void FramesetLayoutsGenerateTheirLines();
  void CancelledPromptKeepsTheDocument();
  void CancelAndEscapeLeaveThePage_data();
  void CancelAndEscapeLeaveThePage();
  void InsertlineStacksLinesAndShowsTheLine();

 private:
  NewPageWindow& Wizard() { return app_->NewPage(); }
  template <typename T>
  T* Control(const char* name) {
    return Wizard().findChild<T*>(name);
  }
};

void NewPageWindowTest::CtrlNShowsTheWizardAndMakesThePage() {
  desktop_->modal_scripts.push_back([](QDialog* wizard) {
    wizard->findChild<QLineEdit*>("Edit1")->setText("My page");
    wizard->findChild<QPushButton*>("Button6")->click();
  });
  QTest::keyClick(Main().EditorWidget(), Qt::Key_N, Qt::ControlModifier);
  QCOMPARE(desktop_->modal_windows, QStringList{"Form7"});
  QCOMPARE(Main().Editor().Line(2), QString("<title>My page</title>"));
  QCOMPARE(Main().windowTitle(), QString("Brindlemark : Untitled"));
  QVERIFY(!Main().Session().Modified());
  QVERIFY(!Main().Session().Saved());
  QCOMPARE(Main().StatusPanel(0), QString());
  QCOMPARE(Wizard().windowTitle(), QString("New page"));
}

void NewPageWindowTest::PickedColourReachesTheBodyLine() {
  desktop_->modal_scripts.push_back([this](QDialog*) {
    // Inside the wizard: the background button opens the picker modally.
    desktop_->modal_scripts.push_front([](QDialog* picker) {
      picker->findChild<QSlider*>("TrackBar3")->setValue(255);
      picker->close();
    });
    Control<QPushButton>("Button1")->click();
    Control<QPushButton>("Button6")->click();
  });
  QTest::mouseClick(Main().Commands().Button("SpeedButton8"), Qt::LeftButton);
  QCOMPARE(desktop_->modal_windows, (QStringList{"Form7", "Form9"}));
  QCOMPARE(Control<QLineEdit>("Edit2")->text(), QString("#FF0000"));
  QCOMPARE(Control<QFrame>("Panel2")->palette().color(QPalette::Window), QColor(Qt::red));
  QCOMPARE(Main().Editor().Line(4),
           QString("<body bgcolor=#FF0000 text=black link=blue vlink=green alink=red>"));
}

void NewPageWindowTest::FramesPanelFollowsTheCheckBox() {
  Wizard().show();
  auto* panel = Control<QFrame>("Panel7");
  QVERIFY(!panel->isVisible());
  Control<QCheckBox>("CheckBox1")->click();
  QVERIFY(panel->isVisible());
  Control<QCheckBox>("CheckBox1")->click();
  QVERIFY(!panel->isVisible());
  Wizard().hide();
}

void NewPageWindowTest::FramesetLayoutsGenerateTheirLines_data() {
  QTest::addColumn<QString>("radio");
  QTest::addColumn<QStringList>("options");
  QTest::addColumn<QString>("frameset");
  QTest::addColumn<QString>("second");
  QTest::addRow("layout 2 with border")
      << "RadioButton2" << QStringList{"border"} << "<frameset cols=\"*,110\" border=1>"
      << "<frame name=\"second\" src=\"second.htm\" scrolling=no>";
  QTest::addRow("layout 3 plain") << "RadioButton3" << QStringList{}
                                  << "<frameset rows=\"110,*\" border=0 >"
                                  << "<frame name=\"second\" src=\"second.htm\" scrolling=no>";
  QTest::addRow("layout 4 scrolling noresize")
      << "RadioButton4" << QStringList{"scrolling", "noresize"}
      << "<frameset rows=\"*,110\" border=0 >"
      << "<frame name=\"second\" src=\"second.htm\" scrolling=yes noresize>";
}

void NewPageWindowTest::FramesetLayoutsGenerateTheirLines() {
  QFETCH(QString, radio);
  QFETCH(QStringList, options);
  QFETCH(QString, frameset);
  QFETCH(QString, second);
  desktop_->modal_scripts.push_back([&](QDialog* wizard) {
    wizard->findChild<QCheckBox*>("CheckBox1")->setChecked(true);
    wizard->findChild<QRadioButton*>(radio)->setChecked(true);
    for (const QString& option : options) wizard->findChild<QCheckBox*>(option)->setChecked(true);
    wizard->close();  // the close box also goes on to the new page
  });
  Main().Commands().MenuItem("N61")->trigger();
  QCOMPARE(Main().Editor().Lines().mid(4),
           (QStringList{frameset, second, "<frame name=\"main\" src=\"main.htm\">", "</frameset>",
                        "</html>"}));
}

void NewPageWindowTest::CancelledPromptKeepsTheDocument() {
  Main().Editor().LoadText("my work");
  QTest::keyClick(Main().EditorWidget(), Qt::Key_X);
  desktop_->modal_scripts.push_back(FakeDesktop::Press("Button6"));
  desktop_->modal_scripts.push_back(FakeDesktop::Press("BitBtn3"));
  QTest::keyClick(Main().EditorWidget(), Qt::Key_N, Qt::ControlModifier);
  QCOMPARE(desktop_->modal_windows, (QStringList{"Form7", "Form2"}));
  QCOMPARE(Main().Editor().Text(), QString("xmy work"));
  QVERIFY(Main().Session().Modified());
}

void NewPageWindowTest::CancelAndEscapeLeaveThePage_data() {
  QTest::addColumn<bool>("escape");
  QTest::addRow("cancel button") << false;
  QTest::addRow("escape") << true;
}

void NewPageWindowTest::CancelAndEscapeLeaveThePage() {
  QFETCH(bool, escape);
  Main().Editor().LoadText("my work");
  desktop_->modal_scripts.push_back([escape](QDialog* window) {
    if (escape) {
      QTest::keyClick(window, Qt::Key_Escape);
    } else {
      window->findChild<QPushButton*>("CancelButton")->click();
    }
  });
  QTest::keyClick(Main().EditorWidget(), Qt::Key_N, Qt::ControlModifier);
  QCOMPARE(desktop_->modal_windows, QStringList{"Form7"});
  QCOMPARE(Main().Editor().Text(), QString("my work"));
}

void NewPageWindowTest::InsertlineStacksLinesAndShowsTheLine() {
  Main().Editor().LoadText("0\n1\n2\nthree\n4");
  Main().Editor().Select(8, 0);
  for (const char* text : {"a", "b", "c"}) Wizard().insertline(text);
  QCOMPARE(Main().Editor().Lines(), (QStringList{"0", "1", "2", "a", "b", "c", "three", "4"}));
  QCOMPARE(Main().StatusPanel(1), QString("5"));
  QCOMPARE(Main().CaretLine(), 6);
  QVERIFY(Main().Session().Modified());
}

QTEST_MAIN(NewPageWindowTest)
#include "new_page_window_test.moc"
