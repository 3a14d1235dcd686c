#include "platform/folder_listing.h"

#include <QDir>
#include <algorithm>

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

QStringList ListFolderFiles(const QString& folder, const QString& mask) {
  QStringList names;
  if (folder.isEmpty()) return names;
  const QStringList all = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::NoSort);
  for (const QString& name : all) {
    if (NameMatchesMask(name, mask)) names.append(name);
  }
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const int order = a.compare(b, Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
  });
  return names;
}

QString JoinPath(const QString& folder, const QString& name) {
  if (folder.isEmpty()) return name;
  if (folder.endsWith(u'/')) return folder + name;
  return folder + u'/' + name;
}
