// Times the edits generators make on the editor, and saving a large page against `cp`.
// Build: cmake --build build/release --target editing_bench
#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#include "bench_util.h"
#include "document/editor_model.h"
#include "document/new_page.h"
#include "document/text_helpers.h"
#include "editor/code_editor.h"
#include "generators/markup.h"
#include "platform/file_write.h"
#include "platform/text_format.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  CodeEditor edit;
  EditorModel& editor = edit.Model();

  editor.LoadText(QStringLiteral("<html>\n<body>\n</body>\n</html>"));
  TableFields table;
  table.rows = 99;
  table.columns = 99;
  const double t_table = Milliseconds([&] { insertlines(editor, TableLines(table)); });
  std::printf("99 x 99 table (%d lines)       %8.1f ms\n", editor.LineCount() - 4, t_table);

  QString text;
  const QString line = QStringLiteral("<p>Some text of a page with a word to replace</p>\n");
  while (text.size() < (50 << 20)) text += line;
  const double load = Milliseconds([&] { editor.LoadText(text); });
  const double replace = Milliseconds([&] {
    const QStringList lines = editor.Lines();
    editor.ApplyLines(
        lines, ReplaceFirstInEveryLine(lines, QStringLiteral("word"), QStringLiteral("WORD")));
  });
  std::printf("50 MiB load            %8.1f ms\n", load);
  std::printf("50 MiB line replace, all lines %8.1f ms  ratio %.2f\n", replace, replace / load);

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("big.htm"));
  const double save =
      Milliseconds([&] { WriteWholeFile(path, FileBytes(editor.Buffer(), TextFormat{})); });
  const double cp = Milliseconds([&] {
    QProcess::execute(QStringLiteral("cp"), {path, dir.filePath(QStringLiteral("copy.htm"))});
  });
  std::printf("50 MiB save                    %8.1f ms  cp %7.1f ms  ratio %.2f\n", save, cp,
              save / cp);
  return 0;
}
