#pragma once

#include <QByteArrayView>
#include <memory>
#include <span>

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

// A source of a page's problems: each problem a range (line, column, length), a severity, a
// code (its kind), its source and a message.
class ProblemProvider {
 public:
  virtual ~ProblemProvider() = default;
  virtual ProblemSource Source() const = 0;
  // Whether the checks asked for call on it.
  virtual bool Wanted(const PageChecks& checks) const = 0;
  // The problems of a page given as UTF-8, sorted by position; also run off the GUI thread.
  virtual QList<Problem> Find(QByteArrayView utf8, const PageChecks& checks) const = 0;
};

// The providers of every page's problems: HTML, spelling, links.
std::span<const ProblemProvider* const> PageProviders();

// The problems of a page given as UTF-8 from every provider asked for, sorted by position.
QList<Problem> CheckPage(QByteArrayView utf8, const PageChecks& checks);
