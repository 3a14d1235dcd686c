// Times opening a 50 MiB page in the editor with HTML colours and without: the text is
// loaded and the first screen painted, as the main window shows a page.
// Build: cmake --build build/release --target highlight_bench
#include <QApplication>
#include <cstdio>

#include "bench_util.h"
#include "widgets/code_editor.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QString text;
  const QString line = QStringLiteral(
      "<p class=\"note\">Some <b>text</b> &amp; a <a href=\"page.htm\">link</a></p><!-- c -->\n");
  while (text.size() < (50 << 20)) text += line;
  double times[2] = {0, 0};
  for (int round = 0; round < 2; ++round) {
    // Alternate the order, so that neither kind always runs on a warmer heap.
    const bool order[2][2] = {{false, true}, {true, false}};
    for (bool colours : order[round]) {
      CodeEditor editor;
      editor.resize(900, 700);
      editor.SetHighlighting(colours);
      editor.show();
      times[colours ? 1 : 0] += Milliseconds([&] {
        editor.setPlainText(text);
        editor.grab();
      });
    }
  }
  std::printf("50 MiB open + first paint: plain %.1f ms, with colours %.1f ms, ratio %.3f\n",
              times[0] / 2, times[1] / 2, times[1] / times[0]);
  return 0;
}
