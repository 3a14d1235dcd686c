// Times an edit and Ctrl+S of a 50 MiB Windows-1251 page through the main window, until the
// window is idle again, against `cp` of the file followed by `sync` of the copy.
// Build: cmake --build build/release --target save_bench; run under a display or with
// QT_QPA_PLATFORM=offscreen.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#include "app/application.h"
#include "app/main_window.h"
#include "bench_util.h"
#include "editor/code_editor.h"
#include "platform/app_paths.h"
#include "platform/qt_desktop.h"

int main(int argc, char* argv[]) {
  QApplication qt(argc, argv);
  QTemporaryDir dir;
  const QString page = dir.filePath(QStringLiteral("big.htm"));
  {
    // Cyrillic text in Windows-1251 with CRLF line ends.
    const QByteArray line = "<p>\xD2\xE5\xEA\xF1\xF2 of a page with a <b>word</b> in it</p>\r\n";
    QByteArray text = "<html><head><meta charset=\"windows-1251\"></head><body>\r\n";
    while (text.size() < (50 << 20)) text += line;
    QFile file(page);
    if (file.open(QIODevice::WriteOnly)) file.write(text);
  }
  PrepareProgramFolder(dir.path());
  QtDesktop desktop;
  Application app(desktop, AppPaths::InFolder(dir.path()));
  app.Start(page);
  MainWindow& main = app.Main();
  main.show();
  QApplication::processEvents();

  auto settle = [] {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  };
  double best = 1e9;
  const int rounds =
      qEnvironmentVariableIntValue("ROUNDS") > 0 ? qEnvironmentVariableIntValue("ROUNDS") : 3;
  for (int round = 0; round < rounds; ++round) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(main.EditorWidget(), &key);
    settle();
    best = std::min(best, Milliseconds([&] {
                      main.findChild<QAction*>(QStringLiteral("SaveDocument"))->trigger();
                      settle();
                    }));
  }
  const QString copy = dir.filePath(QStringLiteral("copy.htm"));
  const double cp = Milliseconds([&] {
    QProcess::execute(
        QStringLiteral("sh"),
        {QStringLiteral("-c"), QStringLiteral("cp \"$0\" \"$1\" && sync \"$1\""), page, copy});
  });
  std::printf("edit + save of 50 MiB (Windows-1251): %7.1f ms  cp + sync %7.1f ms  ratio %.2f\n",
              best, cp, best / cp);
  return 0;
}
