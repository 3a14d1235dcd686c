#include <QAction>
#include <QDialog>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/application.h"
#include "app/file_panel.h"
#include "app/main_window.h"
#include "editor/code_editor.h"
#include "settings/options_window.h"
#include "settings/settings_record.h"
#include "support/fake_desktop.h"
#include "support/test_app.h"
#include "support/window_fixture.h"

// Faults found in use and by fuzzing, each kept mended.
class MendsTest : public WindowTest {
  Q_OBJECT

 public:
  MendsTest() : WindowTest(Launch::kByTest) {}

 private slots:

  void DoubleClickOnNoFileAsksForOne() {
    StartProgram();
    QListWidget* files = app_->Main().Files()->Files();
    files->clearSelection();
    QTest::mouseDClick(files->viewport(), Qt::LeftButton, {},
                       QPoint(5, files->viewport()->height() - 3));
    QCOMPARE(desktop_->open_dialogs, 1);
  }

  void FilePanelListsHtmlPages() {
    QFile page(dir_->filePath("index.html"));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.close();
    StartProgram();
    app_->Main().Files()->SetFolder(dir_->path());
    QCOMPARE(app_->Main().Files()->Files()->Names(), QStringList{"index.html"});
  }

  void ClosingOptionsOnAFirstStartSaysNothing() {
    StartProgram();
    QVERIFY(!QFile::exists(dir_->filePath("htmled.ini")));
    desktop_->modal_scripts.push_back(FakeDesktop::Press("Button2"));
    app_->Main().Commands().Button("SpeedButton19")->click();
    QCOMPARE(desktop_->errors, QStringList());
  }

  void LanguageFileNameWithAPathIsRefused() {
    SettingsRecord record = SettingsRecord::Defaults();
    QVERIFY(record.SetLanguageFileName("../../../etc/passwd"));
    QVERIFY(!WriteSettingsFile(dir_->filePath("htmled.ini"), record));
    StartProgram();
    QCOMPARE(desktop_->errors.size(), 1);
    QVERIFY(desktop_->errors.first().contains("passwd"));
    QVERIFY(!app_->Main().Commands().MenuItem("dsfg1")->text().contains("root"));
  }

  void HugeRecentEntryIsNotOffered() {
    QVERIFY(QDir().mkpath(dir_->filePath("config/brindlemark")));
    QFile store(dir_->filePath("config/brindlemark/brindlemark.ini"));
    QVERIFY(store.open(QIODevice::WriteOnly));
    store.write("[Software]\nbrindlemark\\1=" + QByteArray(10000, 'a') + "\n");
    store.close();
    StartProgram();
    QCOMPARE(app_->Main().Commands().MenuItem("N66")->data().toString(), QString());
  }

  void WindowPositionOffEveryScreenComesBack_data() {
    QTest::addColumn<QPoint>("stored");
    QTest::addColumn<QPoint>("placed");
    const QList<QRect> screens{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1024, 768)};
    QTest::addRow("on the first screen") << QPoint(23, 57) << QPoint(23, 57);
    QTest::addRow("on the second screen") << QPoint(1400, 100) << QPoint(1400, 100);
    QTest::addRow("title bar above the screen") << QPoint(23, -30) << QPoint(0, 0);
    QTest::addRow("left of every screen") << QPoint(-500, 100) << QPoint(0, 0);
  }
  void WindowPositionOffEveryScreenComesBack() {
    QFETCH(QPoint, stored);
    QFETCH(QPoint, placed);
    const QList<QRect> screens{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1024, 768)};
    QCOMPARE(KeepOnScreens(stored, screens, screens.first()), placed);
  }

  // Qt refuses a key that two enabled actions of one window carry, as ambiguous.
  void EveryKeyHasOneActionPerWindow() {
    StartProgram();
    for (QWidget* window : QApplication::topLevelWidgets()) {
      QList<QAction*> actions = window->actions() + window->findChildren<QAction*>();
      std::sort(actions.begin(), actions.end());
      actions.erase(std::unique(actions.begin(), actions.end()), actions.end());
      QHash<QString, QStringList> owners;
      for (const QAction* action : std::as_const(actions)) {
        // An action of a window of its own (the manual's) acts there, not here.
        const auto* owner = qobject_cast<const QWidget*>(action->parent());
        if (!action->isEnabled() || (owner != nullptr && owner->window() != window)) continue;
        for (const QKeySequence& key : action->shortcuts())
          owners[key.toString()].append(action->objectName());
      }
      for (auto it = owners.cbegin(); it != owners.cend(); ++it) {
        QVERIFY2(it->size() == 1,
                 qPrintable(window->objectName() + ": " + it.key() + " on " + it->join(", ")));
      }
    }
  }

  // Closing a menu with Escape leaves the focus on the menu bar, where a key carried by both
  // a menu item and the window's action did nothing.
  void CtrlSAfterClosingTheFileMenuSaves() {
    Write("page.htm", "<p>");
    StartProgram(Path("page.htm"));
    Main().EditorWidget()->insert("x");
    QMenuBar* bar = Main().menuBar();
    QAction* file = Main().Commands().MenuItem("dsfg1");
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
    QTRY_VERIFY(file->menu()->isVisible());
    QTest::keyClick(file->menu(), Qt::Key_Escape);
    QTRY_VERIFY(!file->menu()->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(Read("page.htm"), QByteArray("x<p>"));
    QVERIFY(!Main().Session().Modified());
  }

 private:
};

QTEST_MAIN(MendsTest)
#include "mends_test.moc"
