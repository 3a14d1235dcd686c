#include "cli/batch_cli_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <optional>

#include "platform/folder_listing.h"
#include "platform/text_file.h"
#include "platform/text_format.h"

namespace {

// Options that take a value; everything else starting with "--" is a flag.
const QStringList kValueOptions = {
    QStringLiteral("--find"),         QStringLiteral("--replace"),    QStringLiteral("--find-file"),
    QStringLiteral("--replace-file"), QStringLiteral("--block-file"), QStringLiteral("--mask"),
    QStringLiteral("--template"),     QStringLiteral("--output"),     QStringLiteral("--page"),
    QStringLiteral("--line"),         QStringLiteral("--from"),       QStringLiteral("--to"),
    QStringLiteral("--digits"),       QStringLiteral("--before"),     QStringLiteral("--after"),
    QStringLiteral("--base"),         QStringLiteral("--folder"),     QStringLiteral("--ext"),
    QStringLiteral("--new-ext"),      QStringLiteral("--target"),     QStringLiteral("--line-end"),
    QStringLiteral("--format"),       QStringLiteral("--language"),   QStringLiteral("--root"),
    QStringLiteral("--fail-on"),      QStringLiteral("--include")};
const QStringList kFlags = {QStringLiteral("--dry-run"),   QStringLiteral("--all"),
                            QStringLiteral("--tidy"),      QStringLiteral("--other-extension"),
                            QStringLiteral("--keep-name"), QStringLiteral("--help"),
                            QStringLiteral("-h"),          QStringLiteral("--version"),
                            QStringLiteral("--recursive"), QStringLiteral("--in-place"),
                            QStringLiteral("--html"),      QStringLiteral("--spelling"),
                            QStringLiteral("--links"),     QStringLiteral("--orphans"),
                            QStringLiteral("--werror"),    QStringLiteral("--regex"),
                            QStringLiteral("--case"),      QStringLiteral("--word")};

}  // namespace

std::optional<Arguments> Parse(const QStringList& list, QString* error) {
  Arguments parsed;
  bool options_ended = false;
  for (qsizetype i = 0; i < list.size(); ++i) {
    const QString& word = list[i];
    if (options_ended) {
      (parsed.command.isEmpty() ? parsed.command : parsed.paths.emplace_back()) = word;
    } else if (word == u"--") {
      options_ended = true;
    } else if (kValueOptions.contains(word)) {
      if (i + 1 >= list.size()) {
        *error = word + QStringLiteral(" needs a value");
        return std::nullopt;
      }
      parsed.options.insert(word, list[++i]);
    } else if (kFlags.contains(word)) {
      parsed.flags.append(word);
    } else if (word.startsWith(QStringLiteral("--"))) {
      *error = QStringLiteral("unknown option ") + word;
      return std::nullopt;
    } else if (parsed.command.isEmpty()) {
      parsed.command = word;
    } else {
      parsed.paths.append(word);
    }
  }
  return parsed;
}

// Files named directly, and the files of named folders that match the mask (of their
// subfolders too when recursive). Names that cannot be used are reported on err.
QStringList ExpandPaths(const QStringList& paths, const QString& mask, bool recursive,
                        QStringList* unusable, QString* error) {
  QStringList files;
  for (const QString& path : paths) {
    const QFileInfo info(path);
    if (info.isDir()) {
      const FolderScan scan = ScanFolder(path, mask, recursive);
      for (const QString& name : scan.files) files.append(JoinPath(path, name));
      for (const QString& name : scan.unusable_names) unusable->append(JoinPath(path, name));
    } else if (info.isFile()) {
      files.append(path);
    } else {
      *error = QStringLiteral("no such file or folder: ") + path;
      return {};
    }
  }
  return files;
}

std::optional<QStringList> ReadLinesOf(const QString& path, QString* error) {
  const ReadOutcome read = ReadWholeFile(path, kTextFileCap);
  if (!read.ok()) {
    *error = read.message();
    return std::nullopt;
  }
  return SplitLines(DecodeDetected(read.bytes));
}

int Number(const Arguments& args, const char* name, int fallback, bool* ok) {
  const QString text = args.options.value(QString::fromLatin1(name));
  if (text.isEmpty()) return fallback;
  bool parsed = false;
  const int value = text.toInt(&parsed);
  if (!parsed) *ok = false;
  return value;
}

int Report(const BatchReport& report, bool dry_run, QTextStream& out, QTextStream& err,
           const QStringList& unusable) {
  if (dry_run) {
    for (const BatchChange& change : report.changes) {
      if (!change.renamed_from.isEmpty()) {
        // Names alone within a folder; a move to another folder names both paths, as the run does.
        const QFileInfo from(change.renamed_from);
        const QFileInfo to(change.path);
        const bool same_folder = from.absolutePath() == to.absolutePath();
        out << "would rename " << PrintableName(same_folder ? from.fileName() : change.renamed_from)
            << " -> " << PrintableName(same_folder ? to.fileName() : change.path) << '\n';
        continue;
      }
      out << (change.replaces ? "would replace existing file " : "would change ")
          << PrintableName(change.path) << '\n';
    }
  } else if (!report.renamed.isEmpty()) {
    for (const QString& line : report.renamed) out << "renamed " << PrintableName(line) << '\n';
  } else {
    for (const QString& path : report.changed_paths) {
      out << (report.replaced_paths.contains(path) ? "replaced existing file " : "changed ")
          << PrintableName(path) << '\n';
    }
  }
  for (const QString& skipped : report.skipped)
    out << "left alone " << PrintableName(skipped) << '\n';
  out << (dry_run ? QStringLiteral("Dry run. ") : QString()) << report.Summary() << '\n';
  for (const BatchFailure& failure : report.failures) {
    err << "failed: " << PrintableName(failure.error.message) << '\n';
  }
  for (const QString& name : unusable) {
    err << "failed: " << name << ": the name is not valid UTF-8; the file was left alone.\n";
  }
  return report.failures.isEmpty() && unusable.isEmpty() ? 0 : 1;
}

int Undo(const QString& journal_folder, bool dry_run, QTextStream& out, QTextStream& err) {
  const UndoReport undo = UndoLastRun(journal_folder, QString(), dry_run);
  if (undo.nothing) {
    out << "There is no batch run to undo.\n";
    return 0;
  }
  for (const QString& path : undo.would_restore)
    out << "would restore " << PrintableName(path) << '\n';
  for (const QString& path : undo.not_written) {
    out << "not written by the run, already as before: " << PrintableName(path) << '\n';
  }
  for (const QString& path : undo.conflicts) {
    err << (dry_run ? "would not restore: " : "not restored: ") << PrintableName(path)
        << ": changed since the run, left alone\n";
  }
  for (const QString& failure : undo.failed) err << "failed: " << PrintableName(failure) << '\n';
  if (dry_run) {
    out << "Dry run. Undo would restore " << undo.would_restore.size() << " file(s).\n";
    return 0;
  }
  out << "Restored " << undo.restored << " file(s).\n";
  if (undo.kept) {
    out << "Not everything was restored; the journal is kept in " << undo.journal
        << ". The next undo goes to the run before it.\n";
  }
  return undo.failed.isEmpty() && undo.conflicts.isEmpty() ? 0 : 1;
}
