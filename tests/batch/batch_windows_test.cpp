#include <QApplication>
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
#include "batch/apply_template_window.h"
#include "batch/batch_panel.h"
#include "batch/batch_replace_window.h"
#include "batch/converter_window.h"
#include "batch/index_page_window.h"
#include "batch/renamer_window.h"
#include "batch/series_window.h"
#include "batch/tidy_window.h"
#include "generators/image_tag_window.h"
#include "names/window_names.h"
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
  T* In(QStringView window, const char* control) {
    QWidget* w = app_->Window(window.toString());
    return w == nullptr ? nullptr : w->findChild<T*>(control);
  }
  void Click(QStringView window, const char* control) {
    auto* button = In<QAbstractButton>(window, control);
    QVERIFY2(button != nullptr, control);
    button->click();
  }
  void Open(QStringView window, const QString& folder) {
    app_->Window(window.toString())->show();
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
  Open(BatchReplaceWindow::kName, Site());
  QCOMPARE(In<QListWidget>(BatchReplaceWindow::kName, "FileListBox1")->count(), 3);
  In<QLineEdit>(BatchReplaceWindow::kName, "Edit1")->setText("old");
  In<QLineEdit>(BatchReplaceWindow::kName, "Edit2")->setText("new");
  Click(BatchReplaceWindow::kName, "PreviewChanges");
  QCOMPARE(In<QListWidget>(BatchReplaceWindow::kName, "PreviewFiles")->count(), 2);
  QVERIFY(In<QPlainTextEdit>(BatchReplaceWindow::kName, "PreviewLines")
              ->toPlainText()
              .contains("+<p>new</p>"));
  QCOMPARE(Read(Site("a.htm")), QByteArray("<p>old</p>\r\n<p>old</p>\r\n"));
  // Subfolders only when asked.
  QVERIFY(QDir(Site()).mkdir("sub"));
  Write(Site("sub/d.htm"), "old\r\n");
  In<QCheckBox>(BatchReplaceWindow::kName, "IncludeSubfolders")->setChecked(true);
  Click(BatchReplaceWindow::kName, "PreviewChanges");
  QCOMPARE(In<QListWidget>(BatchReplaceWindow::kName, "PreviewFiles")->count(), 3);
  QCOMPARE(In<QListWidget>(BatchReplaceWindow::kName, "PreviewFiles")->item(2)->text(),
           QString("sub/d.htm"));
  In<QCheckBox>(BatchReplaceWindow::kName, "IncludeSubfolders")->setChecked(false);
  In<QCheckBox>(BatchReplaceWindow::kName, "CheckBoxAll")->setChecked(true);
  Click(BatchReplaceWindow::kName, "Button4");
  QCOMPARE(Read(Site("sub/d.htm")), QByteArray("old\r\n"));
  QCOMPARE(Read(Site("a.htm")), QByteArray("<p>new</p>\r\n<p>new</p>\r\n"));
  QCOMPARE(Read(Site("c.htm")), QByteArray("new new\r\n"));  // every match of the line
  QVERIFY(In<QLabel>(BatchReplaceWindow::kName, "BatchReport")->text().contains("changed: 2"));
  QVERIFY(In<QPushButton>(BatchReplaceWindow::kName, "UndoRun")->isEnabled());
  app_->Main().Commands().MenuItem("UndoBatch")->trigger();
  QCOMPARE(Read(Site("a.htm")), QByteArray("<p>old</p>\r\n<p>old</p>\r\n"));
  QCOMPARE(Read(Site("c.htm")), QByteArray("old old\r\n"));
  // Undone from elsewhere: back in the window, its own undo is no longer offered.
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(app_->Window(BatchReplaceWindow::kName.toString()), &activate);
  QVERIFY(!In<QPushButton>(BatchReplaceWindow::kName, "UndoRun")->isEnabled());
}

void BatchWindowsTest::BatchMessages_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<bool>("empty_folder");
  QTest::addColumn<QString>("message");
  QTest::addRow("no files") << "Button4" << true << "No files to change were found.";
  QTest::addRow("no search text") << "Button4" << false << "There is no text to find!";
  QTest::addRow("no block") << "Button1" << false << "No lines to delete or change were found.";
  QTest::addRow("no block to delete")
      << "Button2" << false << "No lines to delete or change were found.";
}

void BatchWindowsTest::BatchMessages() {
  QFETCH(QString, button);
  QFETCH(bool, empty_folder);
  QFETCH(QString, message);
  QVERIFY(QDir(dir_->path()).mkpath("empty"));
  Open(BatchReplaceWindow::kName, empty_folder ? dir_->filePath("empty") : Site());
  In<QLineEdit>(BatchReplaceWindow::kName, "Edit1")->setText("  ");
  Click(BatchReplaceWindow::kName, button.toLatin1().constData());
  QCOMPARE(desktop_->messages, QStringList{message});
}

void BatchWindowsTest::AppendRemovesBlankLinesOfTheWholeFile() {
  Write(Site("a.htm"), "x\r\n\r\n\r\ny\r\n");
  Open(BatchReplaceWindow::kName, Site());
  In<QRadioButton>(BatchReplaceWindow::kName, "RadioButton2")->click();
  QVERIFY(!In<QPlainTextEdit>(BatchReplaceWindow::kName, "Memo1")->isVisible());
  In<QPlainTextEdit>(BatchReplaceWindow::kName, "Memo1")->setPlainText("anything");
  In<QPlainTextEdit>(BatchReplaceWindow::kName, "memo2")->setPlainText("footer");
  Click(BatchReplaceWindow::kName, "Button1");
  QCOMPARE(Read(Site("a.htm")), QByteArray("x\r\ny\r\nfooter\r\n"));
  QCOMPARE(Read(Site("b.html")), QByteArray("keep\nfooter\n"));
}

void BatchWindowsTest::GatheredListProcessesTheSameFileTwice() {
  Open(BatchReplaceWindow::kName, Site());
  auto* files = In<QListWidget>(BatchReplaceWindow::kName, "FileListBox1");
  files->setCurrentItem(files->findItems("c.htm", Qt::MatchExactly).first());
  Click(BatchReplaceWindow::kName, "SpeedButton1");
  Click(BatchReplaceWindow::kName, "SpeedButton1");
  In<QRadioButton>(BatchReplaceWindow::kName, "RadioGroup1Item1")->setChecked(true);
  In<QLineEdit>(BatchReplaceWindow::kName, "Edit1")->setText("old");
  In<QLineEdit>(BatchReplaceWindow::kName, "Edit2")->setText("x");
  Click(BatchReplaceWindow::kName, "Button4");
  QCOMPARE(Read(Site("c.htm")), QByteArray("x x\r\n"));
  QCOMPARE(Read(Site("a.htm")), QByteArray("<p>old</p>\r\n<p>old</p>\r\n"));
}

void BatchWindowsTest::GatherButtonsAddRemoveAndClear_data() {
  QTest::addColumn<QString>("window");
  QTest::addColumn<QString>("gathered");
  QTest::addColumn<QStringList>("buttons");  // add, remove, clear
  QTest::addColumn<bool>("double_click_adds");
  QTest::addColumn<bool>("double_click_removes");
  QTest::addRow("batch replace") << BatchReplaceWindow::kName.toString() << "ListBox1"
                                 << QStringList{"SpeedButton1", "SpeedButton2", "SpeedButton3"}
                                 << false << true;
  QTest::addRow("converter") << ConverterWindow::kName.toString() << "ListBox1"
                             << QStringList{"Button3", "Button4", "Button5"} << true << true;
  QTest::addRow("renamer") << RenamerWindow::kName.toString() << "checkListBox1"
                           << QStringList{"SpeedButton1", "SpeedButton2", "Button3"} << true
                           << false;
}

void BatchWindowsTest::GatherButtonsAddRemoveAndClear() {
  QFETCH(QString, window);
  QFETCH(QString, gathered);
  QFETCH(QStringList, buttons);
  QFETCH(bool, double_click_adds);
  QFETCH(bool, double_click_removes);
  // The converter starts on plain text files, the renamer on pictures.
  Write(Site("notes.txt"), "text\r\n");
  Write(Site("photo.jpg"), "x");
  Open(window, Site());
  auto* files = In<QListWidget>(window, "FileListBox1");
  auto* list = In<QListWidget>(window, gathered.toUtf8());
  files->setCurrentRow(0);
  Click(window, buttons[0].toUtf8());
  Click(window, buttons[0].toUtf8());
  QCOMPARE(list->count(), 2);
  QCOMPARE(list->item(0)->text(), Site(files->item(0)->text()));
  emit files->itemDoubleClicked(files->currentItem());
  QCOMPARE(list->count(), double_click_adds ? 3 : 2);
  list->setCurrentRow(0);
  Click(window, buttons[1].toUtf8());
  QCOMPARE(list->count(), double_click_adds ? 2 : 1);
  list->setCurrentRow(0);
  emit list->itemDoubleClicked(list->currentItem());
  QCOMPARE(list->count(), (double_click_adds ? 2 : 1) - (double_click_removes ? 1 : 0));
  Click(window, buttons[2].toUtf8());
  QCOMPARE(list->count(), 0);
}

void BatchWindowsTest::ConverterWritesBesideTheSource() {
  Write(Site("notes.txt"), "one\r\ntwo\r\n\r\nthree\r\nfour\r\n");
  Open(ConverterWindow::kName, Site());
  In<QCheckBox>(ConverterWindow::kName, "CheckBox2")->setChecked(true);
  Click(ConverterWindow::kName, "Button1");
  QCOMPARE(Read(Site("notes.htm")),
           QByteArray("<html>\r\none<br>\r\ntwo<p>\r\n\r\nthree<br>\r\nfour<p>\r\n</html>\r\n"));
  QCOMPARE(Read(Site("notes.txt")), QByteArray("one\r\ntwo\r\n\r\nthree\r\nfour\r\n"));
  QDir(dir_->path()).mkpath("none");
  In<FolderList>(ConverterWindow::kName, "DirectoryListBox1")
      ->setProperty("folder", dir_->filePath("none"));
  Click(ConverterWindow::kName, "Button1");
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
  Open(ApplyTemplateWindow::kName, Site());
  desktop_->open_answers.push_back(Desktop::FileChoice{dir_->filePath("frame.pat"), 1});
  Click(ApplyTemplateWindow::kName, "Button1");
  Click(ApplyTemplateWindow::kName, "PreviewChanges");
  QCOMPARE(In<QListWidget>(ApplyTemplateWindow::kName, "PreviewFiles")->count(), 2);
  QCOMPARE(Read(Site("one.txt")), QByteArray("first\r\n"));
  Click(ApplyTemplateWindow::kName, "Button2");
  QCOMPARE(Read(Site("one.txt")), QByteArray("<html>\r\nfirst\r\n</html>"));
  Click(ApplyTemplateWindow::kName, "UndoRun");
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
                             << "The page has no template marker!";
  QTest::addRow("no name") << "<,,pattern,,>"
                           << "/"
                           << ""
                           << "No file name given";
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
  Open(IndexPageWindow::kName, Site());
  Click(IndexPageWindow::kName, "Button1");
  auto* links = In<QPlainTextEdit>(IndexPageWindow::kName, "RichEdit1");
  QCOMPARE(links->toPlainText(), QString("<a href=\"a.htm\">a.htm</a> - <p>\n"
                                         "<a href=\"b.html\">b.html</a> - <p>\n"
                                         "<a href=\"c.htm\">c.htm</a> -  Home<p>"));
  Click(IndexPageWindow::kName, "Button3");  // no template yet: said, and no name asked for
  QCOMPARE(desktop_->save_dialogs, 0);
  QVERIFY(desktop_->messages.constLast().contains("<,,pattern,,>"));
  desktop_->open_answers.push_back(Desktop::FileChoice{dir_->filePath("index.pat"), 1});
  Click(IndexPageWindow::kName, "Button2");
  desktop_->save_answers.push_back(Desktop::FileChoice{Site("index"), 1});
  Click(IndexPageWindow::kName, "Button3");
  QVERIFY(Read(Site("index.htm")).startsWith("<body>\r\n<a href=\"a.htm\">"));
  QVERIFY(Read(Site("index.htm")).endsWith("Home<p>\r\n</body>\r\n"));
}

void BatchWindowsTest::SeriesOfFourPages() {
  Write(dir_->filePath("page.htm"), "<html>\r\n<,,pattern,,>\r\n</html>\r\n");
  app_->Window<SeriesWindow>()->show();
  In<FolderList>(SeriesWindow::kName, "DirectoryListBox1")->setProperty("folder", Site());
  desktop_->open_answers.push_back(Desktop::FileChoice{dir_->filePath("page.htm"), 1});
  Click(SeriesWindow::kName, "Button1");
  QCOMPARE(In<QSpinBox>(SeriesWindow::kName, "SpinEdit2")->value(), 1);
  In<QSpinBox>(SeriesWindow::kName, "SpinEdit1")->setValue(11);
  In<QSpinBox>(SeriesWindow::kName, "SpinEdit3")->setValue(8);
  In<QLineEdit>(SeriesWindow::kName, "Edit3")->setText("g");
  Click(SeriesWindow::kName, "Button2");
  for (const char* name : {"g0008.htm", "g0009.htm", "g0010.htm", "g0011.htm"}) {
    QVERIFY2(QFile::exists(Site(name)), name);
  }
  QCOMPARE(Read(Site("g0009.htm")), QByteArray("<html>\r\n<img src=\"0009.jpg\">\r\n</html>\r\n"));
  QVERIFY(In<QPlainTextEdit>(SeriesWindow::kName, "memo1")->toPlainText().contains("0011.jpg"));
  QVERIFY(In<QLabel>(SeriesWindow::kName, "LineText")->text().contains("0011.jpg"));

  // A second run over the same numbers replaces pages, and the preview says so.
  In<QLineEdit>(SeriesWindow::kName, "Edit2")->setText("<img alt=\"\" src=\"");
  Click(SeriesWindow::kName, "PreviewChanges");
  QVERIFY(In<QListWidget>(SeriesWindow::kName, "PreviewFiles")
              ->item(0)
              ->text()
              .endsWith("(replaces existing file)"));
  // A smaller digit count keeps the numbers entered; a larger number is written in full.
  In<QSpinBox>(SeriesWindow::kName, "SpinEdit3")->setValue(98);
  In<QSpinBox>(SeriesWindow::kName, "SpinEdit1")->setValue(101);
  Click(SeriesWindow::kName, "RadioButton3");
  QCOMPARE(In<QSpinBox>(SeriesWindow::kName, "SpinEdit1")->value(), 101);
  Click(SeriesWindow::kName, "Button2");
  QVERIFY(QFile::exists(Site("g98.htm")) && QFile::exists(Site("g101.htm")));
}

void BatchWindowsTest::RenameTwelvePicturesAndBack() {
  QVERIFY(QDir(dir_->path()).mkdir("pics"));
  const QString pics = dir_->filePath("pics");
  for (int i = 0; i < 12; ++i) Write(pics + QString("/photo_%1.jpg").arg(QChar('a' + i)), "jpg");
  app_->Window<RenamerWindow>()->show();
  In<FolderList>(RenamerWindow::kName, "DirectoryListBox1")->setProperty("folder", pics);
  In<QRadioButton>(RenamerWindow::kName, "RadioGroup1Item0")->setChecked(true);
  Click(RenamerWindow::kName, "Button1");
  QStringList names = QDir(pics).entryList(QDir::Files, QDir::Name);
  QCOMPARE(names.first(), QString("01.jpg"));
  QCOMPARE(names.last(), QString("12.jpg"));
  QCOMPARE(names.size(), 12);
  Click(RenamerWindow::kName, "UndoRun");
  names = QDir(pics).entryList(QDir::Files, QDir::Name);
  QCOMPARE(names.first(), QString("photo_a.jpg"));
  QCOMPARE(names.size(), 12);
  In<QLineEdit>(RenamerWindow::kName, "Edit3")->setText("*");
  Click(RenamerWindow::kName, "Button1");
  QCOMPARE(desktop_->messages,
           QStringList{"And if the folder holds files with different extensions?"});
  QCOMPARE(QDir(pics).entryList(QDir::Files, QDir::Name).first(), QString("photo_a.jpg"));
}

void BatchWindowsTest::CopyGatheredFilesAsNumberedJpegs() {
  app_->Window<RenamerWindow>()->show();
  Click(RenamerWindow::kName, "Button1");
  QCOMPARE(desktop_->messages, QStringList{"No folder to save the files in!"});
  In<FolderList>(RenamerWindow::kName, "DirectoryListBox1")->setProperty("folder", Site());
  In<QLineEdit>(RenamerWindow::kName, "Edit3")->setText("htm");
  auto* files = In<QListWidget>(RenamerWindow::kName, "FileListBox1");
  files->setCurrentRow(0);
  Click(RenamerWindow::kName, "SpeedButton1");
  Click(RenamerWindow::kName, "SpeedButton1");
  In<QLineEdit>(RenamerWindow::kName, "Edit4")->setText(dir_->filePath("copies/"));
  Click(RenamerWindow::kName, "Button1");
  QCOMPARE(Read(dir_->filePath("copies/01.jpg")), Read(Site("a.htm")));
  QCOMPARE(Read(dir_->filePath("copies/02.jpg")), Read(Site("a.htm")));
}

void BatchWindowsTest::ToolWindowsOpenInThePageFolder() {
  desktop_->open_answers.push_back(Desktop::FileChoice{Site("a.htm"), 1});
  app_->Main().OpenDocument(DocumentSession::Source::kDialog);
  for (const char* button : {"SpeedButton29", "SpeedButton36", "SpeedButton26"}) {
    app_->Main().Commands().Button(button)->click();
  }
  for (QStringView window :
       {BatchReplaceWindow::kName, ApplyTemplateWindow::kName, ImageTagWindow::kName}) {
    QCOMPARE(In<FolderList>(window, "DirectoryListBox1")->Folder(), Site());
  }
  // A folder the user chose in a window stays chosen.
  In<FolderList>(BatchReplaceWindow::kName, "DirectoryListBox1")
      ->setProperty("folder", dir_->path());
  app_->Main().Commands().Button("SpeedButton29")->click();
  QCOMPARE(In<FolderList>(BatchReplaceWindow::kName, "DirectoryListBox1")->Folder(), dir_->path());

  // File dialogs start there too, until a file is picked with one of them.
  namespace wn = window_name;
  const std::tuple<const char*, QStringView, const char*> dialogs[] = {
      {"SpeedButton34", wn::kStyleSheet, "Button4"},
      {"SpeedButton28", wn::kImageMap, "Button2"},
      {"SpeedButton31", wn::kSeries, "Button1"},
      {"SpeedButton37", wn::kIndexPage, "Button2"},
      {"SpeedButton36", wn::kApplyTemplate, "Button1"}};
  for (const auto& [opener, window, button] : dialogs) {
    app_->Main().Commands().Button(opener)->click();
    desktop_->dialog_starts.clear();
    Click(window, button);
    QCOMPARE(desktop_->dialog_starts, QStringList{Site()});
  }
  desktop_->open_answers.push_back(Desktop::FileChoice{dir_->filePath("t.pat"), 1});
  Click(IndexPageWindow::kName, "Button2");
  desktop_->dialog_starts.clear();
  Click(IndexPageWindow::kName, "Button2");
  QCOMPARE(desktop_->dialog_starts, QStringList{dir_->path()});
}

void BatchWindowsTest::TidyShowsTheLastListedFile() {
  Write(Site("0.htm"), "  spaced    text\r\n");
  Open(TidyWindow::kName, Site());
  Click(TidyWindow::kName, "Button2");
  QCOMPARE(Read(Site("0.htm")), QByteArray("spaced text\r\n"));
  // c.htm needed no change and is shown all the same.
  QCOMPARE(In<QPlainTextEdit>(TidyWindow::kName, "RichEdit1")->toPlainText(), QString("old old\n"));
}

QTEST_MAIN(BatchWindowsTest)
#include "batch_windows_test.moc"
