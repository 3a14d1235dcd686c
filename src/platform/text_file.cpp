#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>

#include "platform/codec.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

QString SystemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

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

ReadOutcome ReadWholeFile(const QString& path, qint64 max_bytes) {
  ReadOutcome outcome;
  const QByteArray name = QFile::encodeName(path);
  const int fd = name.isEmpty() ? -1 : ::open(name.constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int error = name.isEmpty() ? ENOENT : errno;
    outcome.error = SystemReason(error);
    outcome.kind = error == ENOENT ? FileError::kMissing : FileError::kUnreadable;
    return outcome;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    outcome.error = SystemReason(errno);
    outcome.kind = FileError::kUnreadable;
    ::close(fd);
    return outcome;
  }
  if (S_ISDIR(info.st_mode)) {
    outcome.error = QStringLiteral("Это папка, а не файл");
    outcome.kind = FileError::kIsFolder;
    ::close(fd);
    return outcome;
  }
  if (max_bytes >= 0 && info.st_size > max_bytes) {
    outcome.error =
        QStringLiteral("File too large (%1 bytes, at most %2)").arg(info.st_size).arg(max_bytes);
    outcome.kind = FileError::kTooLarge;
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
      outcome.error = SystemReason(errno);
      outcome.kind = FileError::kUnreadable;
      ::close(fd);
      return outcome;
    }
    if (n == 0) break;
    used += n;
    if (max_bytes >= 0 && used > max_bytes) {
      outcome.error = QStringLiteral("File too large (more than %1 bytes)").arg(max_bytes);
      outcome.kind = FileError::kTooLarge;
      ::close(fd);
      return outcome;
    }
  }
  ::close(fd);
  bytes.truncate(used);
  outcome.bytes = std::move(bytes);
  outcome.ok = true;
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

QString WriteWholeFile(const QString& path, const QByteArray& bytes, bool keep_links,
                       bool sync_folder) {
  if (path.trimmed().isEmpty()) return QStringLiteral("Cannot create file \"\": no file name.");
  const QByteArray name = QFile::encodeName(path);
  struct stat info {};
  const bool exists = ::stat(name.constData(), &info) == 0;
  if (exists && S_ISDIR(info.st_mode)) {
    return QStringLiteral("Cannot create file %1. %2").arg(path, SystemReason(EISDIR));
  }
  // Several names of one file stay one file.
  if (keep_links && exists && S_ISREG(info.st_mode) && info.st_nlink > 1) {
    return WriteInPlace(path, bytes);
  }

  // A new file beside the old one, renamed over it once complete: a failure at any point
  // leaves the old file whole.
  const QFileInfo target(path);
  const QByteArray folder = QFile::encodeName(target.absolutePath());
  QByteArray temp = folder + "/." + QFile::encodeName(target.fileName()) + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    const int error = errno;
    if (exists && (error == EACCES || error == EPERM || error == EROFS) &&
        ::access(name.constData(), W_OK) == 0) {
      return WriteInPlace(path, bytes);
    }
    return QStringLiteral("Cannot create file %1. %2").arg(path, SystemReason(error));
  }
  // The new file takes the old one's permissions, or the usual ones for a new file.
  mode_t mode = 0666;
  if (exists) {
    mode = info.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  ::fchmod(fd, mode);
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) {
    const int error = errno;
    ::close(fd);
    ::unlink(temp.constData());
    return QStringLiteral("Cannot write file %1. %2").arg(path, SystemReason(error));
  }
  ::close(fd);
  if (::rename(temp.constData(), name.constData()) != 0) {
    const int error = errno;
    ::unlink(temp.constData());
    return QStringLiteral("Cannot write file %1. %2").arg(path, SystemReason(error));
  }
  // The rename itself reaches the disk, so a power cut cannot bring the old text back.
  if (sync_folder) SyncFolder(target.absolutePath());
  return QString();
}
