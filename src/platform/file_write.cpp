// Writing a user's file: a new file beside the old one, renamed over it.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include "names/texts.h"
#include "platform/file_write.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <utility>

namespace {

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
  if (fd < 0) return Tr(Text::kCannotCreateFile).arg(path, SystemReason(errno));
  // Grow first, so that running out of space fails before the old text is touched.
  struct stat info {};
  if (::fstat(fd, &info) == 0 && bytes.size() > info.st_size &&
      ::posix_fallocate(fd, 0, bytes.size()) == ENOSPC) {
    ::close(fd);
    return Tr(Text::kCannotWriteFile).arg(path, SystemReason(ENOSPC));
  }
  const bool ok = WriteAll(fd, bytes) && ::ftruncate(fd, bytes.size()) == 0 && ::fsync(fd) == 0;
  const int error = errno;
  ::close(fd);
  if (!ok) return Tr(Text::kCannotWriteFile).arg(path, SystemReason(error));
  return QString();
}

}  // namespace

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
  static const QByteArray kPid = QByteArray::number(::getpid());
  return folder + "/." + file_name + ".brindlemark-" + kPid + '-';
}

// The folder and the name of an absolute path, encoded for the system.
void SplitPath(const QString& path, QByteArray* folder, QByteArray* file_name) {
  const qsizetype slash = path.lastIndexOf(u'/');
  *folder = QFile::encodeName(path.first(std::max<qsizetype>(slash, 1)));
  *file_name = QFile::encodeName(path.sliced(slash + 1));
}

// Gives the file at from (followed if a link) a temporary name for a write of file_name in
// folder, kept in *temp.
bool NameBeside(const QByteArray& from, const QByteArray& folder, const QByteArray& file_name,
                QByteArray* temp) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    *temp =
        TemporaryStem(folder, file_name) +
        QByteArray::number(QRandomGenerator::global()->generate64(), 36).rightJustified(13, '0');
    if (::linkat(AT_FDCWD, from.constData(), AT_FDCWD, temp->constData(), AT_SYMLINK_FOLLOW) == 0) {
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

// Gives the unnamed file fd a temporary name in folder, kept in *temp.
bool NameUnnamed(int fd, const QByteArray& folder, const QByteArray& file_name, QByteArray* temp) {
  return NameBeside("/proc/self/fd/" + QByteArray::number(fd), folder, file_name, temp);
}

}  // namespace

namespace {

// The process's file creation mask, read once: reading it means setting it.
mode_t CreationMask() {
  static const mode_t kMask = [] {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
  }();
  return kMask;
}

// Why a target is not written at all, if it is not.
std::optional<IoError> Refusal(const WriteTarget& target) {
  if (target.exists && S_ISDIR(target.mode)) {
    return IoError{FileError::kIsFolder,
                   Tr(Text::kCannotCreateFile).arg(target.path, SystemReason(EISDIR))};
  }
  // A file the user may not write is not replaced behind the permissions' back.
  if (target.read_only) return IoError{FileError::kReadOnly, ReadOnlyFileMessage(target.path)};
  return std::nullopt;
}

// The new file takes the old one's permissions, or the usual ones for a new file.
mode_t NewFileMode(const WriteTarget& target) {
  if (target.exists) return target.mode & 07777;
  return 0666 & ~CreationMask();
}

}  // namespace

namespace {

// A new file written beside the page it is to replace, not yet in its place.
struct NewFile {
  int fd = -1;
  bool unnamed = false;
  QByteArray temp;  // its name, once it has one
  QByteArray folder;
  QByteArray file_name;
};

// Where starting a new file beside a page ended.
struct Started {
  std::optional<IoError> failure;
  bool done = false;  // written in place instead: nothing is left to do
  NewFile file;
};

void Discard(NewFile& file) {
  if (file.fd >= 0) ::close(file.fd);
  if (!file.temp.isEmpty()) ::unlink(file.temp.constData());
  file.fd = -1;
}

// A new file beside the old one, renamed over it once complete: a failure at any point
// leaves the old file whole. It has no name until it is complete; a process killed
// between naming and renaming it leaves a name RemoveLeftoverWrites knows.
Started StartBeside(const WriteTarget& target, const QByteArray& bytes, bool keep_links) {
  Started started;
  NewFile& file = started.file;
  const mode_t mode = NewFileMode(target);
  SplitPath(target.path, &file.folder, &file.file_name);
  file.fd = OpenUnnamed(file.folder, mode);
  file.unnamed = file.fd >= 0;
  if (!file.unnamed && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
    file.temp = TemporaryStem(file.folder, file.file_name) + "XXXXXX";
    file.fd = ::mkstemp(file.temp.data());
    if (file.fd < 0) file.temp.clear();
  }
  if (file.fd < 0) {
    const int error = errno;
    started.done = true;
    // Rewriting in place would also change a second name the caller keeps as the old text.
    if (target.exists && (error == EACCES || error == EPERM || error == EROFS) &&
        (keep_links || target.links == 1)) {
      started.failure = Failure(WriteInPlace(target.path, bytes));
    } else {
      started.failure = Failure(Tr(Text::kCannotCreateFile).arg(target.path, SystemReason(error)));
    }
    return started;
  }
  // A named temporary file starts private, and the creation mask may have taken bits away.
  if (!file.unnamed || (mode & 07000) != 0 || (mode & ~CreationMask()) != mode) {
    ::fchmod(file.fd, mode);
  }
  if (!WriteAll(file.fd, bytes)) {
    const int error = errno;
    Discard(file);
    started.done = true;
    started.failure = Failure(Tr(Text::kCannotWriteFile).arg(target.path, SystemReason(error)));
  }
  return started;
}

// Names a new file whose bytes have reached the disk and renames it over its page.
std::optional<IoError> PutInPlace(NewFile& file, const QString& path) {
  if (file.unnamed && !NameUnnamed(file.fd, file.folder, file.file_name, &file.temp)) {
    const int error = errno;
    Discard(file);
    return Failure(Tr(Text::kCannotWriteFile).arg(path, SystemReason(error)));
  }
  ::close(file.fd);
  file.fd = -1;
  if (::rename(file.temp.constData(), QFile::encodeName(path).constData()) != 0) {
    const int error = errno;
    Discard(file);
    return Failure(Tr(Text::kCannotWriteFile).arg(path, SystemReason(error)));
  }
  return std::nullopt;
}

std::optional<IoError> WriteBeside(const WriteTarget& target, const QByteArray& bytes,
                                   bool keep_links, bool sync_folder) {
  Started started = StartBeside(target, bytes, keep_links);
  if (started.done) return started.failure;
  if (::fsync(started.file.fd) != 0) {
    const int error = errno;
    Discard(started.file);
    return Failure(Tr(Text::kCannotWriteFile).arg(target.path, SystemReason(error)));
  }
  if (std::optional<IoError> failure = PutInPlace(started.file, target.path)) return failure;
  // The rename itself reaches the disk, so a power cut cannot bring the old text back.
  if (sync_folder) SyncFolder(QFile::decodeName(started.file.folder));
  return std::nullopt;
}

}  // namespace

struct WriteGroup::Waiting {
  QString name;
  QString path;
  quint64 device = 0;
  quint64 inode = 0;  // of the file it replaces; 0 for a new one
  NewFile file;
};

WriteGroup::WriteGroup(int capacity) : capacity_(capacity) {
  // Two groups hold a file open each: a quarter of what the process may open at most.
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
    capacity_ = std::clamp<qsizetype>(qsizetype(limit.rlim_cur / 8), 1, capacity_);
  }
}

WriteGroup::~WriteGroup() {
  Join();
  // A group dropped without Finish leaves every page as it was.
  for (Waiting& write : waiting_) Discard(write.file);
}

std::optional<IoError> WriteGroup::Add(const QString& name, const WriteTarget& target,
                                       const QByteArray& bytes, bool keep_links) {
  if (std::optional<IoError> refused = Refusal(target)) return refused;
  if (keep_links && target.regular && target.links > 1) {
    return Failure(WriteInPlace(target.path, bytes));
  }
  Started started = StartBeside(target, bytes, keep_links);
  if (started.done) return started.failure;
  waiting_.push_back({name, target.path, target.device, target.exists ? target.inode : 0,
                      std::move(started.file)});
  if (!target.exists) ++new_files_;
  return std::nullopt;
}

bool WriteGroup::Full() const { return qsizetype(waiting_.size()) >= capacity_; }

bool WriteGroup::Holds(quint64 device, quint64 inode) const {
  const auto same = [&](const Waiting& write) {
    return write.inode == inode && write.device == device;
  };
  return std::any_of(waiting_.cbegin(), waiting_.cend(), same) ||
         std::any_of(in_flight_.cbegin(), in_flight_.cend(), same);
}

QList<std::pair<QString, IoError>> WriteGroup::PutAllInPlace(std::vector<Waiting>& writes) {
  QList<std::pair<QString, IoError>> failures;
  // One flush of each file system for the whole group, in place of one per file; should it
  // fail, each file is flushed on its own to find the ones that did not reach the disk.
  QList<quint64> flushed;
  for (const Waiting& write : std::as_const(writes)) {
    if (flushed.contains(write.device)) continue;
    flushed.append(write.device);
    if (::syncfs(write.file.fd) == 0) continue;
    for (Waiting& other : writes) {
      if (other.device != write.device || other.file.fd < 0 || ::fsync(other.file.fd) == 0) {
        continue;
      }
      const int error = errno;
      Discard(other.file);
      failures.append(
          {other.name, *Failure(Tr(Text::kCannotWriteFile).arg(other.path, SystemReason(error)))});
    }
  }
  for (Waiting& write : writes) {
    if (write.file.fd < 0) continue;
    if (std::optional<IoError> failure = PutInPlace(write.file, write.path)) {
      failures.append({write.name, *failure});
    }
  }
  return failures;
}

void WriteGroup::FinishInBackground() {
  Join();
  in_flight_ = std::move(waiting_);
  waiting_.clear();
  in_flight_new_files_ = std::exchange(new_files_, 0);
  finisher_ = std::thread([this] { finished_failures_ += PutAllInPlace(in_flight_); });
}

void WriteGroup::Join() {
  if (finisher_.joinable()) finisher_.join();
  in_flight_.clear();
  in_flight_new_files_ = 0;
}

QList<std::pair<QString, IoError>> WriteGroup::Finish() {
  Join();
  QList<std::pair<QString, IoError>> failures = std::exchange(finished_failures_, {});
  failures += PutAllInPlace(waiting_);
  waiting_.clear();
  new_files_ = 0;
  return failures;
}

bool ReplaceWithFile(const WriteTarget& target, const QString& source) {
  if (Refusal(target) || (target.exists && (!target.regular || target.links > 1))) return false;
  QByteArray folder;
  QByteArray file_name;
  SplitPath(target.path, &folder, &file_name);
  QByteArray temp;
  if (!NameBeside(QFile::encodeName(source), folder, file_name, &temp)) return false;
  if (::rename(temp.constData(), QFile::encodeName(target.path).constData()) == 0) return true;
  ::unlink(temp.constData());
  return false;
}

std::optional<IoError> WriteWholeFile(const QString& path, const QByteArray& bytes,
                                      WriteOptions options) {
  if (path.trimmed().isEmpty()) {
    return IoError{FileError::kWriteFailed, Tr(Text::kNoFileNameGiven)};
  }
  // A symbolic link stays a link: its target is written.
  QString link_error;
  const std::optional<WriteTarget> target = LookAtWriteTarget(path, &link_error);
  if (!target) return IoError{FileError::kMissing, link_error};
  return WriteWholeFile(*target, bytes, options);
}

std::optional<IoError> WriteWholeFile(const WriteTarget& target, const QByteArray& bytes,
                                      WriteOptions options) {
  if (std::optional<IoError> refused = Refusal(target)) return refused;
  // Several names of one file stay one file.
  if (options.keep_links && target.regular && target.links > 1) {
    return Failure(WriteInPlace(target.path, bytes));
  }
  return WriteBeside(target, bytes, options.keep_links, options.sync_folder);
}
