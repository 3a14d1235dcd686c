#include "document/recovery.h"
#include "platform/app_paths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>

#include <signal.h>
#include <cerrno>

#include "names/texts.h"

namespace {

constexpr QByteArrayView kMagic = "brindlemark-recovery 1\n";
constexpr qsizetype kMaxHeader = 64 << 10;
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kOwnerFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

std::optional<LineEnd> LineEndOf(QByteArrayView name) {
  for (const LineEnd end : kLineEnds) {
    if (name == NameOf(end)) return end;
  }
  return std::nullopt;
}

bool MakeOwnFolder(const QString& path) {
  if (!QDir().mkpath(path)) return false;
  return QFile::setPermissions(path, kOwnerFolder);
}

QString LockOf(const QString& folder) { return folder + QStringLiteral(".lock"); }

const QRegularExpression& CopyName() {
  static const QRegularExpression name(QStringLiteral("^page-[0-9]+\\.copy$"));
  return name;
}

// Whether the program that wrote a lock file still runs.
bool OwnerAlive(const QString& lock_file) {
  qint64 pid = 0;
  QString host;
  QString app;
  if (!QLockFile(lock_file).getLockInfo(&pid, &host, &app) || pid <= 0) return false;
  return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

bool ChangedSince(const RecoveryCopy& copy) {
  if (copy.path.isEmpty()) return false;
  const FileStamp now = StampOf(copy.path);
  if (now == copy.disk) return false;
  if (!now.exists || copy.disk_md5.isEmpty() || now.size != copy.disk.size) return true;
  // A device or a pipe named by a copy is never read: it may never end.
  if (!QFileInfo(copy.path).isFile()) return true;
  // Touched but the same bytes: not a change (an unreadable file is one).
  return FileMd5(copy.path) != copy.disk_md5;
}

// The header of a found copy; its text stays on disk, so a large foreign file costs nothing.
void ReadHeader(FoundCopy& found) {
  QFile file(found.file);
  if (!file.open(QIODevice::ReadOnly)) {
    found.problem = Tr(Text::kRecoveryCannotRead).arg(file.errorString());
    return;
  }
  const QByteArray head = file.read(kMaxHeader + 2);
  found.copy = RecoveryCopy::DecodedHeader(head, found.size, &found.text_at, &found.problem);
  found.changed_on_disk = found.copy && ChangedSince(*found.copy);
  if (found.read_only && found.copy) found.problem = Tr(Text::kRecoveryReadOnly);
}

}  // namespace

QByteArray RecoveryCopy::Encoded() const {
  QByteArray out(kMagic.data(), kMagic.size());
  out += "path: " + path.toUtf8().toPercentEncoding("/") + '\n';
  out += QByteArray("encoding: ") + NameOf(format.encoding) + '\n';
  out += QByteArray("bom: ") + (format.bom ? "1" : "0") + '\n';
  out += QByteArray("line-end: ") + NameOf(format.line_end) + '\n';
  out += "edited-ms: " + QByteArray::number(edited.toMSecsSinceEpoch()) + '\n';
  out += QByteArray("disk: ") + (disk.exists ? "1" : "0") + ' ' + QByteArray::number(disk.size) +
         ' ' + QByteArray::number(disk.modified_ns) + ' ' + QByteArray::number(disk.inode) + ' ' +
         QByteArray::number(disk.device) + '\n';
  out += "disk-md5: " + disk_md5 + '\n';
  out += "length: " + QByteArray::number(bytes.size()) + "\n\n";
  return out + bytes;
}

std::optional<RecoveryCopy> RecoveryCopy::DecodedHeader(QByteArrayView head, qint64 file_size,
                                                        qint64* text_at, QString* problem) {
  *problem = Tr(Text::kRecoveryUnreadable);
  if (!head.startsWith(kMagic)) return std::nullopt;
  const qsizetype end = QByteArrayView(head).indexOf(QByteArrayView("\n\n"), kMagic.size() - 1);
  if (end < 0 || end > kMaxHeader) return std::nullopt;
  RecoveryCopy copy;
  qint64 length = -1;
  bool encoding_known = false;
  bool line_end_known = false;
  const QByteArray header = head.sliced(kMagic.size(), end - kMagic.size() + 1).toByteArray();
  for (const QByteArray& line : header.split('\n')) {
    const qsizetype colon = line.indexOf(": ");
    if (colon < 0) continue;
    const QByteArray key = line.left(colon);
    const QByteArray value = line.mid(colon + 2);
    if (key == "path") {
      copy.path = QString::fromUtf8(QByteArray::fromPercentEncoding(value));
    } else if (key == "encoding") {
      // The names this program writes, UTF-8 among them; a charset label is not one.
      if (const auto encoding = EncodingNamed(value)) {
        copy.format.encoding = *encoding;
        encoding_known = true;
      }
    } else if (key == "bom") {
      copy.format.bom = value == "1";
    } else if (key == "line-end") {
      if (const auto line_end = LineEndOf(value)) {
        copy.format.line_end = *line_end;
        line_end_known = true;
      }
    } else if (key == "edited-ms") {
      copy.edited = QDateTime::fromMSecsSinceEpoch(value.toLongLong());
    } else if (key == "disk") {
      const QList<QByteArray> parts = value.split(' ');
      if (parts.size() == 5) {
        copy.disk = {parts[0] == "1", parts[1].toLongLong(), parts[3].toULongLong(),
                     parts[4].toULongLong(), parts[2].toLongLong()};
      }
    } else if (key == "disk-md5") {
      copy.disk_md5 = value;
    } else if (key == "length") {
      bool ok = false;
      length = value.toLongLong(&ok);
      if (!ok) length = -1;
    }
  }
  if (!encoding_known || !line_end_known || length < 0) return std::nullopt;
  // A copy cut short (or grown) is not the page: it is never opened as one.
  if (file_size - (end + 2) != length) {
    *problem = Tr(Text::kRecoveryDamaged);
    return std::nullopt;
  }
  problem->clear();
  *text_at = end + 2;
  return copy;
}

std::optional<RecoveryCopy> RecoveryCopy::Decoded(const QByteArray& stored) {
  qint64 text_at = 0;
  QString problem;
  std::optional<RecoveryCopy> copy = DecodedHeader(stored, stored.size(), &text_at, &problem);
  if (copy) copy->bytes = stored.sliced(text_at);
  return copy;
}

bool LoadText(FoundCopy& found, QString* error) {
  if (!found.copy) {
    *error = found.problem;
    return false;
  }
  const ReadOutcome read = ReadWholeFile(found.file, kPageCap + kMaxHeader);
  if (!read.ok()) {
    *error = read.message();
    return false;
  }
  qint64 text_at = 0;
  std::optional<RecoveryCopy> now =
      RecoveryCopy::DecodedHeader(read.bytes, read.bytes.size(), &text_at, error);
  if (!now || text_at != found.text_at || now->path != found.copy->path) {
    if (error->isEmpty()) *error = Tr(Text::kRecoveryDamaged);
    return false;
  }
  found.copy->bytes = read.bytes.sliced(text_at);
  return true;
}

QString DefaultRecoveryFolder() {
  return UserFolder("XDG_STATE_HOME", ".local/state") + QStringLiteral("/brindlemark/recovery");
}

QByteArray FileMd5(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QCryptographicHash hash(QCryptographicHash::Md5);
  hash.addData(&file);
  return hash.result().toHex();
}

RecoveryStore::RecoveryStore(QString root) : root_(std::move(root)) {}

RecoveryStore::~RecoveryStore() = default;

bool RecoveryStore::Open(QString* error) {
  if (lock_) return true;
  const QString name = QStringLiteral("%1-%2")
                           .arg(QCoreApplication::applicationPid())
                           .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
  folder_ = root_ + u'/' + name;
  if (!MakeOwnFolder(root_) || !MakeOwnFolder(folder_)) {
    *error = folder_;
    return false;
  }
  auto lock = std::make_unique<QLockFile>(LockOf(folder_));
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) {
    *error = LockOf(folder_);
    return false;
  }
  lock_ = std::move(lock);
  return true;
}

QString RecoveryStore::CopyPath(int page) const {
  return folder_ + QStringLiteral("/page-%1.copy").arg(page);
}

bool RecoveryStore::Write(int page, const QByteArray& stored, QString* error) const {
  QSaveFile file(CopyPath(page));
  if (!file.open(QIODevice::WriteOnly)) {
    *error = file.errorString();
    return false;
  }
  // Owner only from the first byte: the text is the user's.
  file.setPermissions(kOwnerOnly);
  if (file.write(stored) != stored.size() || !file.commit()) {
    *error = file.errorString();
    file.cancelWriting();
    return false;
  }
  return true;
}

void RecoveryStore::Remove(int page) const { QFile::remove(CopyPath(page)); }

void RecoveryStore::RemoveAll() {
  if (!lock_) return;
  QDir(folder_).removeRecursively();
  lock_->unlock();
  lock_.reset();
}

QList<FoundCopy> RecoveryStore::Orphans() {
  QList<FoundCopy> found;
  // Never through a link: what a link leads to is not this program's to list or remove.
  const QStringList folders =
      QDir(root_).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
  for (const QString& name : folders) {
    const QString folder = root_ + u'/' + name;
    if (folder == folder_) continue;
    auto lock = std::make_unique<QLockFile>(LockOf(folder));
    lock->setStaleLockTime(0);  // only a dead owner makes a lock stale
    bool read_only = false;
    if (!lock->tryLock(0)) {
      if (lock->error() == QLockFile::LockFailedError || OwnerAlive(LockOf(folder))) continue;
      // No lock can be written here (a read-only folder): the copies are still offered.
      read_only = true;
    }
    const QFileInfoList files =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Time);
    if (files.isEmpty() && !read_only) {
      QDir(folder).removeRecursively();
      lock->unlock();
      continue;
    }
    for (const QFileInfo& info : files) {
      FoundCopy copy{info.absoluteFilePath(), info.size()};
      copy.read_only = read_only;
      ReadHeader(copy);
      found.append(copy);
    }
    if (!read_only) orphan_locks_[folder] = std::move(lock);
  }
  return found;
}

void RecoveryStore::ReleaseOrphans() { orphan_locks_.clear(); }

bool RecoveryStore::Discard(const FoundCopy& found) {
  const QFileInfo info(found.file);
  const QString folder = info.absolutePath();
  const auto lock = orphan_locks_.find(folder);
  // Only a copy of a dead program's folder held here, by the name this program gives it.
  if (found.read_only || lock == orphan_locks_.end() || info.isSymLink() ||
      !CopyName().match(info.fileName()).hasMatch() || !QFile::remove(found.file)) {
    return false;
  }
  if (QDir(folder).isEmpty()) {
    QDir().rmdir(folder);
    orphan_locks_.erase(lock);  // unlocking removes the lock file
  }
  return true;
}
