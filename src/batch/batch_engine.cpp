#include "batch/batch_engine.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include <cstring>

#include "platform/codec.h"
#include "platform/text_file.h"

BatchStep LineStep(const QString& path, LineEdit edit) {
  return {path, path,
          [edit = std::move(edit)](const QByteArray& input, QString*) -> std::optional<QByteArray> {
            FileLines file = SplitFile(input);
            if (!edit(file)) return std::nullopt;
            return JoinFile(file);
          }};
}

void BatchReport::Fail(const QString& path, const QString& message) {
  failures.append({path, message});
  if (error.isEmpty()) {
    error = message;
    error_path = path;
  }
}

QString BatchReport::Summary() const {
  QString text = QStringLiteral("Files read: %1, changed: %2, unchanged: %3.")
                     .arg(read)
                     .arg(changed)
                     .arg(unchanged);
  if (!replaced_paths.isEmpty()) {
    text += QStringLiteral(" Existing files replaced: %1.").arg(replaced_paths.size());
  }
  if (failures.size() > 1) text += QStringLiteral(" Failed: %1 files.").arg(failures.size());
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

constexpr QFileDevice::Permissions kPrivateFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr QFileDevice::Permissions kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
const QString kIndexName = QStringLiteral("index.jsonl");
// Left in a journal whose undo did not bring everything back.
const QString kTriedMark = QStringLiteral("undo-incomplete");

// The journal of one run: a folder only its owner may read, with the original bytes of
// each file and an index.
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
      // kept as a second name instead of a copy. Not when the page will be rewritten in
      // place (it has other names, or its folder takes no new files): the journal's name
      // would then see the new text.
      qint64 links = 0;
      qint64 size = 0;
      *linked = FileLinkCount(path, &links, &size) && links == 1 && size == before.size() &&
                MayCreateFilesIn(QFileInfo(path).absolutePath()) && !IsReadOnlyFile(path) &&
                AddFileName(path, kept);
      if (!*linked && !WriteCopy(path, kept, before, error)) return false;
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
  // A copy readable by its owner only, or as strict as the page when that is stricter.
  static bool WriteCopy(const QString& page, const QString& kept, const QByteArray& bytes,
                        QString* error) {
    QFile::remove(kept);
    const QString failure = WriteWholeFile(kept, bytes, false, false);
    if (!failure.isEmpty()) {
      *error = failure;
      return false;
    }
    const QFileDevice::Permissions own = QFileInfo(page).permissions() & kPrivateFile;
    QFile::setPermissions(kept, own ? own : QFileDevice::ReadOwner);
    return true;
  }

  bool Open(QString* error) {
    if (!path_.isEmpty()) return true;
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    if (QDir().mkpath(root_)) QFile::setPermissions(root_, kPrivateFolder);
    for (int n = 0; n < 1000; ++n) {
      const QString candidate =
          root_ + u'/' + stamp + QStringLiteral("-%1").arg(n, 3, 10, QChar(u'0'));
      if (QFileInfo::exists(candidate)) continue;
      if (!QDir().mkdir(candidate)) break;
      QFile::setPermissions(candidate, kPrivateFolder);
      path_ = candidate;
      if (!Append(QJsonObject{{QStringLiteral("label"), label_}}, error)) return false;
      QFile::setPermissions(path_ + u'/' + kIndexName, kPrivateFile);
      return true;
    }
    *error = QStringLiteral("Cannot create the undo journal in %1").arg(root_);
    return false;
  }

  // One line per entry, appended and flushed before the file it names is written, so a
  // run that stops half-way leaves a journal of what it did.
  bool Append(const QJsonObject& entry, QString* error) {
    QFile index(path_ + u'/' + kIndexName);
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

QString JournalPath(const QString& path) {
  QString error;
  const QString resolved = ResolveLinks(path, &error);
  return QDir::cleanPath(QFileInfo(resolved.isEmpty() ? path : resolved).absoluteFilePath());
}

namespace {

QString CannotOpen(const QString& path, const QString& reason) {
  return QStringLiteral("Cannot open file %1. %2").arg(path, reason);
}

// What stands at a step's target before the write; false (with the failure reported) when
// it cannot be read.
bool ReadTarget(const BatchStep& step, const QByteArray& input, bool dry_run,
                const QHash<QString, QByteArray>& dry_outputs, QByteArray* current, bool* existed,
                BatchReport& report) {
  *existed = true;
  if (step.write_path == step.read_path) {
    *current = input;
  } else if (dry_run && dry_outputs.contains(step.write_path)) {
    *current = dry_outputs.value(step.write_path);
  } else if (QFileInfo(step.write_path).isFile()) {
    const ReadOutcome read = ReadWholeFile(step.write_path, kBatchInputCap);
    if (!read.ok) {
      report.Fail(step.write_path, CannotOpen(step.write_path, read.error));
      return false;
    }
    *current = read.bytes;
  } else {
    *existed = false;
  }
  return true;
}

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
        const ReadOutcome read = ReadWholeFile(step.read_path, kBatchInputCap);
        if (!read.ok) {
          report.Fail(step.read_path, CannotOpen(step.read_path, read.error));
          continue;
        }
        input = read.bytes;
      }
      ++report.read;
    }
    QString edit_error;
    const std::optional<QByteArray> output = step.edit(input, &edit_error);
    if (!edit_error.isEmpty()) {
      report.Fail(step.read_path.isEmpty() ? step.write_path : step.read_path, edit_error);
      continue;
    }
    if (!output) {
      ++report.unchanged;
      continue;
    }
    QByteArray current;
    bool existed = true;
    if (!ReadTarget(step, input, options.dry_run, dry_outputs, &current, &existed, report)) {
      continue;
    }
    if (existed && current == *output) {
      ++report.unchanged;
      continue;
    }
    const bool replaces = existed && step.write_path != step.read_path;
    if (options.dry_run) {
      dry_outputs.insert(step.write_path, *output);
      report.changes.append({step.write_path, current, *output, existed, replaces, {}});
    } else {
      if (IsReadOnlyFile(step.write_path)) {
        report.Fail(
            step.write_path,
            QStringLiteral("Cannot write file %1: the file is read-only.").arg(step.write_path));
        continue;
      }
      QString failure;
      const QString target = JournalPath(step.write_path);
      bool linked = false;
      if (!journal.Record(target, existed, current, *output, &linked, &failure)) {
        report.Fail(step.write_path, failure);
        break;
      }
      failure = WriteWholeFile(target, *output, !linked, false);
      const QString folder = QFileInfo(target).absolutePath();
      if (!written_folders.contains(folder)) written_folders.append(folder);
      if (!failure.isEmpty()) {
        report.Fail(step.write_path, failure);
        continue;
      }
    }
    ++report.changed;
    report.changed_paths.append(step.write_path);
    if (replaces) report.replaced_paths.append(step.write_path);
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
    const QString from_name = QFileInfo(rename.from).fileName();
    const QString to_name = QFileInfo(rename.to).fileName();
    const bool target_taken = taken.contains(rename.to) ||
                              (QFileInfo::exists(rename.to) && !released.contains(rename.to));
    QString reason;
    if (rename.from == rename.to) {
      reason = QStringLiteral("the name stays the same");
    } else if (IsRefusedName(to_name)) {
      reason = QStringLiteral("the new name %1 is not allowed").arg(to_name);
    } else if (target_taken) {
      reason = QStringLiteral("%1 already exists").arg(to_name);
    }
    if (!reason.isEmpty()) {
      ++report.unchanged;
      report.skipped.append(from_name + QStringLiteral(": ") + reason);
      continue;
    }
    if (options.dry_run) {
      taken.insert(rename.to);
      released.insert(rename.from);
      taken.remove(rename.from);
      report.changes.append({rename.to, {}, {}, true, false, rename.from});
    } else {
      QString failure;
      if (!journal.RecordRename(JournalPath(rename.from),
                                QDir::cleanPath(QFileInfo(rename.to).absoluteFilePath()),
                                &failure)) {
        report.Fail(rename.from, failure);
        break;
      }
      if (!QFile::rename(rename.from, rename.to)) {
        report.Fail(rename.from,
                    QStringLiteral("Cannot rename %1 to %2.").arg(rename.from, to_name));
        continue;
      }
    }
    ++report.changed;
    report.changed_paths.append(rename.to);
    if (!options.dry_run) report.renamed.append(from_name + QStringLiteral(" -> ") + to_name);
  }
  report.journal = journal.Path();
  if (!report.journal.isEmpty()) PruneJournals(root);
  return report;
}

namespace {

// Whether a recorded path may be acted on: only absolute, clean paths are recorded.
bool IsRecordedPath(const QString& path) {
  return QDir::isAbsolutePath(path) && QDir::cleanPath(path) == path;
}

// Undoes one journaled write.
void UndoEntry(const QJsonObject& entry, const QString& journal, bool dry_run, UndoReport& report) {
  const QString file = entry.value(u"path").toString();
  auto fail = [&](const QString& why) {
    report.failed.append(file + QStringLiteral(": ") + why);
    if (report.error.isEmpty()) report.error = file + QStringLiteral(": ") + why;
  };
  if (!IsRecordedPath(file)) return fail(QStringLiteral("not a path this program records"));
  const bool existed = entry.value(u"existed").toBool();
  const QString original_name = entry.value(u"original").toString();
  static const QRegularExpression kOriginalName(QStringLiteral("^[0-9]+\\.orig$"));
  if (existed && !kOriginalName.match(original_name).hasMatch()) {
    return fail(QStringLiteral("the journal entry is damaged"));
  }
  QByteArray original;
  if (existed) {
    const ReadOutcome read = ReadWholeFile(journal + u'/' + original_name);
    if (!read.ok) return fail(QStringLiteral("the journaled copy is unreadable: ") + read.error);
    original = read.bytes;
  }
  const ReadOutcome now = ReadWholeFile(file);
  if (!now.ok || Digest(now.bytes) != entry.value(u"written").toString().toLatin1()) {
    // A run stopped before this write left the file as it was.
    if ((existed && now.ok && now.bytes == original) || (!existed && !now.ok)) {
      report.not_written.append(file);
    } else {
      report.conflicts.append(file);
    }
    return;
  }
  if (dry_run) {
    report.would_restore.append(file);
    return;
  }
  if (!existed) {
    if (QFile::remove(file)) {
      ++report.restored;
    } else {
      fail(QStringLiteral("cannot delete the file the run made"));
    }
    return;
  }
  const QString failure = WriteWholeFile(file, original);
  if (!failure.isEmpty()) return fail(failure);
  const ReadOutcome check = ReadWholeFile(file);
  if (!check.ok || check.bytes != original) {
    return fail(QStringLiteral("the file does not hold the journaled text after restoring"));
  }
  ++report.restored;
}

void UndoRename(const QJsonObject& entry, bool dry_run, UndoReport& report) {
  const QString from = entry.value(u"from").toString();
  const QString to = entry.value(u"to").toString();
  if (!IsRecordedPath(from) || !IsRecordedPath(to)) {
    report.failed.append(to + QStringLiteral(": not a path this program records"));
    return;
  }
  if (!QFileInfo::exists(to) && QFileInfo::exists(from)) {
    report.not_written.append(from);
  } else if (QFileInfo::exists(from) || !QFileInfo::exists(to)) {
    report.conflicts.append(to);
  } else if (dry_run) {
    report.would_restore.append(from);
  } else if (QFile::rename(to, from)) {
    ++report.restored;
  } else {
    report.failed.append(to + QStringLiteral(": cannot rename it back"));
  }
}

// The newest run whose undo has not been tried.
QString NewestRun(const QString& root) {
  const QStringList runs = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
  for (qsizetype i = runs.size() - 1; i >= 0; --i) {
    const QString path = root + u'/' + runs[i];
    if (!QFileInfo::exists(path + u'/' + kTriedMark)) return path;
  }
  return QString();
}

}  // namespace

UndoReport UndoLastRun(const QString& journal_folder, const QString& journal, bool dry_run) {
  UndoReport report;
  const QString root = journal_folder.isEmpty() ? DefaultJournalFolder() : journal_folder;
  const QString path = journal.isEmpty() ? NewestRun(root) : journal;
  report.journal = path;
  const ReadOutcome index =
      path.isEmpty() ? ReadOutcome{} : ReadWholeFile(path + u'/' + kIndexName, kBatchInputCap);
  if (!index.ok) {
    report.nothing = true;
    if (!path.isEmpty() && !dry_run) QDir(path).removeRecursively();
    return report;
  }
  const QList<QByteArray> entries = index.bytes.split('\n');
  for (qsizetype i = entries.size() - 1; i >= 0; --i) {
    const QJsonObject entry = QJsonDocument::fromJson(entries[i]).object();
    if (entry.contains(u"from")) {
      UndoRename(entry, dry_run, report);
    } else if (entry.contains(u"path")) {
      UndoEntry(entry, path, dry_run, report);
    }
  }
  if (dry_run) return report;
  if (report.failed.isEmpty() && report.conflicts.isEmpty()) {
    QDir(path).removeRecursively();
  } else {
    // Kept for a later try by hand; the next undo goes to the run before this one.
    report.kept = true;
    QFile mark(path + u'/' + kTriedMark);
    if (mark.open(QIODevice::WriteOnly))
      mark.write((report.failed + report.conflicts).join(u'\n').toUtf8());
  }
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
