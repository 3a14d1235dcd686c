#pragma once

#include <QByteArrayView>
#include <memory>

#include "checks/speller.h"

// What a page is checked for: its HTML, its spelling, its links.
struct PageChecks {
  bool html = true;
  bool spelling = true;
  // The links of the page saved at page_path, in the site it belongs to.
  bool links = false;
  QString page_path;
  std::shared_ptr<Speller> speller;  // needed for spelling
  SpellingOptions spelling_options;
};

// "error", "warning", "note" in the interface's language.
QString SeverityText(Severity severity);

// "1 error, 3 warnings, 0 notes" in the interface's language.
QString ProblemCountsText(int errors, int warnings, int notes);
// The same of a list of problems.
QString ProblemCountsText(const QList<Problem>& problems);

// The problems of a page given as UTF-8, sorted by position.
QList<Problem> CheckPage(QByteArrayView utf8, const PageChecks& checks);
