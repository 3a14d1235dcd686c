#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/application.h"
#include "app/main_window.h"
#include "platform/picture.h"
#include "support/fake_desktop.h"
#include "support/test_app.h"
#include "support/window_fixture.h"
#include "widgets/file_browser.h"

// The generator windows driven through their controls, from the main window's commands.
class GeneratorWindowsTest : public WindowTest {
  Q_OBJECT

 private slots:

  void EveryCommandShowsItsWindow_data();
  void EveryCommandShowsItsWindow();
  void ImageTagOfEachKindOfPicture_data();
  void ImageTagOfEachKindOfPicture();
  void BrokenPictureKeepsThePreviousOne();
  void TableLandsAboveTheCaretAsOneUndoStep();
  void ListGoesAboveTheCaretLine();
  void RuleFromThePopupMenu();
  void BlockAndLineReplaceUndoInOneStep();
  void ChartNewestBarFirstAndStylesLocked();
  void StyleSheetSavedWithItsExtension();
  void ImageMapDragsInEveryDirection_data();
  void ImageMapDragsInEveryDirection();
  void ImageMapInsertsNewestAreaFirst();
  void ClipboardToggleCopyAndStore();
  void ClipboardStepsDownForAModalDialog();

 private:
  template <typename T>
  T* In(const char* window, const char* control) {
    QWidget* w = app_->Window(window);
    return w == nullptr ? nullptr : w->findChild<T*>(control);
  }
  void SetText(const QString& text) { app_->Main().Editor().LoadText(text); }
  void Click(const char* window, const char* control) {
    auto* button = In<QAbstractButton>(window, control);
    QVERIFY2(button != nullptr, control);
    button->click();
  }
  QString Picture(const char* name, const char* format, QSize size);
  static void DoubleClick(QListWidget* list, int row) {
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  }
};

QString GeneratorWindowsTest::Picture(const char* name, const char* format, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::red);
  const QString path = dir_->filePath(name);
  if (QByteArray(format) == "GIF") {
    // Qt reads GIF but does not write it: a stored one stands in.
    QFile::remove(path);
    return QFile::copy(QString(BM_TEST_DATA) + "/sample.gif", path) ? path : QString();
  }
  if (QByteArray(format) == "libjpeg") {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return QString();
    file.write(EncodeJpeg(image));
  } else if (!image.save(path, format)) {
    return QString();
  }
  return path;
}

void GeneratorWindowsTest::EveryCommandShowsItsWindow_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("menu_item");
  QTest::addColumn<QString>("window");
  const char* rows[][3] = {
      {"SpeedButton26", "N83", "Form4"},  {"SpeedButton22", "N80", "Form8"},
      {"SpeedButton25", "N81", "Form19"}, {"SpeedButton27", "N82", "Form20"},
      {"SpeedButton34", "N90", "Form21"}, {"SpeedButton28", "N84", "Form27"},
      {"SpeedButton9", "", "Form15"},     {"SpeedButton12", "", "Form18"},
      {"SpeedButton18", "", "Form17"},    {"SpeedButton29", "N85", "Form10"},
      {"SpeedButton30", "N86", "Form13"}, {"SpeedButton31", "N88", "AutocreatorForm"},
      {"SpeedButton32", "N89", "Form14"}, {"SpeedButton35", "N92", "Form23"},
      {"SpeedButton36", "N91", "Form25"}, {"SpeedButton37", "N93", "Form28"}};
  for (const auto& row : rows) QTest::addRow("%s", row[2]) << row[0] << row[1] << row[2];
}

void GeneratorWindowsTest::EveryCommandShowsItsWindow() {
  QFETCH(QString, button);
  QFETCH(QString, menu_item);
  QFETCH(QString, window);
  QWidget* target = app_->Window(window);
  QVERIFY(target != nullptr);
  QVERIFY(!target->isVisible());
  app_->Main().Button(button)->click();
  QVERIFY(target->isVisible());
  target->close();
  QVERIFY(!target->isVisible());
  if (!menu_item.isEmpty()) {
    app_->Main().MenuItem(menu_item)->trigger();
    QVERIFY(target->isVisible());
    target->close();
  }
  QVERIFY(app_->Window(window) == target);  // hidden, not destroyed
}

void GeneratorWindowsTest::ImageTagOfEachKindOfPicture_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QByteArray>("format");
  QTest::addRow("gif") << "a.gif" << QByteArray("GIF");
  QTest::addRow("bmp") << "a.bmp" << QByteArray("BMP");
  QTest::addRow("png") << "a.png" << QByteArray("PNG");
  QTest::addRow("jpeg by libjpeg") << "a.jpg" << QByteArray("libjpeg");
}

void GeneratorWindowsTest::ImageTagOfEachKindOfPicture() {
  QFETCH(QString, name);
  QFETCH(QByteArray, format);
  const QString path = Picture(name.toUtf8().constData(), format.constData(), QSize(100, 50));
  if (path.isEmpty()) QSKIP("no writer for this format");
  SetText("first line");
  app_->Main().Button("SpeedButton26")->click();
  auto* folders = In<FolderList>("Form4", "DirectoryListBox1");
  QVERIFY(folders->setProperty("folder", dir_->path()));
  auto* files = In<QListWidget>("Form4", "FileListBox1");
  const QList<QListWidgetItem*> found = files->findItems(name, Qt::MatchExactly);
  QCOMPARE(found.size(), 1);
  In<QRadioButton>("Form4", "RadioButton1")->click();
  files->setCurrentItem(found.first());
  QCOMPARE(In<QSpinBox>("Form4", "SpinEdit2")->value(), 100);
  QCOMPARE(In<QSpinBox>("Form4", "SpinEdit1")->value(), 50);
  QCOMPARE(In<QLabel>("Form4", "Image1")->size(), QSize(100, 50));
  // Unset spacing shows an empty field, not -1.
  QCOMPARE(In<QSpinBox>("Form4", "SpinEdit3")->value(), -1);
  QCOMPARE(In<QSpinBox>("Form4", "SpinEdit3")->text().trimmed(), QString());
  Click("Form4", "Button2");
  QCOMPARE(app_->Main().Editor().Line(0),
           QString("<img src=\"%1\" height=\"50\" width=\"100\">first line").arg(name));
  // Without a chosen file only the insertion line is shown.
  files->clearSelection();
  files->setCurrentItem(nullptr);
  SetText("other");
  Click("Form4", "Button2");
  QCOMPARE(app_->Main().StatusPanel(1), QString("0"));
  QCOMPARE(app_->Main().Editor().Lines(), QStringList{"other"});
}

void GeneratorWindowsTest::BrokenPictureKeepsThePreviousOne() {
  const QString good = Picture("good.jpg", "libjpeg", QSize(30, 20));
  QFile broken(dir_->filePath("broken.jpg"));
  QVERIFY(broken.open(QIODevice::WriteOnly));
  broken.write(EncodeJpeg(QImage(QSize(80, 80), QImage::Format_RGB32)).left(200));
  broken.close();
  app_->Main().Button("SpeedButton26")->click();
  In<FolderList>("Form4", "DirectoryListBox1")->setProperty("folder", dir_->path());
  auto* files = In<QListWidget>("Form4", "FileListBox1");
  files->setCurrentItem(files->findItems("good.jpg", Qt::MatchExactly).first());
  const QString src = In<QLineEdit>("Form4", "Edit2")->text();
  files->setCurrentItem(files->findItems("broken.jpg", Qt::MatchExactly).first());
  QCOMPARE(desktop_->errors.size(), 1);
  QCOMPARE(In<QSpinBox>("Form4", "SpinEdit2")->value(), 30);
  QCOMPARE(In<QLineEdit>("Form4", "Edit2")->text(), src);
}

void GeneratorWindowsTest::TableLandsAboveTheCaretAsOneUndoStep() {
  SetText("a\nb");
  app_->Main().Editor().Select(2, 0);  // caret on line 1
  app_->Main().Button("SpeedButton22")->click();
  In<QSpinBox>("Form8", "SpinEdit1")->setValue(2);
  In<QSpinBox>("Form8", "SpinEdit2")->setValue(3);
  QVERIFY(!In<QWidget>("Form8", "Panel1")->isEnabled());
  In<QCheckBox>("Form8", "CheckBox1")->click();
  QVERIFY(In<QWidget>("Form8", "Panel1")->isEnabled());
  Click("Form8", "Button1");
  const QStringList lines = app_->Main().Editor().Lines();
  QCOMPARE(lines.size(), 14);
  QCOMPARE(lines[1], QString("<table border=1 cellpadding=1 cellspacing=1>"));
  QCOMPARE(lines.last(), QString("b"));
  QVERIFY(app_->Main().Modified());
  Editor()->undo();
  QCOMPARE(app_->Main().Editor().Lines(), QStringList({"a", "b"}));
}

void GeneratorWindowsTest::ListGoesAboveTheCaretLine() {
  SetText("l0\nl1\nl2\nl3\nline four\nl5");
  app_->Main().Editor().Select(4 * 3 + 3, 0);  // inside "line four"
  app_->Main().Button("SpeedButton25")->click();
  In<QRadioButton>("Form19", "RadioButton2")->click();
  QVERIFY(!In<QComboBox>("Form19", "ComboBox1")->isVisible());
  In<QComboBox>("Form19", "ComboBox2")->setCurrentIndex(2);
  Click("Form19", "Button1");
  const QStringList lines = app_->Main().Editor().Lines();
  QCOMPARE(lines.mid(4, 4), QStringList({"<ul type=\"square\">", "<li>", "</ul>", "line four"}));
}

void GeneratorWindowsTest::RuleFromThePopupMenu() {
  SetText("x");
  app_->Main().Editor().Select(1, 0);
  desktop_->modal_scripts.push_back([](QDialog* dialog) {
    dialog->findChild<QCheckBox*>("CheckBox2")->click();
    dialog->findChild<QSpinBox*>("SpinEdit1")->setValue(5);
    dialog->findChild<QCheckBox*>("CheckBox1")->click();
    dialog->findChild<QCheckBox*>("CheckBox3")->click();
    dialog->findChild<QPushButton*>("Button1")->click();
  });
  app_->Main().RunTagCommand("N31");
  QCOMPARE(desktop_->modal_windows, QStringList{"Form22"});
  QCOMPARE(app_->Main().Editor().Line(0), QString("x<hr size=5 noshade color=#000000>"));
}

void GeneratorWindowsTest::BlockAndLineReplaceUndoInOneStep() {
  SetText("a\nb\na\nb");
  app_->Main().Button("SpeedButton9")->click();
  In<QPlainTextEdit>("Form15", "Memo1")->setPlainText("a\nb\n");
  In<QPlainTextEdit>("Form15", "Memo2")->setPlainText("x");
  Click("Form15", "Button1");
  QCOMPARE(app_->Main().Editor().Lines(), QStringList({"x", "x"}));
  QVERIFY(app_->Main().Modified());
  app_->Main().Button("SpeedButton12")->click();
  In<QLineEdit>("Form18", "Edit1")->setText("x");
  In<QLineEdit>("Form18", "Edit2")->setText("yy");
  Click("Form18", "Button1");
  QCOMPARE(app_->Main().Editor().Lines(), QStringList({"yy", "yy"}));
  Editor()->undo();
  QCOMPARE(app_->Main().Editor().Lines(), QStringList({"x", "x"}));
  Editor()->undo();
  QCOMPARE(app_->Main().Editor().Lines(), QStringList({"a", "b", "a", "b"}));
}

void GeneratorWindowsTest::ChartNewestBarFirstAndStylesLocked() {
  app_->Main().Button("SpeedButton27")->click();
  auto* list = In<QListWidget>("Form20", "RichEdit1");
  QCOMPARE(list->count(), 2);
  In<QLineEdit>("Form20", "Edit1")->setText("A");
  Click("Form20", "Button3");
  QVERIFY(!In<QRadioButton>("Form20", "RadioButton1")->isEnabled());
  In<QLineEdit>("Form20", "Edit1")->setText("B");
  Click("Form20", "Button3");
  QVERIFY(list->item(1)->text().startsWith("B</td>"));
  QVERIFY(list->item(2)->text().startsWith("A</td>"));
  // The frame lines cannot be removed; a bar can.
  DoubleClick(list, 0);
  DoubleClick(list, 3);
  QCOMPARE(list->count(), 4);
  DoubleClick(list, 1);
  QCOMPARE(list->count(), 3);
  SetText("end");
  In<QLineEdit>("Form20", "Edit5")->setText(" X ");
  Click("Form20", "Button1");
  const QStringList lines = app_->Main().Editor().Lines();
  QCOMPARE(lines.first(), QString("<center> X </center>"));
  QCOMPARE(lines.size(), 5);
  QCOMPARE(lines.last(), QString("end"));
  Click("Form20", "Button7");
  QVERIFY(In<QRadioButton>("Form20", "RadioButton1")->isEnabled());
  QCOMPARE(list->count(), 2);
}

void GeneratorWindowsTest::StyleSheetSavedWithItsExtension() {
  app_->Main().Button("SpeedButton34")->click();
  In<QComboBox>("Form21", "ComboBox6")->setCurrentText("P");
  In<QCheckBox>("Form21", "CheckBox5")->click();
  In<QLineEdit>("Form21", "Edit1")->setText("10");
  In<QComboBox>("Form21", "ComboBox5")->setCurrentText("pt");
  In<QCheckBox>("Form21", "CheckBox6")->click();
  Click("Form21", "Button1");
  auto* rules = In<QListWidget>("Form21", "ListBox1");
  QCOMPARE(rules->item(0)->text(), QString("P { font-size: 10pt; color: #ffffff; }"));
  desktop_->save_answers.push_back(Desktop::FileChoice{dir_->filePath("styles"), 1});
  Click("Form21", "Button4");
  QFile saved(dir_->filePath("styles.css"));
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QCOMPARE(saved.readAll(), QByteArray("P { font-size: 10pt; color: #ffffff; }\r\n"));
  Click("Form21", "Button4");  // cancelled: nothing written, nothing shown
  QVERIFY(desktop_->errors.isEmpty());
}

void GeneratorWindowsTest::ImageMapDragsInEveryDirection_data() {
  QTest::addColumn<QPoint>("from");
  QTest::addColumn<QPoint>("to");
  QTest::addColumn<QString>("coords");
  QTest::addRow("down right") << QPoint(10, 20) << QPoint(50, 40) << "10,20,50,40";
  QTest::addRow("up left") << QPoint(50, 40) << QPoint(10, 20) << "10,20,50,40";
  QTest::addRow("beyond right and bottom") << QPoint(10, 20) << QPoint(300, 300) << "10,20,120,80";
  QTest::addRow("beyond left and top") << QPoint(10, 20) << QPoint(-30, -30) << "0,0,10,20";
}

void GeneratorWindowsTest::ImageMapDragsInEveryDirection() {
  QFETCH(QPoint, from);
  QFETCH(QPoint, to);
  QFETCH(QString, coords);
  const QString path = Picture("map.bmp", "BMP", QSize(120, 80));
  desktop_->open_answers.push_back(Desktop::FileChoice{path, 1});
  app_->Main().Button("SpeedButton28")->click();
  Click("Form27", "Button2");
  QCOMPARE(In<QLabel>("Form27", "Label9")->text(), QString("120,80"));
  QWidget* layer = In<QWidget>("Form27", "Image1");
  QTest::mouseMove(layer, from);
  QTest::mousePress(layer, Qt::LeftButton, {}, from);
  QTest::mouseMove(layer, to);
  QTest::mouseRelease(layer, Qt::LeftButton, {}, to);
  QCOMPARE(In<QLineEdit>("Form27", "Edit5")->text(), coords);
}

void GeneratorWindowsTest::ImageMapInsertsNewestAreaFirst() {
  app_->Main().Button("SpeedButton28")->click();
  Click("Form27", "Button3");
  QCOMPARE(desktop_->messages, QStringList{"Отсутствует один из обязательных параметров."});
  In<QLineEdit>("Form27", "Edit5")->setText("1,1,2,2");
  In<QLineEdit>("Form27", "Edit2")->setText("a.htm");
  Click("Form27", "Button3");
  In<QLineEdit>("Form27", "Edit2")->setText("b.htm");
  Click("Form27", "Button3");
  SetText("first");
  Click("Form27", "Button1");  // no map name: nothing
  QCOMPARE(app_->Main().Editor().Lines(), QStringList{"first"});
  In<QLineEdit>("Form27", "Edit1")->setText("my map");
  Click("Form27", "Button1");
  const QStringList lines = app_->Main().Editor().Lines();
  QCOMPARE(lines.mid(1),
           QStringList({"<map name=\"my map\">", "<area shape=rect coords=1,1,2,2 href=b.htm>",
                        "<area shape=rect coords=1,1,2,2 href=a.htm>", "</map>", "first"}));
}

void GeneratorWindowsTest::ClipboardToggleCopyAndStore() {
  QWidget* clipboard = app_->Window("Form17");
  QAction* toggle = app_->Main().findChild<QAction*>("Clipboard");
  toggle->trigger();
  QVERIFY(clipboard->isVisible());
  for (const char* entry : {"<b>", "", "sig"}) {
    In<QLineEdit>("Form17", "Edit1")->setText(entry);
    Click("Form17", "SpeedButton1");
  }
  auto* list = In<QListWidget>("Form17", "ListBox1");
  DoubleClick(list, 0);
  QCOMPARE(desktop_->clipboard, QStringList{"<b>"});
  desktop_->save_answers.push_back(Desktop::FileChoice{dir_->filePath("snips"), 1});
  Click("Form17", "SpeedButton4");
  QFile saved(dir_->filePath("snips.cpb"));
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QCOMPARE(saved.readAll(), QByteArray("<b>\r\n\r\nsig\r\n"));
  Click("Form17", "SpeedButton5");
  QCOMPARE(list->count(), 0);
  QFile mixed(dir_->filePath("mixed.cpb"));
  QVERIFY(mixed.open(QIODevice::WriteOnly));
  mixed.write("a\rb\nc");
  mixed.close();
  desktop_->open_answers.push_back(Desktop::FileChoice{dir_->filePath("mixed.cpb"), 1});
  Click("Form17", "SpeedButton3");
  QCOMPARE(list->count(), 3);
  desktop_->open_answers.push_back(Desktop::FileChoice{dir_->filePath("missing.cpb"), 1});
  Click("Form17", "SpeedButton3");
  QCOMPARE(list->count(), 3);  // a failed load keeps the list
  toggle->trigger();
  QVERIFY(!clipboard->isVisible());
  QCOMPARE(list->count(), 3);
}

void GeneratorWindowsTest::ClipboardStepsDownForAModalDialog() {
  auto* clipboard = qobject_cast<QWidget*>(app_->Window("Form17"));
  clipboard->show();
  QVERIFY(clipboard->windowFlags() & Qt::WindowStaysOnTopHint);
  QDialog modal(&app_->Main());
  modal.setModal(true);
  modal.show();
  QVERIFY(!(clipboard->windowFlags() & Qt::WindowStaysOnTopHint));
  QVERIFY(clipboard->isVisible());
  modal.hide();
  QVERIFY(clipboard->windowFlags() & Qt::WindowStaysOnTopHint);
  clipboard->hide();
}

QTEST_MAIN(GeneratorWindowsTest)
#include "generator_windows_test.moc"
