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

// The HTML check, and the warning of a page whose encoding is a browser's guess.
class HtmlProvider : public ProblemProvider {
 public:
  ProblemSource Source() const override { return ProblemSource::kHtml; }
  bool Wanted(const PageChecks& checks) const override { return checks.html; }
  QList<Problem> Find(QByteArrayView utf8, const PageChecks&) const override {
    // A page with nothing on it yet (a new tab) is not a broken page.
    const bool blank = std::all_of(utf8.begin(), utf8.end(), [](char c) {
      return c == ' ' || c == '\t' || c == '\n' || c == '\r';
    });
    if (blank) return {};
    QList<Problem> problems = CheckHtml(utf8);
    // A page that declares nothing is read by each browser in an encoding of its own guess.
    if (DeclaredCharset(utf8).isEmpty() && BeyondAscii(utf8)) {
      problems.prepend(Problem{.severity = Severity::kWarning,
                               .message = Tr(Text::kNoCharsetDeclared),
                               .kind = QStringLiteral("no-charset")});
    }
    return problems;
  }
};

class SpellingProvider : public ProblemProvider {
 public:
  ProblemSource Source() const override { return ProblemSource::kSpelling; }
  bool Wanted(const PageChecks& checks) const override { return checks.spelling && checks.speller; }
  QList<Problem> Find(QByteArrayView utf8, const PageChecks& checks) const override {
    return CheckSpelling(utf8, *checks.speller, checks.spelling_options);
  }
};

// The links of a page saved in a site, unless the site leaves the page out.
class LinkProvider : public ProblemProvider {
 public:
  ProblemSource Source() const override { return ProblemSource::kLinks; }
  bool Wanted(const PageChecks& checks) const override {
    return checks.links && !checks.page_path.isEmpty();
  }
  QList<Problem> Find(QByteArrayView utf8, const PageChecks& checks) const override {
    const QString root = SiteRootOf(checks.page_path);
    SiteLinkChecker site(root, SiteOptions::Read(root));
    if (site.Files().IsIgnored(checks.page_path)) return {};
    return site.Check(checks.page_path, utf8);
  }
};

}  // namespace

std::span<const ProblemProvider* const> PageProviders() {
  static const HtmlProvider html;
  static const SpellingProvider spelling;
  static const LinkProvider links;
  static const ProblemProvider* const providers[] = {&html, &spelling, &links};
  return providers;
}

QList<Problem> CheckPage(QByteArrayView utf8, const PageChecks& checks) {
  QList<Problem> problems;
  for (const ProblemProvider* provider : PageProviders()) {
    if (!provider->Wanted(checks)) continue;
    const bool first = problems.isEmpty();
    problems += provider->Find(utf8, checks);
    // Each provider's problems come sorted; merged ones are sorted again.
    if (!first) SortByPosition(problems);
  }
  return problems;
}
