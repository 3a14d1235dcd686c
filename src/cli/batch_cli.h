#pragma once

#include <QStringList>
#include <QTextStream>

// The batch tools as a command line: parses arguments, runs the job and prints one line
// per changed file and a summary. Returns the exit status: 0 success, 1 a file failed,
// 2 bad arguments.
int RunBatchCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                    const QString& journal_folder = QString());

QString BatchUsage();
