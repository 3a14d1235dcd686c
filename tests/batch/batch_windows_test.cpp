#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
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
#include "support/files.h"

#include "app/application.h"
#include "app/main_window.h"
#include "batch/batch_panel.h"
#include "support/fake_desktop.h"
#include "support/test_app.h"
#include "support/window_fixture.h"
#include "widgets/file_browser.h"

namespace {}  // namespace

// The batch windows over real folders, driven by their controls.
class BatchWindowsTest : public WindowTest {
  Q_OBJECT

 private slots:

  void ReplaceOverAFolderPreviewRunAndUndo();
  void BatchMessages_data();
  void BatchMessages();
  void AppendRemovesBlankLinesOfTheWholeFile();
  void GatheredListProcessesTheSameFileTwice();
  void GatherButtonsAddRemoveAndClear_data();
  void GatherButtonsAddRemoveAndClear();
  void ConverterWritesBesideTheSource();
  void TemplateSavedFromTheEditorFillsAFolder();
  void SaveTemplateRules_data();
  void SaveTemplateRules();
  void IndexPageIntoATemplate();
  void SeriesOfFourPages();
  void RenameTwelvePicturesAndBack();
  void CopyGatheredFilesAsNumberedJpegs();
  void ToolWindowsOpenInThePageFolder();
  void TidyShowsTheLastListedFile();

 private:
  template <typename T>
  T* In(const char* window, const char* control) {
    QWidget* w = app_->Window(window);
    return w == nullptr ? nullptr : w->findChild<T*>(control);
  }
  void Click(const char* window, const char* control) {
    auto* button = In<QAbstractButton>(window, control);
    QVERIFY2(button != nullptr, control);
    button->click();
  }
  void Open(const char* window, const QString& folder) {
    qobject_cast<QWidget*>(app_->Window(window))->show();
    In<FolderList>(window, "DirectoryListBox1")->setProperty("folder", folder);
  }
  void Prepare() override;
  QString Site(const QString& name = QString()) const {
    return dir_->filePath("site") + (name.isEmpty() ? QString() : "/" + name);
  }
};

void BatchWindowsTest::Prepare() {
  Write(Site("a.htm"), "<p>old</p>\r\n<p>old</p>\r\n");
  Write(Site("b.html"), "keep\n");
  Write(Site("c.htm"), "old old\r\n");
}

void BatchWindowsTest::ReplaceOverAFolderPreviewRunAndUndo() {
  Open("Form10", Site());
  QCOMPARE(In<QListWidget>("Form10", "FileListBox1")->count(), 3);
  In<QLineEdit>("Form10", "Edit1")->setText("old");
  In<QLineEdit>("Form10", "Edit2")->setText("new");
  Click("Form10", "PreviewChanges");
  QCOMPARE(In<QListWidget>("Form10", "PreviewFiles")->count(), 2);
  QVERIFY(In<QPlainTextEdit>("Form10", "PreviewLines")->toPlainText().contains("+<p>new</p>"));
  QCOMPARE(Read(Site("a.htm")), QByteArray("<p>old</p>\r\n<p>old</p>\r\n"));
  // Subfolders only when asked.
  QVERIFY(QDir(Site()).mkdir("sub"));
  Write(Site("sub/d.htm"), "old\r\n");
  In<QCheckBox>("Form10", "IncludeSubfolders")->setChecked(true);
  Click("Form10", "PreviewChanges");
  QCOMPARE(In<QListWidget>("Form10", "PreviewFiles")->count(), 3);
  QCOMPARE(In<QListWidget>("Form10", "PreviewFiles")->item(2)->text(), QString("sub/d.htm"));
  In<QCheckBox>("Form10", "IncludeSubfolders")->setChecked(false);
  Click("Form10", "Button4");
  QCOMPARE(Read(Site("sub/d.htm")), QByteArray("old\r\n"));
  QCOMPARE(Read(Site("a.htm")), QByteArray("<p>new</p>\r\n<p>new</p>\r\n"));
  QCOMPARE(Read(Site("c.htm")), QByteArray("new old\r\n"));
  QVERIFY(In<QLabel>("Form10", "BatchReport")->text().contains("changed: 2"));
  app_->Main().MenuItem("UndoBatch")->trigger();
  QCOMPARE(Read(Site("a.htm")), QByteArray("<p>old</p>\r\n<p>old</p>\r\n"));
  QCOMPARE(Read(Site("c.htm")), QByteArray("old old\r\n"));
}

void BatchWindowsTest::BatchMessages_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<bool>("empty_folder");
  QTest::addColumn<QString>("message");
  QTest::addRow("no files") << "Button4" << true << "Не найдено файлов для изменения.";
  QTest::addRow("no search text") << "Button4" << false << "Нет текста для поиска!!!";
  QTest::addRow("no block") << "Button1" << false << "Не найдены строки для удаления/изменения.";
  QTest::addRow("no block to delete")
      << "Button2" << false << "Не найдены строки для удаления/изменения.";
}

void BatchWindowsTest::BatchMessages() {
  QFETCH(QString, button);
  QFETCH(bool, empty_folder);
  QFETCH(QString, message);
  QVERIFY(QDir(dir_->path()).mkpath("empty"));
  Open("Form10", empty_folder ? dir_->filePath("empty") : Site());
  In<QLineEdit>("Form10", "Edit1")->setText("  ");
  Click("Form10", button.toLatin1().constData());
  QCOMPARE(desktop_->messages, QStringList{message});
}

void BatchWindowsTest::AppendRemovesBlankLinesOfTheWholeFile() {
  Write(Site("a.htm"), "x\r\n\r\n\r\ny\r\n");
  Open("Form10", Site());
  In<QRadioButton>("Form10", "RadioButton2")->click();
  QVERIFY(!In<QPlainTextEdit>("Form10", "Memo1")->isVisible());
  In<QPlainTextEdit>("Form10", "Memo1")->setPlainText("anything");
  In<QPlainTextEdit>("Form10", "memo2")->setPlainText("footer");
  Click("Form10", "Button1");
  QCOMPARE(Read(Site("a.htm")), QByteArray("x\r\ny\r\nfooter\r\n"));
  QCOMPARE(Read(Site("b.html")), QByteArray("keep\nfooter\n"));
}

void BatchWindowsTest::GatheredListProcessesTheSameFileTwice() {
  Open("Form10", Site());
  auto* files = In<QListWidget>("Form10", "FileListBox1");
  files->setCurrentItem(files->findItems("c.htm", Qt::MatchExactly).first());
  Click("Form10", "SpeedButton1");
  Click("Form10", "SpeedButton1");
  In<QRadioButton>("Form10", "RadioGroup1Item1")->setChecked(true);
  In<QLineEdit>("Form10", "Edit1")->setText("old");
  In<QLineEdit>("Form10", "Edit2")->setText("x");
  Click("Form10", "Button4");
  QCOMPARE(Read(Site("c.htm")), QByteArray("x x\r\n"));
  QCOMPARE(Read(Site("a.htm")), QByteArray("<p>old</p>\r\n<p>old</p>\r\n"));
}

void BatchWindowsTest::GatherButtonsAddRemoveAndClear_data() {
  QTest::addColumn<QString>("window");
  QTest::addColumn<QString>("gathered");
  QTest::addColumn<QStringList>("buttons");  // add, remove, clear
  QTest::addColumn<bool>("double_click_adds");
  QTest::addColumn<bool>("double_click_removes");
  QTest::addRow("batch replace") << "Form10"
                                 << "ListBox1"
                                 << QStringList{"SpeedButton1", "SpeedButton2", "SpeedButton3"}
                                 << false << true;
  QTest::addRow("converter") << "Form23"
                             << "ListBox1" << QStringList{"Button3", "Button4", "Button5"} << true
                             << true;
  QTest::addRow("renamer") << "Form13"
                           << "checkListBox1"
                           << QStringList{"SpeedButton1", "SpeedButton2", "Button3"} << true
                           << false;
}

void BatchWindowsTest::GatherButtonsAddRemoveAndClear() {
  QFETCH(QString, window);
  QFETCH(QString, gathered);
  QFETCH(QStringList, buttons);
  QFETCH(bool, double_click_adds);
  QFETCH(bool, double_click_removes);
  const QByteArray name = window.toUtf8();
  // The converter starts on plain text files, the renamer on pictures.
  Write(Site("notes.txt"), "text\r\n");
  Write(Site("photo.jpg"), "x");
  Open(name, Site());
  auto* files = In<QListWidget>(name, "FileListBox1");
  auto* list = In<QListWidget>(name, gathered.toUtf8());
  files->setCurrentRow(0);
  Click(name, buttons[0].toUtf8());
  Click(name, buttons[0].toUtf8());
  QCOMPARE(list->count(), 2);
  QCOMPARE(list->item(0)->text(), Site(files->item(0)->text()));
  emit files->itemDoubleClicked(files->currentItem());
  QCOMPARE(list->count(), double_click_adds ? 3 : 2);
  list->setCurrentRow(0);
  Click(name, buttons[1].toUtf8());
  QCOMPARE(list->count(), double_click_adds ? 2 : 1);
  list->setCurrentRow(0);
  emit list->itemDoubleClicked(list->currentItem());
  QCOMPARE(list->count(), (double_click_adds ? 2 : 1) - (double_click_removes ? 1 : 0));
  Click(name, buttons[2].toUtf8());
  QCOMPARE(list->count(), 0);
}

void BatchWindowsTest::ConverterWritesBesideTheSource() {
  Write(Site("notes.txt"), "one\r\ntwo\r\n\r\nthree\r\nfour\r\n");
  Open("Form23", Site());
  In<QCheckBox>("Form23", "CheckBox2")->setChecked(true);
  Click("Form23", "Button1");
  QCOMPARE(Read(Site("notes.htm")),
           QByteArray("<html>\r\none<br>\r\ntwo<p>\r\n\r\nthree<br>\r\nfour<p>\r\n</html>\r\n"));
  QCOMPARE(Read(Site("notes.txt")), QByteArray("one\r\ntwo\r\n\r\nthree\r\nfour\r\n"));
  QDir(dir_->path()).mkpath("none");
  In<FolderList>("Form23", "DirectoryListBox1")->setProperty("folder", dir_->filePath("none"));
  Click("Form23", "Button1");
  QCOMPARE(desktop_->messages, QStringList{"ERROR"});
}

void BatchWindowsTest::TemplateSavedFromTheEditorFillsAFolder() {
  app_->Main().Editor().LoadText("<html>\n<p><,,pattern,,></p>\n</html>");
  Write(Site("one.txt"), "first\r\n");
  Write(Site("two.txt"), "second\r\n");
  desktop_->modal_scripts.push_back([this](QDialog* dialog) {
    dialog->findChild<QLineEdit*>("Edit1")->setText(dir_->filePath("frame"));
    dialog->findChild<QPushButton*>("Button1")->click();
  });
  app_->Main().RunTagCommand("N51");
  QCOMPARE(Read(dir_->filePath("frame.pat")),
           QByteArray("<html>\r\n<p><,,pattern,,></p>\r\n</html>"));
  Open("Form25", Site());
  desktop_->open_answers.push_back(Desktop::FileChoice{dir_->filePath("frame.pat"), 1});
  Click("Form25", "Button1");
  Click("Form25", "PreviewChanges");
  QCOMPARE(In<QListWidget>("Form25", "PreviewFiles")->count(), 2);
  QCOMPARE(Read(Site("one.txt")), QByteArray("first\r\n"));
  Click("Form25", "Button2");
  QCOMPARE(Read(Site("one.txt")), QByteArray("<html>\r\nfirst\r\n</html>"));
  Click("Form25", "UndoRun");
  QCOMPARE(Read(Site("one.txt")), QByteArray("first\r\n"));
  QCOMPARE(Read(Site("two.txt")), QByteArray("second\r\n"));
}

void BatchWindowsTest::SaveTemplateRules_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("written");
  QTest::addColumn<QString>("message");
  QTest::addRow("no marker") << "plain"
                             << "x"
                             << ""
                             << "Отсутствует идентификатор шаблона!";
  QTest::addRow("no name") << "<,,pattern,,>"
                           << "/"
                           << ""
                           << "Не задано имя файла";
  QTest::addRow("dot in the folder") << "<,,pattern,,>"
                                     << "dot.folder/t"
                                     << "dot.folder/t"
                                     << "";
}

void BatchWindowsTest::SaveTemplateRules() {
  QFETCH(QString, text);
  QFETCH(QString, path);
  QFETCH(QString, written);
  QFETCH(QString, message);
  QDir(dir_->path()).mkpath("dot.folder");
  app_->Main().Editor().LoadText(text);
  const QString full = dir_->path() + "/" + path;
  desktop_->modal_scripts.push_back([full](QDialog* dialog) {
    dialog->findChild<QLineEdit*>("Edit1")->setText(full);
    dialog->findChild<QPushButton*>("Button1")->click();
  });
  app_->Main().RunTagCommand("N51");
  QCOMPARE(desktop_->messages, message.isEmpty() ? QStringList() : QStringList{message});
  if (!written.isEmpty()) QVERIFY(QFile::exists(dir_->path() + "/" + written));
}

void BatchWindowsTest::IndexPageIntoATemplate() {
  Write(Site("c.htm"), "<head>\r\n<TITLE> Home</TITLE>\r\n");
  Write(dir_->filePath("index.pat"), "<body>\r\n<,,pattern,,>\r\n</body>\r\n");
  Open("Form28", Site());
  Click("Form28", "Button1");
  auto* links = In<QPlainTextEdit>("Form28", "RichEdit1");
  QCOMPARE(links->toPlainText(), QString("<a href=\"a.htm\">a.htm</a> - <p>\n"
                                         "<a href=\"b.html\">b.html</a> - <p>\n"
                                         "<a href=\"c.htm\">c.htm</a> -  Home<p>"));
  desktop_->open_answers.push_back(Desktop::FileChoice{dir_->filePath("index.pat"), 1});
  Click("Form28", "Button2");
  desktop_->save_answers.push_back(Desktop::FileChoice{Site("index"), 1});
  Click("Form28", "Button3");
  QVERIFY(Read(Site("index.htm")).startsWith("<body>\r\n<a href=\"a.htm\">"));
  QVERIFY(Read(Site("index.htm")).endsWith("Home<p>\r\n</body>\r\n"));
}

void BatchWindowsTest::SeriesOfFourPages() {
  Write(dir_->filePath("page.htm"), "<html>\r\n<,,pattern,,>\r\n</html>\r\n");
  qobject_cast<QWidget*>(app_->Window("AutocreatorForm"))->show();
  In<FolderList>("AutocreatorForm", "DirectoryListBox1")->setProperty("folder", Site());
  desktop_->open_answers.push_back(Desktop::FileChoice{dir_->filePath("page.htm"), 1});
  Click("AutocreatorForm", "Button1");
  QCOMPARE(In<QSpinBox>("AutocreatorForm", "SpinEdit2")->value(), 1);
  In<QSpinBox>("AutocreatorForm", "SpinEdit1")->setValue(11);
  In<QSpinBox>("AutocreatorForm", "SpinEdit3")->setValue(8);
  In<QLineEdit>("AutocreatorForm", "Edit3")->setText("g");
  Click("AutocreatorForm", "Button2");
  for (const char* name : {"g0008.htm", "g0009.htm", "g0010.htm", "g0011.htm"}) {
    QVERIFY2(QFile::exists(Site(name)), name);
  }
  QCOMPARE(Read(Site("g0009.htm")), QByteArray("<html>\r\n<img src=\"0009.jpg\">\r\n</html>\r\n"));
  QVERIFY(In<QPlainTextEdit>("AutocreatorForm", "memo1")->toPlainText().contains("0011.jpg"));
  QVERIFY(In<QLabel>("AutocreatorForm", "LineText")->text().contains("0011.jpg"));

  // A second run over the same numbers replaces pages, and the preview says so.
  In<QLineEdit>("AutocreatorForm", "Edit2")->setText("<img alt=\"\" src=\"");
  Click("AutocreatorForm", "PreviewChanges");
  QVERIFY(In<QListWidget>("AutocreatorForm", "PreviewFiles")
              ->item(0)
              ->text()
              .endsWith("(replaces existing file)"));
  // A smaller digit count keeps the numbers entered; a larger number is written in full.
  In<QSpinBox>("AutocreatorForm", "SpinEdit3")->setValue(98);
  In<QSpinBox>("AutocreatorForm", "SpinEdit1")->setValue(101);
  Click("AutocreatorForm", "RadioButton3");
  QCOMPARE(In<QSpinBox>("AutocreatorForm", "SpinEdit1")->value(), 101);
  Click("AutocreatorForm", "Button2");
  QVERIFY(QFile::exists(Site("g98.htm")) && QFile::exists(Site("g101.htm")));
}

void BatchWindowsTest::RenameTwelvePicturesAndBack() {
  QVERIFY(QDir(dir_->path()).mkdir("pics"));
  const QString pics = dir_->filePath("pics");
  for (int i = 0; i < 12; ++i) Write(pics + QString("/photo_%1.jpg").arg(QChar('a' + i)), "jpg");
  qobject_cast<QWidget*>(app_->Window("Form13"))->show();
  In<FolderList>("Form13", "DirectoryListBox1")->setProperty("folder", pics);
  In<QRadioButton>("Form13", "RadioGroup1Item0")->setChecked(true);
  Click("Form13", "Button1");
  QStringList names = QDir(pics).entryList(QDir::Files, QDir::Name);
  QCOMPARE(names.first(), QString("01.jpg"));
  QCOMPARE(names.last(), QString("12.jpg"));
  QCOMPARE(names.size(), 12);
  Click("Form13", "UndoRun");
  names = QDir(pics).entryList(QDir::Files, QDir::Name);
  QCOMPARE(names.first(), QString("photo_a.jpg"));
  QCOMPARE(names.size(), 12);
  In<QLineEdit>("Form13", "Edit3")->setText("*");
  Click("Form13", "Button1");
  QCOMPARE(desktop_->messages, QStringList{"А если в каталоге есть файлы с разными расширениями?"});
  QCOMPARE(QDir(pics).entryList(QDir::Files, QDir::Name).first(), QString("photo_a.jpg"));
}

void BatchWindowsTest::CopyGatheredFilesAsNumberedJpegs() {
  qobject_cast<QWidget*>(app_->Window("Form13"))->show();
  Click("Form13", "Button1");
  QCOMPARE(desktop_->messages, QStringList{"Не задан путь сохранения файлов!!!"});
  In<FolderList>("Form13", "DirectoryListBox1")->setProperty("folder", Site());
  In<QLineEdit>("Form13", "Edit3")->setText("htm");
  auto* files = In<QListWidget>("Form13", "FileListBox1");
  files->setCurrentRow(0);
  Click("Form13", "SpeedButton1");
  Click("Form13", "SpeedButton1");
  In<QLineEdit>("Form13", "Edit4")->setText(dir_->filePath("copies/"));
  Click("Form13", "Button1");
  QCOMPARE(Read(dir_->filePath("copies/01.jpg")), Read(Site("a.htm")));
  QCOMPARE(Read(dir_->filePath("copies/02.jpg")), Read(Site("a.htm")));
}

void BatchWindowsTest::ToolWindowsOpenInThePageFolder() {
  desktop_->open_answers.push_back(Desktop::FileChoice{Site("a.htm"), 1});
  app_->Main().OpenDocument(DocumentSession::Source::kDialog);
  for (const char* button : {"SpeedButton29", "SpeedButton36", "SpeedButton26"}) {
    app_->Main().Button(button)->click();
  }
  for (const char* window : {"Form10", "Form25", "Form4"}) {
    QCOMPARE(In<FolderList>(window, "DirectoryListBox1")->Folder(), Site());
  }
  // A folder the user chose in a window stays chosen.
  In<FolderList>("Form10", "DirectoryListBox1")->setProperty("folder", dir_->path());
  app_->Main().Button("SpeedButton29")->click();
  QCOMPARE(In<FolderList>("Form10", "DirectoryListBox1")->Folder(), dir_->path());
}

void BatchWindowsTest::TidyShowsTheLastListedFile() {
  Write(Site("0.htm"), "  spaced    text\r\n");
  Open("Form14", Site());
  Click("Form14", "Button2");
  QCOMPARE(Read(Site("0.htm")), QByteArray("spaced text\r\n"));
  // c.htm needed no change and is shown all the same.
  QCOMPARE(In<QPlainTextEdit>("Form14", "RichEdit1")->toPlainText(), QString("old old\n"));
}

QTEST_MAIN(BatchWindowsTest)
#include "batch_windows_test.moc"
