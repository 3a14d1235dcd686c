#include "document/site.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

#include "html/page_links.h"
#include "platform/file_write.h"
#include "platform/folder_listing.h"

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

Site::Site(QString root, SiteOptions options)
    : root_(QDir::cleanPath(QFileInfo(root).absoluteFilePath())), options_(std::move(options)) {
  for (const QString& pattern : std::as_const(options_.ignored)) {
    ignored_.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(
        pattern, QRegularExpression::UnanchoredWildcardConversion)));
  }
}

bool Site::IsIgnored(const QString& path) const {
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

LinkTarget Site::Resolve(const QString& page_path, const QString& base, const QString& url) const {
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

Site::Stat Site::StatOf(const QString& path) {
  const auto found = stats_.constFind(path);
  if (found != stats_.constEnd()) return *found;
  const QFileInfo info(path);
  return *stats_.insert(path, Stat{info.exists(), info.isDir()});
}

QString Site::FindIgnoringCase(const QString& path) {
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

QString Site::FileOf(const LinkTarget& target) {
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

QString Site::Shown(const QString& path) const {
  const QString relative = QDir(root_).relativeFilePath(path);
  return relative.startsWith(u"..") ? path : relative;
}

Site Site::Of(const QString& page_path) {
  const QString root = SiteRootOf(page_path);
  return Site(root, SiteOptions::Read(root));
}

std::optional<FollowedLink> LinkAt(const QString& page_path, QByteArrayView utf8,
                                   qsizetype position) {
  const PageLinks links = ReadPageLinks(utf8);
  for (const PageLink& link : links.links) {
    if (position < link.start || position > link.end) continue;
    Site site = Site::Of(page_path);
    const LinkTarget target = site.Resolve(page_path, links.base, link.url);
    return FollowedLink{link.url, site.FileOf(target), target.fragment};
  }
  return std::nullopt;
}

qsizetype FragmentPosition(QByteArrayView utf8, const QString& fragment) {
  const QByteArray name = fragment.toUtf8();
  for (const char* form : {"id=\"%1\"", "name=\"%1\"", "id='%1'", "id=%1"}) {
    const qsizetype at = utf8.indexOf(QByteArray(form).replace("%1", name));
    if (at >= 0) return at;
  }
  return -1;
}
