// Times typing into a 2 MiB page through the main window with the HTML and spelling checks
// on (the problems panel shown) and with both off: each key painted, and after every burst
// a pause that lets the checks run, as when a user stops to think. The next burst is
// typed while a check of the page still runs off the GUI thread.
// Build: cmake --build build/release --target problems_bench; run under a display or with
// QT_QPA_PLATFORM=offscreen.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <cstdio>

#include "app/application.h"
#include "app/command_table.h"
#include "app/main_window.h"
#include "app/recovery_keeper.h"
#include "bench_util.h"
#include "editor/code_editor.h"
#include "platform/app_paths.h"
#include "platform/qt_desktop.h"

namespace {

constexpr int kBursts = 6;
constexpr int kKeysPerBurst = 40;

void Pause(int ms) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Milliseconds per key typed in the middle of the page, each painted.
double Type(MainWindow& main) {
  CodeEditor* editor = main.EditorWidget();
  editor->setCursorPosition(editor->lines() / 2, 3);
  double total = 0;
  for (int burst = 0; burst < kBursts; ++burst) {
    total += Milliseconds([&] {
      for (int i = 0; i < kKeysPerBurst; ++i) {
        const QString letter = i % 6 == 5 ? QStringLiteral(" ") : QStringLiteral("q");
        QKeyEvent press(QEvent::KeyPress, i % 6 == 5 ? Qt::Key_Space : Qt::Key_Q, Qt::NoModifier,
                        letter);
        QApplication::sendEvent(editor, &press);
        editor->viewport()->repaint();
        QApplication::processEvents();
      }
    });
    Pause(700);
  }
  return total / (kBursts * kKeysPerBurst);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication qt(argc, argv);
  QTemporaryDir dir;
  const QString big = dir.filePath(QStringLiteral("big.htm"));
  {
    QByteArray text = "<!DOCTYPE html>\n<html lang=\"en\">\n<title>Big</title>\n<body>\n";
    const QByteArray line =
        "<p>Some text of a page with a <b>word</b> in it, and a mistke <img src=\"a.png\"></p>\n";
    while (text.size() < (2 << 20)) text += line;
    QFile file(big);
    if (file.open(QIODevice::WriteOnly)) file.write(text + "</body>\n</html>\n");
  }
  PrepareProgramFolder(dir.path());
  qputenv("XDG_STATE_HOME", dir.filePath(QStringLiteral("state")).toUtf8());
  qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
  QtDesktop desktop;
  double on = 0;
  double off = 0;
  for (const bool checks : {true, false}) {
    Application app(desktop, AppPaths::InFolder(dir.path()));
    app.Start(big);
    MainWindow& main = app.Main();
    main.show();
    main.MenuItemOf(Command::kProblems)->setChecked(checks);
    main.MenuItemOf(Command::kCheckSpelling)->setChecked(checks);
    Pause(1500);  // the first checks of the page
    (checks ? on : off) = Type(main);
    app.Recovery().EndNormally();
  }
  std::printf("typing into 2 MiB: %6.2f ms a key with both checks, %6.2f without, ratio %.2f\n", on,
              off, on / off);
  return 0;
}
