// Times several pages through the main window: switching tabs with a 50 MiB page open,
// opening in a new tab against opening in the current one, and the memory of ten 1 MiB pages.
// Build: cmake --build build/release --target pages_bench; run under a display or with
// QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/application.h"
#include "app/main_window.h"
#include "bench_util.h"
#include "editor/code_editor.h"
#include "platform/app_paths.h"
#include "platform/qt_desktop.h"

namespace {

void WritePage(const QString& path, qsizetype size) {
  QByteArray text;
  const QByteArray line = "<p>Some text of a page with a <b>word</b> in it</p>\n";
  while (text.size() < size) text += line;
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(text);
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication qt(argc, argv);
  QTemporaryDir dir;
  const QString big = dir.filePath(QStringLiteral("big.htm"));
  const QString small = dir.filePath(QStringLiteral("small.htm"));
  WritePage(big, 50 << 20);
  WritePage(small, 4 << 10);
  for (int i = 0; i < 10; ++i) WritePage(dir.filePath(QStringLiteral("m%1.htm").arg(i)), 1 << 20);
  PrepareProgramFolder(dir.path());
  QtDesktop desktop;
  Application app(desktop, AppPaths::InFolder(dir.path()));
  app.Start(small);
  MainWindow& main = app.Main();
  QApplication::processEvents();

  // Memory first, while nothing freed can be reused: one 1 MiB page's share, then ten.
  const long base = StatusKib("VmRSS:");
  main.OpenInNewTab(dir.filePath(QStringLiteral("m0.htm")));
  main.EditorWidget()->viewport()->repaint();
  const long one = StatusKib("VmRSS:") - base;
  for (int i = 1; i < 10; ++i) {
    main.OpenInNewTab(dir.filePath(QStringLiteral("m%1.htm").arg(i)));
    main.EditorWidget()->viewport()->repaint();
  }
  const long ten = StatusKib("VmRSS:") - base;
  std::printf("1 MiB pages: one %ld KiB  ten %ld KiB  ratio to ten times one %.2f\n", one, ten,
              double(ten) / double(10 * std::max(1L, one)));
  for (int i = 0; i < 10; ++i) main.ClosePageAt(main.CurrentPageIndex());

  // Opening: into the current page, then into a new tab (the same file, closed between).
  const double here = Milliseconds([&] {
    main.Session().OpenFile(big);
    main.EditorWidget()->viewport()->repaint();
  });
  main.ClosePageAt(main.CurrentPageIndex());
  const double tab = Milliseconds([&] {
    main.OpenInNewTab(big);
    main.EditorWidget()->viewport()->repaint();
  });
  std::printf("open 50 MiB: current page %8.1f ms  new tab %8.1f ms  ratio %.2f\n", here, tab,
              tab / here);

  // Switching between the small page and the big one, painted.
  std::vector<double> to_small;
  std::vector<double> to_big;
  const int big_tab = main.CurrentPageIndex();
  const int small_tab = big_tab == 0 ? 1 : 0;
  for (int i = 0; i < 9; ++i) {
    to_small.push_back(Milliseconds([&] {
      main.ShowPageAt(small_tab);
      main.EditorWidget()->viewport()->repaint();
    }));
    to_big.push_back(Milliseconds([&] {
      main.ShowPageAt(big_tab);
      main.EditorWidget()->viewport()->repaint();
    }));
  }
  std::printf("switch, painted: to the small page %6.2f ms  to the 50 MiB page %6.2f ms\n",
              Median(to_small), Median(to_big));
  return 0;
}
