#include <QApplication>

#include "app/application.h"
#include "platform/qt_desktop.h"

int main(int argc, char* argv[]) {
  QApplication qt_app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("brindlemark"));
  QApplication::setApplicationDisplayName(QStringLiteral("Brindlemark"));

  QtDesktop desktop;
  Application app(desktop, AppPaths{QCoreApplication::applicationDirPath(), QString()});
  const QStringList arguments = QCoreApplication::arguments();
  app.Start(arguments.size() > 1 ? arguments.at(1) : QString());
  return QApplication::exec();
}
