#pragma once

#include <QList>
#include <QString>

// A fault found in a page, at a position counted from 1.
enum class Severity { kError, kWarning, kNote };
enum class ProblemSource { kHtml, kSpelling, kLinks };

struct Problem {
  int line = 1;
  int column = 1;
  int length = 0;  // in characters; 0: to the end of the tag or word that starts there
  Severity severity = Severity::kWarning;
  ProblemSource source = ProblemSource::kHtml;
  QString message;
  QString kind;      // a short key of the kind of problem, for hiding a kind
  QString subject;   // what it is about: for spelling, the unknown word
  QString language;  // spelling: the dictionary that did not know the word
};

const char* NameOf(Severity severity);     // "error", "warning", "note"
const char* NameOf(ProblemSource source);  // "HTML", "spelling", "links"
// By line, then column.
void SortByPosition(QList<Problem>& problems);
