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

#include "cli/batch_cli_support.h"
#include "cli/batch_invocation.h"

int BatchInvocation::ReplaceText() {
  QStringList files;
  if (!Files(&files) || !Need({"--find", "--replace"})) return Bad(error_);
  if (Option("--find").trimmed().isEmpty()) return Bad(QStringLiteral("--find is empty"));
  return Run(ReplaceTextSteps(files, Option("--find"), Option("--replace"), Flag("--all")));
}

int BatchInvocation::BlockEdit() {
  QStringList files;
  if (!Files(&files) || !Need({"--find-file"})) return Bad(error_);
  const std::optional<QStringList> find = ReadLinesOf(Option("--find-file"), &error_);
  if (!find) return Bad(error_);
  if (find->isEmpty()) return Bad(QStringLiteral("the find block is empty"));
  if (args_.command == u"delete-block") return Run(DeleteBlockSteps(files, *find));
  if (!Need({"--replace-file"})) return Bad(error_);
  const std::optional<QStringList> replacement = ReadLinesOf(Option("--replace-file"), &error_);
  if (!replacement) return Bad(error_);
  if (replacement->isEmpty()) return Bad(QStringLiteral("the replacement block is empty"));
  return Run(BlockEditSteps(files, BlockMode::kReplace, *find, *replacement));
}

int BatchInvocation::AppendOrPrepend() {
  QStringList files;
  if (!Files(&files) || !Need({"--block-file"})) return Bad(error_);
  const std::optional<QStringList> block = ReadLinesOf(Option("--block-file"), &error_);
  if (!block) return Bad(error_);
  if (block->isEmpty()) return Bad(QStringLiteral("the block is empty"));
  const BlockMode mode = args_.command == u"append" ? BlockMode::kAppend : BlockMode::kPrepend;
  return Run(BlockEditSteps(files, mode, {}, *block));
}

int BatchInvocation::Convert() {
  QStringList files;
  if (!Files(&files)) return Bad(error_);
  const bool to_html = args_.command == u"to-html";
  // Pages keep their text unless asked: to-text writes name.txt beside the page.
  const bool other_extension = Flag("--other-extension") || (!to_html && !Flag("--in-place"));
  return Run(ConvertSteps(files, to_html, Flag("--tidy"), other_extension));
}

int BatchInvocation::Tidy() {
  QStringList files;
  if (!Files(&files)) return Bad(error_);
  return Run(TidySteps(files));
}

int BatchInvocation::ApplyTemplate() {
  QStringList files;
  if (!Files(&files) || !Need({"--template"})) return Bad(error_);
  const std::optional<QStringList> pattern = ReadLinesOf(Option("--template"), &error_);
  if (!pattern) return Bad(error_);
  const std::optional<int> marker = MarkerLine(*pattern);
  if (!marker) return Bad(QStringLiteral("the template has no marker line"));
  return Run(ApplyTemplateSteps(Option("--template"), *marker, files));
}

int BatchInvocation::Index() {
  if (!Need({"--template", "--output"})) return Bad(error_);
  if (args_.paths.size() != 1) return Bad(QStringLiteral("index takes one folder"));
  const QString folder = args_.paths.first();
  const QString end =
      Option("--line-end") == u"br" ? QStringLiteral("<br>") : QStringLiteral("<p>");
  QStringList links;
  for (const QString& name : ListFolderFiles(folder, QStringLiteral("*.htm"))) {
    const std::optional<QStringList> page = ReadLinesOf(JoinPath(folder, name), &error_);
    if (!page) {
      err_ << error_ << '\n';
      return 1;
    }
    links.append(IndexLine(name, PageTitleOf(*page), end));
  }
  const QString output = WithDefaultExtension(Option("--output"), QStringLiteral(".htm"));
  return Run({IndexPageStep(Option("--template"), output, links)});
}

int BatchInvocation::Series() {
  if (!Need({"--page", "--folder", "--line", "--from", "--to"})) return Bad(error_);
  bool ok = true;
  // Counted from 1, as the editor's line numbers and every line tool count.
  const int line = Number(args_, "--line", 1, &ok) - 1;
  const int first = Number(args_, "--from", 1, &ok);
  const int last = Number(args_, "--to", 1, &ok);
  const std::optional<int> digits = Digits(4);
  if (!ok || !digits || line < 0) return Bad(QStringLiteral("bad number"));
  if (static_cast<qint64>(last) - first >= kMaxSeriesPages) {
    return Bad(QStringLiteral("a series makes at most %1 pages").arg(kMaxSeriesPages));
  }
  const ReadOutcome read = ReadWholeFile(Option("--page"), kBatchInputCap);
  if (!read.ok()) {
    err_ << read.message() << '\n';
    return 1;
  }
  const TextFormat format = DetectTextFormat(read.bytes);
  const QStringList page = SplitLines(DecodeText(read.bytes, format));
  const QString before =
      args_.options.value(QStringLiteral("--before"), QStringLiteral("<img src=\""));
  const QString after = args_.options.value(QStringLiteral("--after"), QStringLiteral(".jpg\">"));
  return Run(SeriesSteps({.page = page,
                          .line_index = line,
                          .first = first,
                          .last = last,
                          .digits = *digits,
                          .before = before,
                          .after = after,
                          .folder = Option("--folder"),
                          .base = Option("--base"),
                          .format = format}));
}

int BatchInvocation::RenameFiles() {
  if (args_.paths.size() != 1 || !QFileInfo(args_.paths.first()).isDir()) {
    return Bad(QStringLiteral("rename takes one folder"));
  }
  const std::optional<int> digits = Digits(2);
  if (!digits) return Bad(QStringLiteral("bad number"));
  const QString extension = args_.options.value(QStringLiteral("--ext"), QStringLiteral("jpg"));
  const QString new_extension = args_.options.value(QStringLiteral("--new-ext"), extension);
  const QString folder = args_.paths.first();
  const QList<Rename> plan =
      RenamePlan({.folder = folder,
                  .names = ListFolderFiles(folder, QStringLiteral("*.") + extension),
                  .before = Option("--before"),
                  .after = Option("--after"),
                  .digits = *digits,
                  .old_extension = extension,
                  .new_extension = new_extension,
                  .keep_name = Flag("--keep-name")});
  return Report(RunRenames(plan, options_), DryRun(), out_, err_);
}

int BatchInvocation::CopyNumbered() {
  QStringList files;
  if (!Files(&files) || !Need({"--target"})) return Bad(error_);
  const std::optional<int> digits = Digits(2);
  if (!digits) return Bad(QStringLiteral("bad number"));
  if (!DryRun()) QDir().mkdir(Option("--target"));
  return Run(
      CopyNumberedSteps(files, Option("--target"), Option("--before"), Option("--after"), *digits));
}

namespace {

// The commands: name, usage line(s) for --help, and what runs them.
struct CommandRow {
  const char* name;
  const char* usage;
  int (BatchInvocation::*run)();
};

constexpr CommandRow kCommands[] = {
    {"replace-text",
     "--find TEXT --replace TEXT [--all]   first occurrence in every line\n"
     "                 (every occurrence with --all)",
     &BatchInvocation::ReplaceText},
    {"replace-block", "--find-file FILE --replace-file FILE", &BatchInvocation::BlockEdit},
    {"append", "--block-file FILE          add lines at the end, drop blank lines",
     &BatchInvocation::AppendOrPrepend},
    {"prepend", "--block-file FILE          add lines at the start, drop blank lines",
     &BatchInvocation::AppendOrPrepend},
    {"delete-block", "--find-file FILE", &BatchInvocation::BlockEdit},
    {"to-html", "[--tidy] [--other-extension]   text files to pages (mask *.txt)",
     &BatchInvocation::Convert},
    {"to-text",
     "[--tidy] [--in-place]   pages to text, written to name.txt beside\n"
     "                 each page unless --in-place",
     &BatchInvocation::Convert},
    {"tidy", "                         drop blank lines, trim, collapse spaces",
     &BatchInvocation::Tidy},
    {"apply-template", "--template FILE           pour each file into the template",
     &BatchInvocation::ApplyTemplate},
    {"index",
     "--template FILE --output FILE [--line-end br] FOLDER\n"
     "                 the template's line holding <,,pattern,,> becomes the links",
     &BatchInvocation::Index},
    {"series",
     "--page FILE --line N --from A --to B [--digits 4] [--before T]\n"
     "                 [--after T] [--base NAME] --folder FOLDER\n"
     "                 line N (counted from 1) varies; at most 10000 pages",
     &BatchInvocation::Series},
    {"rename",
     "[--before T] [--after T] [--digits 2] [--ext jpg] [--new-ext EXT]\n"
     "                 [--keep-name] FOLDER",
     &BatchInvocation::RenameFiles},
    {"copy-numbered", "--target FOLDER [--before T] [--after T] [--digits 2] FILE...",
     &BatchInvocation::CopyNumbered},
    {"undo", "[--dry-run]   undo the last run, of the program or of this command",
     &BatchInvocation::UndoRun},
    {"check",
     "[--html] [--spelling] [--links [--orphans] [--root DIR]]\n"
     "                 [--language en] [--format text|json]\n"
     "                 [--werror | --fail-on error|warning|note]\n"
     "                 the pages' HTML, spelling and link problems (HTML and spelling\n"
     "                 without a flag; --language for text without lang), one line each,\n"
     "                 path:line:column: error|warning|note: message [kind];\n"
     "                 exit status 1 when an error (with --werror a warning too)\n"
     "                 was found; writes nothing",
     &BatchInvocation::Check},
    {"format",
     "[--dry-run] [--recursive] PATH...   lay the pages out again: block elements\n"
     "                 one per line, indented; inline text, pre, script, style and comments\n"
     "                 keep every byte; a page that cannot be formatted safely fails and\n"
     "                 is left as it is",
     &BatchInvocation::Format},
    {"find",
     "PATTERN [--regex] [--case] [--word] [--recursive] [--include GLOB] PATH...\n"
     "                 every line of the pages (*.htm;*.html;*.css unless --include) that\n"
     "                 holds PATTERN, each page read in its own encoding, as\n"
     "                 path:line:column: line; letter case ignored unless --case;\n"
     "                 exit status 0 when found, 1 when not, 2 for a bad PATTERN",
     &BatchInvocation::Find},
    {"move",
     "OLD NEW [--root DIR] [--dry-run]   rename or move a page, picture or\n"
     "                 folder; every link to it (and in it) under the root follows",
     &BatchInvocation::Move},
};

}  // namespace

QString BatchUsage() {
  QString usage = QStringLiteral(
      "Usage: brindlemark-batch COMMAND [OPTIONS] PATH...\n"
      "A PATH is a file or a folder (its files matching --mask, \"*.htm\" by default;\n"
      "\"*.htm\" also takes .html; --recursive takes its subfolders too).\n\n"
      "Commands:\n");
  for (const CommandRow& row : kCommands) {
    usage += QStringLiteral("  %1 %2\n")
                 .arg(QString::fromLatin1(row.name), -14)
                 .arg(QString::fromLatin1(row.usage));
  }
  return usage + QStringLiteral(
                     "\nOptions: --dry-run lists what would change and writes nothing; -- ends "
                     "the options;\n--help, -h; --version.\n"
                     "A file that fails is named on stderr and the run goes on with the others.\n"
                     "Exit status: 0 success, 1 a file failed, 2 bad arguments.\n");
}

int RunBatchCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                    const QString& journal_folder) {
  QString error;
  const std::optional<Arguments> parsed = Parse(arguments, &error);
  BatchInvocation invocation(parsed.value_or(Arguments{}), out, err, journal_folder);
  if (!parsed) return invocation.Bad(error);
  const Arguments& args = *parsed;
  if (args.flags.contains(QStringLiteral("--help")) || args.flags.contains(QStringLiteral("-h"))) {
    out << BatchUsage();
    return 0;
  }
  if (args.flags.contains(QStringLiteral("--version"))) {
    out << "brindlemark-batch " << QCoreApplication::applicationVersion() << '\n';
    return 0;
  }
  if (args.command.isEmpty()) return invocation.Bad(QStringLiteral("no command"));
  for (const CommandRow& row : kCommands) {
    if (args.command == QLatin1String(row.name)) return (invocation.*row.run)();
  }
  return invocation.Bad(QStringLiteral("unknown command ") + args.command);
}
