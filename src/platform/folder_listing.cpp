#include "platform/folder_listing.h"

#include <dirent.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "platform/text_format.h"

namespace {

// '*' and '?' over the whole name, ignoring case.
bool WildcardMatches(QStringView name, QStringView pattern) {
  // Iterative matcher with one backtrack point: linear enough for file names.
  qsizetype n = 0, p = 0, star = -1, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() &&
        (pattern[p] == u'?' || pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == u'*') {
      star = p++;
      mark = n;
    } else if (star >= 0) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

bool HasWildcard(QStringView text) { return text.contains(u'*') || text.contains(u'?'); }

}  // namespace

bool MaskMatches(QStringView name, QStringView pattern) {
  if (pattern == u"*.*" || pattern == u"*") return true;
  if (WildcardMatches(name, pattern)) return true;
  // The short-name rule: an extension of exactly three plain characters matches a longer
  // last extension that starts with it.
  const qsizetype pattern_dot = pattern.lastIndexOf(u'.');
  const qsizetype name_dot = name.lastIndexOf(u'.');
  if (pattern_dot < 0 || name_dot < 0) return false;
  const QStringView extension = pattern.sliced(pattern_dot + 1);
  if (extension.size() != 3 || HasWildcard(extension)) return false;
  if (name.size() - name_dot - 1 <= 3) return false;
  const QString shortened = name.first(name_dot + 4).toString();
  return WildcardMatches(shortened, pattern);
}

bool NameMatchesMask(QStringView name, QStringView mask) {
  for (const QStringView pattern : mask.tokenize(u';', Qt::SkipEmptyParts)) {
    if (MaskMatches(name, pattern.trimmed())) return true;
  }
  return false;
}

namespace {

bool NameOrder(const QString& a, const QString& b) {
  const int order = a.compare(b, Qt::CaseInsensitive);
  return order != 0 ? order < 0 : a < b;
}

void ScanInto(const QString& root, const QString& relative, const QString& mask, bool recursive,
              FolderScan& scan) {
  const QString folder = relative.isEmpty() ? root : JoinPath(root, relative);
  DIR* dir = ::opendir(QFile::encodeName(folder).constData());
  if (dir == nullptr) return;
  QStringList files;
  QStringList folders;
  while (const dirent* entry = ::readdir(dir)) {
    const QByteArray raw(entry->d_name);
    if (raw == "." || raw == "..") continue;
    const QString prefix = relative.isEmpty() ? QString() : relative + u'/';
    if (!IsValidUtf8(raw)) {
      scan.unusable_names.append(prefix + PrintableBytes(raw));
      continue;
    }
    const QString name = QString::fromUtf8(raw);
    // The entry's type when the file system gives it, else lstat: a link to a folder is not
    // entered; a link to a file is a file.
    mode_t type = DTTOIF(entry->d_type);
    if (entry->d_type == DT_UNKNOWN) {
      struct stat info {};
      if (::lstat(QFile::encodeName(JoinPath(folder, name)).constData(), &info) != 0) continue;
      type = info.st_mode & S_IFMT;
    }
    if (S_ISDIR(type)) {
      if (recursive) folders.append(name);
    } else if ((S_ISREG(type) || S_ISLNK(type)) && NameMatchesMask(name, mask) &&
               (S_ISREG(type) || QFileInfo(JoinPath(folder, name)).isFile())) {
      files.append(name);
    }
  }
  ::closedir(dir);
  std::sort(files.begin(), files.end(), NameOrder);
  std::sort(folders.begin(), folders.end(), NameOrder);
  for (const QString& name : std::as_const(files)) {
    scan.files.append(relative.isEmpty() ? name : relative + u'/' + name);
  }
  for (const QString& name : std::as_const(folders)) {
    ScanInto(root, relative.isEmpty() ? name : relative + u'/' + name, mask, recursive, scan);
  }
}

QString Escaped(uint code) {
  switch (code) {
    case '\n':
      return QStringLiteral("\\n");
    case '\r':
      return QStringLiteral("\\r");
    case '\t':
      return QStringLiteral("\\t");
    default:
      return QStringLiteral("\\x") + QString::number(code, 16).toUpper().rightJustified(2, u'0');
  }
}

bool IsControl(uint code) { return code < 0x20 || (code >= 0x7F && code <= 0x9F); }

}  // namespace

FolderScan ScanFolder(const QString& folder, const QString& mask, bool recursive) {
  FolderScan scan;
  if (!folder.isEmpty()) ScanInto(folder, QString(), mask, recursive, scan);
  return scan;
}

QString PrintableName(QStringView name) {
  QString out;
  out.reserve(name.size());
  for (const QChar c : name) {
    if (IsControl(c.unicode())) {
      out += Escaped(c.unicode());
    } else {
      out += c;
    }
  }
  return out;
}

QString PrintableBytes(QByteArrayView name) {
  QString out;
  qsizetype i = 0;
  while (i < name.size()) {
    // The longest valid UTF-8 run from i, else one byte escaped.
    qsizetype end = i;
    while (end < name.size() && static_cast<unsigned char>(name[end]) < 0x80) ++end;
    if (end > i) {
      out += PrintableName(QString::fromLatin1(name.sliced(i, end - i)));
      i = end;
      continue;
    }
    qsizetype length = 0;
    for (qsizetype n = 2; n <= 4 && i + n <= name.size() && length == 0; ++n) {
      bool multi = false;
      if (IsValidUtf8(name.sliced(i, n), &multi) && multi) length = n;
    }
    if (length > 0) {
      out += PrintableName(QString::fromUtf8(name.sliced(i, length)));
      i += length;
    } else {
      out += Escaped(static_cast<unsigned char>(name[i]));
      ++i;
    }
  }
  return out;
}

QStringList ListFolderFiles(const QString& folder, const QString& mask) {
  QStringList names;
  if (folder.isEmpty()) return names;
  const QStringList all = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::NoSort);
  for (const QString& name : all) {
    if (NameMatchesMask(name, mask)) names.append(name);
  }
  std::sort(names.begin(), names.end(), NameOrder);
  return names;
}

QString JoinPath(const QString& folder, const QString& name) {
  if (folder.isEmpty()) return name;
  if (folder.endsWith(u'/')) return folder + name;
  return folder + u'/' + name;
}
