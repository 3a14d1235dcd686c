// Times abbreviations through the main window, each painted: the first expansion of a
// session (the library loaded on it), later expansions, and Tab on prose against Tab with the
// option off; and start-up with the library beside the program against start-up without it.
// Build: cmake --build build/release --target abbreviations_bench; run under a display or
// with QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "app/abbreviation_commands.h"
#include "app/application.h"
#include "app/main_window.h"
#include "app/recovery_keeper.h"
#include "bench_util.h"
#include "editor/code_editor.h"
#include "platform/app_paths.h"
#include "platform/qt_desktop.h"

namespace {

// Types text at the end of the page, then times key (Ctrl+E or Tab) until painted.
double Press(MainWindow& main, const QString& text, Qt::Key key, Qt::KeyboardModifiers mods) {
  CodeEditor* editor = main.EditorWidget();
  main.Editor().LoadText(QString());
  editor->insert(text);
  editor->SendScintilla(QsciScintilla::SCI_DOCUMENTEND);
  return Milliseconds([&] {
    QKeyEvent press(QEvent::KeyPress, key, mods,
                    key == Qt::Key_Tab ? QStringLiteral("\t") : QString());
    if (key == Qt::Key_Tab) {
      QApplication::sendEvent(editor, &press);
    } else {
      main.Abbreviations()->Expand(false);
    }
    editor->viewport()->repaint();
    QApplication::processEvents();
  });
}

double StartUp(QtDesktop& desktop, const AppPaths& paths) {
  double ms = 0;
  {
    ms = Milliseconds([&] {
      Application app(desktop, paths);
      app.Start(QString());
      app.Main().show();
      QApplication::processEvents();
      app.Recovery().EndNormally();
    });
  }
  return ms;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication qt(argc, argv);
  QTemporaryDir dir;
  PrepareProgramFolder(dir.path());
  QtDesktop desktop;
  AppPaths paths = AppPaths::InFolder(dir.path());
  paths.script_folder = QCoreApplication::applicationDirPath() + QStringLiteral("/../scripts");
  {
    Application app(desktop, paths);
    app.Start(QString());
    MainWindow& main = app.Main();
    main.show();
    const double first = Press(main, QStringLiteral("ul>li"), Qt::Key_E, Qt::ControlModifier);
    std::printf("first expansion (library loaded)   %7.1f ms\n", first);
    for (const char* abbreviation : {"ul>li.item$*30", "!", "table>tr*20>td*5"}) {
      double best = 1e9;
      for (int i = 0; i < 5; ++i) {
        best = std::min(
            best, Press(main, QString::fromLatin1(abbreviation), Qt::Key_E, Qt::ControlModifier));
      }
      std::printf("%-20s               %7.2f ms\n", abbreviation, best);
    }
    const QString prose = QStringLiteral("The house stands by the river, and then the table.");
    double with = 1e9;
    double without = 1e9;
    for (int i = 0; i < 20; ++i) {
      main.Abbreviations()->SetTabExpands(true);
      with = std::min(with, Press(main, prose, Qt::Key_Tab, Qt::NoModifier));
      main.Abbreviations()->SetTabExpands(false);
      without = std::min(without, Press(main, prose, Qt::Key_Tab, Qt::NoModifier));
    }
    std::printf("Tab on prose: option on %.3f ms, off %.3f ms, more %.3f ms\n", with, without,
                with - without);
    app.Recovery().EndNormally();
  }
  AppPaths missing = paths;
  missing.script_folder = dir.filePath(QStringLiteral("none"));
  double present = 1e9;
  double absent = 1e9;
  for (int i = 0; i < 3; ++i) {
    present = std::min(present, StartUp(desktop, paths));
    absent = std::min(absent, StartUp(desktop, missing));
  }
  std::printf("start-up: library present %.1f ms, absent %.1f ms, ratio %.2f\n", present, absent,
              present / absent);
  return 0;
}
