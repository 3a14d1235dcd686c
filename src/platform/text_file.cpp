#include "platform/text_file.h"
#include "names/texts.h"
#include "platform/file_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>


#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

QString SystemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

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
    outcome.error = IoError{FileError::kIsFolder, Tr(Text::kIsFolder)};
    ::close(fd);
    return outcome;
  }
  if (max_bytes >= 0 && info.st_size > max_bytes) {
    outcome.error =
        IoError{FileError::kTooLarge, Tr(Text::kTooLarge).arg(info.st_size).arg(max_bytes)};
    ::close(fd);
    return outcome;
  }
  outcome.device = static_cast<quint64>(info.st_dev);
  outcome.inode = static_cast<quint64>(info.st_ino);
  // The size is a first guess: a file that grows or a pipe is read to its end. One byte
  // more lets the read that finds the end go without growing the buffer.
  QByteArray bytes(S_ISREG(info.st_mode) ? info.st_size + 1 : 0, Qt::Uninitialized);
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
      outcome.error = IoError{FileError::kTooLarge, Tr(Text::kTooLargeStream).arg(max_bytes)};
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
    outcome.error->message = Tr(Text::kCannotOpenFile).arg(path, outcome.error->message);
  }
  return outcome;
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
    *error = Tr(Text::kDanglingLink).arg(path, SystemReason(errno));
    return QString();
  }
  const QString target = QFile::decodeName(resolved);
  ::free(resolved);
  return target;
}

namespace {

// No write permission for anyone counts even for the superuser, who may write anyway.
bool IsReadOnlyStat(const QByteArray& name, const struct stat& info) {
  return S_ISREG(info.st_mode) &&
         ((info.st_mode & 0222) == 0 || ::access(name.constData(), W_OK) != 0);
}

}  // namespace

bool IsReadOnlyFile(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  struct stat info {};
  return ::stat(name.constData(), &info) == 0 && IsReadOnlyStat(name, info);
}

std::optional<WriteTarget> LookAtWriteTarget(const QString& path, QString* error) {
  QByteArray name = QFile::encodeName(path);
  struct stat info {};
  bool exists = ::lstat(name.constData(), &info) == 0;
  WriteTarget target;
  if (exists && S_ISLNK(info.st_mode)) {
    target.path = ResolveLinks(path, error);
    if (target.path.isEmpty()) return std::nullopt;
    name = QFile::encodeName(target.path);
    exists = ::stat(name.constData(), &info) == 0;
  } else {
    target.path = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  }
  target.exists = exists;
  if (!exists) return target;
  target.regular = S_ISREG(info.st_mode);
  target.read_only = IsReadOnlyStat(name, info);
  target.links = static_cast<qint64>(info.st_nlink);
  target.size = static_cast<qint64>(info.st_size);
  target.modified_ns =
      static_cast<qint64>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
  target.mode = info.st_mode;
  target.device = static_cast<quint64>(info.st_dev);
  target.inode = static_cast<quint64>(info.st_ino);
  return target;
}

QString ReadOnlyFileMessage(const QString& path) { return Tr(Text::kReadOnlyFile).arg(path); }

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

QString AbsolutePath(const QString& path) {
  if (path.isEmpty()) return path;
  return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
