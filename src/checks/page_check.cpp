#include "checks/page_check.h"

#include "checks/site_links.h"
#include "html/html_check.h"
#include "names/texts.h"
#include "platform/text_format.h"

#include <algorithm>

QString SeverityText(Severity severity) {
  return Tr(severity == Severity::kError     ? Text::kSeverityError
            : severity == Severity::kWarning ? Text::kSeverityWarning
                                             : Text::kSeverityNote);
}

QString ProblemCountsText(int errors, int warnings, int notes) {
  const auto count = [](int n, Text one, Text many) { return Tr(n == 1 ? one : many).arg(n); };
  return count(errors, Text::kCountError, Text::kCountErrors) + QStringLiteral(", ") +
         count(warnings, Text::kCountWarning, Text::kCountWarnings) + QStringLiteral(", ") +
         count(notes, Text::kCountNote, Text::kCountNotes);
}

QString ProblemCountsText(const QList<Problem>& problems) {
  int counts[3] = {0, 0, 0};
  for (const Problem& problem : problems) ++counts[int(problem.severity)];
  return ProblemCountsText(counts[0], counts[1], counts[2]);
}

namespace {

bool BeyondAscii(QByteArrayView bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
}

}  // namespace

QList<Problem> CheckPage(QByteArrayView utf8, const PageChecks& checks) {
  QList<Problem> problems;
  // A page with nothing on it yet (a new tab) is not a broken page.
  const bool blank = std::all_of(utf8.begin(), utf8.end(), [](char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
  });
  if (checks.html && !blank) {
    problems = CheckHtml(utf8);
    // A page that declares nothing is read by each browser in an encoding of its own guess.
    if (DeclaredCharset(utf8).isEmpty() && BeyondAscii(utf8)) {
      Problem problem;
      problem.severity = Severity::kWarning;
      problem.message = Tr(Text::kNoCharsetDeclared);
      problem.kind = QStringLiteral("no-charset");
      problems.prepend(problem);
    }
  }
  if (checks.spelling && checks.speller) {
    problems += CheckSpelling(utf8, *checks.speller, checks.spelling_options);
    SortByPosition(problems);
  }
  if (checks.links && !checks.page_path.isEmpty()) {
    const QString root = SiteRootOf(checks.page_path);
    SiteLinkChecker site(root, SiteOptions::Read(root));
    if (!site.Files().IsIgnored(checks.page_path)) problems += site.Check(checks.page_path, utf8);
    SortByPosition(problems);
  }
  return problems;
}
