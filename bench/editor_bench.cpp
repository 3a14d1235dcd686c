// The editor's speed goals, each against a raw component doing the least it can:
//   open  KIND SIZE_MIB   open a page as the program does (read, detect, title, load, paint)
//   plain KIND SIZE_MIB   a raw QPlainTextEdit: decode, setPlainText, paint
//   sci   KIND SIZE_MIB   a raw QScintilla: decode, setText, paint
//   save  KIND SIZE_MIB   open as the program does, then write the page after an edit
//   type  SIZE_KIB [one]  typing characters at the end of a page, each key painted
//   type-window SIZE_KIB one|lines [plain] [start]  the same through the main window
//   type-raw SIZE_KIB     the same in a raw QScintilla
//   button NAME [SIZE_MIB] a whole-text button through the main window, against three raw
//                         components replacing their text with the result
// KIND is "lines" (ordinary lines) or "one" (one line, a minified page). Each run prints its
// wall time and its peak memory; run them as separate processes so peaks do not mix.
// Build: cmake --build build/release --target editor_bench
#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <ctime>
#include <memory>

#include "app/application.h"
#include "app/command_table.h"
#include "app/main_window.h"
#include "bench_util.h"
#include "document/text_helpers.h"
#include "editor/code_editor.h"
#include "platform/app_paths.h"
#include "platform/file_write.h"
#include "platform/qt_desktop.h"
#include "platform/text_format.h"

namespace {

// A minified page's runs differ as a real page's do (numbered here), so that no cache of
// measured runs serves them all from a handful of entries.
QByteArray MakePage(bool one_line, qsizetype bytes) {
  const QByteArray line = "<p>\xC0\xE1\xE2 some text of a <b>big</b> page &nbsp; here</p>\r\n";
  QByteArray page;
  page.reserve(bytes + 100);
  for (int i = 0; page.size() < bytes; ++i) {
    if (one_line) {
      page += "<div class=\"c" + QByteArray::number(i % 3000) + "\"><span>\xD2\xE5\xEA\xF1\xF2 " +
              QByteArray::number(i) + "</span></div>";
    } else {
      page += line;
    }
  }
  return page;
}

long PeakKib() { return StatusKib("VmHWM:"); }

// The peak is set back to what the process holds now, which is returned: what follows is
// measured by how far the peak then rises above it.
long ResetPeakKib() {
  QFile clear(QStringLiteral("/proc/self/clear_refs"));
  if (clear.open(QIODevice::WriteOnly)) clear.write("5");
  clear.close();
  return StatusKib("VmRSS:");
}

void Show(QWidget& widget) {
  widget.resize(900, 700);
  widget.show();
  widget.grab();  // lays out and paints the first screen
}

// Until the program's start-up work is done: the first checks of a large page run on the
// other core for seconds, and what is timed runs on a program at rest.
void WaitForRest() {
  QElapsedTimer settle;
  settle.start();
  for (std::clock_t last = std::clock(); settle.elapsed() < 60000;) {
    QEventLoop slice;  // waits for events without spinning, so the clock sees work only
    QTimer::singleShot(250, &slice, &QEventLoop::quit);
    slice.exec();
    const std::clock_t now = std::clock();
    if (now - last < CLOCKS_PER_SEC / 50) break;  // under 20 ms of CPU in a quarter second
    last = now;
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 3) {
    std::fprintf(stderr, "usage: editor_bench open|plain|sci|save lines|one MIB | type KIB\n");
    return 2;
  }
  const QString mode = args[1];
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("page.htm"));
  if (mode == u"button") {
    // "button NAME MIB": a whole-text button on a page of MIB lines-page through the main
    // window, clicked until painted, against a raw component given the result and painted.
    const QString button = args[2];
    WriteWholeFile(path, MakePage(false, args.value(3, QStringLiteral("50")).toLongLong() << 20));
    PrepareProgramFolder(dir.path());
    QtDesktop desktop;
    Application program(desktop, AppPaths::InFolder(dir.path()));
    program.Start(path);
    MainWindow& main = program.Main();
    main.show();
    WaitForRest();
    main.grab();  // painted once before the click, as the raw components are
    double parts[3] = {};
    const long window_base = ResetPeakKib();
    const double ms = Milliseconds([&] {
      parts[0] = Milliseconds([&] { main.Commands().Button(button)->click(); });
      parts[1] = Milliseconds([] { QApplication::processEvents(); });
      parts[2] = Milliseconds([&] { main.grab(); });
    });
    const long window_peak = PeakKib() - window_base;
    std::printf("click %.0f  events %.0f  paint %.0f | ", parts[0], parts[1], parts[2]);
    const QString result = main.EditorWidget()->text();
    // Raw components given the result: an empty one (setText); one holding the page as the
    // window did, whose setText has to take the page out; and one holding the page that is
    // given the result's UTF-8 and keeps the replacement as one undo step, as the window does.
    main.EditorWidget()->undo();
    const QString page = main.EditorWidget()->text();
    const QByteArray result_utf8 = result.toUtf8();
    struct Raw {
      const char* what;
      bool holds_page;
      bool keeps_undo;
      double ms = 0;
      long peak = 0;
    } raws[] = {{"into an empty one", false, false},
                {"over the page", true, false},
                {"over the page, bytes given, undo kept", true, true}};
    for (Raw& run : raws) {
      QsciScintilla raw;
      Show(raw);
      if (run.holds_page) raw.setText(page);
      const long raw_base = ResetPeakKib();
      run.ms = Milliseconds([&] {
        if (run.keeps_undo) {
          raw.SendScintilla(QsciScintilla::SCI_SETTEXT, result_utf8.constData());
        } else {
          raw.setText(result);
        }
        raw.grab();
      });
      run.peak = PeakKib() - raw_base;
    }
    std::printf("%s: window %.1f ms, +%ld MiB\n", qPrintable(button), ms, window_peak / 1024);
    for (const Raw& run : raws) {
      std::printf(
          "  raw setText + paint %s: %.1f ms, +%ld MiB; window/raw: time %.2f, memory %.2f\n",
          run.what, run.ms, run.peak / 1024, ms / run.ms, double(window_peak) / double(run.peak));
    }
    return 0;
  }
  if (mode == u"type-window") {
    // "type-window KIB one": the same keys through the whole program's main window.
    const qsizetype kib = args[2].toLongLong();
    WriteWholeFile(path, MakePage(args.value(3) == u"one", kib << 10));
    PrepareProgramFolder(dir.path());
    QtDesktop desktop;
    Application program(desktop, AppPaths::InFolder(dir.path()));
    program.Start(path);
    MainWindow& main = program.Main();
    main.resize(1000, 740);
    main.show();
    // After the page kind, "plain": with View > HTML colours off; "start": typing at the
    // page's start, so each key has the whole page after it.
    if (args.contains(u"plain"))
      main.Commands().MenuItemOf(Command::kHighlighting)->setChecked(false);
    const bool at_start = args.contains(u"start");
    CodeEditor* edit = main.EditorWidget();
    edit->SendScintilla(at_start ? QsciScintilla::SCI_DOCUMENTSTART
                                 : QsciScintilla::SCI_DOCUMENTEND);
    WaitForRest();
    main.grab();  // the page as the user sees it before the first key, painted once
    auto type_one = [&] {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
      QApplication::sendEvent(edit, &press);
      QApplication::processEvents();
      main.grab();  // paints the window as the screen would
    };
    const double first = Milliseconds(type_one);
    const double ms = Milliseconds([&] {
      for (int i = 0; i < 5; ++i) type_one();
    });
    std::printf("window at the %s of %6lld KiB: first key %.3f ms, then %.3f ms a key\n",
                at_start ? "start" : "end", static_cast<long long>(kib), first, ms / 5);
    return 0;
  }
  if (mode == u"type" || mode == u"type-raw") {
    const qsizetype kib = args[2].toLongLong();
    // "type KIB one [wrap]": a page of one line, wrapped on screen or not.
    const bool one = args.value(3) == u"one";
    const bool wrap = args.value(4) == u"wrap";
    WriteWholeFile(path, MakePage(one, kib << 10));
    const QByteArray bytes = ReadWholeFile(path, kPageCap).bytes;
    const TextFormat format = DetectTextFormat(bytes);
    std::unique_ptr<QsciScintilla> edit;
    if (mode == u"type") {
      auto ours = std::make_unique<CodeEditor>();
      // The program's editor font.
      QFont font;
      font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
      font.setPixelSize(13);
      font.setBold(true);
      ours->SetEditorFont(font);
      ours->FitMeasureCache(one ? bytes.size() : 0);  // as the program does for the page
      ours->Model().LoadBuffer(EditorBytes(bytes, format), format.line_end);
      edit = std::move(ours);
    } else {
      // The component alone, its per-edit reports off as ours are.
      edit = std::make_unique<QsciScintilla>();
      edit->SendScintilla(QsciScintilla::SCI_SETMODEVENTMASK, 0);
      edit->setText(DecodeText(bytes, format));
    }
    if (wrap) edit->setWrapMode(QsciScintilla::WrapCharacter);
    Show(*edit);
    edit->SendScintilla(QsciScintilla::SCI_DOCUMENTEND);
    auto type_one = [&] {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
      QApplication::sendEvent(edit.get(), &press);
      edit->viewport()->grab();  // paints as the screen would: styles and draws the line
    };
    const double first = Milliseconds(type_one);
    const int keys = one ? 5 : 200;
    const double ms = Milliseconds([&] {
      for (int i = 0; i < keys; ++i) type_one();
    });
    std::printf("%-8s at the end of %6lld KiB: first key %.3f ms, then %.3f ms a key\n",
                qPrintable(mode), static_cast<long long>(kib), first, ms / keys);
    return 0;
  }
  const bool one_line = args[2] == u"one";
  const qsizetype mib = args.value(3, QStringLiteral("50")).toLongLong();
  WriteWholeFile(path, MakePage(one_line, mib << 20));

  double ms = 0;
  double save_ms = 0;
  if (mode == u"plain") {
    QPlainTextEdit edit;
    ms = Milliseconds([&] {
      const QByteArray bytes = ReadWholeFile(path, kPageCap).bytes;
      edit.setPlainText(DecodeText(bytes, DetectTextFormat(bytes)));
      Show(edit);
    });
  } else if (mode == u"sci") {
    QsciScintilla edit;
    ms = Milliseconds([&] {
      const QByteArray bytes = ReadWholeFile(path, kPageCap).bytes;
      edit.setText(DecodeText(bytes, DetectTextFormat(bytes)));
      Show(edit);
    });
  } else {
    CodeEditor edit;
    TextFormat format;
    double parts[6] = {};
    ms = Milliseconds([&] {
      QByteArray bytes;
      QByteArray utf8;
      parts[0] = Milliseconds([&] { bytes = ReadWholeFile(path, kPageCap).bytes; });
      parts[1] = Milliseconds([&] { format = DetectTextFormat(bytes); });
      parts[2] = Milliseconds([&] { PageTitleOfFile(bytes, format); });
      parts[3] = Milliseconds([&] { utf8 = EditorBytes(bytes, format); });
      parts[4] = Milliseconds([&] {
        edit.FitMeasureCache(one_line ? utf8.size() : 0);  // as the program does for the page
        edit.Model().LoadBuffer(utf8, format.line_end);
      });
      parts[5] = Milliseconds([&] { Show(edit); });
    });
    std::printf("read %.0f detect %.0f title %.0f convert %.0f load %.0f paint %.0f | ", parts[0],
                parts[1], parts[2], parts[3], parts[4], parts[5]);
    if (mode == u"save") {
      edit.Model().Select(0, 0);
      edit.Model().ReplaceSelection(QStringLiteral("x"));
      save_ms =
          Milliseconds([&] { WriteWholeFile(path, FileBytes(edit.Model().Buffer(), format)); });
    }
  }
  std::printf("%-5s %-5s %3lld MiB: %8.1f ms", qPrintable(mode), one_line ? "one" : "lines",
              static_cast<long long>(mib), ms);
  if (mode == u"save") std::printf("  save %7.1f ms", save_ms);
  std::printf("  peak %ld MiB\n", PeakKib() / 1024);
  return 0;
}
