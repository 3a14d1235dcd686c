#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QLockFile>
#include <QString>
#include <map>
#include <memory>
#include <optional>

#include "platform/text_file.h"
#include "platform/text_format.h"

// A page's unsaved text, kept so that a crash, a killed process or a power cut loses none
// of it: the text in its own bytes (encoding and line ends as it would be saved) under a
// short header saying whose text it is.
struct RecoveryCopy {
  QString path;  // the page's file; empty for an untitled page
  TextFormat format;
  QDateTime edited;     // the last edit
  FileStamp disk;       // the file when it was opened or last saved
  QByteArray disk_md5;  // of the file's bytes then (hex), empty when there were none
  QByteArray bytes;

  // The header and the text, as stored; the header is a few hundred bytes at most.
  QByteArray Encoded() const;
  // Nothing for a file that is not a whole copy (damaged, cut short, foreign).
  static std::optional<RecoveryCopy> Decoded(const QByteArray& stored);
  // The header alone, from the first bytes of a stored copy of file_size bytes in all; bytes
  // stays empty and *text_at says where the text starts. Nothing, with *problem, for a file
  // that is not a whole copy.
  static std::optional<RecoveryCopy> DecodedHeader(QByteArrayView head, qint64 file_size,
                                                   qint64* text_at, QString* problem);
};

// $XDG_STATE_HOME/brindlemark/recovery (~/.local/state/… when unset).
QString DefaultRecoveryFolder();
// The MD5 of a file's bytes (hex), which a copy keeps of the file it came from; empty when
// the file cannot be read.
QByteArray FileMd5(const QString& path);

// A copy left by a program that did not end normally.
struct FoundCopy {
  QString file;
  qint64 size = 0;
  // The header; its text is read by LoadText. Nothing: unreadable, listed with problem but
  // never opened nor removed.
  std::optional<RecoveryCopy> copy;
  QString problem;
  qint64 text_at = 0;
  // The page's file changed since the copy was taken (another program saved it).
  bool changed_on_disk = false;
  // Its folder could not be locked (the recovery folder is read-only): offered, never removed.
  bool read_only = false;
};
// Reads a found copy's text into found.copy->bytes; false with *error when the file is no
// longer the copy that was listed.
bool LoadText(FoundCopy& found, QString* error);

// The copies of this program: a folder of its own under the recovery folder, held by a lock
// file while the program runs, so that another program started meanwhile leaves them alone
// and copies of a dead program are known by its stale lock. Write and Remove may run on
// another thread than the rest, one call at a time.
class RecoveryStore {
 public:
  explicit RecoveryStore(QString root = DefaultRecoveryFolder());
  ~RecoveryStore();

  // Makes the folders (0700) and takes the lock; false with *error when it cannot.
  bool Open(QString* error);
  bool IsOpen() const { return lock_ != nullptr; }
  // Writes page's copy atomically, 0600; false with *error when it cannot.
  bool Write(int page, const QByteArray& stored, QString* error) const;
  void Remove(int page) const;
  // A normal end: every copy, the folder and the lock go.
  void RemoveAll();

  // The copies of programs that ended without quitting, their locks taken until Release;
  // a dead program's folder without copies goes at once.
  QList<FoundCopy> Orphans();
  void ReleaseOrphans();
  // Removes a found copy, and its folder with its lock once empty. Only a copy this program
  // names, in a folder of the recovery folder, is removed: never a link nor what it leads to.
  // False when it removed nothing.
  bool Discard(const FoundCopy& found);

 private:
  QString CopyPath(int page) const;

  QString root_;
  QString folder_;
  std::unique_ptr<QLockFile> lock_;
  std::map<QString, std::unique_ptr<QLockFile>> orphan_locks_;  // by folder
};
