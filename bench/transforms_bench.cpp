// Times the whole-text transforms on the editor (one undo step) against a raw QScintilla
// setText of the same result, and the transform alone on the editor's UTF-8 lines.
// Build: cmake --build build/release --target transforms_bench
#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <algorithm>
#include <cstdio>

#include "bench_util.h"
#include "document/editor_model.h"
#include "document/transforms.h"
#include "editor/code_editor.h"
#include "generators/table.h"

namespace {

QString MakeDocument(qsizetype bytes) {
  const QString paragraph = QStringLiteral(
      "  <p>Some   text of a <b>page</b> &nbsp; with   spaces &lt;here&gt;  \n"
      "a second line of the same paragraph, a little longer than the first one\n"
      "\n");
  QString text;
  text.reserve(bytes + paragraph.size());
  while (text.size() < bytes) text += paragraph;
  return text;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const std::pair<const char*, Utf8LineTransform> transforms[] = {{"TextToHtml", &TextToHtml},
                                                                  {"HtmlToText", &HtmlToText},
                                                                  {"CompressText", &CompressText},
                                                                  {"QuickTable", &QuickTableLines}};
  for (qsizetype megabytes : {1, 50}) {
    const QString text = MakeDocument(megabytes << 20);
    for (const auto& [name, transform] : transforms) {
      // The best of three runs of each, as a machine's noise only ever adds time.
      double pure = 1e12, whole = 1e12, raw_set = 1e12;
      for (int run = 0; run < 3; ++run) {
        CodeEditor edit;
        EditorModel& editor = edit.Model();
        editor.LoadText(text, LineEnd::kCrLf);
        Utf8LineWriter out("\r\n");
        pure =
            std::min(pure, Milliseconds([&] { transform(SplitUtf8Lines(editor.Buffer()), out); }));
        whole = std::min(whole, Milliseconds([&] { editor.TransformLines(transform); }));
        QsciScintilla raw;
        const QString result = editor.Text();
        raw_set = std::min(raw_set, Milliseconds([&] { raw.setText(result); }));
      }
      std::printf(
          "%3lld MB  %-12s transform %7.1f  whole edit %7.1f ms | raw setText %7.1f ms  "
          "ratio %.2f\n",
          static_cast<long long>(megabytes), name, pure, whole, raw_set, whole / raw_set);
    }
  }
  return 0;
}
