#pragma once

#include <QList>
#include <QString>

// A fault found in a page, at a position counted from 1.
enum class Severity { kError, kWarning, kNote };
enum class ProblemSource { kHtml, kSpelling, kLinks };

struct Problem {
  int line = 1;
  int column = 1;
  Severity severity = Severity::kWarning;
  ProblemSource source = ProblemSource::kHtml;
  QString message;
  QString kind;  // a short key of the kind of problem, for hiding a kind
};

const char* NameOf(Severity severity);     // "error", "warning", "note"
const char* NameOf(ProblemSource source);  // "HTML", "spelling", "links"
// By line, then column.
void SortByPosition(QList<Problem>& problems);
