#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "app/application.h"
#include "app/file_panel.h"
#include "app/main_window.h"
#include "settings/preview_window.h"
#include "support/fake_desktop.h"
#include "support/files.h"
#include "support/test_app.h"
#include "support/window_fixture.h"

// The preview commands: which file is written and deleted, and what the browser or the
// system is given.
class PreviewTest : public WindowTest {
  Q_OBJECT

 private slots:

  void UntitledPageIsPreviewedFromTheProgramFolder();
  void SavedPageIsPreviewedBesideItAndTheOldScratchGoes();
  void SelectedFileIsShownWithoutWriting();
  void WithoutTheBuiltInWindowTheSystemOpensIt();
  void SaveFirstOnAnUntitledPageWritesNoStrayFile();
  void UnwritableFolderShowsTheErrorAndPreviewsNothing();
  void ExitDeletesTheScratchFile();
  void PreviewBesideThePageAndHelpApart();
  void FirstPreviewMakesTheScratchFolder();
  void PageOpenedByARelativePathIsPreviewed();

 private:
  PreviewWindow& Window() { return app_->Preview(); }
  void Prepare() override;
  QString ProgramFolder() const override { return dir_->filePath("program"); }
  void SetBuiltIn(bool on) { Main().Settings().preview_in_built_in_window = on ? 1 : 0; }
};

void PreviewTest::Prepare() {
  QDir(dir_->path()).mkdir("program");
  QDir(dir_->path()).mkdir("site");
  QDir::setCurrent(dir_->filePath("site"));
}

void PreviewTest::UntitledPageIsPreviewedFromTheProgramFolder() {
  QTest::keyClick(Main().EditorWidget(), Qt::Key_F12);
  const QString scratch = dir_->filePath("program/temp.htm");
  QVERIFY(QFile::exists(scratch));
  QCOMPARE(Main().Session().ScratchFiles(), QStringList{scratch});
  QCOMPARE(Main().Session().CurrentFolder(), dir_->filePath("program") + "/");
  QCOMPARE(Window().Location(), "file://" + scratch);
  QVERIFY(Window().isVisible());
  QCOMPARE(Window().windowTitle(), QString("Preview window"));
  QVERIFY(!Main().Session().Modified());
}

void PreviewTest::FirstPreviewMakesTheScratchFolder() {
  QVERIFY(QDir(dir_->filePath("program")).removeRecursively());
  QTest::keyClick(Main().EditorWidget(), Qt::Key_F12);
  QCOMPARE(desktop_->errors, QStringList());
  QVERIFY(QFile::exists(dir_->filePath("program/temp.htm")));
}

void PreviewTest::PageOpenedByARelativePathIsPreviewed() {
  QVERIFY(QDir().mkpath("sub"));
  QFile page("sub/page.htm");
  QVERIFY(page.open(QIODevice::WriteOnly) && page.write("<p>x</p>") > 0);
  page.close();
  QVERIFY(Main().OpenInNewTab("sub/../sub/page.htm"));
  QCOMPARE(Main().Session().FileName(), dir_->filePath("site/sub/page.htm"));
  QVERIFY(Main().OpenInNewTab("sub/page.htm"));  // the same page, not a second tab
  QCOMPARE(Main().PageCount(), 2);
  QTest::keyClick(Main().EditorWidget(), Qt::Key_F12);
  QCOMPARE(Window().Location(), "file://" + dir_->filePath("site/sub/temp.htm"));
  // So is the page the command line names.
  FakeDesktop desktop;
  std::unique_ptr<Application> second =
      StartApplication(desktop, dir_->filePath("program"), "sub/page.htm");
  QCOMPARE(second->Main().Session().FileName(), dir_->filePath("site/sub/page.htm"));
  second.reset();
}

void PreviewTest::SavedPageIsPreviewedBesideItAndTheOldScratchGoes() {
  QTest::mouseClick(Main().Commands().Button("SpeedButton16"), Qt::LeftButton);
  const QString old_scratch = dir_->filePath("program/temp.htm");
  QVERIFY(QFile::exists(old_scratch));
  desktop_->save_answers.push_back(Desktop::FileChoice{dir_->filePath("site/page.htm"), 1});
  QVERIFY(Main().Session().SaveDocumentAs());
  Main().Commands().MenuItem("N79")->trigger();
  QVERIFY(!QFile::exists(old_scratch));
  QVERIFY(QFile::exists(dir_->filePath("site/temp.htm")));
  QCOMPARE(Window().Location(), "file://" + dir_->filePath("site/temp.htm"));
}

void PreviewTest::SelectedFileIsShownWithoutWriting() {
  QFile file(dir_->filePath("site/shown.htm"));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.close();
  Main().Files()->SetFolder(dir_->filePath("site"));
  Main().Files()->Files()->setCurrentRow(0);
  QTest::mouseClick(Main().Commands().Button("SpeedButton3"), Qt::LeftButton);
  QCOMPARE(Window().Location(), dir_->filePath("site/shown.htm"));
  QVERIFY(Main().Session().ScratchFiles().isEmpty());
  QVERIFY(!QFile::exists(dir_->filePath("site/temp.htm")));
  // Nothing selected: the document is previewed.
  Main().Files()->Files()->clearSelection();
  QTest::mouseClick(Main().Commands().Button("SpeedButton3"), Qt::LeftButton);
  QCOMPARE(Window().Location(), "file://" + dir_->filePath("program/temp.htm"));
}

void PreviewTest::WithoutTheBuiltInWindowTheSystemOpensIt() {
  SetBuiltIn(false);
  QTest::mouseClick(Main().Commands().Button("SpeedButton16"), Qt::LeftButton);
  QCOMPARE(desktop_->opened, QStringList{dir_->filePath("program/temp.htm")});
  QVERIFY(Main().isMinimized());
  QVERIFY(!Window().isVisible());
}

void PreviewTest::SaveFirstOnAnUntitledPageWritesNoStrayFile() {
  Main().Settings().save_before_preview = 1;
  QTest::mouseClick(Main().Commands().Button("SpeedButton16"),
                    Qt::LeftButton);  // the name dialog is cancelled
  QCOMPARE(desktop_->save_dialogs, 1);
  QCOMPARE(QDir(dir_->filePath("site")).entryList(QDir::Files), QStringList());
  QVERIFY(QFile::exists(dir_->filePath("program/temp.htm")));
}

void PreviewTest::UnwritableFolderShowsTheErrorAndPreviewsNothing() {
  QFile blocker(dir_->filePath("site/blocker"));
  QVERIFY(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  Main().Session().SetDocumentName(
      dir_->filePath("site/blocker/page.htm"));  // a folder that cannot exist
  QTest::mouseClick(Main().Commands().Button("SpeedButton16"), Qt::LeftButton);
  QCOMPARE(desktop_->errors.size(), 1);
  QVERIFY(desktop_->errors.constFirst().startsWith("Cannot create file"));
  QVERIFY(desktop_->errors.constFirst().contains("temp.htm"));
  QVERIFY(!Window().isVisible());
}

void PreviewTest::ExitDeletesTheScratchFile() {
  QTest::mouseClick(Main().Commands().Button("SpeedButton16"), Qt::LeftButton);
  QVERIFY(QFile::exists(dir_->filePath("program/temp.htm")));
  QVERIFY(Window().isVisible());
  Main().Commands().MenuItem("N71")->trigger();
  QVERIFY(!QFile::exists(dir_->filePath("program/temp.htm")));
  QVERIFY(!Window().isVisible());  // closing the main window closes the others
}

void PreviewTest::PreviewBesideThePageAndHelpApart() {
  Main().Commands().MenuItem("PreviewBeside")->setChecked(true);
  QTest::keyClick(Main().EditorWidget(), Qt::Key_F12);
  auto* dock = Main().findChild<QDockWidget*>("PreviewDock");
  QVERIFY(dock->isVisible());
  QCOMPARE(Window().window(), &Main());
  const QString shown = Window().Location();
  QVERIFY(!shown.isEmpty());
  // The manual opens in a window of its own; the preview keeps the page.
  QVERIFY(QDir().mkpath(ProgramFolder() + "/manual"));
  Write(ProgramFolder() + "/manual/index.html", "<p>Manual</p>");
  Main().Commands().MenuItem("N73")->trigger();
  QWidget* help = app_->Window("HelpWindow");
  QVERIFY(help->isVisible() && help->isWindow());
  QCOMPARE(Window().Location(), shown);
  // Off again: the preview has its window back, still showing the page.
  Main().Commands().MenuItem("PreviewBeside")->setChecked(false);
  QVERIFY(Window().isWindow());
  QVERIFY(Window().isVisible());
  QVERIFY(!dock->isVisible());
  QCOMPARE(Window().Location(), shown);
}

QTEST_MAIN(PreviewTest)
#include "preview_test.moc"
