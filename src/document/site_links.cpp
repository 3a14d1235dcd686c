#include "document/site_links.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

#include "html/html_tokens.h"
#include "names/texts.h"
#include "platform/folder_listing.h"
#include "platform/text_format.h"

namespace {

QString OptionsPath(const QString& root) {
  return JoinPath(root, QString::fromUtf16(SiteOptions::kFileName));
}

bool HasExtension(const QString& path, std::initializer_list<const char*> extensions) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  for (const char* extension : extensions) {
    if (suffix == QLatin1String(extension)) return true;
  }
  return false;
}

// "scheme:" at the start of a URL.
qsizetype SchemeLength(const QString& url) {
  if (url.isEmpty() || !url[0].isLetter() || url[0].unicode() > 127) return 0;
  for (qsizetype i = 1; i < url.size(); ++i) {
    const QChar c = url[i];
    if (c == u':') return i;
    if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'+' && c != u'-' && c != u'.') {
      return 0;
    }
  }
  return 0;
}

}  // namespace

bool IsPagePath(const QString& path) {
  return HasExtension(path, {"htm", "html", "xhtml", "shtml"});
}

bool IsPicturePath(const QString& path) {
  return HasExtension(path, {"png", "jpg", "jpeg", "gif", "svg", "webp", "bmp", "ico", "avif"});
}

SiteOptions SiteOptions::Read(const QString& root) {
  SiteOptions options;
  // Only a regular file of a sane size is read: a pipe or a device by that name would never
  // end, and would hold every check of the site.
  const QFileInfo info(OptionsPath(root));
  if (!info.isFile() || info.size() > kSettingsCap) return options;
  const QSettings file(OptionsPath(root), QSettings::IniFormat);
  const QStringList index =
      file.value(QStringLiteral("site/index")).toString().split(u' ', Qt::SkipEmptyParts);
  if (!index.isEmpty()) options.index_names = index;
  options.ignored =
      file.value(QStringLiteral("site/ignore")).toString().split(u' ', Qt::SkipEmptyParts);
  return options;
}

std::optional<IoError> SiteOptions::Write(const QString& root) const {
  const QString text = QStringLiteral(
                           "[site]\n; index pages of folders, and paths the site check leaves "
                           "out\nindex=%1\nignore=%2\n")
                           .arg(index_names.join(u' '), ignored.join(u' '));
  return WriteWholeFile(OptionsPath(root), text.toUtf8());
}

QString SiteRootOf(const QString& page_path) {
  const QString own = QFileInfo(page_path).absolutePath();
  for (QDir folder(own);;) {
    if (QFileInfo::exists(OptionsPath(folder.absolutePath()))) return folder.absolutePath();
    if (!folder.cdUp()) break;
  }
  return own;
}

SiteLinkChecker::SiteLinkChecker(QString root, SiteOptions options)
    : root_(QDir::cleanPath(QFileInfo(root).absoluteFilePath())), options_(std::move(options)) {
  for (const QString& pattern : std::as_const(options_.ignored)) {
    ignored_.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(
        pattern, QRegularExpression::UnanchoredWildcardConversion)));
  }
}

bool SiteLinkChecker::IsIgnored(const QString& path) const {
  const QString relative = QDir(root_).relativeFilePath(path);
  for (const QRegularExpression& pattern : ignored_) {
    const QRegularExpressionMatch match = pattern.match(relative);
    // The whole path, or a folder that holds it.
    if (match.hasMatch() && match.capturedStart() == 0 &&
        (match.capturedLength() == relative.size() || relative[match.capturedLength()] == u'/')) {
      return true;
    }
  }
  return false;
}

LinkTarget SiteLinkChecker::Resolve(const QString& page_path, const QString& base,
                                    const QString& url) const {
  LinkTarget target;
  if (url.isEmpty()) {
    target.kind = LinkTarget::Kind::kEmpty;
    return target;
  }
  QString rest = url;
  const qsizetype hash = rest.indexOf(u'#');
  if (hash >= 0) {
    target.fragment = QUrl::fromPercentEncoding(rest.sliced(hash + 1).toUtf8());
    rest.truncate(hash);
  }
  const qsizetype query = rest.indexOf(u'?');
  if (query >= 0) rest.truncate(query);
  const qsizetype scheme = SchemeLength(rest);
  if (scheme == 1 || rest.startsWith(u"file:", Qt::CaseInsensitive)) {
    target.kind = LinkTarget::Kind::kMachine;  // C:\… or file:///…
    return target;
  }
  if (scheme > 1 || rest.startsWith(u"//")) {
    target.kind = LinkTarget::Kind::kElsewhere;
    return target;
  }
  const QString path = QUrl::fromPercentEncoding(rest.toUtf8());
  // Where relative links start: the page's folder, or its <base>.
  QString from = QFileInfo(page_path).absolutePath();
  if (!base.isEmpty() && rest.isEmpty() == false && !path.startsWith(u'/')) {
    const LinkTarget base_target = Resolve(page_path, QString(), base);
    if (base_target.kind != LinkTarget::Kind::kLocal) {
      target.kind = base_target.kind;
      return target;
    }
    from = base.endsWith(u'/') ? base_target.path : QFileInfo(base_target.path).absolutePath();
  }
  if (path.isEmpty()) {
    target.path = QFileInfo(page_path).absoluteFilePath();  // "#top" or "?q": this page
    return target;
  }
  target.folder = path.endsWith(u'/');
  if (path.startsWith(u'/')) {
    const QString in_site = QDir::cleanPath(root_ + path);
    // A path of this machine rather than of the site: it works only here.
    if (!QFileInfo::exists(in_site) && QFileInfo::exists(path)) {
      target.kind = LinkTarget::Kind::kMachine;
      return target;
    }
    target.path = in_site;
  } else {
    target.path = QDir::cleanPath(from + u'/' + path);
  }
  return target;
}

SiteLinkChecker::Stat SiteLinkChecker::StatOf(const QString& path) {
  const auto found = stats_.constFind(path);
  if (found != stats_.constEnd()) return *found;
  const QFileInfo info(path);
  return *stats_.insert(path, Stat{info.exists(), info.isDir()});
}

QString SiteLinkChecker::FindIgnoringCase(const QString& path) {
  if (StatOf(path).exists) return path;
  const QFileInfo info(path);
  const QString parent_path = info.absolutePath();
  if (parent_path == path) return {};
  const QString parent = FindIgnoringCase(parent_path);
  if (parent.isEmpty()) return {};
  auto listing = listings_.constFind(parent);
  if (listing == listings_.constEnd()) {
    listing = listings_.insert(
        parent, QDir(parent).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
  }
  for (const QString& name : *listing) {
    if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0) return JoinPath(parent, name);
  }
  return {};
}

QString SiteLinkChecker::FileOf(const LinkTarget& target) {
  if (target.kind != LinkTarget::Kind::kLocal) return {};
  const Stat stat = StatOf(target.path);
  if (!stat.exists) return {};
  if (!stat.folder) return target.path;
  for (const QString& name : std::as_const(options_.index_names)) {
    const QString index = JoinPath(target.path, name);
    if (StatOf(index).exists) return index;
  }
  return {};
}

const QHash<QString, int>* SiteLinkChecker::IdsOf(const QString& page) {
  auto found = ids_.find(page);
  if (found == ids_.end()) {
    const ReadOutcome read = ReadWholeFile(page, kPageCap);
    std::optional<QHash<QString, int>> ids;
    if (read.ok()) {
      const PageLinks links = ReadPageLinks(EditorBytes(read.bytes, DetectTextFormat(read.bytes)));
      ids = links.ids;
    }
    found = ids_.insert(page, ids);
  }
  return found->has_value() ? &found->value() : nullptr;
}

QString SiteLinkChecker::Shown(const QString& path) const {
  const QString relative = QDir(root_).relativeFilePath(path);
  return relative.startsWith(u"..") ? path : relative;
}

QList<Problem> SiteLinkChecker::Check(const QString& page_path, QByteArrayView utf8) {
  const QString page = QDir::cleanPath(QFileInfo(page_path).absoluteFilePath());
  const PageLinks links = ReadPageLinks(utf8);
  ids_.insert(page, links.ids);
  QSet<QString>& targets = targets_[page];
  QList<Problem> problems;
  const auto report = [&](const PageLink& link, Severity severity, const char* kind,
                          const QString& message) {
    problems.append(
        Problem{.line = link.line,
                .column = link.column,
                .length = int(CharacterCount(utf8.sliced(link.start, link.end - link.start))),
                .severity = severity,
                .source = ProblemSource::kLinks,
                .message = message,
                .kind = QString::fromLatin1(kind),
                .subject = link.url});
  };
  for (const PageLink& link : links.links) {
    const LinkTarget target = Resolve(page, links.base, link.url);
    switch (target.kind) {
      case LinkTarget::Kind::kElsewhere:
        ++not_checked_;
        continue;
      case LinkTarget::Kind::kEmpty:
        report(link, Severity::kWarning, "empty-link", Tr(Text::kLinkEmpty));
        continue;
      case LinkTarget::Kind::kMachine:
        report(link, Severity::kWarning, "machine-path", Tr(Text::kLinkMachinePath).arg(link.url));
        continue;
      case LinkTarget::Kind::kLocal:
        break;
    }
    if (IsIgnored(target.path)) continue;
    const Stat stat = StatOf(target.path);
    if (!stat.exists) {
      const QString near = FindIgnoringCase(target.path);
      if (!near.isEmpty()) {
        report(link, Severity::kError, "letter-case",
               Tr(Text::kLinkLetterCase).arg(link.url, Shown(near)));
      } else {
        report(link, Severity::kError, "missing-file",
               Tr(Text::kLinkMissingFile).arg(Shown(target.path)));
      }
      continue;
    }
    const QString file = FileOf(target);
    if (file.isEmpty()) {
      report(link, Severity::kError, "no-index",
             Tr(Text::kLinkNoIndex)
                 .arg(Shown(target.path), options_.index_names.join(QStringLiteral(", "))));
      continue;
    }
    targets.insert(file);
    if (target.fragment.isEmpty() || !IsPagePath(file)) continue;
    const QHash<QString, int>* ids = IdsOf(file);
    if (ids == nullptr) continue;  // unreadable: its own check says so
    const int count = ids->value(target.fragment);
    if (count == 0) {
      report(link, Severity::kError, "missing-fragment",
             Tr(Text::kLinkMissingFragment).arg(target.fragment, Shown(file)));
    } else if (count > 1) {
      report(link, Severity::kWarning, "ambiguous-fragment",
             Tr(Text::kLinkAmbiguousFragment).arg(target.fragment).arg(count).arg(Shown(file)));
    }
  }
  for (const PageLink& usemap : links.usemaps) {
    const QString name = usemap.url.startsWith(u'#') ? usemap.url.sliced(1) : usemap.url;
    if (!links.maps.contains(name)) {
      report(usemap, Severity::kError, "missing-map", Tr(Text::kLinkMissingMap).arg(name));
    }
  }
  SortByPosition(problems);
  return problems;
}

QSet<QString> SiteLinkChecker::TargetsOf(const QString& page) {
  const auto found = targets_.constFind(page);
  if (found != targets_.constEnd()) return *found;
  const ReadOutcome read = ReadWholeFile(page, kPageCap);
  if (read.ok()) {
    const int not_checked = not_checked_;
    Check(page, EditorBytes(read.bytes, DetectTextFormat(read.bytes)));
    not_checked_ = not_checked;
  }
  return targets_.value(page);
}

QStringList SiteLinkChecker::Orphans() {
  QSet<QString> reached;
  QStringList queue;
  const QString index = FileOf(LinkTarget{.path = root_});
  if (!index.isEmpty()) {
    reached.insert(index);
    queue.append(index);
  }
  while (!queue.isEmpty()) {
    const QString page = queue.takeLast();
    for (const QString& target : TargetsOf(page)) {
      if (reached.contains(target)) continue;
      reached.insert(target);
      if (IsPagePath(target)) queue.append(target);
    }
  }
  QStringList orphans;
  for (const QString& relative : ScanFolder(root_, QStringLiteral("*.*"), true).files) {
    const QString path = JoinPath(root_, relative);
    if ((IsPagePath(path) || IsPicturePath(path)) && !reached.contains(path) && !IsIgnored(path)) {
      orphans.append(path);
    }
  }
  orphans.sort();
  return orphans;
}
