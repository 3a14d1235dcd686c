#include "support/test_app.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include "app/main_window.h"
#include "support/fake_desktop.h"

std::unique_ptr<Application> StartApplication(FakeDesktop& desktop, const QString& program_folder,
                                              const QString& argument) {
  InstallLanguageFiles(program_folder);
  AppPaths paths = AppPaths::InFolder(program_folder);
  // The script libraries the build fetched, where an installed program has its own.
  paths.script_folder = QStringLiteral(BM_SCRIPT_DIR);
  auto app = std::make_unique<Application>(desktop, paths);
  app->Start(argument);
  if (!QTest::qWaitForWindowActive(&app->Main())) qWarning("the main window did not become active");
  return app;
}

bool NoWindowLeft() {
  const QWidgetList left = QApplication::topLevelWidgets();
  for (const QWidget* widget : left) {
    qWarning() << "window left:" << widget->metaObject()->className() << widget->objectName();
  }
  return left.isEmpty();
}

void UseUserFoldersIn(const QString& folder) {
  qputenv("XDG_CONFIG_HOME", (folder + QStringLiteral("/config")).toUtf8());
  qputenv("XDG_DATA_HOME", (folder + QStringLiteral("/data")).toUtf8());
  qputenv("XDG_STATE_HOME", (folder + QStringLiteral("/state")).toUtf8());
}
