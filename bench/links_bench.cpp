// Times the site check and moving a page through the command line, whole processes in one
// run: `check --links` of a generated 2,000-page site (about 40 local links a page) against
// `linkchecker --no-warnings` on the same site, and `move` of a page every page links to
// against `replace-text` of its name over the same pages (each on a fresh copy, the copy
// not timed). Build: cmake --build build/release --target links_bench (needs linkchecker).
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#include "bench_util.h"

namespace {

constexpr int kPages = 2000;

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

// Page i of the site: in folder i % 20, with links to pages, fragments and pictures.
QByteArray Page(int i) {
  QByteArray page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head><title>Page " +
                    QByteArray::number(i) + "</title></head>\n<body>\n<h1 id=\"top\">Page</h1>\n";
  page += "<p><a href=\"../index.html\">home</a> <a href=\"/d0/p0.html#top\">first</a></p>\n";
  for (int k = 1; k <= 36; ++k) {
    const int j = (i * 7 + k * 13) % kPages;
    page += "<p><a href=\"../d" + QByteArray::number(j % 20) + "/p" + QByteArray::number(j) +
            ".html" + (k % 3 == 0 ? "#top" : "") + "\">page " + QByteArray::number(j) +
            "</a></p>\n";
  }
  page +=
      "<img src=\"../img/a.png\" alt=\"a\"><img src=\"/img/b.png\" alt=\"b\">\n</body>\n</html>\n";
  return page;
}

double Run(const QString& command) {
  return Milliseconds([&] {
    QProcess::execute(QStringLiteral("/bin/sh"),
                      {QStringLiteral("-c"), command + QStringLiteral(" >/dev/null 2>&1")});
  });
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QTemporaryDir dir;
  // linkchecker run as root reads as "nobody" in root's group.
  QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFileDevice::ReadGroup |
                                        QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                        QFileDevice::ExeOther);
  const QString site = dir.filePath(QStringLiteral("site"));
  QDir().mkpath(site + QStringLiteral("/img"));
  Write(site + QStringLiteral("/img/a.png"), "");
  Write(site + QStringLiteral("/img/b.png"), "");
  QByteArray index = "<!DOCTYPE html>\n<html lang=\"en\"><head><title>Home</title></head><body>\n";
  for (int i = 0; i < kPages; ++i) {
    const QString folder = site + QStringLiteral("/d%1").arg(i % 20);
    QDir().mkpath(folder);
    Write(folder + QStringLiteral("/p%1.html").arg(i), Page(i));
    index += "<a href=\"d" + QByteArray::number(i % 20) + "/p" + QByteArray::number(i) +
             ".html\">" + QByteArray::number(i) + "</a>\n";
  }
  Write(site + QStringLiteral("/index.html"), index + "</body></html>\n");
  const QString batch = QStringLiteral(BM_BATCH_EXECUTABLE);
  const double ours = Run(batch + QStringLiteral(" check --links --recursive ") + site);
  const double theirs = Run(QStringLiteral("linkchecker --no-warnings --no-status --threads 2 ") +
                            site + QStringLiteral("/index.html"));
  std::printf("check --links, %d pages: %8.1f ms  linkchecker %8.1f ms  ratio %.3f\n", kPages, ours,
              theirs, ours / theirs);
  // Every page links to /d0/p0.html.
  const auto fresh = [&] {
    QProcess::execute(QStringLiteral("rm"),
                      {QStringLiteral("-rf"), dir.filePath(QStringLiteral("copy"))});
    QProcess::execute(QStringLiteral("cp"),
                      {QStringLiteral("-r"), site, dir.filePath(QStringLiteral("copy"))});
    return dir.filePath(QStringLiteral("copy"));
  };
  QString copy = fresh();
  const double move =
      Run(QStringLiteral("XDG_DATA_HOME=%1/j1 %2 move --root %3 %3/d0/p0.html %3/d0/first.html")
              .arg(dir.path(), batch, copy));
  copy = fresh();
  const double replace =
      Run(QStringLiteral("XDG_DATA_HOME=%1/j2 %2 replace-text --find p0.html --replace first.html "
                         "--mask '*.html' --recursive %3")
              .arg(dir.path(), batch, copy));
  std::printf(
      "move of a page linked from every page: %8.1f ms  replace-text %8.1f ms  ratio %.2f\n", move,
      replace, move / replace);
  return 0;
}
