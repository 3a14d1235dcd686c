#include "document/page_check.h"

#include "html/html_check.h"

QList<Problem> CheckPage(QByteArrayView utf8, const PageChecks& checks) {
  QList<Problem> problems;
  if (checks.html) problems = CheckHtml(utf8);
  if (checks.spelling && checks.speller) {
    problems += CheckSpelling(utf8, *checks.speller, checks.spelling_options);
    SortByPosition(problems);
  }
  return problems;
}
