#pragma once

#include <QStringList>
#include <QTextStream>
#include <functional>

#include "document/page_check.h"

struct CheckRun {
  PageChecks checks;
  bool links = false;
  bool orphans = false;
  bool json = false;
  // The site root of a page, for its links.
  std::function<QString(const QString& page)> root_of;
};

// `check`: the HTML, spelling and link problems of each page (and the files nothing links
// to), one line each in the form compilers use ("path:line:column: error: message [kind]")
// or as a JSON array, sorted by path and position. Writes nothing. The exit status: 1 when
// an error was found or a page could not be read, else 0.
int RunCheck(const QStringList& files, const CheckRun& run, QTextStream& out, QTextStream& err);
