#pragma once

#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QStringList>
#include <optional>

#include "platform/text_file.h"

// A site's own choices, kept in ".brindlemark-site" in its root folder.
struct SiteOptions {
  static constexpr char16_t kFileName[] = u".brindlemark-site";
  QStringList index_names{QStringLiteral("index.html"), QStringLiteral("index.htm")};
  QStringList ignored;  // paths under the root, wildcards allowed ("drafts/*")

  // The options of the site rooted at root (the defaults without a file).
  static SiteOptions Read(const QString& root);
  std::optional<IoError> Write(const QString& root) const;
};

// The root of the site a page belongs to: the nearest folder above it that holds a
// ".brindlemark-site" file, else the page's own folder.
QString SiteRootOf(const QString& page_path);

// Where a link leads, read as a browser reads it from a page on disk.
struct LinkTarget {
  enum class Kind {
    kLocal,      // a file or folder under the site's root (path)
    kElsewhere,  // another scheme (http:, mailto:…): not checked, no network is used
    kEmpty,
    kMachine,  // a file: address or a path of this machine outside the site
  };
  Kind kind = Kind::kLocal;
  QString path;         // absolute and clean, for kLocal
  QString fragment;     // after '#', decoded
  bool folder = false;  // written as a folder ("docs/")
};

// A site on disk: its root and options, where its links lead and which of its files the
// user left out. What it learns of the disk it keeps, so a file is asked about once.
class Site {
 public:
  Site(QString root, SiteOptions options);
  // The site of the page at page_path, with the options of its root.
  static Site Of(const QString& page_path);

  const QString& Root() const { return root_; }
  const SiteOptions& Options() const { return options_; }
  LinkTarget Resolve(const QString& page_path, const QString& base, const QString& url) const;
  // The page or picture a local link leads to, or empty (the index page for a folder).
  QString FileOf(const LinkTarget& target);
  bool IsIgnored(const QString& path) const;
  bool Exists(const QString& path) { return StatOf(path).exists; }
  // The path whose names match path's ignoring letter case, or empty.
  QString FindIgnoringCase(const QString& path);
  // path relative to the root when it lies under it.
  QString Shown(const QString& path) const;

 private:
  struct Stat {
    bool exists = false;
    bool folder = false;
  };
  Stat StatOf(const QString& path);

  QString root_;
  SiteOptions options_;
  QList<QRegularExpression> ignored_;
  QHash<QString, Stat> stats_;
  QHash<QString, QStringList> listings_;
};

// Where a Ctrl+click at byte position of a page's text (utf8) leads: no url when no link
// stands there; no file when it leads nowhere on disk.
struct FollowedLink {
  QString url;
  QString file;
  QString fragment;
};
std::optional<FollowedLink> LinkAt(const QString& page_path, QByteArrayView utf8,
                                   qsizetype position);
// Where the element named fragment (id or name) starts in utf8, or -1.
qsizetype FragmentPosition(QByteArrayView utf8, const QString& fragment);

// The pages of a site, as a file mask.
inline constexpr char16_t kPageMask[] = u"*.htm;*.html;*.shtml;*.xhtml";
// Whether a path names a page (by its extension) or a picture.
bool IsPagePath(const QString& path);
bool IsPicturePath(const QString& path);
