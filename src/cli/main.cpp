// brindlemark-batch: the batch tools of the editor for scripts and site builds.
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "cli/batch_cli.h"

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationVersion(QStringLiteral(BM_VERSION));
  QTextStream out(stdout);
  QTextStream err(stderr);
  QStringList arguments = QCoreApplication::arguments();
  arguments.removeFirst();
  return RunBatchCommand(arguments, out, err);
}
