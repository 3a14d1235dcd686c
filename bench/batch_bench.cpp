// Times the batch tools on a generated site of 2,000 Windows-1251 pages (about 50 MB) on
// tmpfs against `sed -i` doing the same job on a copy, and against a plain copy (`cp -r`).
// Build: cmake --build build/release --target batch_bench; run: batch_bench [FOLDER]
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#include <unistd.h>

#include "batch/batch_tools.h"
#include "bench_util.h"
#include "platform/file_write.h"
#include "platform/folder_listing.h"

namespace {

void MakeSite(const QString& folder) {
  QDir().mkpath(folder);
  QByteArray page =
      "<html>\r\n<head><title>\xD1\xF2\xF0\xE0\xED\xE8\xF6\xE0</title></head>\r\n<body>\r\n";
  while (page.size() < 25'000) {
    page +=
        "<p>\xD2\xE5\xEA\xF1\xF2 of the page with a few words and a link <a "
        "href=x.htm>here</a></p>\r\n";
  }
  page += "<!-- footer -->\r\n<p>old footer</p>\r\n</body>\r\n</html>\r\n";
  for (int i = 0; i < 2000; ++i) {
    WriteWholeFile(JoinPath(folder, QStringLiteral("page%1.htm").arg(i, 4, 10, QChar(u'0'))), page);
  }
}

// Times a process, its output thrown away; what an earlier step left to flush is flushed
// first, so that a run on a disk pays only for its own writes.
double Run(const QString& program, const QStringList& arguments) {
  ::sync();
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  return Milliseconds([&] {
    process.start(program, arguments);
    process.waitForFinished(-1);
  });
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  // tmpfs unless a folder is given: on a disk the flushes to it are timed too.
  const QString base = argc > 1                    ? QFile::decodeName(argv[1])
                       : QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm")
                                                   : QDir::tempPath();
  QTemporaryDir dir(base + QStringLiteral("/bm-bench-XXXXXX"));
  const QString master = dir.filePath(QStringLiteral("master"));
  MakeSite(master);
  const QString copy = dir.filePath(QStringLiteral("copy"));
  const QString site = dir.filePath(QStringLiteral("site"));
  const QString journal = dir.filePath(QStringLiteral("journal"));

  struct Job {
    const char* name;
    QStringList sed;  // sed -i arguments doing the same job
    std::function<QList<BatchStep>(const QStringList&)> steps;
  };
  const std::vector<Job> jobs = {
      {"replace-text",
       {QStringLiteral("s/old footer/new footer/")},
       [](const QStringList& files) {
         return ReplaceTextSteps(files, "old footer", "new footer");
       }},
      {"delete-block",
       {QStringLiteral("/^<!-- footer -->\\r$/{N;d}")},
       [](const QStringList& files) {
         return DeleteBlockSteps(files, {"<!-- footer -->", "<p>old footer</p>"});
       }},
      {"append",
       {QStringLiteral("$a <p>appended</p>\\r")},
       [](const QStringList& files) {
         return BlockEditSteps(files, BlockMode::kAppend, {"x"}, {"<p>appended</p>"});
       }},
      {"to-text",
       {QStringLiteral("s/<[^>]*>//g")},
       [](const QStringList& files) { return ConvertSteps(files, false, false, false); }},
  };
  std::printf("2000 pages, %s\n", qPrintable(base));
  for (const Job& job : jobs) {
    QDir(copy).removeRecursively();
    const double cp = Run(QStringLiteral("cp"), {QStringLiteral("-r"), master, copy});
    QStringList files;
    for (const QString& name : ListFolderFiles(copy, QStringLiteral("*.htm")))
      files.append(JoinPath(copy, name));
    QStringList sed_arguments = {QStringLiteral("-i")};
    sed_arguments += job.sed;
    sed_arguments += files;
    const double sed = Run(QStringLiteral("sed"), sed_arguments);
    QDir(site).removeRecursively();
    QDir(journal).removeRecursively();
    Run(QStringLiteral("cp"), {QStringLiteral("-r"), master, site});
    QStringList site_files;
    for (const QString& name : ListFolderFiles(site, QStringLiteral("*.htm"))) {
      site_files.append(JoinPath(site, name));
    }
    BatchOptions options;
    options.journal_folder = journal;
    BatchReport report;
    ::sync();
    const double ours = Milliseconds([&] { report = RunBatch(job.steps(site_files), options); });
    std::printf(
        "%-13s ours %7.1f ms  sed -i %7.1f ms  cp %7.1f ms  ratio to sed %.2f  to cp %.2f"
        "  (changed %d)\n",
        job.name, ours, sed, cp, ours / sed, ours / cp, report.changed);
    if (QByteArray(job.name) == "replace-text") {
      // The user's path: the command-line program as a process, beside sed -i.
      QDir(site).removeRecursively();
      Run(QStringLiteral("cp"), {QStringLiteral("-r"), master, site});
      qputenv("XDG_DATA_HOME", journal.toLocal8Bit());
      const double process = Run(
          QStringLiteral(BM_BATCH_EXECUTABLE),
          {QStringLiteral("replace-text"), QStringLiteral("--find"), QStringLiteral("old footer"),
           QStringLiteral("--replace"), QStringLiteral("new footer"), site});
      std::printf("%-13s brindlemark-batch process %7.1f ms  ratio to sed %.2f\n", job.name,
                  process, process / sed);
    }
  }
  return 0;
}
