#include "batch/journal.h"
#include "batch/batch_engine.h"
#include "names/texts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <cstring>

#include "platform/file_write.h"

QByteArray Digest(const QByteArray& bytes) {
  quint64 hash = 0x9E3779B97F4A7C15ULL ^ static_cast<quint64>(bytes.size());
  const char* data = bytes.constData();
  const qsizetype words = bytes.size() / 8;
  for (qsizetype i = 0; i < words; ++i) {
    quint64 word;
    std::memcpy(&word, data + i * 8, 8);
    word *= 0x87C37B91114253D5ULL;
    word = (word << 31) | (word >> 33);
    hash ^= word * 0x4CF5AD432745937FULL;
    hash = ((hash << 27) | (hash >> 37)) * 5 + 0x52DCE729;
  }
  for (qsizetype i = words * 8; i < bytes.size(); ++i) {
    hash = (hash ^ static_cast<unsigned char>(data[i])) * 0x100000001B3ULL;
  }
  hash ^= hash >> 33;
  hash *= 0xFF51AFD7ED558CCDULL;
  hash ^= hash >> 33;
  return QByteArray::number(static_cast<qulonglong>(bytes.size())) + '-' +
         QByteArray::number(static_cast<qulonglong>(hash), 16);
}

namespace {

// text as a JSON string, as QJsonDocument writes it.
void AppendJsonString(QByteArray& out, QStringView text) {
  out += '"';
  for (const char c : text.toUtf8()) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      out += "\\u00";
      out += "0123456789abcdef"[(c >> 4) & 0xF];
      out += "0123456789abcdef"[c & 0xF];
    } else {
      out += c;
    }
  }
  out += '"';
}

}  // namespace

bool Journal::Record(WriteTarget& target, bool existed, const QByteArray& before,
                     const QByteArray& after, bool* linked, QString* error) {
  *linked = false;
  if (!Open(error)) return false;
  const QString& path = target.path;
  // Written by hand: building a JSON object cost as much as the rest of the entry.
  QByteArray line = "{\"path\":";
  AppendJsonString(line, path);
  line += existed ? ",\"existed\":true" : ",\"existed\":false";
  line += ",\"written\":\"" + Digest(after) + '"';
  if (existed) {
    const QByteArray name = QByteArray::number(count_) + ".orig";
    const QString kept = path_ + u'/' + QString::fromLatin1(name);
    // Writes replace files by renaming a new one over them, so the old file itself can be
    // kept as a second name instead of a copy. Not when the page will be rewritten in
    // place (it has other names, or its folder takes no new files): the journal's name
    // would then see the new text.
    *linked = target.regular && target.links == 1 && target.size == before.size() &&
              FolderTakesNewFiles(target.Folder()) && AddFileName(path, kept);
    if (!*linked && !WriteCopy(path, kept, before, error)) return false;
    if (*linked) ++target.links;
    bytes_ += before.size();
    line += ",\"original\":\"" + name + '"';
    // Undo may then put the old file itself back rather than a copy of its bytes.
    if (*linked) line += ",\"linked\":true";
    // Undo gives the time back too: upload tools compare times, not bytes.
    line += ",\"modified_ns\":\"" + QByteArray::number(target.modified_ns) + '"';
  }
  line += '}';
  ++count_;
  return Append(line, error);
}

bool Journal::RecordRename(const QString& from, const QString& to, QString* error) {
  if (!Open(error)) return false;
  ++count_;
  return Append(
      QJsonDocument(QJsonObject{{QStringLiteral("from"), from}, {QStringLiteral("to"), to}})
          .toJson(QJsonDocument::Compact),
      error);
}

bool Journal::RecordMadeFolder(const QString& folder, QString* error) {
  if (!Open(error)) return false;
  return Append(
      QJsonDocument(QJsonObject{{QStringLiteral("made"), folder}}).toJson(QJsonDocument::Compact),
      error);
}

// A copy readable by its owner only, or as strict as the page when that is stricter.
bool Journal::WriteCopy(const QString& page, const QString& kept, const QByteArray& bytes,
                        QString* error) {
  QFile::remove(kept);
  if (const std::optional<IoError> failure =
          WriteWholeFile(kept, bytes, {.keep_links = false, .sync_folder = false})) {
    *error = failure->message;
    return false;
  }
  const QFileDevice::Permissions own = QFileInfo(page).permissions() & kPrivateFile;
  QFile::setPermissions(kept, own ? own : QFileDevice::ReadOwner);
  return true;
}

bool Journal::Open(QString* error) {
  if (!path_.isEmpty()) return true;
  const QString stamp =
      QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
  if (QDir().mkpath(root_)) QFile::setPermissions(root_, kPrivateFolder);
  for (int n = 0; n < 1000; ++n) {
    const QString candidate =
        root_ + u'/' + stamp + QStringLiteral("-%1").arg(n, 3, 10, QChar(u'0'));
    if (QFileInfo::exists(candidate)) continue;
    if (!QDir().mkdir(candidate)) break;
    QFile::setPermissions(candidate, kPrivateFolder);
    path_ = candidate;
    const QJsonObject label{{QStringLiteral("label"), label_}};
    if (!Append(QJsonDocument(label).toJson(QJsonDocument::Compact), error)) return false;
    QFile::setPermissions(path_ + u'/' + QString::fromUtf16(kIndexName), kPrivateFile);
    return true;
  }
  *error = Tr(Text::kCannotCreateJournal).arg(root_);
  return false;
}

bool Journal::Append(QByteArray line, QString* error) {
  // Opened once for the run; each line reaches the file before the page it names changes.
  if (!index_.isOpen()) {
    index_.setFileName(path_ + u'/' + QString::fromUtf16(kIndexName));
    if (!index_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
      *error = Tr(Text::kCannotWriteJournal).arg(index_.fileName(), index_.errorString());
      return false;
    }
  }
  line += '\n';
  if (index_.write(line) != line.size()) {
    *error = Tr(Text::kCannotWriteJournal).arg(index_.fileName(), index_.errorString());
    return false;
  }
  bytes_ += line.size();
  return true;
}

void Journal::Finish() {
  if (path_.isEmpty()) return;
  QFile record(path_ + u'/' + QString::fromUtf16(kBytesName));
  if (record.open(QIODevice::WriteOnly | QIODevice::Truncate))
    record.write(QByteArray::number(bytes_));
}

qint64 JournalBytes(const QString& run_folder) {
  QFile record(run_folder + u'/' + QString::fromUtf16(kBytesName));
  if (record.open(QIODevice::ReadOnly)) {
    bool ok = false;
    const qint64 bytes = record.readAll().toLongLong(&ok);
    if (ok && bytes >= 0) return bytes;
    record.close();
  }
  qint64 bytes = 0;
  for (const QFileInfo& info : QDir(run_folder).entryInfoList(QDir::Files)) {
    if (info.fileName() != QString::fromUtf16(kBytesName)) bytes += info.size();
  }
  if (record.open(QIODevice::WriteOnly | QIODevice::Truncate))
    record.write(QByteArray::number(bytes));
  return bytes;
}

bool Journal::FolderTakesNewFiles(const QString& folder) {
  // Asked once per folder: a run writes many files into few folders.
  const auto known = folders_.constFind(folder);
  if (known != folders_.cend()) return *known;
  const bool takes = MayCreateFilesIn(folder);
  folders_.insert(folder, takes);
  return takes;
}

void PruneJournals(const QString& journal_folder, int keep, qint64 max_bytes) {
  QDir root(journal_folder);
  QStringList runs = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
  auto size_of = [&](const QString& run) { return JournalBytes(root.filePath(run)); };
  qint64 total = 0;
  QList<qint64> sizes;
  for (const QString& run : runs) {
    sizes.append(size_of(run));
    total += sizes.last();
  }
  // The newest run is always kept, whatever its size.
  while (runs.size() > 1 && (runs.size() > keep || total > max_bytes)) {
    QDir(root.filePath(runs.first())).removeRecursively();
    total -= sizes.takeFirst();
    runs.removeFirst();
  }
}
