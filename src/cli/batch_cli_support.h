#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

#include "batch/batch_engine.h"

// The pieces of brindlemark-batch that every command shares: the parsed command line, the
// files its paths name and the report of a run.

struct Arguments {
  QString command;
  QHash<QString, QString> options;
  QStringList flags;
  QStringList paths;
};

// A page series larger than this is refused as a mistake in the numbers.
inline constexpr int kMaxSeriesPages = 10000;

std::optional<Arguments> Parse(const QStringList& list, QString* error);
// Files named directly, and the files of named folders that match the mask (of their
// subfolders too when recursive); names that cannot be used go to *unusable.
QStringList ExpandPaths(const QStringList& paths, const QString& mask, bool recursive,
                        QStringList* unusable, QString* error);
std::optional<QStringList> ReadLinesOf(const QString& path, QString* error);
int Number(const Arguments& args, const char* name, int fallback, bool* ok);
// Prints a run's changes and failures; the exit status.
int Report(const BatchReport& report, bool dry_run, QTextStream& out, QTextStream& err,
           const QStringList& unusable = {});
int Undo(const QString& journal_folder, bool dry_run, QTextStream& out, QTextStream& err);
