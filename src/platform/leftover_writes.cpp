// Removing what writes killed midway left behind: only names a write makes, only files
// older than this run, only when their writer is gone.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/file_write.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

// When this program started: leftovers of writes are only ever older.
const qint64 kStartedNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::system_clock::now().time_since_epoch())
                              .count();

}  // namespace

int RemoveLeftoverWrites(const QString& folder) {
  // Exactly the names a write makes: its process number, then thirteen base-36 digits (a
  // name given beside the page) or mkstemp's six letters; a user's ".notes.brindlemark-1-final"
  // is not one.
  static const QRegularExpression kLeftover(
      QStringLiteral("^\\..+\\.brindlemark-([1-9][0-9]{0,9})-([0-9a-z]{13}|[0-9A-Za-z]{6})$"));
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

void LeftoverSweep::SweepFolderOf(const QString& path) {
  // A folder named as before needs no look at the disk to be known.
  const QString given = path.left(path.lastIndexOf(u'/') + 1);
  if (given_.contains(given)) return;
  given_.insert(given);
  const QString folder = QFileInfo(path).absolutePath();
  if (swept_.contains(folder)) return;
  swept_.insert(folder);
  RemoveLeftoverWrites(folder);
}
