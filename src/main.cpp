#include <QApplication>
#include <cstdio>
#include <string_view>

#include "app/application.h"
#include "app/tool_icons.h"
#include "platform/qt_desktop.h"
#include "settings/preview_window.h"

namespace {

constexpr char kUsage[] =
    "Usage: brindlemark [--] [PAGE...]\n"
    "A desktop editor for web pages written by hand.\n\n"
    "  PAGE        pages to open, each in a tab (a new page when none is given)\n"
    "  -h, --help  show this help and exit\n"
    "  --version   show the version and exit\n\n"
    "The batch tools run without windows as brindlemark-batch (see brindlemark-batch --help).\n";

int UnknownOption(const char* option) {
  std::fprintf(stderr, "brindlemark: unknown option %s\n\n%s", option, kUsage);
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Answered before any window system is needed, so they work over ssh and in scripts.
  if (argc > 1) {
    const std::string_view first = argv[1];
    if (first == "--help" || first == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (first == "--version") {
      std::printf("brindlemark %s\n", BM_VERSION);
      return 0;
    }
    // An option that is not one is a mistake, not a page to open ("--" ends the options).
    // Qt's own options (-platform, -style…) have one dash and are taken below.
    if (first.starts_with("--") && first != "--") return UnknownOption(argv[1]);
  }
  PrepareEmbeddedBrowser();
  QApplication qt_app(argc, argv);
  // The application name is the task-bar name. No display name: the platform would append
  // it to every window caption, and the main window's caption has a fixed form.
  QApplication::setApplicationName(QStringLiteral("Brindlemark"));
  QApplication::setApplicationVersion(QStringLiteral(BM_VERSION));
  // Every window shows it; the desktop entry names the same picture.
  QApplication::setWindowIcon(ProgramIcon());
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.brindlemark.Brindlemark"));

  QtDesktop desktop;
  Application app(desktop, AppPaths::ForExecutable(QCoreApplication::applicationDirPath(),
                                                   qEnvironmentVariable("XDG_CONFIG_HOME"),
                                                   qEnvironmentVariable("XDG_DATA_HOME"),
                                                   qEnvironmentVariable("XDG_CACHE_HOME")));
  const QStringList arguments = QCoreApplication::arguments();  // without Qt's options
  if (arguments.size() > 1 && arguments.at(1).size() > 1 && arguments.at(1).startsWith(u'-') &&
      arguments.at(1) != u"--") {
    return UnknownOption(qPrintable(arguments.at(1)));
  }
  const qsizetype page = arguments.size() > 1 && arguments.at(1) == u"--" ? 2 : 1;
  app.Start(arguments.mid(page));
  return QApplication::exec();
}
