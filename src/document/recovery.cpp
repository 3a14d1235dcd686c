#include "document/recovery.h"
#include "platform/app_paths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStringList>

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

bool ChangedSince(const RecoveryCopy& copy) {
  if (copy.path.isEmpty()) return false;
  const FileStamp now = StampOf(copy.path);
  if (now == copy.disk) return false;
  if (!now.exists || copy.disk_md5.isEmpty()) return true;
  // Touched but the same bytes: not a change (an unreadable file is one).
  return FileMd5(copy.path) != copy.disk_md5;
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

std::optional<RecoveryCopy> RecoveryCopy::Decoded(const QByteArray& stored) {
  if (!stored.startsWith(kMagic)) return std::nullopt;
  const qsizetype end = stored.indexOf("\n\n", kMagic.size() - 1);
  if (end < 0 || end > kMaxHeader) return std::nullopt;
  RecoveryCopy copy;
  qsizetype length = -1;
  bool encoding_known = false;
  bool line_end_known = false;
  const QByteArray header = stored.sliced(kMagic.size(), end - kMagic.size() + 1);
  for (const QByteArray& line : header.split('\n')) {
    const qsizetype colon = line.indexOf(": ");
    if (colon < 0) continue;
    const QByteArray key = line.left(colon);
    const QByteArray value = line.mid(colon + 2);
    if (key == "path") {
      copy.path = QString::fromUtf8(QByteArray::fromPercentEncoding(value));
    } else if (key == "encoding") {
      if (const auto encoding = EncodingOfLabel(value)) {
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
  // A copy cut short (or grown) is not the page: it is never opened as one.
  if (!encoding_known || !line_end_known || length < 0 || stored.size() - (end + 2) != length) {
    return std::nullopt;
  }
  copy.bytes = stored.sliced(end + 2);
  return copy;
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
  const QStringList folders = QDir(root_).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  for (const QString& name : folders) {
    const QString folder = root_ + u'/' + name;
    if (folder == folder_) continue;
    auto lock = std::make_unique<QLockFile>(LockOf(folder));
    lock->setStaleLockTime(0);  // only a dead owner makes a lock stale
    if (!lock->tryLock(0)) continue;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Time);
    if (files.isEmpty()) {
      QDir(folder).removeRecursively();
      lock->unlock();
      continue;
    }
    for (const QFileInfo& info : files) {
      FoundCopy copy{info.absoluteFilePath(), info.size(), std::nullopt};
      const ReadOutcome read = ReadWholeFile(info.absoluteFilePath(), kPageCap + kMaxHeader);
      if (read.ok()) copy.copy = RecoveryCopy::Decoded(read.bytes);
      copy.changed_on_disk = copy.copy && ChangedSince(*copy.copy);
      found.append(copy);
    }
    orphan_locks_.push_back(std::move(lock));
  }
  return found;
}

void RecoveryStore::ReleaseOrphans() { orphan_locks_.clear(); }

void RecoveryStore::Discard(const QString& file) {
  QFile::remove(file);
  const QString folder = QFileInfo(file).absolutePath();
  if (QDir(folder).isEmpty()) {
    QDir().rmdir(folder);
    QFile::remove(LockOf(folder));
  }
}
