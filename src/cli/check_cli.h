#pragma once

#include <QStringList>
#include <QTextStream>

#include "document/page_check.h"

// `check`: the HTML and spelling problems of each page, one line each in the form compilers use
// ("path:line:column: error: message [kind]") or as a JSON array, sorted by path and
// position. Writes nothing. The exit status: 1 when an error was found or a page could not
// be read, else 0.
int RunCheck(const QStringList& files, const PageChecks& checks, bool json, QTextStream& out,
             QTextStream& err);
