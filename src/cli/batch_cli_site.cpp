// The commands of brindlemark-batch that read a site whole: check, find, format and move.
#include <QFileInfo>

#include "batch/batch_tools.h"
#include "batch/move_with_links.h"
#include "checks/speller.h"
#include "cli/batch_invocation.h"
#include "cli/check_cli.h"
#include "document/find_in_files.h"
#include "document/site.h"
#include "platform/folder_listing.h"

int BatchInvocation::Check() {
  QStringList files;
  if (!Files(&files)) return Bad(error_);
  const QString format = Option("--format");
  if (!format.isEmpty() && format != u"json" && format != u"text") {
    return Bad(QStringLiteral("bad --format ") + format);
  }
  // What fails the run: errors; with --werror (or --fail-on warning) warnings too.
  const QString fail_on = Flag("--werror") ? QStringLiteral("warning") : Option("--fail-on");
  Severity failing = Severity::kError;
  if (fail_on == u"warning") {
    failing = Severity::kWarning;
  } else if (fail_on == u"note") {
    failing = Severity::kNote;
  } else if (!fail_on.isEmpty() && fail_on != u"error") {
    return Bad(QStringLiteral("bad --fail-on ") + fail_on);
  }
  for (const QString& path : std::as_const(unusable_)) err_ << path << ": cannot be used\n";
  SiteCheckRequest run;
  run.files = files;
  run.links = Flag("--links");
  run.orphans = Flag("--orphans");
  if (run.orphans && !run.links) return Bad(QStringLiteral("--orphans needs --links"));
  // Without a flag, HTML and spelling; with flags, what they name.
  const bool none = !Flag("--html") && !Flag("--spelling") && !run.links;
  run.checks.html = none || Flag("--html");
  run.checks.spelling = none || Flag("--spelling");
  if (run.checks.spelling) {
    run.checks.speller = std::make_shared<Speller>(Speller::SystemDictionaryFolder(),
                                                   Speller::DefaultPersonalWords());
    run.checks.spelling_options.language =
        args_.options.value(QStringLiteral("--language"), QStringLiteral("en"));
  }
  // The root: as given, else the folder named (or the site above it), else the page's site.
  QStringList folders;
  for (const QString& path : args_.paths) {
    if (QFileInfo(path).isDir()) folders.append(QFileInfo(path).absoluteFilePath());
  }
  run.root_of = [root = Option("--root"), folders](const QString& page) {
    if (!root.isEmpty()) return root;
    const QString absolute = QFileInfo(page).absoluteFilePath();
    for (const QString& folder : folders) {
      if (absolute.startsWith(folder + u'/')) {
        const QString site = SiteRootOf(JoinPath(folder, QStringLiteral("page")));
        return absolute.startsWith(site + u'/') ? site : folder;
      }
    }
    return SiteRootOf(page);
  };
  const int status = RunCheck(run, format == u"json", failing, out_, err_);
  return unusable_.isEmpty() ? status : 1;
}

int BatchInvocation::Format() {
  QStringList files;
  if (!Files(&files)) return Bad(error_);
  return Run(FormatSteps(files));
}

int BatchInvocation::Find() {
  if (args_.paths.size() < 2) return Bad(QStringLiteral("find takes PATTERN and PATH..."));
  const FindQuery query{args_.paths[0], Flag("--regex"), Flag("--case"), Flag("--word")};
  QString error;
  const std::optional<QRegularExpression> expression = QueryExpression(query, &error);
  if (!expression) return Bad(QStringLiteral("bad PATTERN: ") + error);
  const QStringList paths = args_.paths.mid(1);
  const QStringList files = ExpandPaths(
      paths,
      Option("--include").isEmpty() ? QStringLiteral("*.htm;*.html;*.css") : Option("--include"),
      Flag("--recursive"), &unusable_, &error_);
  if (!error_.isEmpty()) return Bad(error_);
  for (const QString& path : std::as_const(unusable_)) err_ << path << ": cannot be used\n";
  // The form grep -n and compilers use: path:line:column: line.
  const FindSummary summary = FindInFiles(
      files, *expression,
      [this](const FileHits& page) {
        const QString path = PrintableName(page.path);
        for (const FileHit& hit : page.hits) {
          out_ << path << ':' << hit.line << ':' << hit.column << ": " << hit.text << '\n';
        }
      },
      nullptr, PrefilterOf(query));
  if (summary.skipped > 0)
    err_ << summary.skipped << " files skipped (binary, unreadable or too large)\n";
  return summary.hits > 0 ? 0 : 1;
}

int BatchInvocation::Move() {
  if (args_.paths.size() != 2) return Bad(QStringLiteral("move takes OLD and NEW"));
  const QString& from = args_.paths[0];
  const QString& to = args_.paths[1];
  const QString root = Option("--root").isEmpty() ? SiteRootOf(from) : Option("--root");
  QString error;
  const std::optional<MovePlan> plan = PlanMove(from, to, root, &error);
  if (!plan) {
    err_ << "brindlemark-batch: " << error << '\n';
    return 1;
  }
  const int status =
      Report(RunMove(plan->renames, plan->steps, options_), DryRun(), out_, err_, unusable_);
  for (const QString& note : std::as_const(*plan->left_alone)) err_ << note << '\n';
  return status;
}
