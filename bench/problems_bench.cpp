// Times typing into a page (2 MiB, or the MiB given: problems_bench 50) through the main
// window with the problems panel shown (HTML and spelling), with it closed (spelling only, as
// by default) and with every check off: each key painted, and after every burst a pause that
// lets the checks run, as when a user stops to think. The next burst is typed while a check
// of the page still runs off the GUI thread. The longest key of each run is the longest frame
// a user waits.
// Build: cmake --build build/release --target problems_bench; run under a display or with
// QT_QPA_PLATFORM=offscreen.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

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

struct Typed {
  double per_key = 0;  // milliseconds
  double longest = 0;
};

// Keys typed in the middle of the page, each painted.
Typed Type(MainWindow& main) {
  CodeEditor* editor = main.EditorWidget();
  editor->setCursorPosition(editor->lines() / 2, 3);
  Typed typed;
  double total = 0;
  for (int burst = 0; burst < kBursts; ++burst) {
    for (int i = 0; i < kKeysPerBurst; ++i) {
      const double ms = Milliseconds([&] {
        const QString letter = i % 6 == 5 ? QStringLiteral(" ") : QStringLiteral("q");
        QKeyEvent press(QEvent::KeyPress, i % 6 == 5 ? Qt::Key_Space : Qt::Key_Q, Qt::NoModifier,
                        letter);
        QApplication::sendEvent(editor, &press);
        editor->viewport()->repaint();
        QApplication::processEvents();
      });
      total += ms;
      typed.longest = std::max(typed.longest, ms);
    }
    Pause(700);
  }
  typed.per_key = total / (kBursts * kKeysPerBurst);
  return typed;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication qt(argc, argv);
  const qsizetype mib = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2;
  QTemporaryDir dir;
  const QString big = dir.filePath(QStringLiteral("big.htm"));
  {
    QByteArray text = "<!DOCTYPE html>\n<html lang=\"en\">\n<title>Big</title>\n<body>\n";
    const QByteArray line =
        "<p>Some text of a page with a <b>word</b> in it, and a mistke <img src=\"a.png\"></p>\n";
    text.reserve(mib << 20);
    while (text.size() < (mib << 20)) text += line;
    QFile file(big);
    if (file.open(QIODevice::WriteOnly)) file.write(text + "</body>\n</html>\n");
  }
  PrepareProgramFolder(dir.path());
  qputenv("XDG_STATE_HOME", dir.filePath(QStringLiteral("state")).toUtf8());
  qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
  QtDesktop desktop;
  struct Run {
    const char* what;
    bool panel;
    bool spelling;
    Typed typed;
  };
  Run runs[] = {{"panel shown", true, true, {}},
                {"panel closed", false, true, {}},
                {"no checks", false, false, {}}};
  for (Run& run : runs) {
    Application app(desktop, AppPaths::InFolder(dir.path()));
    app.Start(big);
    MainWindow& main = app.Main();
    main.show();
    main.Commands().MenuItemOf(Command::kProblems)->setChecked(run.panel);
    main.Commands().MenuItemOf(Command::kCheckSpelling)->setChecked(run.spelling);
    Pause(1500);  // the first checks of the page
    run.typed = Type(main);
    app.Recovery().EndNormally();
  }
  for (const Run& run : runs) {
    std::printf("typing into %lld MiB, %-12s %7.2f ms a key, longest %7.1f ms\n",
                static_cast<long long>(mib), run.what, run.typed.per_key, run.typed.longest);
  }
  std::printf("panel shown / closed: %.2f\n", runs[0].typed.per_key / runs[1].typed.per_key);
  return 0;
}
