// Times recovery copies through the main window: the GUI thread's share of one copy of a
// 50 MiB page, and typing at the end of that page with copies kept and without.
// Build: cmake --build build/release --target recovery_bench; run under a display or with
// QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <cstdio>

#include "app/application.h"
#include "app/main_window.h"
#include "app/recovery_keeper.h"
#include "bench_util.h"
#include "editor/code_editor.h"
#include "platform/app_paths.h"
#include "platform/qt_desktop.h"

namespace {

constexpr int kKeys = 200;

// Milliseconds per key typed at the end of the page, each painted; copies (when kept) are
// written while typing goes on, as after a pause.
double TypeAtTheEnd(Application& app) {
  MainWindow& main = app.Main();
  CodeEditor* editor = main.EditorWidget();
  editor->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
  return Milliseconds([&] {
           for (int i = 0; i < kKeys; ++i) {
             QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
             QApplication::sendEvent(editor, &press);
             editor->viewport()->repaint();
             if (i % 50 == 25) app.Recovery().FlushDue();
             QApplication::processEvents();
           }
         }) /
         kKeys;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication qt(argc, argv);
  QTemporaryDir dir;
  const QString big = dir.filePath(QStringLiteral("big.htm"));
  {
    QByteArray text;
    const QByteArray line = "<p>Some text of a page with a <b>word</b> in it</p>\r\n";
    while (text.size() < (50 << 20)) text += line;
    QFile file(big);
    if (file.open(QIODevice::WriteOnly)) file.write(text);
  }
  PrepareProgramFolder(dir.path());
  QtDesktop desktop;
  double with_copies = 0;
  double without = 0;
  for (const bool keep : {true, false}) {
    // Without: the state folder is a file, so no copy can be kept.
    const QString state = dir.filePath(keep ? QStringLiteral("state") : QStringLiteral("big.htm"));
    qputenv("XDG_STATE_HOME", state.toUtf8());
    Application app(desktop, AppPaths::InFolder(dir.path()));
    app.Start(big);
    QApplication::processEvents();
    if (keep) {
      app.Main().EditorWidget()->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
      QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
      QApplication::sendEvent(app.Main().EditorWidget(), &press);
      const double gui = Milliseconds([&] { app.Recovery().FlushDue(); });
      const double whole = Milliseconds([&] { app.Recovery().WaitIdle(); });
      std::printf("one copy of 50 MiB: GUI thread %6.1f ms, written after %7.1f ms more\n", gui,
                  whole);
      with_copies = TypeAtTheEnd(app);
    } else {
      without = TypeAtTheEnd(app);
    }
    app.Recovery().EndNormally();
  }
  std::printf(
      "typing at the end of 50 MiB: %6.2f ms a key with copies, %6.2f without, ratio %.2f\n",
      with_copies, without, with_copies / without);
  return 0;
}
