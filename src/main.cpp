#include <QApplication>

#include "app/application.h"
#include "platform/qt_desktop.h"
#include "settings/preview_window.h"

int main(int argc, char* argv[]) {
  PrepareEmbeddedBrowser();
  QApplication qt_app(argc, argv);
  // The application name is the task-bar name. No display name: the platform would append
  // it to every window caption, and the main window's caption has a fixed form.
  QApplication::setApplicationName(QStringLiteral("Brindlemark"));

  QtDesktop desktop;
  Application app(desktop, AppPaths{QCoreApplication::applicationDirPath(), QString()});
  const QStringList arguments = QCoreApplication::arguments();
  app.Start(arguments.size() > 1 ? arguments.at(1) : QString());
  return QApplication::exec();
}
