#include <fcntl.h>
#include <unistd.h>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "support/files.h"

namespace {

QByteArray Read(const QString& path) { return ReadBytes(path); }
void Write(const QString& path, const QByteArray& bytes) { QVERIFY(WriteBytesTo(path, bytes)); }

}  // namespace

// brindlemark-batch run as a process, as scripts run it.
class BatchCliTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(dir_->path()).mkdir("site"));
    Write(Site("a.htm"), "<p>old</p>\r\n");
    Write(Site("b.html"), "<p>old</p>\n");
    Write(Site("c.txt"), "old\r\n");
  }

  void ExitStatus_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addRow("help") << QStringList{"--help"} << 0;
    QTest::addRow("unknown command") << QStringList{"frobnicate", "x"} << 2;
    QTest::addRow("unknown option") << QStringList{"tidy", "--bogus", "x"} << 2;
    QTest::addRow("missing value") << QStringList{"replace-text", "--find"} << 2;
    QTest::addRow("missing path") << QStringList{"replace-text", "--find", "a", "--replace", "b"}
                                  << 2;
    QTest::addRow("nothing to undo") << QStringList{"undo"} << 0;
    QTest::addRow("undo with a path") << QStringList{"undo", "site"} << 2;
    QTest::addRow("short help") << QStringList{"-h"} << 0;
    QTest::addRow("version") << QStringList{"--version"} << 0;
    QTest::addRow("series too long")
        << QStringList{"series", "--page", "p",     "--line",   "1", "--from",
                       "1",      "--to",   "10001", "--folder", "f"}
        << 2;
    QTest::addRow("series line 0")
        << QStringList{"series", "--page", "p", "--line",   "0", "--from",
                       "1",      "--to",   "2", "--folder", "f"}
        << 2;
  }
  void ExitStatus() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QCOMPARE(Run(arguments), status);
  }

  void ReplaceDryRunThenRunThenUndo() {
    QCOMPARE(Run({"replace-text", "--find", "old", "--replace", "new", "--dry-run", Site()}), 0);
    QVERIFY(output_.contains("would change"));
    QCOMPARE(Read(Site("a.htm")), QByteArray("<p>old</p>\r\n"));
    QCOMPARE(Run({"replace-text", "--find", "old", "--replace", "new", Site()}), 0);
    QCOMPARE(Read(Site("a.htm")), QByteArray("<p>new</p>\r\n"));
    QCOMPARE(Read(Site("b.html")), QByteArray("<p>new</p>\n"));
    QCOMPARE(Read(Site("c.txt")), QByteArray("old\r\n"));  // not in the mask
    QVERIFY(output_.contains("changed: 2"));
    QCOMPARE(Run({"undo"}), 0);
    QCOMPARE(Read(Site("a.htm")), QByteArray("<p>old</p>\r\n"));
    QCOMPARE(Read(Site("b.html")), QByteArray("<p>old</p>\n"));
  }

  void AFailedFileGivesStatusOne() {
    // A file that reads but cannot be replaced, whatever the user's rights.
    const QString unwritable = "/proc/version";
    if (!QFile::exists(unwritable)) QSKIP("no /proc");
    QCOMPARE(Run({"replace-text", "--find", "Linux", "--replace", "X", Site("a.htm"), unwritable}),
             1);
    QVERIFY(errors_.contains(unwritable));
  }

  // Both programs answer --help and --version without a display, and refuse an unknown
  // option with the usage on standard error.
  void HelpAndVersion_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("status");
    for (const char* option : {"-h", "--help"}) {
      QTest::addRow("editor %s", option)
          << BM_EDITOR_EXECUTABLE << option << "Usage: brindlemark" << 0;
      QTest::addRow("batch %s", option)
          << BM_BATCH_EXECUTABLE << option << "Usage: brindlemark-batch" << 0;
    }
    QTest::addRow("editor version") << BM_EDITOR_EXECUTABLE << "--version"
                                    << "brindlemark " BM_VERSION << 0;
    QTest::addRow("batch version") << BM_BATCH_EXECUTABLE << "--version"
                                   << "brindlemark-batch " BM_VERSION << 0;
    QTest::addRow("editor unknown option") << BM_EDITOR_EXECUTABLE << "--bogus"
                                           << "brindlemark: unknown option --bogus" << 2;
  }
  void HelpAndVersion() {
    QFETCH(QString, program);
    QFETCH(QString, option);
    QFETCH(QString, expected);
    QFETCH(int, status);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.insert("QT_QPA_PLATFORM", "xcb");  // would fail if a window were made
    process.setProcessEnvironment(environment);
    process.start(program, {option});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), status);
    const QByteArray said =
        status == 0 ? process.readAllStandardOutput() : process.readAllStandardError();
    QVERIFY(QString::fromUtf8(said).startsWith(expected));
  }

  void UndoDryRunThenUndo() {
    QCOMPARE(Run({"replace-text", "--find", "old", "--replace", "new", Site()}), 0);
    QCOMPARE(Run({"undo", "--dry-run"}), 0);
    QVERIFY(output_.contains("would restore " + Site("a.htm")));
    QCOMPARE(Read(Site("a.htm")), QByteArray("<p>new</p>\r\n"));
    QCOMPARE(Run({"undo"}), 0);
    QCOMPARE(Read(Site("a.htm")), QByteArray("<p>old</p>\r\n"));
    // A file edited since the run is left alone: a partial undo is a failure, named.
    QCOMPARE(Run({"replace-text", "--find", "old", "--replace", "new", Site()}), 0);
    Write(Site("b.html"), "by hand\n");
    QCOMPARE(Run({"undo"}), 1);
    QVERIFY2(errors_.contains("not restored: " + Site("b.html")), qPrintable(errors_));
    QCOMPARE(Read(Site("a.htm")), QByteArray("<p>old</p>\r\n"));
  }

  // "--" ends the options; a control character in a name is printed escaped; subfolders
  // only when asked, named by their path.
  void NamesAndSubfolders() {
    QVERIFY(QDir(Site()).mkdir("sub"));
    Write(Site("sub/--odd\nname.htm"), "<p>old</p>\n");
    QCOMPARE(Run({"replace-text", "--find", "old", "--replace", "new", Site()}), 0);
    QVERIFY(!output_.contains("sub/"));
    QCOMPARE(Run({"replace-text", "--find", "old", "--replace", "x", "--recursive", "--", Site()}),
             0);
    QVERIFY2(output_.contains("sub/--odd\\nname.htm"), qPrintable(output_));
    QCOMPARE(Read(Site("sub/--odd\nname.htm")), QByteArray("<p>x</p>\n"));
    // A name that is not UTF-8 is reported, not skipped in silence.
    const QByteArray raw = QFile::encodeName(Site()) + "/caf\xE9.htm";
    QCOMPARE(::close(::open(raw.constData(), O_CREAT | O_WRONLY, 0644)), 0);
    QCOMPARE(Run({"tidy", Site()}), 1);
    QVERIFY2(errors_.contains("caf\\xE9.htm"), qPrintable(errors_));
    ::unlink(raw.constData());  // QTemporaryDir cannot remove a name it cannot decode
  }

  // The line to vary counts from 1; an existing page is reported as replaced.
  void SeriesCountsLinesFromOne() {
    Write(Site("page.htm"), "<p>keep</p>\n<img>\n");
    Write(Site("s01.htm"), "there before\n");
    QCOMPARE(Run({"series", "--page", Site("page.htm"), "--line", "2", "--from", "1", "--to", "2",
                  "--digits", "2", "--base", "s", "--folder", Site()}),
             0);
    QCOMPARE(Read(Site("s02.htm")), QByteArray("<p>keep</p>\n<img src=\"02.jpg\">\n"));
    QVERIFY(output_.contains("replaced existing file " + Site("s01.htm")));
  }

  // Every file of a rename is named: old -> new, or left alone with the reason.
  void RenameReportsEveryFile() {
    for (const char* name : {"a.jpg", "b.jpg", "02.jpg"}) Write(Site(name), "jpg");
    QCOMPARE(Run({"rename", "--dry-run", Site()}), 0);
    QVERIFY2(output_.contains("would rename 02.jpg -> 01.jpg"), qPrintable(output_));
    QCOMPARE(Run({"rename", "--keep-name", Site()}), 0);
    QVERIFY2(output_.contains("left alone a.jpg: the name stays the same"), qPrintable(output_));
    QCOMPARE(Run({"rename", Site()}), 0);
    QVERIFY(output_.contains("renamed b.jpg -> 03.jpg"));
  }

  void IndexWithoutMarkerFails() {
    Write(Site("t.pat"), "<html>\nno marker\n</html>\n");
    QCOMPARE(Run({"index", "--template", Site("t.pat"), "--output", Site("i.htm"), Site()}), 1);
    QVERIFY(errors_.contains(Site("t.pat")) && errors_.contains("<,,pattern,,>"));
  }

  void ToTextWritesBesideThePageUnlessInPlace() {
    QCOMPARE(Run({"to-text", Site("a.htm")}), 0);
    QCOMPARE(Read(Site("a.txt")), QByteArray("old\r\n"));
    QCOMPARE(Read(Site("a.htm")), QByteArray("<p>old</p>\r\n"));
    QCOMPARE(Run({"to-text", "--in-place", Site("a.htm")}), 0);
    QCOMPARE(Read(Site("a.htm")), QByteArray("old\r\n"));
  }

  void ConvertsTextToHtmlBesideTheSource() {
    QCOMPARE(Run({"to-html", "--other-extension", "--mask", "*.txt", Site()}), 0);
    QCOMPARE(Read(Site("c.htm")), QByteArray("<html>\r\nold<p>\r\n</html>\r\n"));
    QCOMPARE(Read(Site("c.txt")), QByteArray("old\r\n"));
  }

 private:
  QString Site(const QString& name = QString()) const {
    return dir_->filePath("site") + (name.isEmpty() ? QString() : "/" + name);
  }
  int Run(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", dir_->filePath("data"));
    process.setProcessEnvironment(environment);
    process.start(BM_BATCH_EXECUTABLE, arguments);
    if (!process.waitForFinished(60000)) return -1;
    output_ = QString::fromUtf8(process.readAllStandardOutput());
    errors_ = QString::fromUtf8(process.readAllStandardError());
    return process.exitCode();
  }

  std::unique_ptr<QTemporaryDir> dir_;
  QString output_;
  QString errors_;
};

QTEST_GUILESS_MAIN(BatchCliTest)
#include "batch_cli_test.moc"
