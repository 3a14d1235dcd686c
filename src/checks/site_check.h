#pragma once

#include <QList>
#include <QStringList>
#include <functional>

#include "checks/page_check.h"

// A check of many pages at once: their HTML, spelling and links, and the files of their
// sites nothing links to. Reads only.
struct SiteCheckRequest {
  QStringList files;
  PageChecks checks;  // HTML and spelling; links are checked per site below
  bool links = false;
  bool orphans = false;  // with links
  // The site root of a page.
  std::function<QString(const QString& page)> root_of;
};

struct CheckedProblem {
  QString path;
  Problem problem;
};

struct SiteCheckResult {
  QList<CheckedProblem> problems;  // sorted by path and position
  QStringList unreadable;          // "path: why", one a page that could not be read
  int pages = 0;                   // read and checked
  int not_checked = 0;             // links to other schemes
  bool cancelled = false;
  bool HasErrors() const { return Fails(Severity::kError); }
  // A page was unreadable, or a problem as severe as failing (or worse) was found.
  bool Fails(Severity failing) const;
};

// Progress as the batch runs report it: false stops between pages.
using CheckProgress = std::function<bool(int done, int total, const QString& path)>;

SiteCheckResult CheckSite(const SiteCheckRequest& request, const CheckProgress& progress = {});

// The problems in the form compilers use, one a line: "path:line:column: error: message [kind]".
QString CompilerLines(const QList<CheckedProblem>& problems);
