#include "cli/check_cli.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

int RunCheck(const SiteCheckRequest& request, bool json, QTextStream& out, QTextStream& err) {
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
  return result.HasErrors() ? 1 : 0;
}
