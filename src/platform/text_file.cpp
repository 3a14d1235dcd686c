#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include "platform/codec.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include <cerrno>
#include <cstdlib>
#include <cstring>

void CompactLineBreaks(QString& text) {
  if (!text.contains(u'\r')) return;
  QChar* data = text.data();
  const qsizetype size = text.size();
  qsizetype out = 0;
  for (qsizetype i = 0; i < size; ++i) {
    const QChar c = data[i];
    if (c == u'\r') {
      data[out++] = u'\n';
      if (i + 1 < size && data[i + 1] == u'\n') ++i;
    } else {
      data[out++] = c;
    }
  }
  text.truncate(out);
}

QString BytesToText(QByteArrayView bytes) {
  QString decoded = DecodeCp1251(bytes);
  CompactLineBreaks(decoded);
  return decoded;
}

QByteArray TextToBytes(QStringView text, qsizetype* replaced) {
  return EncodeCp1251(text, replaced, "\r\n");
}

QStringList SplitLines(QStringView text) {
  QStringList lines;
  if (text.isEmpty()) return lines;
  qsizetype start = 0;
  while (start < text.size()) {
    qsizetype end = text.indexOf(u'\n', start);
    if (end < 0) end = text.size();
    lines.append(text.sliced(start, end - start).toString());
    start = end + 1;
  }
  return lines;
}

namespace {

// When this program started: leftovers of writes are only ever older.
const qint64 kStartedNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();

QString SystemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// A write's message as its failure; an empty message is success.
std::optional<IoError> Failure(const QString& message) {
  if (message.isEmpty()) return std::nullopt;
  return IoError{FileError::kWriteFailed, message};
}

// Writes all of bytes to fd; false with errno set on failure.
bool WriteAll(int fd, const QByteArray& bytes) {
  const char* data = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    data += n;
    left -= n;
  }
  return true;
}

// Rewrites the file itself: for a file with several names, which must stay one file, and
// for a writable file in a folder where no new file may be made.
QString WriteInPlace(const QString& path, const QByteArray& bytes) {
  const QByteArray name = QFile::encodeName(path);
  const int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return QStringLiteral("Cannot create file %1. %2").arg(path, SystemReason(errno));
  // Grow first, so that running out of space fails before the old text is touched.
  struct stat info {};
  if (::fstat(fd, &info) == 0 && bytes.size() > info.st_size &&
      ::posix_fallocate(fd, 0, bytes.size()) == ENOSPC) {
    ::close(fd);
    return QStringLiteral("Cannot write file %1. %2").arg(path, SystemReason(ENOSPC));
  }
  const bool ok = WriteAll(fd, bytes) && ::ftruncate(fd, bytes.size()) == 0 && ::fsync(fd) == 0;
  const int error = errno;
  ::close(fd);
  if (!ok) return QStringLiteral("Cannot write file %1. %2").arg(path, SystemReason(error));
  return QString();
}

}  // namespace

namespace {

ReadOutcome ReadBytes(const QString& path, qint64 max_bytes) {
  ReadOutcome outcome;
  const QByteArray name = QFile::encodeName(path);
  const int fd = name.isEmpty() ? -1 : ::open(name.constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int error = name.isEmpty() ? ENOENT : errno;
    outcome.error = IoError{error == ENOENT ? FileError::kMissing : FileError::kUnreadable,
                            SystemReason(error)};
    return outcome;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    outcome.error = IoError{FileError::kUnreadable, SystemReason(errno)};
    ::close(fd);
    return outcome;
  }
  if (S_ISDIR(info.st_mode)) {
    outcome.error = IoError{FileError::kIsFolder, QStringLiteral("It is a folder, not a file.")};
    ::close(fd);
    return outcome;
  }
  if (max_bytes >= 0 && info.st_size > max_bytes) {
    outcome.error = IoError{
        FileError::kTooLarge,
        QStringLiteral("File too large (%1 bytes, at most %2)").arg(info.st_size).arg(max_bytes)};
    ::close(fd);
    return outcome;
  }
  // The size is a first guess: a file that grows or a pipe is read to its end.
  QByteArray bytes(S_ISREG(info.st_mode) ? info.st_size : 0, Qt::Uninitialized);
  qsizetype used = 0;
  for (;;) {
    if (used == bytes.size()) bytes.resize(std::max<qsizetype>(4096, bytes.size() * 2));
    const ssize_t n = ::read(fd, bytes.data() + used, static_cast<size_t>(bytes.size() - used));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      outcome.error = IoError{FileError::kUnreadable, SystemReason(errno)};
      ::close(fd);
      return outcome;
    }
    if (n == 0) break;
    used += n;
    if (max_bytes >= 0 && used > max_bytes) {
      outcome.error = IoError{FileError::kTooLarge,
                              QStringLiteral("File too large (more than %1 bytes)").arg(max_bytes)};
      ::close(fd);
      return outcome;
    }
  }
  ::close(fd);
  bytes.truncate(used);
  outcome.bytes = std::move(bytes);
  return outcome;
}

}  // namespace

ReadOutcome ReadWholeFile(const QString& path, qint64 max_bytes) {
  ReadOutcome outcome = ReadBytes(path, max_bytes);
  if (outcome.error) {
    outcome.error->message =
        QStringLiteral("Cannot open file %1. %2").arg(path, outcome.error->message);
  }
  return outcome;
}

int RemoveLeftoverWrites(const QString& folder) {
  static const QRegularExpression kLeftover(
      QStringLiteral("^\\..+\\.brindlemark-([0-9]+)-[0-9A-Za-z]+$"));
  const QStringList names = QDir(folder).entryList({QStringLiteral(".*.brindlemark-*")},
                                                   QDir::Files | QDir::Hidden | QDir::System);
  int removed = 0;
  for (const QString& name : names) {
    const QRegularExpressionMatch match = kLeftover.match(name);
    if (!match.hasMatch()) continue;
    const QByteArray path = QFile::encodeName(folder + u'/' + name);
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    const qint64 modified_ns = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    bool number_ok = false;
    const pid_t pid = pid_t(match.captured(1).toLongLong(&number_ok));
    // A writer still running (or a name taken again by another process) keeps its file.
    const bool writer_gone =
        number_ok && pid > 0 && pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH;
    if (modified_ns < kStartedNs && writer_gone && ::unlink(path.constData()) == 0) ++removed;
  }
  return removed;
}

void SyncFolder(const QString& folder) {
  const int folder_fd =
      ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder_fd >= 0) {
    ::fsync(folder_fd);
    ::close(folder_fd);
  }
}

QString ResolveLinks(const QString& path, QString* error) {
  const QByteArray name = QFile::encodeName(path);
  struct stat info {};
  if (::lstat(name.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char* resolved = ::realpath(name.constData(), nullptr);
  if (resolved == nullptr) {
    *error = QStringLiteral(
                 "Cannot write file %1: it is a symbolic link to a file that does not "
                 "exist (%2).")
                 .arg(path, SystemReason(errno));
    return QString();
  }
  const QString target = QFile::decodeName(resolved);
  ::free(resolved);
  return target;
}

namespace {

// No write permission for anyone counts even for the superuser, who may write anyway.
bool IsReadOnly(const QByteArray& name, const struct stat& info) {
  return S_ISREG(info.st_mode) &&
         ((info.st_mode & 0222) == 0 || ::access(name.constData(), W_OK) != 0);
}

}  // namespace

bool IsReadOnlyFile(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  struct stat info {};
  return ::stat(name.constData(), &info) == 0 && IsReadOnly(name, info);
}

QString ReadOnlyFileMessage(const QString& path) {
  return QStringLiteral("Cannot write file %1: the file is read-only.").arg(path);
}

bool FileLinkCount(const QString& path, qint64* links, qint64* size) {
  struct stat info {};
  if (::lstat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return false;
  }
  *links = static_cast<qint64>(info.st_nlink);
  *size = static_cast<qint64>(info.st_size);
  return true;
}

bool AddFileName(const QString& existing, const QString& new_name) {
  return ::link(QFile::encodeName(existing).constData(), QFile::encodeName(new_name).constData()) ==
         0;
}

bool MayCreateFilesIn(const QString& folder) {
  return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

bool SetModificationTime(const QString& path, qint64 modified_ns) {
  struct timespec times[2] = {{0, UTIME_OMIT},
                              {time_t(modified_ns / 1000000000), long(modified_ns % 1000000000)}};
  return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

FileStamp StampOf(const QString& path) {
  FileStamp stamp;
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0) return stamp;
  stamp.exists = true;
  stamp.size = static_cast<qint64>(info.st_size);
  stamp.inode = static_cast<quint64>(info.st_ino);
  stamp.device = static_cast<quint64>(info.st_dev);
  stamp.modified_ns =
      static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
  return stamp;
}

namespace {

// An unnamed file in folder (never left behind by a killed process), or -1 when the file
// system has no such files.
int OpenUnnamed(const QByteArray& folder, mode_t mode) {
#ifdef O_TMPFILE
  return ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
#else
  Q_UNUSED(folder);
  Q_UNUSED(mode);
  errno = EOPNOTSUPP;
  return -1;
#endif
}

// The temporary name of a write of file_name in folder, up to its random part.
QByteArray TemporaryStem(const QByteArray& folder, const QByteArray& file_name) {
  return folder + "/." + file_name + ".brindlemark-" + QByteArray::number(::getpid()) + '-';
}

// Gives the unnamed file fd a temporary name in folder, kept in *temp.
bool NameUnnamed(int fd, const QByteArray& folder, const QByteArray& file_name, QByteArray* temp) {
  const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
  for (int attempt = 0; attempt < 100; ++attempt) {
    *temp = TemporaryStem(folder, file_name) +
            QByteArray::number(QRandomGenerator::global()->generate64(), 36);
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, temp->constData(), AT_SYMLINK_FOLLOW) == 0) {
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

}  // namespace

namespace {

// The new file takes the old one's permissions, or the usual ones for a new file.
mode_t NewFileMode(bool exists, const struct stat& info) {
  if (exists) return info.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

namespace {

std::optional<IoError> WriteBeside(const QString& path, const QByteArray& bytes, mode_t mode,
                                   bool exists, const struct stat& info, bool keep_links,
                                   bool sync_folder) {
  // A new file beside the old one, renamed over it once complete: a failure at any point
  // leaves the old file whole. It has no name until it is complete; a process killed
  // between naming and renaming it leaves a name RemoveLeftoverWrites knows.
  const QFileInfo target(path);
  const QByteArray folder = QFile::encodeName(target.absolutePath());
  const QByteArray file_name = QFile::encodeName(target.fileName());
  QByteArray temp;
  int fd = OpenUnnamed(folder, mode);
  const bool unnamed = fd >= 0;
  if (!unnamed && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
    temp = TemporaryStem(folder, file_name) + "XXXXXX";
    fd = ::mkstemp(temp.data());
  }
  if (fd < 0) {
    const int error = errno;
    // Rewriting in place would also change a second name the caller keeps as the old text.
    if (exists && (error == EACCES || error == EPERM || error == EROFS) &&
        (keep_links || info.st_nlink == 1)) {
      return Failure(WriteInPlace(path, bytes));
    }
    return Failure(QStringLiteral("Cannot create file %1. %2").arg(path, SystemReason(error)));
  }
  ::fchmod(fd, mode);
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0 ||
      (unnamed && !NameUnnamed(fd, folder, file_name, &temp))) {
    const int error = errno;
    ::close(fd);
    if (!temp.isEmpty()) ::unlink(temp.constData());
    return Failure(QStringLiteral("Cannot write file %1. %2").arg(path, SystemReason(error)));
  }
  ::close(fd);
  if (::rename(temp.constData(), QFile::encodeName(path).constData()) != 0) {
    const int error = errno;
    ::unlink(temp.constData());
    return Failure(QStringLiteral("Cannot write file %1. %2").arg(path, SystemReason(error)));
  }
  // The rename itself reaches the disk, so a power cut cannot bring the old text back.
  if (sync_folder) SyncFolder(target.absolutePath());
  return std::nullopt;
}

}  // namespace

std::optional<IoError> WriteWholeFile(const QString& requested_path, const QByteArray& bytes,
                                      WriteOptions options) {
  const bool keep_links = options.keep_links;
  if (requested_path.trimmed().isEmpty()) {
    return IoError{FileError::kWriteFailed,
                   QStringLiteral("Cannot create file \"\": no file name.")};
  }
  // A symbolic link stays a link: its target is written.
  QString link_error;
  const QString path = ResolveLinks(requested_path, &link_error);
  if (path.isEmpty()) return IoError{FileError::kMissing, link_error};
  const QByteArray name = QFile::encodeName(path);
  struct stat info {};
  const bool exists = ::stat(name.constData(), &info) == 0;
  if (exists && S_ISDIR(info.st_mode)) {
    return IoError{FileError::kIsFolder,
                   QStringLiteral("Cannot create file %1. %2").arg(path, SystemReason(EISDIR))};
  }
  // A file the user may not write is not replaced behind the permissions' back.
  if (exists && IsReadOnly(name, info)) {
    return IoError{FileError::kReadOnly, ReadOnlyFileMessage(path)};
  }
  // Several names of one file stay one file.
  if (keep_links && exists && S_ISREG(info.st_mode) && info.st_nlink > 1) {
    return Failure(WriteInPlace(path, bytes));
  }

  return WriteBeside(path, bytes, NewFileMode(exists, info), exists, info, keep_links,
                     options.sync_folder);
}
