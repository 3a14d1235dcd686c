#include "cli/check_cli.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

int RunCheck(const SiteCheckRequest& request, bool json, Severity failing, QTextStream& out,
             QTextStream& err) {
  const SiteCheckResult result = CheckSite(request);
  for (const QString& unreadable : result.unreadable) err << unreadable << '\n';
  if (json) {
    QJsonArray all;
    for (const auto& [path, problem] : result.problems) {
      all.append(QJsonObject{{QStringLiteral("path"), path},
                             {QStringLiteral("line"), problem.line},
                             {QStringLiteral("column"), problem.column},
                             {QStringLiteral("severity"), QLatin1String(NameOf(problem.severity))},
                             {QStringLiteral("source"), QLatin1String(NameOf(problem.source))},
                             {QStringLiteral("message"), problem.message},
                             {QStringLiteral("kind"), problem.kind}});
    }
    out << QJsonDocument(all).toJson(QJsonDocument::Indented);
  } else {
    out << CompilerLines(result.problems);
  }
  if (result.not_checked > 0) {
    err << result.not_checked << " links to other schemes (http:, mailto:…) not checked\n";
  }
  QList<Problem> all;
  for (const CheckedProblem& checked : result.problems) all.append(checked.problem);
  err << result.pages << (result.pages == 1 ? " page" : " pages")
      << " checked: " << ProblemCountsText(all) << '\n';
  return result.Fails(failing) ? 1 : 0;
}
