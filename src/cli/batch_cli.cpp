#include "cli/batch_cli.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <optional>

#include "batch/batch_tools.h"
#include "document/text_helpers.h"
#include "platform/folder_listing.h"
#include "platform/text_file.h"
#include "platform/text_format.h"

namespace {

struct Arguments {
  QString command;
  QHash<QString, QString> options;
  QStringList flags;
  QStringList paths;
};

// Options that take a value; everything else starting with "--" is a flag.
const QStringList kValueOptions = {
    QStringLiteral("--find"),         QStringLiteral("--replace"),    QStringLiteral("--find-file"),
    QStringLiteral("--replace-file"), QStringLiteral("--block-file"), QStringLiteral("--mask"),
    QStringLiteral("--template"),     QStringLiteral("--output"),     QStringLiteral("--page"),
    QStringLiteral("--line"),         QStringLiteral("--from"),       QStringLiteral("--to"),
    QStringLiteral("--digits"),       QStringLiteral("--before"),     QStringLiteral("--after"),
    QStringLiteral("--base"),         QStringLiteral("--folder"),     QStringLiteral("--ext"),
    QStringLiteral("--new-ext"),      QStringLiteral("--target"),     QStringLiteral("--line-end")};
const QStringList kFlags = {QStringLiteral("--dry-run"),
                            QStringLiteral("--tidy"),
                            QStringLiteral("--other-extension"),
                            QStringLiteral("--keep-name"),
                            QStringLiteral("--help"),
                            QStringLiteral("-h"),
                            QStringLiteral("--version"),
                            QStringLiteral("--recursive"),
                            QStringLiteral("--in-place")};

// A page series larger than this is refused as a mistake in the numbers.
constexpr int kMaxSeriesPages = 10000;

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
  const ReadOutcome read = ReadWholeFile(path);
  if (!read.ok) {
    *error = QStringLiteral("Cannot open file %1. %2").arg(path, read.error);
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
           const QStringList& unusable = {}) {
  if (dry_run) {
    for (const BatchChange& change : report.changes) {
      if (!change.renamed_from.isEmpty()) {
        out << "would rename " << PrintableName(QFileInfo(change.renamed_from).fileName()) << " -> "
            << PrintableName(QFileInfo(change.path).fileName()) << '\n';
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
    err << "failed: " << PrintableName(failure.message) << '\n';
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
    out << "changed since the run, left alone: " << PrintableName(path) << '\n';
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
  return undo.failed.isEmpty() ? 0 : 1;
}

}  // namespace

QString BatchUsage() {
  return QStringLiteral(
      "Usage: brindlemark-batch COMMAND [OPTIONS] PATH...\n"
      "A PATH is a file or a folder (its files matching --mask, \"*.htm\" by default;\n"
      "\"*.htm\" also takes .html; --recursive takes its subfolders too).\n\n"
      "Commands:\n"
      "  replace-text   --find TEXT --replace TEXT   first occurrence in every line\n"
      "  replace-block  --find-file FILE --replace-file FILE\n"
      "  append         --block-file FILE          add lines at the end, drop blank lines\n"
      "  prepend        --block-file FILE          add lines at the start, drop blank lines\n"
      "  delete-block   --find-file FILE\n"
      "  to-html        [--tidy] [--other-extension]   text files to pages (mask *.txt)\n"
      "  to-text        [--tidy] [--in-place]   pages to text, written to name.txt beside\n"
      "                 each page unless --in-place\n"
      "  tidy                                     drop blank lines, trim, collapse spaces\n"
      "  apply-template --template FILE           pour each file into the template\n"
      "  index          --template FILE --output FILE [--line-end br] FOLDER\n"
      "                 the template's line holding <,,pattern,,> becomes the links\n"
      "  series         --page FILE --line N --from A --to B [--digits 4] [--before T]\n"
      "                 [--after T] [--base NAME] --folder FOLDER\n"
      "                 line N (counted from 1) varies; at most 10000 pages\n"
      "  rename         [--before T] [--after T] [--digits 2] [--ext jpg] [--new-ext EXT]\n"
      "                 [--keep-name] FOLDER\n"
      "  copy-numbered  --target FOLDER [--before T] [--after T] [--digits 2] FILE...\n"
      "  undo [--dry-run]   undo the last run, of the program or of this command\n\n"
      "Options: --dry-run lists what would change and writes nothing; -- ends the options;\n"
      "--help, -h; --version.\n"
      "A file that fails is named on stderr and the run goes on with the others.\n"
      "Exit status: 0 success, 1 a file failed, 2 bad arguments.\n");
}

int RunBatchCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                    const QString& journal_folder) {
  QString error;
  const std::optional<Arguments> parsed = Parse(arguments, &error);
  auto bad = [&](const QString& message) {
    err << "brindlemark-batch: " << message << "\nTry brindlemark-batch --help\n";
    return 2;
  };
  if (!parsed) return bad(error);
  const Arguments& args = *parsed;
  if (args.flags.contains(QStringLiteral("--help")) || args.flags.contains(QStringLiteral("-h"))) {
    out << BatchUsage();
    return 0;
  }
  if (args.flags.contains(QStringLiteral("--version"))) {
    out << "brindlemark-batch " << QCoreApplication::applicationVersion() << '\n';
    return 0;
  }
  if (args.command.isEmpty()) return bad(QStringLiteral("no command"));
  static const QStringList kCommands = {
      QStringLiteral("replace-text"),   QStringLiteral("replace-block"),
      QStringLiteral("append"),         QStringLiteral("prepend"),
      QStringLiteral("delete-block"),   QStringLiteral("to-html"),
      QStringLiteral("to-text"),        QStringLiteral("tidy"),
      QStringLiteral("apply-template"), QStringLiteral("index"),
      QStringLiteral("series"),         QStringLiteral("rename"),
      QStringLiteral("copy-numbered"),  QStringLiteral("undo")};
  if (!kCommands.contains(args.command))
    return bad(QStringLiteral("unknown command ") + args.command);
  const bool dry_run = args.flags.contains(QStringLiteral("--dry-run"));
  BatchOptions options;
  options.dry_run = dry_run;
  options.journal_folder = journal_folder;
  options.label = QStringLiteral("brindlemark-batch ") + args.command;
  const QString& command = args.command;
  auto option = [&](const char* name) { return args.options.value(QString::fromLatin1(name)); };
  auto need = [&](const char* name) {
    if (!args.options.contains(QString::fromLatin1(name))) {
      error = QString::fromLatin1(name) + QStringLiteral(" is missing");
      return false;
    }
    return true;
  };

  if (command == u"undo") return Undo(journal_folder, dry_run, out, err);

  const QString default_mask =
      command == u"to-html" ? QStringLiteral("*.txt") : QStringLiteral("*.htm");
  const QString mask = args.options.value(QStringLiteral("--mask"), default_mask);
  bool numbers_ok = true;

  if (command == u"series") {
    if (!need("--page") || !need("--folder") || !need("--line") || !need("--from") ||
        !need("--to")) {
      return bad(error);
    }
    // Counted from 1, as the editor's line numbers and every line tool count.
    const int line = Number(args, "--line", 1, &numbers_ok) - 1;
    const int first = Number(args, "--from", 1, &numbers_ok);
    const int last = Number(args, "--to", 1, &numbers_ok);
    const int digits = Number(args, "--digits", 4, &numbers_ok);
    if (!numbers_ok || digits < 2 || digits > 4 || line < 0)
      return bad(QStringLiteral("bad number"));
    if (static_cast<qint64>(last) - first >= kMaxSeriesPages) {
      return bad(QStringLiteral("a series makes at most %1 pages").arg(kMaxSeriesPages));
    }
    const ReadOutcome read = ReadWholeFile(option("--page"), kBatchInputCap);
    if (!read.ok) {
      err << "Cannot open file " << option("--page") << ". " << read.error << '\n';
      return 1;
    }
    const TextFormat format = DetectTextFormat(read.bytes);
    const QStringList page = SplitLines(DecodeText(read.bytes, format));
    const QString before =
        args.options.value(QStringLiteral("--before"), QStringLiteral("<img src=\""));
    const QString after = args.options.value(QStringLiteral("--after"), QStringLiteral(".jpg\">"));
    return Report(RunBatch(SeriesSteps(page, line, first, last, digits, before, after,
                                       option("--folder"), option("--base"), format),
                           options),
                  dry_run, out, err);
  }
  if (command == u"rename") {
    if (args.paths.size() != 1 || !QFileInfo(args.paths.first()).isDir()) {
      return bad(QStringLiteral("rename takes one folder"));
    }
    const int digits = Number(args, "--digits", 2, &numbers_ok);
    if (!numbers_ok || digits < 2 || digits > 4) return bad(QStringLiteral("bad number"));
    const QString extension = args.options.value(QStringLiteral("--ext"), QStringLiteral("jpg"));
    const QString new_extension = args.options.value(QStringLiteral("--new-ext"), extension);
    const QString folder = args.paths.first();
    return Report(
        RunRenames(RenamePlan(folder, ListFolderFiles(folder, QStringLiteral("*.") + extension),
                              option("--before"), option("--after"), digits, extension,
                              new_extension, args.flags.contains(QStringLiteral("--keep-name"))),
                   options),
        dry_run, out, err);
  }
  if (command == u"index") {
    if (!need("--template") || !need("--output") || args.paths.size() != 1) {
      return bad(error.isEmpty() ? QStringLiteral("index takes one folder") : error);
    }
    const QString folder = args.paths.first();
    const QString end =
        option("--line-end") == u"br" ? QStringLiteral("<br>") : QStringLiteral("<p>");
    QStringList links;
    for (const QString& name : ListFolderFiles(folder, QStringLiteral("*.htm"))) {
      const std::optional<QStringList> page = ReadLinesOf(JoinPath(folder, name), &error);
      if (!page) {
        err << error << '\n';
        return 1;
      }
      links.append(IndexLine(name, PageTitleOf(*page), end));
    }
    const QString output = WithDefaultExtension(option("--output"), QStringLiteral(".htm"));
    return Report(RunBatch({IndexPageStep(option("--template"), output, links)}, options), dry_run,
                  out, err);
  }

  if (args.paths.isEmpty()) return bad(QStringLiteral("no PATH given"));
  QStringList unusable;
  const QStringList files = ExpandPaths(
      args.paths, mask, args.flags.contains(QStringLiteral("--recursive")), &unusable, &error);
  if (!error.isEmpty()) return bad(error);

  QList<BatchStep> steps;
  if (command == u"replace-text") {
    if (!need("--find") || !need("--replace")) return bad(error);
    if (option("--find").trimmed().isEmpty()) return bad(QStringLiteral("--find is empty"));
    steps = ReplaceTextSteps(files, option("--find"), option("--replace"));
  } else if (command == u"replace-block" || command == u"delete-block") {
    if (!need("--find-file")) return bad(error);
    const std::optional<QStringList> find = ReadLinesOf(option("--find-file"), &error);
    if (!find) return bad(error);
    if (find->isEmpty()) return bad(QStringLiteral("the find block is empty"));
    if (command == u"delete-block") {
      steps = DeleteBlockSteps(files, *find);
    } else {
      if (!need("--replace-file")) return bad(error);
      const std::optional<QStringList> replacement = ReadLinesOf(option("--replace-file"), &error);
      if (!replacement) return bad(error);
      if (replacement->isEmpty()) return bad(QStringLiteral("the replacement block is empty"));
      steps = BlockEditSteps(files, BlockMode::kReplace, *find, *replacement);
    }
  } else if (command == u"append" || command == u"prepend") {
    if (!need("--block-file")) return bad(error);
    const std::optional<QStringList> block = ReadLinesOf(option("--block-file"), &error);
    if (!block) return bad(error);
    if (block->isEmpty()) return bad(QStringLiteral("the block is empty"));
    steps = BlockEditSteps(files, command == u"append" ? BlockMode::kAppend : BlockMode::kPrepend,
                           {}, *block);
  } else if (command == u"to-html" || command == u"to-text") {
    // Pages keep their text unless asked: to-text writes name.txt beside the page.
    const bool other_extension =
        args.flags.contains(QStringLiteral("--other-extension")) ||
        (command == u"to-text" && !args.flags.contains(QStringLiteral("--in-place")));
    steps = ConvertSteps(files, command == u"to-html",
                         args.flags.contains(QStringLiteral("--tidy")), other_extension);
  } else if (command == u"tidy") {
    steps = TidySteps(files);
  } else if (command == u"apply-template") {
    if (!need("--template")) return bad(error);
    const std::optional<QStringList> pattern = ReadLinesOf(option("--template"), &error);
    if (!pattern) return bad(error);
    const std::optional<int> marker = MarkerLine(*pattern);
    if (!marker) return bad(QStringLiteral("the template has no marker line"));
    steps = ApplyTemplateSteps(option("--template"), *marker, files);
  } else if (command == u"copy-numbered") {
    if (!need("--target")) return bad(error);
    const int digits = Number(args, "--digits", 2, &numbers_ok);
    if (!numbers_ok || digits < 2 || digits > 4) return bad(QStringLiteral("bad number"));
    if (!dry_run) QDir().mkdir(option("--target"));
    steps =
        CopyNumberedSteps(files, option("--target"), option("--before"), option("--after"), digits);
  } else {
    return bad(QStringLiteral("unknown command ") + command);
  }
  return Report(RunBatch(steps, options), dry_run, out, err, unusable);
}
