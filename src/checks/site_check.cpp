#include "checks/site_check.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <map>
#include <memory>

#include "checks/site_links.h"
#include "names/texts.h"
#include "platform/text_file.h"
#include "platform/text_format.h"

bool SiteCheckResult::Fails(Severity failing) const {
  return !unreadable.isEmpty() ||
         std::any_of(problems.begin(), problems.end(), [failing](const CheckedProblem& checked) {
           return int(checked.problem.severity) <= int(failing);
         });
}

SiteCheckResult CheckSite(const SiteCheckRequest& request, const CheckProgress& progress) {
  SiteCheckResult result;
  std::map<QString, std::unique_ptr<SiteLinkChecker>> sites;  // by root
  const int total = int(request.files.size());
  for (int i = 0; i < total; ++i) {
    const QString& path = request.files[i];
    if (progress && !progress(i, total, path)) {
      result.cancelled = true;
      break;
    }
    SiteLinkChecker* site = nullptr;
    if (request.links) {
      const QString root = QDir::cleanPath(QFileInfo(request.root_of(path)).absoluteFilePath());
      std::unique_ptr<SiteLinkChecker>& found = sites[root];
      if (!found) found = std::make_unique<SiteLinkChecker>(root, SiteOptions::Read(root));
      site = found.get();
      if (site->Files().IsIgnored(QFileInfo(path).absoluteFilePath())) continue;
    }
    const ReadOutcome read = ReadWholeFile(path, kPageCap);
    if (!read.ok()) {
      result.unreadable.append(path + QStringLiteral(": ") + read.message());
      continue;
    }
    ++result.pages;
    // Pages in a single-byte encoding are checked as the editor shows them.
    const QByteArray text = EditorBytes(read.bytes, DetectTextFormat(read.bytes));
    QList<Problem> problems = CheckPage(text, request.checks);
    if (site != nullptr) {
      problems += site->Check(path, text);
      SortByPosition(problems);
    }
    for (const Problem& problem : std::as_const(problems)) result.problems.append({path, problem});
  }
  if (progress && !result.cancelled) progress(total, total, QString());
  for (const auto& [root, site] : sites) {
    result.not_checked += site->NotChecked();
    if (!request.orphans || result.cancelled) continue;
    for (const QString& orphan : site->Orphans()) {
      // Named as the pages are, relative to the working folder when under it.
      const QString relative = QDir::current().relativeFilePath(orphan);
      result.problems.append({relative.startsWith(u"..") ? orphan : relative,
                              Problem{.severity = Severity::kNote,
                                      .source = ProblemSource::kLinks,
                                      .message = Tr(Text::kOrphan),
                                      .kind = QStringLiteral("orphan")}});
    }
  }
  std::stable_sort(result.problems.begin(), result.problems.end(),
                   [](const CheckedProblem& a, const CheckedProblem& b) {
                     return std::tuple(a.path, a.problem.line, a.problem.column) <
                            std::tuple(b.path, b.problem.line, b.problem.column);
                   });
  return result;
}

QString CompilerLines(const QList<CheckedProblem>& problems) {
  QString text;
  for (const auto& [path, problem] : problems) {
    text += QStringLiteral("%1:%2:%3: %4: %5 [%6]\n")
                .arg(path)
                .arg(problem.line)
                .arg(problem.column)
                .arg(QLatin1String(NameOf(problem.severity)), problem.message, problem.kind);
  }
  return text;
}
