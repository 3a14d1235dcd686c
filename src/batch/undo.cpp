#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "batch/batch_engine.h"
#include "batch/journal.h"
#include "names/texts.h"
#include "platform/file_write.h"

namespace {

// Whether a recorded path may be acted on: only absolute, clean paths are recorded.
bool IsRecordedPath(const QString& path) {
  return QDir::isAbsolutePath(path) && QDir::cleanPath(path) == path;
}

// Undoes one journaled write.
// Folders whose files were put back by name are flushed once each, after the last.
void UndoEntry(const QJsonObject& entry, const QString& journal, bool dry_run, UndoReport& report,
               QStringList& folders) {
  const QString file = entry.value(u"path").toString();
  auto fail = [&](const QString& why) { report.failed.append(file + QStringLiteral(": ") + why); };
  if (!IsRecordedPath(file)) return fail(Tr(Text::kNotRecordedPath));
  const bool existed = entry.value(u"existed").toBool();
  const QString original_name = entry.value(u"original").toString();
  static const QRegularExpression kOriginalName(QStringLiteral("^[0-9]+\\.orig$"));
  if (existed && !kOriginalName.match(original_name).hasMatch()) {
    return fail(Tr(Text::kJournalDamaged));
  }
  QByteArray original;
  if (existed) {
    const ReadOutcome read = ReadWholeFile(journal + u'/' + original_name, kBatchInputCap);
    if (!read.ok()) {
      report.io_failures.append({file, *read.error});
      return fail(Tr(Text::kJournalCopyUnreadable) + read.message());
    }
    original = read.bytes;
  }
  const ReadOutcome now = ReadWholeFile(file, kBatchInputCap);
  if (!now.ok() || Digest(now.bytes) != entry.value(u"written").toString().toLatin1()) {
    // A run stopped before this write left the file as it was.
    if ((existed && now.ok() && now.bytes == original) || (!existed && !now.ok())) {
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
      fail(Tr(Text::kCannotDeleteMade));
    }
    return;
  }
  // The journal's second name of the old file goes back in place of the run's file, as it
  // was, times included; failing that, its bytes are written.
  const QString kept = journal + u'/' + original_name;
  QString link_error;
  const std::optional<WriteTarget> target = LookAtWriteTarget(file, &link_error);
  if (entry.value(u"linked").toBool() && target && ReplaceWithFile(*target, kept)) {
    const QString folder = target->Folder();
    if (!folders.contains(folder)) folders.append(folder);
    ++report.restored;
    return;
  }
  if (const std::optional<IoError> failure = WriteWholeFile(file, original)) {
    report.io_failures.append({file, *failure});
    return fail(failure->message);
  }
  const ReadOutcome check = ReadWholeFile(file, kBatchInputCap);
  if (!check.ok() || check.bytes != original) {
    return fail(Tr(Text::kRestoreCheckFailed));
  }
  bool recorded_time = false;
  const qint64 modified_ns = entry.value(u"modified_ns").toString().toLongLong(&recorded_time);
  if (recorded_time) SetModificationTime(file, modified_ns);
  ++report.restored;
}

void UndoRename(const QJsonObject& entry, bool dry_run, UndoReport& report) {
  const QString from = entry.value(u"from").toString();
  const QString to = entry.value(u"to").toString();
  if (!IsRecordedPath(from) || !IsRecordedPath(to)) {
    report.failed.append(to + Tr(Text::kNotRecordedPathSuffix));
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
    report.failed.append(to + Tr(Text::kCannotRenameBack));
  }
}

// The newest run whose undo has not been tried.
QString NewestRun(const QString& root) {
  const QStringList runs = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
  for (qsizetype i = runs.size() - 1; i >= 0; --i) {
    const QString path = root + u'/' + runs[i];
    if (!QFileInfo::exists(path + u'/' + QString::fromUtf16(kTriedMark))) return path;
  }
  return QString();
}

}  // namespace

bool RunIsUndoable(const QString& journal) {
  return !journal.isEmpty() && QFileInfo::exists(journal + u'/' + QString::fromUtf16(kIndexName)) &&
         !QFileInfo::exists(journal + u'/' + QString::fromUtf16(kTriedMark));
}

UndoReport UndoLastRun(const QString& journal_folder, const QString& journal, bool dry_run,
                       const ProgressSink& progress) {
  UndoReport report;
  const QString root = journal_folder.isEmpty() ? DefaultJournalFolder() : journal_folder;
  const QString path = journal.isEmpty() ? NewestRun(root) : journal;
  report.journal = path;
  // No run at all: nothing to read, and above all no folder to remove.
  if (path.isEmpty()) {
    report.nothing = true;
    return report;
  }
  const ReadOutcome index =
      ReadWholeFile(path + u'/' + QString::fromUtf16(kIndexName), kBatchInputCap);
  if (!index.ok()) {
    report.nothing = true;
    if (!dry_run) QDir(path).removeRecursively();
    return report;
  }
  const QList<QByteArray> entries = index.bytes.split('\n');
  const int total = int(entries.size());
  LeftoverSweep leftovers;
  QStringList folders;
  for (qsizetype i = entries.size() - 1; i >= 0; --i) {
    const QJsonObject entry = QJsonDocument::fromJson(entries[i]).object();
    const QString file = entry.value(u"path").toString();
    if (progress) progress(int(total - 1 - i), total, file);
    // A killed run's half-made file goes before its page is restored.
    if (!dry_run && IsRecordedPath(file)) leftovers.SweepFolderOf(file);
    if (entry.contains(u"made")) {
      // A folder the run made goes once the run's files have left it, never with anything in it.
      const QString made = entry.value(u"made").toString();
      if (!dry_run && IsRecordedPath(made)) QDir().rmdir(made);
    } else if (entry.contains(u"from")) {
      UndoRename(entry, dry_run, report);
    } else if (entry.contains(u"path")) {
      UndoEntry(entry, path, dry_run, report, folders);
    }
  }
  for (const QString& folder : std::as_const(folders)) SyncFolder(folder);
  if (progress) progress(total, total, QString());
  if (dry_run) return report;
  if (report.failed.isEmpty() && report.conflicts.isEmpty()) {
    QDir(path).removeRecursively();
  } else {
    // Kept for a later try by hand; the next undo goes to the run before this one.
    report.kept = true;
    QFile mark(path + u'/' + QString::fromUtf16(kTriedMark));
    if (mark.open(QIODevice::WriteOnly))
      mark.write((report.failed + report.conflicts).join(u'\n').toUtf8());
  }
  return report;
}
