#include "cli/check_cli.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <map>
#include <memory>

#include "document/site_links.h"
#include "names/texts.h"
#include "platform/text_file.h"
#include "platform/text_format.h"

namespace {

struct Entry {
  QString path;
  Problem problem;
};

}  // namespace

int RunCheck(const QStringList& files, const CheckRun& run, QTextStream& out, QTextStream& err) {
  bool failed = false;
  QList<Entry> entries;
  std::map<QString, std::shared_ptr<SiteLinkChecker>> sites;  // by root
  for (const QString& path : files) {
    const ReadOutcome read = ReadWholeFile(path, kPageCap);
    if (!read.ok()) {
      err << path << ": " << read.message() << '\n';
      failed = true;
      continue;
    }
    // Pages in a single-byte encoding are checked as the editor shows them.
    const QByteArray text = EditorBytes(read.bytes, DetectTextFormat(read.bytes));
    QList<Problem> problems = CheckPage(text, run.checks);
    if (run.links) {
      const QString root = QDir::cleanPath(QFileInfo(run.root_of(path)).absoluteFilePath());
      std::shared_ptr<SiteLinkChecker>& site = sites[root];
      if (!site) site = std::make_shared<SiteLinkChecker>(root, SiteOptions::Read(root));
      if (site->IsIgnored(QFileInfo(path).absoluteFilePath())) continue;
      problems += site->Check(path, text);
      SortByPosition(problems);
    }
    for (const Problem& problem : std::as_const(problems)) entries.append({path, problem});
  }
  int not_checked = 0;
  for (const auto& [root, site] : sites) {
    not_checked += site->NotChecked();
    if (!run.orphans) continue;
    for (const QString& orphan : site->Orphans()) {
      // Named as the pages are, relative to the working folder when under it.
      const QString relative = QDir::current().relativeFilePath(orphan);
      entries.append({relative.startsWith(u"..") ? orphan : relative,
                      Problem{.severity = Severity::kNote,
                              .source = ProblemSource::kLinks,
                              .message = Tr(Text::kOrphan),
                              .kind = QStringLiteral("orphan")}});
    }
  }
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return std::tuple(a.path, a.problem.line, a.problem.column) <
           std::tuple(b.path, b.problem.line, b.problem.column);
  });
  QJsonArray all;
  for (const auto& [path, problem] : std::as_const(entries)) {
    failed = failed || problem.severity == Severity::kError;
    if (run.json) {
      all.append(QJsonObject{{QStringLiteral("path"), path},
                             {QStringLiteral("line"), problem.line},
                             {QStringLiteral("column"), problem.column},
                             {QStringLiteral("severity"), QLatin1String(NameOf(problem.severity))},
                             {QStringLiteral("source"), QLatin1String(NameOf(problem.source))},
                             {QStringLiteral("message"), problem.message},
                             {QStringLiteral("kind"), problem.kind}});
    } else {
      out << path << ':' << problem.line << ':' << problem.column << ": "
          << NameOf(problem.severity) << ": " << problem.message << " [" << problem.kind << "]\n";
    }
  }
  if (run.json) out << QJsonDocument(all).toJson(QJsonDocument::Indented);
  if (not_checked > 0) {
    err << not_checked << " links to other schemes (http:, mailto:…) not checked\n";
  }
  return failed ? 1 : 0;
}
