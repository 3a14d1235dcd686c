#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "checks/site_check.h"
#include "document/site.h"
#include "html/page_links.h"

#include <QRandomGenerator>
#include <QUrl>
#include <functional>

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
  void EveryLinkLeadsWhereItLedOverGeneratedSites();

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

namespace {

// Where every link of every page leads (file or folder, and fragment), the pages named by
// where they stood before the move.
QStringList Destinations(const QString& root, const std::function<QString(QString)>& back) {
  Site site(root, SiteOptions{});
  QStringList all;
  for (const auto& [relative, bytes] : Tree(root).toStdMap()) {
    if (!IsPagePath(relative)) continue;
    const QString page = QDir(root).filePath(relative);
    const PageLinks links = ReadPageLinks(bytes);
    for (const PageLink& link : links.links) {
      const LinkTarget target = site.Resolve(page, links.base, link.url);
      QString path = target.kind == LinkTarget::Kind::kLocal ? back(target.path) : link.url;
      // A folder link leads to the folder, however it is written.
      while (path.endsWith('/')) path.chop(1);
      all << back(page) + " -> " + path + '#' + target.fragment;
    }
  }
  all.sort();
  return all;
}

}  // namespace

// Sites made at random (nested folders, <base> in its forms, links with ./, ../, /,
// fragments, queries, srcset, links to folders, names with spaces, %, #, ', & and letters
// beyond ASCII): after a move every link leads where it led, and the move back gives back
// every byte.
void MoveTest::EveryLinkLeadsWhereItLedOverGeneratedSites() {
  const QStringList names = {"a.html",    "my page.html", "50%.html", "x#1.html",
                             "it's.html", "a&b.html",     "été.html", "pic.png"};
  const QStringList folders = {"", "sub/", "sub/deep/", "other/", "sp ace/"};
  int moves = 0;
  for (int seed = 1; seed <= 12; ++seed) {
    QRandomGenerator random{quint32(seed)};
    QTemporaryDir dir;
    const QString root = dir.filePath("site");
    QStringList files;
    for (const QString& folder : folders) {
      for (const QString& name : names) {
        if (random.bounded(3) == 0) files << folder + name;
      }
    }
    files << "index.html"
          << "sub/index.html";
    files.removeDuplicates();
    const auto escaped = [](const QString& path) {
      return QString::fromUtf8(QUrl::toPercentEncoding(path, "/!$()*+,;=:@~é"));
    };
    for (const QString& file : files) {
      QVERIFY(QDir().mkpath(QFileInfo(root + '/' + file).absolutePath()));
      QByteArray page = "<meta charset=utf-8>\n";
      const QString folder = QFileInfo(file).path() == "." ? "" : QFileInfo(file).path() + '/';
      const int base_kind = file.endsWith(".html") ? int(random.bounded(4)) : 0;
      QString start = folder;
      if (base_kind == 1) {
        page += "<base href=\"/" + escaped(folder).toUtf8() + "\">\n";
      } else if (base_kind == 2 && !folder.isEmpty()) {
        page += "<base href=\"../\">\n";
        start = QFileInfo(folder.chopped(1)).path() == "."
                    ? ""
                    : QFileInfo(folder.chopped(1)).path() + '/';
      }
      for (int i = 0; i < 6; ++i) {
        const QString target = random.bounded(5) == 0 ? folders[random.bounded(int(folders.size()))]
                                                      : files[random.bounded(int(files.size()))];
        QString address = QDir(root + '/' + start).relativeFilePath(root + '/' + target);
        if (address == ".") address = "./";
        if (target.endsWith('/') && !address.endsWith('/')) address += '/';
        switch (random.bounded(4)) {
          case 0:
            address = '/' + target;
            break;
          case 1:
            if (!address.startsWith("../")) address = "./" + address;
            break;
          default:
            break;
        }
        QString tail;
        if (random.bounded(3) == 0) tail += "?v=2";
        if (random.bounded(3) == 0) tail += "#part";
        const QByteArray url = escaped(address).toUtf8() + tail.toUtf8();
        page += random.bounded(4) == 0 ? "<img srcset=\"" + url + " 1x, " + url + " 2x\">\n"
                                       : "<a href='" + url + "'>x</a>\n";
      }
      QFile out(root + '/' + file);
      QVERIFY(out.open(QIODevice::WriteOnly) && out.write(page) > 0);
    }
    // What moves: a page or a folder, somewhere else in the site.
    const bool folder_moves = random.bounded(2) == 0;
    const QString from = folder_moves ? QStringList{"sub", "other", "sp ace"}[random.bounded(3)]
                                      : files[random.bounded(int(files.size()) - 2)];
    if (!QFileInfo::exists(root + '/' + from)) continue;
    const QString to = folder_moves ? "moved dir/" + QString::number(seed)
                                    : "new folder/" + QFileInfo(from).fileName();
    const QMap<QString, QByteArray> before = Tree(root);
    const auto same = [](QString path) { return path; };
    const QStringList led = Destinations(root, same);
    QVERIFY(led.size() > 20);
    QProcess process;
    process.setWorkingDirectory(root);
    process.start(BM_BATCH_EXECUTABLE, {"move", "--root", root, from, to});
    QVERIFY(process.waitForFinished());
    const QString said = QString::fromUtf8(process.readAll());
    QVERIFY2(process.exitCode() == 0, qPrintable(said));
    const QString from_path = root + '/' + from;
    const QString to_path = root + '/' + to;
    const auto back = [&](QString path) {
      if (path == to_path) return from_path;
      if (path.startsWith(to_path + '/')) return from_path + path.sliced(to_path.size());
      return path;
    };
    QCOMPARE(Destinations(root, back), led);
    ++moves;
    process.start(BM_BATCH_EXECUTABLE, {"move", "--root", root, to, from});
    QVERIFY(process.waitForFinished());
    QVERIFY2(process.exitCode() == 0, qPrintable(QString::fromUtf8(process.readAll())));
    const QMap<QString, QByteArray> after = Tree(root);
    for (auto it = before.begin(); it != before.end(); ++it) {
      QVERIFY2(after.value(it.key()) == it.value(),
               qPrintable(QString("seed %1, %2 -> %3: %4\n%5\n%6")
                              .arg(seed)
                              .arg(from, to, it.key(), QString::fromUtf8(it.value()),
                                   QString::fromUtf8(after.value(it.key())))));
    }
  }
  QVERIFY(moves >= 8);
}

QTEST_GUILESS_MAIN(MoveTest)
#include "move_test.moc"
