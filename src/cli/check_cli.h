#pragma once

#include <QTextStream>

#include "checks/site_check.h"

// `check`: the problems of each page (and the files nothing links to), one line each in the
// form compilers use ("path:line:column: error: message [kind]") or as a JSON array, sorted
// by path and position, and the counts on err. Writes nothing. The exit status: 1 when a
// problem as severe as failing (or worse) was found or a page could not be read, else 0.
int RunCheck(const SiteCheckRequest& request, bool json, Severity failing, QTextStream& out,
             QTextStream& err);
