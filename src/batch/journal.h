#pragma once

#include <QByteArray>
#include <QFile>
#include <QFileDevice>
#include <QHash>
#include <QJsonObject>
#include <QString>

#include "platform/file_write.h"

// The undo journal of batch runs: one folder per run, readable by its owner only, with the
// original bytes of each file a run wrote and an index of one JSON line per entry.

// A fingerprint of a file's bytes: enough to tell whether a file is still what a run wrote
// (not a defence against anyone), at a small part of a cryptographic hash's cost.
QByteArray Digest(const QByteArray& bytes);

inline constexpr QFileDevice::Permissions kPrivateFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
inline constexpr QFileDevice::Permissions kPrivateFile =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner;
inline constexpr char16_t kIndexName[] = u"index.jsonl";
// Left in a journal whose undo did not bring everything back.
inline constexpr char16_t kTriedMark[] = u"undo-incomplete";
// The bytes a finished run's journal holds, so that pruning need not list every kept file.
inline constexpr char16_t kBytesName[] = u"bytes";

// The bytes a run's journal holds: from its record, else (an older or interrupted run) from
// its files, then recorded.
qint64 JournalBytes(const QString& run_folder);

// The journal of one run, made on its first entry.
class Journal {
 public:
  Journal(const QString& folder, const QString& label) : root_(folder), label_(label) {}

  QString Path() const { return path_; }

  // Records a file before it is written (the caller has made sure it may be written);
  // false when the journal cannot be written.
  // *linked tells that the journal holds the old file itself as a second name, counted in
  // target.links.
  bool Record(WriteTarget& target, bool existed, const QByteArray& before, const QByteArray& after,
              bool* linked, QString* error);
  bool RecordRename(const QString& from, const QString& to, QString* error);
  // Records a folder the run is about to make, so that undo takes it away again once empty.
  bool RecordMadeFolder(const QString& folder, QString* error);
  // Notes the journal's size once the run is over.
  void Finish();

 private:
  static bool WriteCopy(const QString& page, const QString& kept, const QByteArray& bytes,
                        QString* error);
  bool Open(QString* error);
  bool FolderTakesNewFiles(const QString& folder);
  // One line per entry, appended and flushed before the file it names is written, so a
  // run that stops half-way leaves a journal of what it did.
  bool Append(QByteArray line, QString* error);

  QString root_;
  QString label_;
  QString path_;
  int count_ = 0;
  QHash<QString, bool> folders_;
  QFile index_;
  qint64 bytes_ = 0;
};
