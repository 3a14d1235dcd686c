#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

#include "platform/file_lines.h"
#include "platform/text_file.h"

// One file of a run: read read_path (when set), write the edit's output to write_path when
// the edit gives one and it differs from what is there.
struct BatchStep {
  QString read_path;
  QString write_path;
  // The new bytes, or nothing to leave the file alone. error set stops the run.
  std::function<std::optional<QByteArray>(const QByteArray& input, QString* error)> edit;
};
// A step that edits a file in place line by line; the edit returns true when it changed
// something.
using LineEdit = std::function<bool(FileLines& file)>;
BatchStep LineStep(const QString& path, LineEdit edit);

// Done so far, the total and the file at hand; false cancels (between files).
using ProgressSink = std::function<bool(int done, int total, const QString& path)>;

struct BatchChange {
  QString path;
  QByteArray before;  // empty with existed == false
  QByteArray after;
  bool existed = true;
  bool replaces = false;  // an existing file other than the one read is replaced
  QString renamed_from;   // renames: the old path (path is the new one)
};

// A file a run could not do; the run goes on with the others.
struct BatchFailure {
  QString path;
  IoError error;  // its message names the file
};

// Inputs larger than this are reported as failed rather than read whole.
inline constexpr qint64 kBatchInputCap = 256LL << 20;

struct BatchOptions {
  bool dry_run = false;
  QString label;           // what the run was, for the journal
  QString journal_folder;  // empty: the user's data folder
  ProgressSink progress;
};

struct BatchReport {
  int read = 0;
  int changed = 0;
  int unchanged = 0;
  bool cancelled = false;
  QString error;  // the first failure, naming the file
  QString error_path;
  QList<BatchFailure> failures;  // every file that failed, in order
  QList<BatchChange> changes;    // dry runs: what would change, in order
  QStringList changed_paths;
  QStringList replaced_paths;  // of changed_paths: existing files other than the one read
  QStringList skipped;         // left alone, each with its reason ("name: reason")
  QStringList renamed;         // renames done: "old name -> new name"
  QString journal;             // the journal of a real run that changed something
  bool ok() const { return error.isEmpty(); }
  void Fail(const QString& path, const IoError& failure);
  // A failure that is not the file system's: a step's own reason.
  void Fail(const QString& path, const QString& message) {
    Fail(path, IoError{FileError::kWriteFailed, message});
  }
  QString Summary() const;
};

// Runs the steps in order. Each file is read once and written atomically only when its
// bytes change; the original bytes go into the run's journal before the write. A file that
// fails is reported and the run goes on; only a journal that cannot be written stops it.
BatchReport RunBatch(const QList<BatchStep>& steps, const BatchOptions& options);

// Renames in order; a rename whose target exists or whose name is refused is skipped.
// Journaled like a run, so undo renames back.
struct Rename {
  QString from;
  QString to;
};
BatchReport RunRenames(const QList<Rename>& renames, const BatchOptions& options);
// Renames files or folders (making the new folders a name needs), then runs the steps, in
// one journal: undo takes the steps back, then the names. A rename whose target exists, or
// whose source is gone, stops the run before anything is changed. A dry run reads the
// steps' files under their old names.
BatchReport RunMove(const QList<Rename>& renames, const QList<BatchStep>& steps,
                    const BatchOptions& options);

// A name the file systems of these sites refuse: \ / : * ? " < > |
bool IsRefusedName(const QString& name);

// The user's journal folder: $XDG_DATA_HOME/brindlemark/journal.
QString DefaultJournalFolder();

struct UndoReport {
  int restored = 0;
  QStringList conflicts;            // changed since the run: left alone
  QStringList failed;               // entries that could not be restored, each with its reason
  QList<BatchFailure> io_failures;  // of those, the ones a read or write of a file failed
  QStringList not_written;          // still as before the run (a run that was stopped)
  QStringList would_restore;        // dry run: what would go back
  QString journal;                  // the run this was about
  bool kept = false;                // not all went back: the journal stays, marked as tried
  bool nothing = false;             // no run to undo
};
// Undoes the newest journaled run not yet tried (or the one named): files still as the run
// wrote them go back, each checked against the journaled bytes. The journal is dropped when
// every entry went back; otherwise it stays, and the next undo goes to the run before it.
// progress is told of each entry (its answer is not asked: an undo runs to its end).
UndoReport UndoLastRun(const QString& journal_folder = QString(),
                       const QString& journal = QString(), bool dry_run = false,
                       const ProgressSink& progress = {});
// Whether the run journaled in journal can still be undone (it was not undone or tried).
bool RunIsUndoable(const QString& journal);

// The form of a path the journal records: absolute, clean, a symbolic link resolved.
QString JournalPath(const QString& path);

// Keeps the newest keep runs within max_bytes.
void PruneJournals(const QString& journal_folder, int keep = 20, qint64 max_bytes = 512LL << 20);
