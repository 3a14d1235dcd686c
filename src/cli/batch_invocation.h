#pragma once

#include <QTextStream>
#include <optional>

#include "batch/batch_engine.h"
#include "cli/batch_cli_support.h"

// One command line being carried out: its arguments, its output and the checks every
// command shares. Each command is a member; the table below names them.
class BatchInvocation {
 public:
  BatchInvocation(const Arguments& args, QTextStream& out, QTextStream& err, QString journal_folder)
      : args_(args), out_(out), err_(err), journal_folder_(std::move(journal_folder)) {
    options_.dry_run = DryRun();
    options_.journal_folder = journal_folder_;
    options_.label = QStringLiteral("brindlemark-batch ") + args.command;
  }

  int Bad(const QString& message) {
    err_ << "brindlemark-batch: " << message << "\nTry brindlemark-batch --help\n";
    return 2;
  }

  int ReplaceText();
  int BlockEdit();
  int AppendOrPrepend();
  int Convert();
  int Tidy();
  int ApplyTemplate();
  int Index();
  int Series();
  int RenameFiles();
  int CopyNumbered();
  int Check();
  int Move();
  int Find();
  int Format();
  int UndoRun() {
    // A stray word may be a site the user meant; the last run is undone only when asked plainly.
    if (!args_.paths.isEmpty()) {
      return Bad(QStringLiteral("undo takes no paths: %1").arg(args_.paths.join(u' ')));
    }
    if (!args_.options.isEmpty()) {
      return Bad(QStringLiteral("undo takes no option %1").arg(args_.options.keys().first()));
    }
    return Undo(journal_folder_, DryRun(), out_, err_);
  }

 private:
  bool DryRun() const { return args_.flags.contains(QStringLiteral("--dry-run")); }
  bool Flag(const char* name) const { return args_.flags.contains(QString::fromLatin1(name)); }
  QString Option(const char* name) const { return args_.options.value(QString::fromLatin1(name)); }
  // Every named option given; else error_ names the first one missing.
  bool Need(std::initializer_list<const char*> names) {
    for (const char* name : names) {
      if (!args_.options.contains(QString::fromLatin1(name))) {
        error_ = QString::fromLatin1(name) + QStringLiteral(" is missing");
        return false;
      }
    }
    return true;
  }
  // The digit count of numbered names, 2 to 4; nothing when it is not a number in range.
  std::optional<int> Digits(int fallback) const {
    bool ok = true;
    const int digits = Number(args_, "--digits", fallback, &ok);
    if (!ok || digits < 2 || digits > 4) return std::nullopt;
    return digits;
  }
  // The files the PATH arguments name; false (with the message given) when there are none.
  bool Files(QStringList* files) {
    if (args_.paths.isEmpty()) {
      error_ = QStringLiteral("no PATH given");
      return false;
    }
    const QString fallback =
        args_.command == u"to-html" ? QStringLiteral("*.txt") : QStringLiteral("*.htm");
    *files = ExpandPaths(args_.paths, args_.options.value(QStringLiteral("--mask"), fallback),
                         Flag("--recursive"), &unusable_, &error_);
    return error_.isEmpty();
  }
  int Run(const QList<BatchStep>& steps) {
    return Report(RunBatch(steps, options_), DryRun(), out_, err_, unusable_);
  }

  const Arguments args_;
  QTextStream& out_;
  QTextStream& err_;
  QString journal_folder_;
  BatchOptions options_;
  QString error_;
  QStringList unusable_;
};
