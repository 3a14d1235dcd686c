#include "batch/batch_engine.h"
#include "names/texts.h"
#include "platform/app_paths.h"

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

#include "batch/journal.h"
#include "platform/file_write.h"

BatchStep LineStep(const QString& path, LineEdit edit) {
  return {path, path,
          [edit = std::move(edit)](const QByteArray& input, QString*) -> std::optional<QByteArray> {
            FileLines file = SplitFile(input);
            if (!edit(file)) return std::nullopt;
            return JoinFile(file);
          }};
}

void BatchReport::Fail(const QString& path, const IoError& failure) {
  failures.append({path, failure});
  if (error.isEmpty()) {
    error = failure.message;
    error_path = path;
  }
}

QString BatchReport::Summary() const {
  QString text = Tr(Text::kSummary).arg(read).arg(changed).arg(unchanged);
  if (!replaced_paths.isEmpty()) {
    text += Tr(Text::kSummaryReplaced).arg(replaced_paths.size());
  }
  if (failures.size() > 1) text += Tr(Text::kSummaryFailedFiles).arg(failures.size());
  if (cancelled) text += Tr(Text::kSummaryCancelled);
  if (!error.isEmpty()) text += Tr(Text::kSummaryFailed) + error;
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
  return UserFolder("XDG_DATA_HOME", ".local/share") + QStringLiteral("/brindlemark/journal");
}

QString JournalPath(const QString& path) {
  QString error;
  const QString resolved = ResolveLinks(path, &error);
  return QDir::cleanPath(QFileInfo(resolved.isEmpty() ? path : resolved).absoluteFilePath());
}

namespace {

// One run of steps: what it has read, written and journaled so far.
class BatchRun {
 public:
  explicit BatchRun(const BatchOptions& options)
      : options_(options),
        root_(options.journal_folder.isEmpty() ? DefaultJournalFolder() : options.journal_folder),
        journal_(root_, options.label) {}

  BatchReport Run(const QList<BatchStep>& steps);
  // Renames (files or folders) first, each refused when its target exists; then the steps.
  BatchReport Run(const QList<Rename>& renames, const QList<BatchStep>& steps);

 private:
  // Where a path stands now: a dry run has not renamed, so it reads from the old names.
  QString OnDisk(const QString& path) const;
  // Makes the folders missing above path, journaled; false with *error when it cannot.
  bool MakeFolderOf(const QString& path, QString* error);
  // What stands at a step's target before the write.
  struct Target {
    QByteArray bytes;
    bool existed = true;
  };
  enum class Written { kDone, kFailed, kStop };

  // False when the run must stop.
  bool Step(const BatchStep& step);
  std::optional<QByteArray> ReadInput(const BatchStep& step);
  std::optional<Target> ReadTarget(const BatchStep& step, const QByteArray& input);
  Written Write(const BatchStep& step, const Target& target, const QByteArray& output);
  // Reads a file a step works on; an earlier step's write still waiting in the group is put
  // in place first, so every step sees what the steps before it wrote.
  ReadOutcome ReadFresh(const QString& path);
  void FinishWrites();

  const BatchOptions& options_;
  QString root_;
  Journal journal_;
  BatchReport report_;
  // A dry run sees its own earlier outputs, so a file listed twice is shown as the run does it.
  QHash<QString, QByteArray> dry_outputs_;
  QStringList written_folders_;
  WriteGroup writes_;
  QList<Rename> dry_renames_;
  // A run killed before renaming its new file over a page left it there; this run takes
  // the place of that one.
  LeftoverSweep leftovers_;
};

BatchReport BatchRun::Run(const QList<BatchStep>& steps) {
  const int total = static_cast<int>(steps.size());
  for (int i = 0; i < total; ++i) {
    const BatchStep& step = steps[i];
    if (options_.progress && !options_.progress(i, total, step.write_path)) {
      report_.cancelled = true;
      break;
    }
    if (!Step(step)) break;
  }
  FinishWrites();
  for (const QString& folder : std::as_const(written_folders_)) SyncFolder(folder);
  if (options_.progress && !report_.cancelled) options_.progress(total, total, QString());
  report_.journal = journal_.Path();
  journal_.Finish();
  if (!report_.journal.isEmpty()) PruneJournals(root_);
  return report_;
}

BatchReport BatchRun::Run(const QList<Rename>& renames, const QList<BatchStep>& steps) {
  for (const Rename& rename : renames) {
    const QString to_name = QFileInfo(rename.to).fileName();
    QString reason;
    if (QFileInfo::exists(rename.to)) {
      reason = Tr(Text::kAlreadyExists).arg(rename.to);
    } else if (IsRefusedName(to_name) || to_name.isEmpty()) {
      reason = Tr(Text::kNameNotAllowed).arg(to_name);
    } else if (!QFileInfo::exists(rename.from)) {
      reason = Tr(Text::kCannotRename).arg(rename.from, to_name);
    }
    if (!reason.isEmpty()) {
      report_.Fail(rename.from, reason);
      return report_;
    }
    if (options_.dry_run) {
      dry_renames_.append(rename);
      report_.changes.append({rename.to, {}, {}, true, false, rename.from});
    } else {
      QString failure;
      if (!MakeFolderOf(rename.to, &failure)) {
        report_.Fail(rename.from, failure);
        return report_;
      }
      // The name itself, a link included: undo renames the link back, not what it leads to.
      if (!journal_.RecordRename(QDir::cleanPath(QFileInfo(rename.from).absoluteFilePath()),
                                 QDir::cleanPath(QFileInfo(rename.to).absoluteFilePath()),
                                 &failure)) {
        report_.Fail(rename.from, failure);
        return report_;
      }
      if (!QDir().rename(rename.from, rename.to)) {
        report_.Fail(rename.from, Tr(Text::kCannotRename).arg(rename.from, to_name));
        report_.journal = journal_.Path();
        return report_;
      }
      report_.renamed.append(rename.from + QStringLiteral(" -> ") + rename.to);
      SyncFolder(QFileInfo(rename.from).absolutePath());
      SyncFolder(QFileInfo(rename.to).absolutePath());
    }
  }
  return Run(steps);
}

bool BatchRun::MakeFolderOf(const QString& path, QString* error) {
  // The folders missing on the way, outermost first, each journaled before it is made.
  QStringList missing;
  for (QString folder = QFileInfo(path).absolutePath(); !QFileInfo::exists(folder);
       folder = QFileInfo(folder).absolutePath()) {
    missing.prepend(QDir::cleanPath(folder));
    if (QFileInfo(folder).isRoot()) break;
  }
  for (const QString& folder : std::as_const(missing)) {
    if (!journal_.RecordMadeFolder(folder, error)) return false;
    if (!QDir().mkdir(folder)) {
      *error = Tr(Text::kCannotMakeFolder).arg(folder);
      return false;
    }
  }
  return true;
}

QString BatchRun::OnDisk(const QString& path) const {
  for (const Rename& rename : dry_renames_) {
    if (path == rename.to) return rename.from;
    if (path.startsWith(rename.to + u'/')) return rename.from + path.sliced(rename.to.size());
  }
  return path;
}

bool BatchRun::Step(const BatchStep& step) {
  if (!options_.dry_run) leftovers_.SweepFolderOf(step.write_path);
  const std::optional<QByteArray> input = ReadInput(step);
  if (!input) return true;
  QString edit_error;
  const std::optional<QByteArray> output = step.edit(*input, &edit_error);
  if (!edit_error.isEmpty()) {
    report_.Fail(step.read_path.isEmpty() ? step.write_path : step.read_path, edit_error);
    return true;
  }
  if (!output) {
    ++report_.unchanged;
    return true;
  }
  const std::optional<Target> target = ReadTarget(step, *input);
  if (!target) return true;
  if (target->existed && target->bytes == *output) {
    ++report_.unchanged;
    return true;
  }
  const bool replaces = target->existed && step.write_path != step.read_path;
  if (options_.dry_run) {
    dry_outputs_.insert(step.write_path, *output);
    report_.changes.append(
        {step.write_path, target->bytes, *output, target->existed, replaces, {}});
  } else {
    const Written written = Write(step, *target, *output);
    if (written == Written::kStop) return false;
    if (written == Written::kFailed) return true;
  }
  ++report_.changed;
  report_.changed_paths.append(step.write_path);
  if (replaces) report_.replaced_paths.append(step.write_path);
  return true;
}

// The input of a step: what an earlier step of a dry run wrote, else the file's bytes.
std::optional<QByteArray> BatchRun::ReadInput(const BatchStep& step) {
  if (step.read_path.isEmpty()) return QByteArray();
  QByteArray input;
  if (options_.dry_run && dry_outputs_.contains(step.read_path)) {
    input = dry_outputs_.value(step.read_path);
  } else {
    const ReadOutcome read = ReadFresh(OnDisk(step.read_path));
    if (!read.ok()) {
      report_.Fail(step.read_path, *read.error);
      return std::nullopt;
    }
    input = read.bytes;
  }
  ++report_.read;
  return input;
}

// Nothing (with the failure reported) when the target cannot be read.
std::optional<BatchRun::Target> BatchRun::ReadTarget(const BatchStep& step,
                                                     const QByteArray& input) {
  if (step.write_path == step.read_path) return Target{input};
  if (options_.dry_run && dry_outputs_.contains(step.write_path)) {
    return Target{dry_outputs_.value(step.write_path)};
  }
  if (!QFileInfo(step.write_path).isFile()) {
    if (!writes_.HoldsNewFiles()) return Target{QByteArray(), false};
    FinishWrites();
    if (!QFileInfo(step.write_path).isFile()) return Target{QByteArray(), false};
  }
  const ReadOutcome read = ReadFresh(step.write_path);
  if (!read.ok()) {
    report_.Fail(step.write_path, *read.error);
    return std::nullopt;
  }
  return Target{read.bytes};
}

// Writes one changed page, journaled first; a journal that cannot be written stops the run.
BatchRun::Written BatchRun::Write(const BatchStep& step, const Target& target,
                                  const QByteArray& output) {
  // One look at the file serves the checks, the journal and the write.
  QString failure;
  std::optional<WriteTarget> file = LookAtWriteTarget(step.write_path, &failure);
  if (!file) {
    report_.Fail(step.write_path, IoError{FileError::kMissing, failure});
    return Written::kFailed;
  }
  if (file->read_only) {
    report_.Fail(step.write_path,
                 IoError{FileError::kReadOnly, ReadOnlyFileMessage(step.write_path)});
    return Written::kFailed;
  }
  bool linked = false;
  if (!journal_.Record(*file, target.existed, target.bytes, output, &linked, &failure)) {
    report_.Fail(step.write_path, failure);
    return Written::kStop;
  }
  const std::optional<IoError> written = writes_.Add(step.write_path, *file, output, !linked);
  const QString folder = file->Folder();
  if (!written_folders_.contains(folder)) written_folders_.append(folder);
  if (written) {
    report_.Fail(step.write_path, *written);
    return Written::kFailed;
  }
  if (writes_.Full()) writes_.FinishInBackground();
  return Written::kDone;
}

ReadOutcome BatchRun::ReadFresh(const QString& path) {
  ReadOutcome read = ReadWholeFile(path, kBatchInputCap);
  if (read.ok() ? writes_.Holds(read.device, read.inode) : writes_.HoldsNewFiles()) {
    FinishWrites();
    read = ReadWholeFile(path, kBatchInputCap);
  }
  return read;
}

void BatchRun::FinishWrites() {
  for (const auto& [path, failure] : writes_.Finish()) {
    report_.Fail(path, failure);
    --report_.changed;
    report_.changed_paths.removeOne(path);
    report_.replaced_paths.removeOne(path);
  }
}

}  // namespace

BatchReport RunBatch(const QList<BatchStep>& steps, const BatchOptions& options) {
  return BatchRun(options).Run(steps);
}

BatchReport RunMove(const QList<Rename>& renames, const QList<BatchStep>& steps,
                    const BatchOptions& options) {
  return BatchRun(options).Run(renames, steps);
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
      reason = Tr(Text::kNameStays);
    } else if (IsRefusedName(to_name)) {
      reason = Tr(Text::kNameNotAllowed).arg(to_name);
    } else if (target_taken) {
      reason = Tr(Text::kAlreadyExists).arg(to_name);
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
        report.Fail(rename.from, Tr(Text::kCannotRename).arg(rename.from, to_name));
        continue;
      }
    }
    ++report.changed;
    report.changed_paths.append(rename.to);
    if (!options.dry_run) report.renamed.append(from_name + QStringLiteral(" -> ") + to_name);
  }
  report.journal = journal.Path();
  journal.Finish();
  if (!report.journal.isEmpty()) PruneJournals(root);
  return report;
}
