#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <optional>
#include <thread>
#include <vector>

#include "platform/text_file.h"

// Replaces path with bytes atomically: on any failure the old file stays whole. Returns
// nothing on success, else the failure, its message naming the file. A symbolic link is followed
// (its target is written, the link stays); a read-only file is refused.
// A writable file in a folder where no new file may be made is rewritten in place.
struct WriteOptions {
  // A file with several names is rewritten in place so the names stay one file; false when
  // the other name is the undo journal's copy of the old text.
  bool keep_links = true;
  // False leaves flushing the folder to the caller (a batch run flushes each folder once,
  // after its last file).
  bool sync_folder = true;
};
std::optional<IoError> WriteWholeFile(const QString& path, const QByteArray& bytes,
                                      WriteOptions options = {});
// A file about to be written, from one look at it: a caller that journals the old file first
// (a batch run) needs no second look, and the write none of its own.
struct WriteTarget {
  QString path;  // absolute, a symbolic link resolved to what it leads to
  bool exists = false;
  bool regular = false;
  bool read_only = false;  // a regular file this user may not write
  qint64 links = 0;        // the file's names; a caller that adds one counts it here
  qint64 size = 0;
  qint64 modified_ns = 0;
  quint32 mode = 0;  // as stat() gives it
  quint64 device = 0;
  quint64 inode = 0;
  QString Folder() const { return path.left(path.lastIndexOf(u'/')); }
};
// Nothing, with *error, when path is a link that leads nowhere.
std::optional<WriteTarget> LookAtWriteTarget(const QString& path, QString* error);
// WriteWholeFile for a target looked at just now.
std::optional<IoError> WriteWholeFile(const WriteTarget& target, const QByteArray& bytes,
                                      WriteOptions options = {});
// Replaces target with the file source itself, through a second name of it renamed over
// target: no byte is copied, and source keeps its permissions and times. False, with
// target untouched, where that cannot be done (another file system, a file with several
// names, a read-only file); the caller then writes the bytes.
bool ReplaceWithFile(const WriteTarget& target, const QString& source);

// Writes of many files, each as WriteWholeFile makes it, with one flush to the disk for the
// whole group in place of one per file: each new file is written beside its page at once,
// and Finish flushes them together and renames each over its page. Until then the pages
// are as they were; a process killed before leaves them so and no new file behind.
// Folders are left for the caller to flush.
class WriteGroup {
 public:
  explicit WriteGroup(int capacity = 128);
  ~WriteGroup();
  WriteGroup(const WriteGroup&) = delete;
  WriteGroup& operator=(const WriteGroup&) = delete;

  // Starts the write of target; a write that cannot wait (a file with several names is
  // rewritten in place, as is a page in a folder that takes no new files) is done at once.
  // The failure when the bytes could not be written; name is what Finish reports it by.
  std::optional<IoError> Add(const QString& name, const WriteTarget& target,
                             const QByteArray& bytes, bool keep_links);
  bool Full() const;
  // Whether a write waiting here replaces that file, or makes a new one.
  bool Holds(quint64 device, quint64 inode) const;
  bool HoldsNewFiles() const { return new_files_ + in_flight_new_files_ > 0; }
  // Puts the writes waiting so far in place on a thread of its own while the caller goes on
  // (the next group's files are written meanwhile); their failures come with Finish.
  void FinishInBackground();
  // Puts every waiting write in place; the failures, each with its name.
  QList<std::pair<QString, IoError>> Finish();

 private:
  struct Waiting;
  static QList<std::pair<QString, IoError>> PutAllInPlace(std::vector<Waiting>& writes);
  void Join();

  qsizetype capacity_;
  std::vector<Waiting> waiting_;
  int new_files_ = 0;
  // The group being put in place in the background, touched by that thread until Join.
  std::vector<Waiting> in_flight_;
  int in_flight_new_files_ = 0;
  std::thread finisher_;
  QList<std::pair<QString, IoError>> finished_failures_;
};
// The file a write of path changes: the target of a symbolic link (empty, with *error,
// when the link leads nowhere), else path itself.
QString ResolveLinks(const QString& path, QString* error);
// Gives an existing file a second name.
bool AddFileName(const QString& existing, const QString& new_name);
// Whether new files may be made in folder.
bool MayCreateFilesIn(const QString& folder);

// A write names its new file ".NAME.brindlemark-PID-RANDOM" beside the old one just before
// renaming it over it; a process killed in between leaves that file. This removes such
// files in folder that are older than this program and whose process is gone; it returns
// how many it removed.
int RemoveLeftoverWrites(const QString& folder);
// The same for the folder of each path a run over many files goes to, each folder once.
class LeftoverSweep {
 public:
  void SweepFolderOf(const QString& path);

 private:
  QSet<QString> swept_;
  QSet<QString> given_;  // folders as the paths named them
};

// Flushes a folder's entries (renames made in it) to the disk.
void SyncFolder(const QString& folder);
