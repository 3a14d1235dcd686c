// Times opening and saving a large page the way the main window does: read, decode, load
// into the editor, find the title; then take the text back, encode and write.
// Build: cmake --build build/release --target documents_bench
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <cstdio>

#include "bench_util.h"
#include "document/editor_model.h"
#include "document/text_helpers.h"
#include "platform/text_file.h"
#include "platform/text_format.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("big.htm"));
  for (qsizetype megabytes : {1, 50}) {
    const QByteArray line("<p>\xC0\xE1\xE2 some text of a <b>big</b> page &nbsp; here</p>\r\n");
    QByteArray bytes;
    while (bytes.size() < (megabytes << 20)) bytes += line;
    WriteWholeFile(path, bytes);

    QPlainTextEdit edit;
    EditorModel editor(edit.document());
    ReadOutcome read;
    QString text;
    const double t_read = Milliseconds([&] { read = ReadWholeFile(path, kPageCap); });
    const double t_decode = Milliseconds([&] { text = BytesToText(read.bytes); });
    const double t_load = Milliseconds([&] { editor.LoadText(text); });
    const double t_title = Milliseconds([&] { PageTitleOfText(text); });
    QByteArray out;
    const double t_text = Milliseconds([&] { text = editor.Text(); });
    const double t_encode = Milliseconds([&] { out = TextToBytes(text); });
    const double t_write = Milliseconds([&] { WriteWholeFile(path, out); });
    std::printf(
        "%3lld MB  read %7.1f  decode %7.1f  load %8.1f  title %7.1f  |  text %7.1f  encode %7.1f  "
        "write %7.1f ms\n",
        static_cast<long long>(megabytes), t_read, t_decode, t_load, t_title, t_text, t_encode,
        t_write);
  }

  // A minified page of one 10 MB line against 10 MB of ordinary lines: opened as the main
  // window opens it (wrapped on screen when a line is that long) and shown, then saved.
  for (bool one_line : {false, true}) {
    QByteArray bytes;
    const QByteArray piece = "<div class=\"a\"><span>text</span></div>";
    while (bytes.size() < (10 << 20)) bytes += one_line ? piece : piece + "\r\n";
    WriteWholeFile(path, bytes);
    QPlainTextEdit edit;
    edit.resize(800, 600);
    edit.show();
    EditorModel editor(edit.document());
    const double open = Milliseconds([&] {
      const ReadOutcome read = ReadWholeFile(path, kPageCap);
      const TextFormat format = DetectTextFormat(read.bytes);
      const QString text = DecodeText(read.bytes, format);
      if (one_line) {
        edit.setWordWrapMode(QTextOption::WrapAnywhere);
        edit.setLineWrapMode(QPlainTextEdit::WidgetWidth);
      }
      editor.LoadText(text);
      edit.grab();
    });
    const double save =
        Milliseconds([&] { WriteWholeFile(path, EncodeText(editor.Text(), TextFormat{})); });
    std::printf("10 MB %-14s open+paint %7.1f ms  save %7.1f ms\n",
                one_line ? "one line" : "ordinary lines", open, save);
  }
  return 0;
}
