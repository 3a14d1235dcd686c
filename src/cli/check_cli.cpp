#include "cli/check_cli.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "platform/text_file.h"
#include "platform/text_format.h"

int RunCheck(const QStringList& files, const PageChecks& checks, bool json, QTextStream& out,
             QTextStream& err) {
  QStringList sorted = files;
  std::sort(sorted.begin(), sorted.end());
  bool failed = false;
  QJsonArray all;
  for (const QString& path : std::as_const(sorted)) {
    const ReadOutcome read = ReadWholeFile(path, kPageCap);
    if (!read.ok()) {
      err << path << ": " << read.message() << '\n';
      failed = true;
      continue;
    }
    // Pages in a single-byte encoding are checked as the editor shows them.
    const QList<Problem> problems =
        CheckPage(EditorBytes(read.bytes, DetectTextFormat(read.bytes)), checks);
    for (const Problem& problem : problems) {
      failed = failed || problem.severity == Severity::kError;
      if (json) {
        all.append(
            QJsonObject{{QStringLiteral("path"), path},
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
  }
  if (json) out << QJsonDocument(all).toJson(QJsonDocument::Indented);
  return failed ? 1 : 0;
}
