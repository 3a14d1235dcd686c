#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "document/site_check.h"
#include "document/site_links.h"

// Moving pages and folders of the test site with `move`: every link still leads where it
// led, in pages above, below and beside; fragments and queries stay; a dry run and a
// refused move write nothing; undo brings back every name and byte.
class MoveTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void LinksFollow_data();
  void LinksFollow();
  void DryRunAndRefusalWriteNothing();
  void NothingOutsideTheRootIsMovedOrWritten();

 private:
  // Runs brindlemark-batch in the site; its exit status.
  int Batch(const QStringList& arguments, QString* out = nullptr);
  QString Site() const { return dir_->filePath("site"); }
  std::unique_ptr<QTemporaryDir> dir_;
};

namespace {

QMap<QString, QByteArray> Tree(const QString& root) {
  QMap<QString, QByteArray> tree;
  for (QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
       it.hasNext();) {
    QFile file(it.next());
    if (file.open(QIODevice::ReadOnly))
      tree.insert(QDir(root).relativeFilePath(file.fileName()), file.readAll());
  }
  return tree;
}

QStringList Folders(const QString& root) {
  QStringList folders;
  for (QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
       it.hasNext();) {
    folders << QDir(root).relativeFilePath(it.next());
  }
  folders.sort();
  return folders;
}

// Each page's link problems by kind, the moved names mapped back: a move keeps them all.
QStringList LinkKinds(const QString& root, const QString& to, const QString& from) {
  SiteCheckRequest request;
  for (const QString& path : Tree(root).keys()) {
    if (IsPagePath(path)) request.files.append(QDir(root).filePath(path));
  }
  request.checks.html = request.checks.spelling = false;
  request.links = true;
  request.root_of = [root](const QString&) { return root; };
  QStringList kinds;
  for (const auto& [path, problem] : CheckSite(request).problems) {
    QString page = QDir(root).relativeFilePath(path);
    if (page == to || page.startsWith(to + '/')) page = from + page.sliced(to.size());
    kinds << page + ' ' + problem.kind;
  }
  kinds.sort();
  return kinds;
}

}  // namespace

void MoveTest::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  qputenv("XDG_DATA_HOME", dir_->filePath("data").toUtf8());
  QVERIFY(QProcess::execute("cp", {"-r", BM_TEST_DATA "/site", Site()}) == 0);
  // Its planted letter-case fault would turn into a missing file when docs moves.
  QVERIFY(QFile::remove(Site() + "/broken.html"));
}

int MoveTest::Batch(const QStringList& arguments, QString* out) {
  QProcess process;
  process.setWorkingDirectory(Site());
  process.start(BM_BATCH_EXECUTABLE, arguments);
  process.waitForFinished();
  if (out)
    *out = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
  return process.exitCode();
}

void MoveTest::LinksFollow_data() {
  QTest::addColumn<QString>("from");
  QTest::addColumn<QString>("to");
  QTest::addColumn<QString>("kept");  // a link as the page must hold it afterwards
  QTest::addRow("a page down a level") << "about.html"
                                       << "team/about-us.html"
                                       << "index.html:href=\"team/about-us.html#team\"";
  QTest::addRow("a page up a level") << "docs/guide.html"
                                     << "guide.html"
                                     << "index.html:href=\"/guide.html?x=1#intro\"";
  QTest::addRow("a folder deeper") << "docs"
                                   << "help/manual"
                                   << "sub/base.html:<base href=\"../help/manual/\">";
  QTest::addRow("a picture, its srcset and CSS") << "img"
                                                 << "pictures"
                                                 << "index.html:url('pictures/bg.png')";
  // Names whose letters mean something in an address are escaped in every link.
  QTest::addRow("a name with a percent sign") << "about.html"
                                 << "a%41.html"
                                 << "index.html:href=\"a%2541.html#team\"";
  QTest::addRow("a name with #") << "about.html"
                                 << "x#1.html"
                                 << "index.html:href=\"x%231.html#team\"";
  QTest::addRow("a name with a quote") << "about.html"
                                       << "it's.html"
                                       << "index.html:href=\"it%27s.html#team\"";
  QTest::addRow("a name with &") << "about.html"
                                 << "a&copy.html"
                                 << "index.html:href=\"a%26copy.html#team\"";
  QTest::addRow("a page with a space") << "my page.html"
                                       << "sub/space.html"
                                       << "sub/space.html:href=\"../index.html#top\"";
}

void MoveTest::LinksFollow() {
  QFETCH(QString, from);
  QFETCH(QString, to);
  QFETCH(QString, kept);
  const QMap<QString, QByteArray> before = Tree(Site());
  const QStringList folders = Folders(Site());
  const QStringList kinds = LinkKinds(Site(), from, from);
  QString out;
  QCOMPARE(Batch({"move", from, to}, &out), 0);
  QVERIFY2(!QFileInfo::exists(Site() + '/' + from) && QFileInfo::exists(Site() + '/' + to),
           qPrintable(out));
  QCOMPARE(LinkKinds(Site(), to, from), kinds);
  QVERIFY2(Tree(Site()).value(kept.section(':', 0, 0)).contains(kept.section(':', 1).toUtf8()),
           qPrintable(kept));
  // Pages with nothing to change are not written.
  QCOMPARE(Tree(Site()).value("lonely.html"), before.value("lonely.html"));
  QCOMPARE(Batch({"undo"}), 0);
  QCOMPARE(Tree(Site()), before);
  QCOMPARE(Folders(Site()), folders);  // a folder the move made goes with it
}

void MoveTest::DryRunAndRefusalWriteNothing() {
  const QMap<QString, QByteArray> before = Tree(Site());
  QString out;
  QCOMPARE(Batch({"move", "--dry-run", "about.html", "team/about.html"}, &out), 0);
  QVERIFY(out.contains("would change"));
  QVERIFY2(out.contains("/about.html -> " + Site() + "/team/about.html"), qPrintable(out));
  QCOMPARE(Batch({"move", "about.html", "index.html"}, &out), 1);
  QVERIFY(out.contains("index.html"));
  QCOMPARE(Batch({"move", "about.html", "../outside.html"}, &out), 1);
  QCOMPARE(Tree(Site()), before);
}

void MoveTest::NothingOutsideTheRootIsMovedOrWritten() {
  const QString outside = dir_->filePath("outside");
  QVERIFY(QDir().mkpath(outside));
  QFile page(outside + "/far.html");
  QVERIFY(page.open(QIODevice::WriteOnly) && page.write("<a href=\"about.html\">x</a>") > 0);
  page.close();
  QVERIFY(QFile::link(outside, Site() + "/linked"));
  QVERIFY(QFile::link(outside + "/far.html", Site() + "/far-link.html"));
  const QMap<QString, QByteArray> before = Tree(Site());
  QString out;
  // Out of the root through the linked folder, or into it: refused.
  QCOMPARE(Batch({"move", "linked/far.html", "near.html"}, &out), 1);
  QVERIFY2(out.contains("outside the site's root"), qPrintable(out));
  QCOMPARE(Batch({"move", "about.html", "linked/about.html"}, &out), 1);
  QVERIFY(QFileInfo::exists(outside + "/far.html") && !QFileInfo::exists(outside + "/about.html"));
  // A page that is a link to a file outside is reported, never written through.
  QCOMPARE(Batch({"move", "about.html", "about-us.html"}, &out), 0);
  QVERIFY2(out.contains("far-link.html"), qPrintable(out));
  QCOMPARE(Tree(outside).value("far.html"), QByteArray("<a href=\"about.html\">x</a>"));
  QCOMPARE(Batch({"undo"}), 0);
  QCOMPARE(Tree(Site()), before);
  // A link moved is the link; undo puts the link back.
  QCOMPARE(Batch({"move", "far-link.html", "docs/far-link.html"}, &out), 0);
  QVERIFY(QFileInfo(Site() + "/docs/far-link.html").isSymLink());
  QCOMPARE(Batch({"undo"}, &out), 0);
  QVERIFY2(QFileInfo(Site() + "/far-link.html").isSymLink(), qPrintable(out));
  QVERIFY(QFileInfo::exists(outside + "/far.html"));
}

QTEST_GUILESS_MAIN(MoveTest)
#include "move_test.moc"
