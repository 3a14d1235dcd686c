// Times the HTML check through the command line against tidy, whole processes in one run:
// a 1 MiB page against `tidy -q -e`, and 2,000 pages against a shell loop of `tidy -q -e`.
// Build: cmake --build build/release --target check_bench (needs tidy installed).
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#include "bench_util.h"

namespace {

QByteArray Page(int paragraphs) {
  QByteArray page =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<title>Page</title>\n</head>\n<body>\n";
  for (int i = 0; i < paragraphs; ++i) {
    page +=
        "<div class=\"row\"><p>Some text with <b>bold</b>, <a href=\"a.htm\">a link</a> and "
        "<img src=\"p.png\" alt=\"a picture\"></p></div>\n";
  }
  return page + "<img src=\"x.png\">\n</body>\n</html>\n";
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

double Run(const QString& program, const QStringList& arguments) {
  return Milliseconds([&] { QProcess::execute(program, arguments); });
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QTemporaryDir dir;
  const QString big = dir.filePath(QStringLiteral("big.htm"));
  Write(big, Page(7000));  // about 1 MiB
  QDir().mkpath(dir.filePath(QStringLiteral("site")));
  for (int i = 0; i < 2000; ++i) {
    Write(dir.filePath(QStringLiteral("site/p%1.htm").arg(i)), Page(50));
  }
  const QString batch = QStringLiteral(BM_BATCH_EXECUTABLE);
  // Output to /dev/null in both, so only the work is timed.
  const auto quiet = [](const QString& command) {
    return QStringList{QStringLiteral("-c"), command + QStringLiteral(" >/dev/null 2>&1")};
  };
  const QString sh = QStringLiteral("/bin/sh");
  const double ours = Run(sh, quiet(batch + QStringLiteral(" check --html ") + big));
  const double tidy = Run(sh, quiet(QStringLiteral("tidy -q -e ") + big));
  std::printf("1 MiB page: check %7.1f ms  tidy -q -e %7.1f ms  ratio %.2f\n", ours, tidy,
              ours / tidy);
  const QString site = dir.filePath(QStringLiteral("site"));
  const double ours_site = Run(sh, quiet(batch + QStringLiteral(" check --html ") + site));
  const double tidy_site = Run(sh, quiet(QStringLiteral("for f in ") + site +
                                         QStringLiteral("/*.htm; do tidy -q -e \"$f\"; done")));
  std::printf("2,000 pages: check %7.1f ms  tidy loop %7.1f ms  ratio %.2f\n", ours_site, tidy_site,
              ours_site / tidy_site);
  return 0;
}
