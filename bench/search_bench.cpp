// Times Find in files in the window: from Enter in its field to the first hit shown in the
// list (painted), and to the end of the search, over 10,000 pages of 10 KB (100 MB, half
// Windows-1251 with CR LF, half UTF-8), one literal in a page early in the list and in one
// late. Build: cmake --build build/release --target search_bench; run under a display or with
// QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>

#include "app/application.h"
#include "app/main_window.h"
#include "app/recovery_keeper.h"
#include "app/search_panel.h"
#include "bench_util.h"
#include "platform/app_paths.h"
#include "platform/qt_desktop.h"

namespace {

void WriteSite(const QString& root) {
  QByteArray line = "<p>Text of the page with a few words and a link <a href=x.htm>here</a></p>";
  QByteArray cp1251 = "<html>\r\n<body>\r\n";
  QByteArray utf8 = "<html>\n<meta charset=utf-8>\n<body>\n";
  for (int i = 0; i < 120; ++i) {
    cp1251 += line + "\r\n";
    utf8 += line + "\n";
  }
  for (int d = 0; d < 100; ++d) {
    const QString folder = QStringLiteral("%1/d%2").arg(root).arg(d, 2, 10, QChar(u'0'));
    QDir().mkpath(folder);
    for (int i = 0; i < 50; ++i) {
      for (const auto& [name, bytes] : {std::pair{'a', cp1251}, std::pair{'b', utf8}}) {
        QFile file(QStringLiteral("%1/%2%3.htm").arg(folder).arg(name).arg(i, 2, 10, QChar(u'0')));
        if (!file.open(QIODevice::WriteOnly)) continue;
        file.write(bytes);
        if ((d == 3 && i == 7) || (d == 96 && i == 40)) file.write("<p>needle-in-a-haystack</p>\n");
      }
    }
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication qt(argc, argv);
  QTemporaryDir dir;
  WriteSite(dir.filePath(QStringLiteral("site")));
  PrepareProgramFolder(dir.path());
  QtDesktop desktop;
  Application app(desktop, AppPaths::InFolder(dir.path()));
  app.Start(QString());
  MainWindow& main = app.Main();
  main.show();
  SearchPanel* panel = main.Search();
  panel->Offer(dir.filePath(QStringLiteral("site")), QString(), QString());
  panel->findChild<QLineEdit*>(QStringLiteral("FindText"))
      ->setText(QStringLiteral("needle-in-a-haystack"));
  auto* hits = panel->findChild<QTreeWidget*>(QStringLiteral("SearchHits"));
  for (int run = 0; run < 3; ++run) {
    QElapsedTimer timer;
    timer.start();
    panel->Start();
    while (hits->topLevelItemCount() == 0 && timer.elapsed() < 10000) {
      QApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    hits->viewport()->repaint();
    const double first = double(timer.nsecsElapsed()) / 1e6;
    panel->WaitIdle();
    QApplication::processEvents();
    const double all = double(timer.nsecsElapsed()) / 1e6;
    std::printf("first hit shown %7.1f ms, search done %7.1f ms, pages with hits %d\n", first, all,
                panel->Summary().pages);
  }
  app.Recovery().EndNormally();
  return 0;
}
