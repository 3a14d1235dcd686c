#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "app/application.h"
#include "app/main_window.h"
#include "generators/colour_picker_window.h"
#include "support/fake_desktop.h"
#include "support/test_app.h"
#include "support/window_fixture.h"

// The colour picker driven through its own sliders, number fields and buttons.
class ColourPickerWindowTest : public WindowTest {
  Q_OBJECT

 private slots:

  void SliderUpdatesEverything_data();
  void SliderUpdatesEverything();
  void NumberFieldMovesTheSliderWithinRange_data();
  void NumberFieldMovesTheSliderWithinRange();
  void SystemDialogGivesItsLastColourEvenAfterCancel();
  void InsertsTheColourAtTheCaret();
  void ModalPickYieldsTheColourHoweverClosed();
  void FreeStandingPickerOpensFromTheMainWindow();

 private:
  ColourPickerWindow& Picker() { return app_->Picker(); }
  template <typename T>
  T* Control(const char* name) {
    return Picker().findChild<T*>(name);
  }
};

void ColourPickerWindowTest::SliderUpdatesEverything_data() {
  QTest::addColumn<QString>("slider");
  QTest::addColumn<int>("value");
  QTest::addColumn<QString>("digits_label");
  QTest::addColumn<QString>("digits");
  QTest::addColumn<QString>("number");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("swatch");
  QTest::addRow("red 255") << "TrackBar3" << 255 << "Label3"
                           << "FF"
                           << "SpinEdit1"
                           << "#FF0000"
                           << "#FF0000";
  QTest::addRow("green 10") << "TrackBar2" << 10 << "Label2"
                            << "0A"
                            << "SpinEdit2"
                            << "#000A00"
                            << "#000A00";
  QTest::addRow("blue 1") << "TrackBar1" << 1 << "Label1"
                          << "01"
                          << "SpinEdit3"
                          << "#000001"
                          << "#000001";
}

void ColourPickerWindowTest::SliderUpdatesEverything() {
  QFETCH(QString, slider);
  QFETCH(int, value);
  QFETCH(QString, digits_label);
  QFETCH(QString, digits);
  QFETCH(QString, number);
  QFETCH(QString, text);
  QFETCH(QString, swatch);
  QCOMPARE(Control<QLineEdit>("Edit1")->text(), QString("#000000"));
  Control<QSlider>(qPrintable(slider))->setValue(value);
  QCOMPARE(Control<QLabel>(qPrintable(digits_label))->text(), digits);
  QCOMPARE(Control<QSpinBox>(qPrintable(number))->value(), value);
  QCOMPARE(Control<QLineEdit>("Edit1")->text(), text);
  auto* panel = Control<QLabel>("Panel1");
  QCOMPARE(panel->text(), swatch);
  QCOMPARE(panel->palette().color(QPalette::Window).name().toUpper(), text);
}

void ColourPickerWindowTest::NumberFieldMovesTheSliderWithinRange_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("kept");
  QTest::addRow("in range") << "128" << 128;
  QTest::addRow("above") << "300" << 255;
  QTest::addRow("below") << "-5" << 0;
}

void ColourPickerWindowTest::NumberFieldMovesTheSliderWithinRange() {
  QFETCH(QString, typed);
  QFETCH(int, kept);
  auto* number = Control<QSpinBox>("SpinEdit1");
  number->selectAll();
  QTest::keyClicks(number, typed);
  QCOMPARE(Control<QSlider>("TrackBar3")->value(), kept);
  QCOMPARE(number->value(), kept);
  // Once more at the kept value: the field is brought back although the slider stays.
  number->selectAll();
  QTest::keyClicks(number, typed);
  QCOMPARE(number->value(), kept);
}

void ColourPickerWindowTest::SystemDialogGivesItsLastColourEvenAfterCancel() {
  Picker().SetComponent(ColourPickerWindow::kGreen, 200);
  auto* button = Control<QPushButton>("Button1");
  button->click();  // cancelled the first time: black
  QCOMPARE(Picker().ColourText(), QString("#000000"));
  desktop_->colour_answers.push_back(QColor(0x12, 0x34, 0x56));
  button->click();
  QCOMPARE(Picker().ColourText(), QString("#123456"));
  Picker().SetComponent(ColourPickerWindow::kRed, 0);
  button->click();  // cancelled again: the colour it returned last
  QCOMPARE(Picker().ColourText(), QString("#123456"));
}

void ColourPickerWindowTest::InsertsTheColourAtTheCaret() {
  MainWindow& main = app_->Main();
  main.Editor().LoadText("ab");
  main.Editor().Select(1, 0);
  Picker().SetComponent(ColourPickerWindow::kBlue, 255);
  Control<QPushButton>("Button2")->click();
  QCOMPARE(main.Editor().Text(), QString("a#0000FFb"));
  QCOMPARE(main.CaretColumn(), 2);
}

void ColourPickerWindowTest::ModalPickYieldsTheColourHoweverClosed() {
  Picker().ShowFreeStanding();
  QVERIFY(Picker().isVisible());
  desktop_->modal_scripts.push_back([](QDialog* window) {
    window->findChild<QSlider*>("TrackBar3")->setValue(255);
    window->findChild<QSlider*>("TrackBar2")->setValue(128);
    window->close();
  });
  const ColourPick pick = Picker().PickColour();
  QCOMPARE(pick.text, QString("#FF8000"));
  QCOMPARE(pick.value, 0x0080FFu);
  // It opens again on the colour chosen last.
  desktop_->modal_scripts.push_back(FakeDesktop::Press("Button3"));
  QCOMPARE(Picker().PickColour().text, QString("#FF8000"));

  // Insert serves the field that asked: it closes and the page is not touched; a typed
  // colour is taken.
  app_->Main().Editor().LoadText("page");
  desktop_->modal_scripts.push_back([](QDialog* window) {
    auto* hex = window->findChild<QLineEdit*>("Edit1");
    hex->setFocus();
    QTest::keyClicks(hex, "\b\b\b\b\b\b\b#1a2B3c");
    window->findChild<QPushButton*>("Button2")->click();
    QVERIFY(!window->isVisible());
  });
  QCOMPARE(Picker().PickColour().text, QString("#1A2B3C"));
  QCOMPARE(app_->Main().Editor().Text(), QString("page"));
}

void ColourPickerWindowTest::FreeStandingPickerOpensFromTheMainWindow() {
  QTest::mouseClick(app_->Main().Commands().Button("SpeedButton33"), Qt::LeftButton);
  QVERIFY(Picker().isVisible());
  QVERIFY(!Picker().isModal());
  QCOMPARE(Picker().windowTitle(), QString("Colour picker"));
  QCOMPARE(Control<QLabel>("Label4")->text(), QString("Red"));
}

QTEST_MAIN(ColourPickerWindowTest)
#include "colour_picker_window_test.moc"
