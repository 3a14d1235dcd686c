#include "batch/batch_engine.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstring>

#include "platform/codec.h"
#include "platform/text_file.h"

FileLines SplitFile(const QByteArray& bytes) {
  FileLines file;
  file.source = bytes;
  file.format = DetectTextFormat(bytes);
  QByteArrayView body = file.source;
  if (file.format.bom) body = body.sliced(3);
  const char* p = body.data();
  const qsizetype n = body.size();
  qsizetype start = 0;
  file.lines.reserve(n / 40 + 1);
  for (qsizetype i = 0; i < n; ++i) {
    if (p[i] != '\n' && p[i] != '\r') continue;
    file.lines.append(QByteArrayView(p + start, i - start));
    if (p[i] == '\r' && i + 1 < n && p[i + 1] == '\n') ++i;
    start = i + 1;
  }
  file.final_break = start == n;
  if (start < n) file.lines.append(QByteArrayView(p + start, n - start));
  return file;
}

QByteArray JoinFile(const FileLines& file) {
  const QByteArray end = LineEndBytes(file.format.line_end);
  qsizetype size = file.format.bom ? 3 : 0;
  for (const QByteArrayView line : file.lines) size += line.size() + end.size();
  QByteArray bytes;
  bytes.reserve(size);
  if (file.format.bom) bytes.append("\xEF\xBB\xBF");
  for (qsizetype i = 0; i < file.lines.size(); ++i) {
    bytes.append(file.lines[i]);
    if (i + 1 < file.lines.size() || file.final_break) bytes.append(end);
  }
  return bytes;
}

QByteArray EncodeFor(const QString& text, const TextFormat& format) {
  return format.encoding == TextEncoding::kUtf8 ? text.toUtf8() : EncodeCp1251(text);
}

QStringList DecodeLines(const FileLines& file) {
  QStringList lines;
  lines.reserve(file.lines.size());
  for (const QByteArrayView line : file.lines) {
    lines.append(file.format.encoding == TextEncoding::kUtf8 ? QString::fromUtf8(line)
                                                             : DecodeCp1251(line));
  }
  return lines;
}

void EncodeLines(FileLines& file, const QStringList& lines) {
  file.lines.clear();
  file.lines.reserve(lines.size());
  for (const QString& line : lines) file.lines.append(file.Keep(EncodeFor(line, file.format)));
}

BatchStep LineStep(const QString& path, LineEdit edit) {
  return {path, path,
          [edit = std::move(edit)](const QByteArray& input, QString*) -> std::optional<QByteArray> {
            FileLines file = SplitFile(input);
            if (!edit(file)) return std::nullopt;
            return JoinFile(file);
          }};
}

QString BatchReport::Summary() const {
  QString text = QStringLiteral("Files read: %1, changed: %2, unchanged: %3.")
                     .arg(read)
                     .arg(changed)
                     .arg(unchanged);
  if (cancelled) text += QStringLiteral(" Cancelled.");
  if (!error.isEmpty()) text += QStringLiteral(" Failed: ") + error;
  return text;
}

bool IsRefusedName(const QString& name) {
  if (name.isEmpty() || name == u"." || name == u"..") return true;
  for (const QChar c : name) {
    if (QStringView(u"\\/:*?\"<>|").contains(c) || c.unicode() < 32) return true;
  }
  return false;
}

QString DefaultJournalFolder() {
  QString data = qEnvironmentVariable("XDG_DATA_HOME");
  if (data.isEmpty()) data = QDir::homePath() + QStringLiteral("/.local/share");
  return data + QStringLiteral("/brindlemark/journal");
}

namespace {

// A fingerprint of a file's bytes: enough to tell whether a file is still what a run wrote
// (not a defence against anyone), at a small part of a cryptographic hash's cost.
QByteArray Digest(const QByteArray& bytes) {
  quint64 hash = 0x9E3779B97F4A7C15ULL ^ static_cast<quint64>(bytes.size());
  const char* data = bytes.constData();
  const qsizetype words = bytes.size() / 8;
  for (qsizetype i = 0; i < words; ++i) {
    quint64 word;
    std::memcpy(&word, data + i * 8, 8);
    word *= 0x87C37B91114253D5ULL;
    word = (word << 31) | (word >> 33);
    hash ^= word * 0x4CF5AD432745937FULL;
    hash = ((hash << 27) | (hash >> 37)) * 5 + 0x52DCE729;
  }
  for (qsizetype i = words * 8; i < bytes.size(); ++i) {
    hash = (hash ^ static_cast<unsigned char>(data[i])) * 0x100000001B3ULL;
  }
  hash ^= hash >> 33;
  hash *= 0xFF51AFD7ED558CCDULL;
  hash ^= hash >> 33;
  return QByteArray::number(static_cast<qulonglong>(bytes.size())) + '-' +
         QByteArray::number(static_cast<qulonglong>(hash), 16);
}

// The journal of one run: a folder with the original bytes of each file and an index.
class Journal {
 public:
  Journal(const QString& folder, const QString& label) : root_(folder), label_(label) {}

  QString Path() const { return path_; }

  // Records a file before it is written; false when the journal cannot be written.
  // *linked tells that the journal holds the old file itself as a second name.
  bool Record(const QString& path, bool existed, const QByteArray& before, const QByteArray& after,
              bool* linked, QString* error) {
    *linked = false;
    if (!Open(error)) return false;
    QJsonObject entry{{QStringLiteral("path"), path},
                      {QStringLiteral("existed"), existed},
                      {QStringLiteral("written"), QString::fromLatin1(Digest(after))}};
    if (existed) {
      const QString name = QStringLiteral("%1.orig").arg(count_);
      const QString kept = path_ + u'/' + name;
      // Writes replace files by renaming a new one over them, so the old file itself can be
      // kept as a second name instead of a copy; a copy when they lie on different disks.
      // A file that already has other names is copied: it will be rewritten in place.
      struct stat info {};
      const QByteArray file_name = QFile::encodeName(path);
      *linked = ::stat(file_name.constData(), &info) == 0 && info.st_nlink == 1 &&
                info.st_size == before.size() &&
                ::link(file_name.constData(), QFile::encodeName(kept).constData()) == 0;
      if (!*linked) {
        QFile::remove(kept);
        const QString failure = WriteWholeFile(kept, before);
        if (!failure.isEmpty()) {
          *error = failure;
          return false;
        }
      }
      entry.insert(QStringLiteral("original"), name);
    }
    ++count_;
    return Append(entry, error);
  }

  bool RecordRename(const QString& from, const QString& to, QString* error) {
    if (!Open(error)) return false;
    ++count_;
    return Append(QJsonObject{{QStringLiteral("from"), from}, {QStringLiteral("to"), to}}, error);
  }

 private:
  bool Open(QString* error) {
    if (!path_.isEmpty()) return true;
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    for (int n = 0; n < 1000; ++n) {
      const QString candidate =
          root_ + u'/' + stamp + QStringLiteral("-%1").arg(n, 3, 10, QChar(u'0'));
      if (QFileInfo::exists(candidate)) continue;
      if (!QDir().mkpath(candidate)) break;
      path_ = candidate;
      return Append(QJsonObject{{QStringLiteral("label"), label_}}, error);
    }
    *error = QStringLiteral("Cannot create the undo journal in %1").arg(root_);
    return false;
  }

  // One line per entry, appended and flushed before the file it names is written, so a
  // run that stops half-way leaves a journal of what it did.
  bool Append(const QJsonObject& entry, QString* error) {
    QFile index(path_ + QStringLiteral("/index.jsonl"));
    const QByteArray line = QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n';
    if (!index.open(QIODevice::WriteOnly | QIODevice::Append) || index.write(line) != line.size() ||
        !index.flush()) {
      *error = QStringLiteral("Cannot write the undo journal %1. %2")
                   .arg(index.fileName(), index.errorString());
      return false;
    }
    return true;
  }

  QString root_;
  QString label_;
  QString path_;
  int count_ = 0;
};

}  // namespace

BatchReport RunBatch(const QList<BatchStep>& steps, const BatchOptions& options) {
  BatchReport report;
  const QString root =
      options.journal_folder.isEmpty() ? DefaultJournalFolder() : options.journal_folder;
  Journal journal(root, options.label);
  // A dry run sees its own earlier outputs, so a file listed twice is shown as the run does it.
  QHash<QString, QByteArray> dry_outputs;
  QStringList written_folders;
  const int total = static_cast<int>(steps.size());
  for (int i = 0; i < total; ++i) {
    const BatchStep& step = steps[i];
    if (options.progress && !options.progress(i, total, step.write_path)) {
      report.cancelled = true;
      break;
    }
    QByteArray input;
    if (!step.read_path.isEmpty()) {
      if (options.dry_run && dry_outputs.contains(step.read_path)) {
        input = dry_outputs.value(step.read_path);
      } else {
        const ReadOutcome read = ReadWholeFile(step.read_path);
        if (!read.ok) {
          report.error = QStringLiteral("Cannot open file %1. %2").arg(step.read_path, read.error);
          report.error_path = step.read_path;
          break;
        }
        input = read.bytes;
      }
      ++report.read;
    }
    QString edit_error;
    const std::optional<QByteArray> output = step.edit(input, &edit_error);
    if (!edit_error.isEmpty()) {
      report.error = edit_error;
      report.error_path = step.read_path;
      break;
    }
    if (!output) {
      ++report.unchanged;
      continue;
    }
    // What stands at the target now: the input when editing in place.
    QByteArray current;
    bool existed = true;
    if (step.write_path == step.read_path) {
      current = input;
    } else if (options.dry_run && dry_outputs.contains(step.write_path)) {
      current = dry_outputs.value(step.write_path);
    } else if (QFileInfo(step.write_path).isFile()) {
      const ReadOutcome read = ReadWholeFile(step.write_path);
      if (!read.ok) {
        report.error = QStringLiteral("Cannot open file %1. %2").arg(step.write_path, read.error);
        report.error_path = step.write_path;
        break;
      }
      current = read.bytes;
    } else {
      existed = false;
    }
    if (existed && current == *output) {
      ++report.unchanged;
      continue;
    }
    if (options.dry_run) {
      dry_outputs.insert(step.write_path, *output);
      report.changes.append({step.write_path, current, *output, existed});
    } else {
      QString failure;
      bool linked = false;
      if (!journal.Record(step.write_path, existed, current, *output, &linked, &failure)) {
        report.error = failure;
        report.error_path = step.write_path;
        break;
      }
      failure = WriteWholeFile(step.write_path, *output, !linked, false);
      const QString folder = QFileInfo(step.write_path).absolutePath();
      if (!written_folders.contains(folder)) written_folders.append(folder);
      if (!failure.isEmpty()) {
        report.error = failure;
        report.error_path = step.write_path;
        break;
      }
    }
    ++report.changed;
    report.changed_paths.append(step.write_path);
  }
  for (const QString& folder : std::as_const(written_folders)) SyncFolder(folder);
  if (options.progress && !report.cancelled) options.progress(total, total, QString());
  report.journal = journal.Path();
  if (!report.journal.isEmpty()) PruneJournals(root);
  return report;
}

BatchReport RunRenames(const QList<Rename>& renames, const BatchOptions& options) {
  BatchReport report;
  const QString root =
      options.journal_folder.isEmpty() ? DefaultJournalFolder() : options.journal_folder;
  Journal journal(root, options.label);
  QSet<QString> taken;     // dry run: names the run has given so far
  QSet<QString> released;  // dry run: names the run has freed
  const int total = static_cast<int>(renames.size());
  for (int i = 0; i < total; ++i) {
    const Rename& rename = renames[i];
    if (options.progress && !options.progress(i, total, rename.from)) {
      report.cancelled = true;
      break;
    }
    ++report.read;
    const bool target_taken = taken.contains(rename.to) ||
                              (QFileInfo::exists(rename.to) && !released.contains(rename.to));
    if (IsRefusedName(QFileInfo(rename.to).fileName()) || target_taken ||
        rename.from == rename.to) {
      ++report.unchanged;
      continue;
    }
    if (options.dry_run) {
      taken.insert(rename.to);
      released.insert(rename.from);
      taken.remove(rename.from);
      report.changes.append({rename.to, rename.from.toUtf8(), rename.to.toUtf8(), true});
    } else {
      QString failure;
      if (!journal.RecordRename(rename.from, rename.to, &failure)) {
        report.error = failure;
        break;
      }
      if (!QFile::rename(rename.from, rename.to)) {
        ++report.unchanged;
        continue;
      }
    }
    ++report.changed;
    report.changed_paths.append(rename.to);
  }
  report.journal = journal.Path();
  if (!report.journal.isEmpty()) PruneJournals(root);
  return report;
}

UndoReport UndoLastRun(const QString& journal_folder, const QString& journal) {
  UndoReport report;
  const QString root = journal_folder.isEmpty() ? DefaultJournalFolder() : journal_folder;
  QString path = journal;
  if (path.isEmpty()) {
    const QStringList runs = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    if (runs.isEmpty()) {
      report.nothing = true;
      return report;
    }
    path = root + u'/' + runs.last();
  }
  const ReadOutcome index = ReadWholeFile(path + QStringLiteral("/index.jsonl"));
  if (!index.ok) {
    report.nothing = true;
    QDir(path).removeRecursively();
    return report;
  }
  const QList<QByteArray> entries = index.bytes.split('\n');
  for (qsizetype i = entries.size() - 1; i >= 0; --i) {
    const QJsonObject entry = QJsonDocument::fromJson(entries[i]).object();
    if (!entry.contains(u"from") && !entry.contains(u"path")) continue;
    if (entry.contains(u"from")) {
      const QString from = entry.value(u"from").toString();
      const QString to = entry.value(u"to").toString();
      if (QFileInfo::exists(to) && !QFileInfo::exists(from) && QFile::rename(to, from)) {
        ++report.restored;
      } else if (QFileInfo::exists(to) || !QFileInfo::exists(from)) {
        report.conflicts.append(to);
      }
      continue;
    }
    const QString file = entry.value(u"path").toString();
    const ReadOutcome now = ReadWholeFile(file);
    if (!now.ok || Digest(now.bytes) != entry.value(u"written").toString().toLatin1()) {
      report.conflicts.append(file);
      continue;
    }
    if (!entry.value(u"existed").toBool()) {
      if (QFile::remove(file)) ++report.restored;
      continue;
    }
    const ReadOutcome original = ReadWholeFile(path + u'/' + entry.value(u"original").toString());
    const QString failure = original.ok ? WriteWholeFile(file, original.bytes) : original.error;
    if (!failure.isEmpty()) {
      report.error = failure;
      return report;  // the journal stays for another try
    }
    ++report.restored;
  }
  QDir(path).removeRecursively();
  return report;
}

void PruneJournals(const QString& journal_folder, int keep, qint64 max_bytes) {
  QDir root(journal_folder);
  QStringList runs = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
  auto size_of = [&](const QString& run) {
    qint64 size = 0;
    for (const QFileInfo& info : QDir(root.filePath(run)).entryInfoList(QDir::Files)) {
      size += info.size();
    }
    return size;
  };
  qint64 total = 0;
  QList<qint64> sizes;
  for (const QString& run : runs) {
    sizes.append(size_of(run));
    total += sizes.last();
  }
  // The newest run is always kept, whatever its size.
  while (runs.size() > 1 && (runs.size() > keep || total > max_bytes)) {
    QDir(root.filePath(runs.first())).removeRecursively();
    total -= sizes.takeFirst();
    runs.removeFirst();
  }
}
