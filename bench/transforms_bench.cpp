// Times the whole-text transforms on the editor against loading the same text once.
// Build: cmake --build build/release --target transforms_bench
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <cstdio>

#include "bench_util.h"
#include "document/editor_model.h"
#include "document/transforms.h"
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
  QPlainTextEdit edit;
  EditorModel editor(edit.document());
  editor.AttachCursor([&] { return edit.textCursor(); },
                      [&](const QTextCursor& c) { edit.setTextCursor(c); });
  const std::pair<const char*, QStringList (*)(const QStringList&)> transforms[] = {
      {"TextToHtml", &TextToHtml},
      {"HtmlToText", &HtmlToText},
      {"CompressText", &CompressText},
      {"QuickTable", &QuickTableLines}};
  for (qsizetype megabytes : {1, 50}) {
    const QString text = MakeDocument(megabytes << 20);
    const double load = Milliseconds([&] { edit.setPlainText(text); });
    std::printf("%3lld MB  setPlainText        %9.1f ms\n", static_cast<long long>(megabytes),
                load);
    for (const auto& [name, transform] : transforms) {
      edit.setPlainText(text);
      const double pure = Milliseconds([&] { transform(editor.Lines()); });
      const double whole = Milliseconds([&] {
        const QStringList lines = editor.Lines();
        editor.ApplyLines(lines, transform(lines));
      });
      std::printf("%3lld MB  %-20s %9.1f ms (pure %7.1f ms)  ratio to load %.2f\n",
                  static_cast<long long>(megabytes), name, whole, pure, whole / load);
    }
  }
  return 0;
}
