#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Why reading or writing a file failed.
enum class FileError { kMissing, kIsFolder, kTooLarge, kUnreadable, kReadOnly, kWriteFailed };

// A failed read or write: its kind, and what a user is told, naming the file, built once
// ("Cannot open file PATH. reason").
struct IoError {
  FileError kind = FileError::kUnreadable;
  QString message;
};

// A whole file's bytes, or why there are none.
struct ReadOutcome {
  QByteArray bytes;
  std::optional<IoError> error;
  quint64 device = 0;  // of the file read
  quint64 inode = 0;
  bool ok() const { return !error; }
  QString message() const { return error ? error->message : QString(); }
};

inline constexpr qint64 kNoSizeLimit = -1;
// What the program reads whole, each with its cap; a larger file gets a message naming it
// rather than filling the memory.
inline constexpr qint64 kPageCap = 512LL << 20;     // a page opened in the editor
inline constexpr qint64 kTextFileCap = 64LL << 20;  // a template, a block, a snippet store
inline constexpr qint64 kSettingsCap = 1LL << 20;   // settings and language files

// Reads a whole file. A folder, a missing or unreadable file, or one larger than max_bytes
// (when given) fail with the kind and the reason.
ReadOutcome ReadWholeFile(const QString& path, qint64 max_bytes);

// What identifies a file's state on disk, to notice that someone else changed it.
struct FileStamp {
  bool exists = false;
  qint64 size = 0;
  quint64 inode = 0;
  quint64 device = 0;
  qint64 modified_ns = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
FileStamp StampOf(const QString& path);
// A path as the program keeps it: absolute and clean, links kept (a page opened as
// "site/page.htm" stays the same page from any folder).
QString AbsolutePath(const QString& path);
// Sets a file's modification time (nanoseconds since the epoch); false when it cannot.
bool SetModificationTime(const QString& path, qint64 modified_ns);

// The system's words for an errno value.
QString SystemReason(int error);

// A regular file this user may not write, and what the user is told of it.
bool IsReadOnlyFile(const QString& path);
QString ReadOnlyFileMessage(const QString& path);
