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
#include "batch/apply_template_window.h"
#include "batch/batch_replace_window.h"
#include "batch/converter_window.h"
#include "batch/index_page_window.h"
#include "batch/renamer_window.h"
#include "batch/series_window.h"
#include "batch/tidy_window.h"
#include "generators/block_replace_window.h"
#include "generators/chart_window.h"
#include "generators/image_map_window.h"
#include "generators/image_tag_window.h"
#include "generators/line_replace_window.h"
#include "generators/list_window.h"
#include "generators/rule_window.h"
#include "generators/style_sheet_window.h"
#include "generators/table_window.h"
#include "platform/picture.h"
#include "snippets/clipboard_window.h"
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
  T* In(QStringView window, const char* control) {
    QWidget* w = app_->Window(window.toString());
    return w == nullptr ? nullptr : w->findChild<T*>(control);
  }
  void SetText(const QString& text) { app_->Main().Editor().LoadText(text); }
  void Click(QStringView window, const char* control) {
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
  struct Row {
    const char* button;
    const char* menu_item;
    QStringView window;
  };
  const Row rows[] = {{"SpeedButton26", "N83", ImageTagWindow::kName},
                      {"SpeedButton22", "N80", TableWindow::kName},
                      {"SpeedButton25", "N81", ListWindow::kName},
                      {"SpeedButton27", "N82", ChartWindow::kName},
                      {"SpeedButton34", "N90", StyleSheetWindow::kName},
                      {"SpeedButton28", "N84", ImageMapWindow::kName},
                      {"SpeedButton9", "", BlockReplaceWindow::kName},
                      {"SpeedButton12", "", LineReplaceWindow::kName},
                      {"SpeedButton18", "", ClipboardWindow::kName},
                      {"SpeedButton29", "N85", BatchReplaceWindow::kName},
                      {"SpeedButton30", "N86", RenamerWindow::kName},
                      {"SpeedButton31", "N88", SeriesWindow::kName},
                      {"SpeedButton32", "N89", TidyWindow::kName},
                      {"SpeedButton35", "N92", ConverterWindow::kName},
                      {"SpeedButton36", "N91", ApplyTemplateWindow::kName},
                      {"SpeedButton37", "N93", IndexPageWindow::kName}};
  for (const Row& row : rows) {
    const QString window = row.window.toString();
    QTest::addRow("%s", qPrintable(window)) << row.button << row.menu_item << window;
  }
}

void GeneratorWindowsTest::EveryCommandShowsItsWindow() {
  QFETCH(QString, button);
  QFETCH(QString, menu_item);
  QFETCH(QString, window);
  QWidget* target = app_->Window(window);
  QVERIFY(target != nullptr);
  QVERIFY(!target->isVisible());
  app_->Main().Commands().Button(button)->click();
  QVERIFY(target->isVisible());
  target->close();
  QVERIFY(!target->isVisible());
  if (!menu_item.isEmpty()) {
    app_->Main().Commands().MenuItem(menu_item)->trigger();
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
  app_->Main().Commands().Button("SpeedButton26")->click();
  auto* folders = In<FolderList>(ImageTagWindow::kName, "DirectoryListBox1");
  QVERIFY(folders->setProperty("folder", dir_->path()));
  auto* files = In<QListWidget>(ImageTagWindow::kName, "FileListBox1");
  const QList<QListWidgetItem*> found = files->findItems(name, Qt::MatchExactly);
  QCOMPARE(found.size(), 1);
  In<QRadioButton>(ImageTagWindow::kName, "RadioButton1")->click();
  files->setCurrentItem(found.first());
  QCOMPARE(In<QSpinBox>(ImageTagWindow::kName, "SpinEdit2")->value(), 100);
  QCOMPARE(In<QSpinBox>(ImageTagWindow::kName, "SpinEdit1")->value(), 50);
  QCOMPARE(In<QLabel>(ImageTagWindow::kName, "Image1")->size(), QSize(100, 50));
  // Unset spacing shows an empty field, not -1.
  QCOMPARE(In<QSpinBox>(ImageTagWindow::kName, "SpinEdit3")->value(), -1);
  QCOMPARE(In<QSpinBox>(ImageTagWindow::kName, "SpinEdit3")->text().trimmed(), QString());
  Click(ImageTagWindow::kName, "Button2");
  QCOMPARE(app_->Main().Editor().Line(0),
           QString("<img src=\"%1\" height=\"50\" width=\"100\">first line").arg(name));
  // Without a chosen file only the insertion line is shown.
  files->clearSelection();
  files->setCurrentItem(nullptr);
  SetText("other");
  Click(ImageTagWindow::kName, "Button2");
  QCOMPARE(app_->Main().StatusPanel(1), QString("0"));
  QCOMPARE(app_->Main().Editor().Lines(), QStringList{"other"});
}

void GeneratorWindowsTest::BrokenPictureKeepsThePreviousOne() {
  const QString good = Picture("good.jpg", "libjpeg", QSize(30, 20));
  QFile broken(dir_->filePath("broken.jpg"));
  QVERIFY(broken.open(QIODevice::WriteOnly));
  broken.write(EncodeJpeg(QImage(QSize(80, 80), QImage::Format_RGB32)).left(200));
  broken.close();
  app_->Main().Commands().Button("SpeedButton26")->click();
  In<FolderList>(ImageTagWindow::kName, "DirectoryListBox1")->setProperty("folder", dir_->path());
  auto* files = In<QListWidget>(ImageTagWindow::kName, "FileListBox1");
  files->setCurrentItem(files->findItems("good.jpg", Qt::MatchExactly).first());
  const QString src = In<QLineEdit>(ImageTagWindow::kName, "Edit2")->text();
  files->setCurrentItem(files->findItems("broken.jpg", Qt::MatchExactly).first());
  QCOMPARE(desktop_->errors.size(), 1);
  QCOMPARE(In<QSpinBox>(ImageTagWindow::kName, "SpinEdit2")->value(), 30);
  QCOMPARE(In<QLineEdit>(ImageTagWindow::kName, "Edit2")->text(), src);
}

void GeneratorWindowsTest::TableLandsAboveTheCaretAsOneUndoStep() {
  SetText("a\nb");
  app_->Main().Editor().Select(2, 0);  // caret on line 1
  app_->Main().Commands().Button("SpeedButton22")->click();
  In<QSpinBox>(TableWindow::kName, "SpinEdit1")->setValue(2);
  In<QSpinBox>(TableWindow::kName, "SpinEdit2")->setValue(3);
  QVERIFY(!In<QWidget>(TableWindow::kName, "Panel1")->isEnabled());
  In<QCheckBox>(TableWindow::kName, "CheckBox1")->click();
  QVERIFY(In<QWidget>(TableWindow::kName, "Panel1")->isEnabled());
  Click(TableWindow::kName, "Button1");
  const QStringList lines = app_->Main().Editor().Lines();
  QCOMPARE(lines.size(), 14);
  QCOMPARE(lines[1], QString("<table border=1 cellpadding=1 cellspacing=1>"));
  QCOMPARE(lines.last(), QString("b"));
  QVERIFY(app_->Main().Session().Modified());
  Editor()->undo();
  QCOMPARE(app_->Main().Editor().Lines(), QStringList({"a", "b"}));
}

void GeneratorWindowsTest::ListGoesAboveTheCaretLine() {
  SetText("l0\nl1\nl2\nl3\nline four\nl5");
  app_->Main().Editor().Select(4 * 3 + 3, 0);  // inside "line four"
  app_->Main().Commands().Button("SpeedButton25")->click();
  In<QRadioButton>(ListWindow::kName, "RadioButton2")->click();
  QVERIFY(!In<QComboBox>(ListWindow::kName, "ComboBox1")->isVisible());
  In<QComboBox>(ListWindow::kName, "ComboBox2")->setCurrentIndex(2);
  Click(ListWindow::kName, "Button1");
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
  QCOMPARE(desktop_->modal_windows, QStringList{RuleWindow::kName.toString()});
  QCOMPARE(app_->Main().Editor().Line(0), QString("x<hr size=5 noshade color=#000000>"));
}

void GeneratorWindowsTest::BlockAndLineReplaceUndoInOneStep() {
  SetText("a\nb\na\nb");
  app_->Main().Commands().Button("SpeedButton9")->click();
  In<QPlainTextEdit>(BlockReplaceWindow::kName, "Memo1")->setPlainText("a\nb\n");
  In<QPlainTextEdit>(BlockReplaceWindow::kName, "Memo2")->setPlainText("x");
  Click(BlockReplaceWindow::kName, "Button1");
  QCOMPARE(app_->Main().Editor().Lines(), QStringList({"x", "x"}));
  QVERIFY(app_->Main().Session().Modified());
  app_->Main().Commands().Button("SpeedButton12")->click();
  In<QLineEdit>(LineReplaceWindow::kName, "Edit1")->setText("x");
  In<QLineEdit>(LineReplaceWindow::kName, "Edit2")->setText("yy");
  Click(LineReplaceWindow::kName, "Button1");
  QCOMPARE(app_->Main().Editor().Lines(), QStringList({"yy", "yy"}));
  Editor()->undo();
  QCOMPARE(app_->Main().Editor().Lines(), QStringList({"x", "x"}));
  Editor()->undo();
  QCOMPARE(app_->Main().Editor().Lines(), QStringList({"a", "b", "a", "b"}));
}

void GeneratorWindowsTest::ChartNewestBarFirstAndStylesLocked() {
  app_->Main().Commands().Button("SpeedButton27")->click();
  auto* list = In<QListWidget>(ChartWindow::kName, "RichEdit1");
  QCOMPARE(list->count(), 2);
  In<QLineEdit>(ChartWindow::kName, "Edit1")->setText("A");
  Click(ChartWindow::kName, "Button3");
  QVERIFY(!In<QRadioButton>(ChartWindow::kName, "RadioButton1")->isEnabled());
  In<QLineEdit>(ChartWindow::kName, "Edit1")->setText("B");
  Click(ChartWindow::kName, "Button3");
  QVERIFY(list->item(1)->text().startsWith("B</td>"));
  QVERIFY(list->item(2)->text().startsWith("A</td>"));
  // The frame lines cannot be removed; a bar can.
  DoubleClick(list, 0);
  DoubleClick(list, 3);
  QCOMPARE(list->count(), 4);
  DoubleClick(list, 1);
  QCOMPARE(list->count(), 3);
  SetText("end");
  In<QLineEdit>(ChartWindow::kName, "Edit5")->setText(" X ");
  Click(ChartWindow::kName, "Button1");
  const QStringList lines = app_->Main().Editor().Lines();
  QCOMPARE(lines.first(), QString("<center> X </center>"));
  QCOMPARE(lines.size(), 5);
  QCOMPARE(lines.last(), QString("end"));
  Click(ChartWindow::kName, "Button7");
  QVERIFY(In<QRadioButton>(ChartWindow::kName, "RadioButton1")->isEnabled());
  QCOMPARE(list->count(), 2);
}

void GeneratorWindowsTest::StyleSheetSavedWithItsExtension() {
  app_->Main().Commands().Button("SpeedButton34")->click();
  In<QComboBox>(StyleSheetWindow::kName, "ComboBox6")->setCurrentText("P");
  In<QCheckBox>(StyleSheetWindow::kName, "CheckBox5")->click();
  In<QLineEdit>(StyleSheetWindow::kName, "Edit1")->setText("10");
  In<QComboBox>(StyleSheetWindow::kName, "ComboBox5")->setCurrentText("pt");
  In<QCheckBox>(StyleSheetWindow::kName, "CheckBox6")->click();
  Click(StyleSheetWindow::kName, "Button1");
  auto* rules = In<QListWidget>(StyleSheetWindow::kName, "ListBox1");
  QCOMPARE(rules->item(0)->text(), QString("P { font-size: 10pt; color: #ffffff; }"));
  desktop_->save_answers.push_back(Desktop::FileChoice{dir_->filePath("styles"), 1});
  Click(StyleSheetWindow::kName, "Button4");
  QFile saved(dir_->filePath("styles.css"));
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QCOMPARE(saved.readAll(), QByteArray("P { font-size: 10pt; color: #ffffff; }\r\n"));
  Click(StyleSheetWindow::kName, "Button4");  // cancelled: nothing written, nothing shown
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
  app_->Main().Commands().Button("SpeedButton28")->click();
  Click(ImageMapWindow::kName, "Button2");
  QCOMPARE(In<QLabel>(ImageMapWindow::kName, "Label9")->text(), QString("120,80"));
  QWidget* layer = In<QWidget>(ImageMapWindow::kName, "Image1");
  QTest::mouseMove(layer, from);
  QTest::mousePress(layer, Qt::LeftButton, {}, from);
  QTest::mouseMove(layer, to);
  QTest::mouseRelease(layer, Qt::LeftButton, {}, to);
  QCOMPARE(In<QLineEdit>(ImageMapWindow::kName, "Edit5")->text(), coords);
}

void GeneratorWindowsTest::ImageMapInsertsNewestAreaFirst() {
  app_->Main().Commands().Button("SpeedButton28")->click();
  Click(ImageMapWindow::kName, "Button3");
  QCOMPARE(desktop_->messages, QStringList{"One of the required values is missing."});
  In<QLineEdit>(ImageMapWindow::kName, "Edit5")->setText("1,1,2,2");
  In<QLineEdit>(ImageMapWindow::kName, "Edit2")->setText("a.htm");
  Click(ImageMapWindow::kName, "Button3");
  In<QLineEdit>(ImageMapWindow::kName, "Edit2")->setText("b.htm");
  Click(ImageMapWindow::kName, "Button3");
  SetText("first");
  Click(ImageMapWindow::kName, "Button1");  // no map name: nothing
  QCOMPARE(app_->Main().Editor().Lines(), QStringList{"first"});
  In<QLineEdit>(ImageMapWindow::kName, "Edit1")->setText("my map");
  Click(ImageMapWindow::kName, "Button1");
  const QStringList lines = app_->Main().Editor().Lines();
  QCOMPARE(lines.mid(1),
           QStringList({"<map name=\"my map\">", "<area shape=rect coords=1,1,2,2 href=b.htm>",
                        "<area shape=rect coords=1,1,2,2 href=a.htm>", "</map>", "first"}));
}

void GeneratorWindowsTest::ClipboardToggleCopyAndStore() {
  QWidget* clipboard = app_->Window<ClipboardWindow>();
  QAction* toggle = app_->Main().findChild<QAction*>("Clipboard");
  toggle->trigger();
  QVERIFY(clipboard->isVisible());
  for (const char* entry : {"<b>", "", "sig"}) {
    In<QLineEdit>(ClipboardWindow::kName, "Edit1")->setText(entry);
    Click(ClipboardWindow::kName, "SpeedButton1");
  }
  auto* list = In<QListWidget>(ClipboardWindow::kName, "ListBox1");
  DoubleClick(list, 0);
  QCOMPARE(desktop_->clipboard, QStringList{"<b>"});
  desktop_->save_answers.push_back(Desktop::FileChoice{dir_->filePath("snips"), 1});
  Click(ClipboardWindow::kName, "SpeedButton4");
  QFile saved(dir_->filePath("snips.cpb"));
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QCOMPARE(saved.readAll(), QByteArray("<b>\r\n\r\nsig\r\n"));
  Click(ClipboardWindow::kName, "SpeedButton5");
  QCOMPARE(list->count(), 0);
  QFile mixed(dir_->filePath("mixed.cpb"));
  QVERIFY(mixed.open(QIODevice::WriteOnly));
  mixed.write("a\rb\nc");
  mixed.close();
  desktop_->open_answers.push_back(Desktop::FileChoice{dir_->filePath("mixed.cpb"), 1});
  Click(ClipboardWindow::kName, "SpeedButton3");
  QCOMPARE(list->count(), 3);
  desktop_->open_answers.push_back(Desktop::FileChoice{dir_->filePath("missing.cpb"), 1});
  Click(ClipboardWindow::kName, "SpeedButton3");
  QCOMPARE(list->count(), 3);  // a failed load keeps the list
  toggle->trigger();
  QVERIFY(!clipboard->isVisible());
  QCOMPARE(list->count(), 3);
}

void GeneratorWindowsTest::ClipboardStepsDownForAModalDialog() {
  auto* clipboard = app_->Window<ClipboardWindow>();
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
