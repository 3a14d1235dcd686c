#include "html/problems.h"

#include <algorithm>

const char* NameOf(Severity severity) {
  switch (severity) {
    case Severity::kError:
      return "error";
    case Severity::kWarning:
      return "warning";
    case Severity::kNote:
      return "note";
  }
  return "note";
}

const char* NameOf(ProblemSource source) {
  switch (source) {
    case ProblemSource::kHtml:
      return "HTML";
    case ProblemSource::kSpelling:
      return "spelling";
    case ProblemSource::kLinks:
      return "links";
  }
  return "HTML";
}

void SortByPosition(QList<Problem>& problems) {
  std::stable_sort(problems.begin(), problems.end(), [](const Problem& a, const Problem& b) {
    return std::pair(a.line, a.column) < std::pair(b.line, b.column);
  });
}
