#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "html/html_format.h"
#include "html/html_tokens.h"

// The formatter: block elements on lines of their own, indented, and nothing a browser shows
// changed: the page read again gives the same elements and the same text (whitespace between
// blocks aside); formatting twice gives the bytes of once; an unsafe page is left alone.
class HtmlFormatTest : public QObject {
  Q_OBJECT

 private slots:
  void KeepsWhatTheBrowserShows_data();
  void KeepsWhatTheBrowserShows();
  void LeavesUnsafePagesAlone_data();
  void LeavesUnsafePagesAlone();
  void CommandLineKeepsLineEndsAndUndoes();
};

namespace {

// The page as a browser's tokenizer reads it: tags with their attributes as written, text
// with its whitespace runs collapsed; whitespace alone between tags dropped.
QStringList Read(const QByteArray& page) {
  QStringList tokens;
  HtmlTokenizer tokenizer(page);
  HtmlToken token;
  static const QRegularExpression space("\\s+");
  while (tokenizer.Next(token)) {
    const QByteArray bytes = page.mid(token.start, token.end - token.start);
    if (token.kind == HtmlToken::Kind::kText && !token.raw) {
      const QString text = QString::fromUtf8(bytes).replace(space, " ").trimmed();
      if (!text.isEmpty()) tokens << "text:" + text;
    } else {
      tokens << QString::fromUtf8(bytes);
    }
  }
  return tokens;
}

}  // namespace

void HtmlFormatTest::KeepsWhatTheBrowserShows_data() {
  QTest::addColumn<QByteArray>("page");
  QTest::addColumn<QByteArray>("formatted");  // empty: only the properties are checked
  QTest::addRow("nested blocks, inline kept on one line")
      << QByteArray(
             "<!DOCTYPE html><html><head><title>T  x</title></head><body><div><p>Some "
             "<b>bold</b>  text</p><ul><li>one<li>two</ul></div></body></html>\n")
      << QByteArray(
             "<!DOCTYPE html>\n<html>\n  <head>\n    <title>T  x</title>\n  </head>\n"
             "  <body>\n    <div>\n      <p>Some <b>bold</b>  text</p>\n      <ul>\n"
             "        <li>\n          one\n        <li>\n          two\n      </ul>\n"
             "    </div>\n  </body>\n</html>\n");
  QTest::addRow("pre, textarea, script, style and comments keep every byte")
      << QByteArray(
             "<div><pre>\n  a  <b>b</b>\n</pre><p>x <textarea>\n q\n</textarea> y</p>"
             "<script>if (a < b) {\n}</script><style>p {\n}</style><!-- a\n  note --></div>")
      << QByteArray();
  QTest::addRow("template markers and conditional comments")
      << QByteArray(
             "<body>\r\n<p><,,pattern,,></p>\r\n<!--[if IE]><p>old</p><![endif]-->\r\n</body>\r\n")
      << QByteArray();
  QTest::addRow("unknown elements are inline")
      << QByteArray("<div><my-card>a</my-card> <span>b</span></div>")
      << QByteArray("<div><my-card>a</my-card> <span>b</span></div>");
}

void HtmlFormatTest::KeepsWhatTheBrowserShows() {
  QFETCH(QByteArray, page);
  QFETCH(QByteArray, formatted);
  const FormatOutcome once = FormatHtml(page, "\n");
  QCOMPARE(once.problem, QString());
  if (!formatted.isEmpty()) QCOMPARE(once.bytes, formatted);
  QCOMPARE(Read(once.bytes), Read(page));
  QCOMPARE(FormatHtml(once.bytes, "\n").bytes, once.bytes);
}

void HtmlFormatTest::LeavesUnsafePagesAlone_data() {
  QTest::addColumn<QByteArray>("page");
  QTest::addRow("an unclosed pre") << QByteArray("<div><pre>a\n  b</div>");
  QTest::addRow("a stray '<' in text") << QByteArray("<div><p>a < b</p></div>");
}

void HtmlFormatTest::LeavesUnsafePagesAlone() {
  QFETCH(QByteArray, page);
  const FormatOutcome outcome = FormatHtml(page, "\n");
  QVERIFY(!outcome.problem.isEmpty());
  QCOMPARE(outcome.bytes, page);
}

void HtmlFormatTest::CommandLineKeepsLineEndsAndUndoes() {
  QTemporaryDir dir;
  const QByteArray page = "\xEF\xBB\xBF<div><p>\xD0\xAF</p></div>\r\n";
  QFile file(dir.filePath("page.htm"));
  QVERIFY(file.open(QIODevice::WriteOnly) && file.write(page) == page.size());
  file.close();
  QProcess process;
  process.setEnvironment(QProcess::systemEnvironment() << "XDG_DATA_HOME=" + dir.filePath("data"));
  const auto run = [&](const QStringList& arguments) {
    process.start(BM_BATCH_EXECUTABLE, arguments);
    return process.waitForFinished() ? process.exitCode() : -1;
  };
  const auto read = [&] {
    QFile again(dir.filePath("page.htm"));
    return again.open(QIODevice::ReadOnly) ? again.readAll() : QByteArray();
  };
  QCOMPARE(run({"format", "--dry-run", dir.path()}), 0);
  QCOMPARE(read(), page);
  QCOMPARE(run({"format", dir.path()}), 0);
  QCOMPARE(read(), QByteArray("\xEF\xBB\xBF<div>\r\n  <p>\xD0\xAF</p>\r\n</div>\r\n"));
  QCOMPARE(run({"undo"}), 0);
  QCOMPARE(read(), page);
}

QTEST_GUILESS_MAIN(HtmlFormatTest)
#include "html_format_test.moc"
