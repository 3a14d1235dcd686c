#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <optional>

#include "html/page_links.h"
#include "html/problems.h"
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

// Checks the links of a site's pages: missing files and fragments, letter case that only
// works on this machine, folders without an index page, paths of this machine, empty links
// and image maps that are not there. Pages and folders are read once however many links
// lead to them. Also finds the files nothing reaches from the root's index page.
class SiteLinkChecker {
 public:
  SiteLinkChecker(QString root, SiteOptions options);

  LinkTarget Resolve(const QString& page_path, const QString& base, const QString& url) const;
  // The link problems of the page at page_path, whose text is utf8, in page order.
  QList<Problem> Check(const QString& page_path, QByteArrayView utf8);
  // Links to other schemes met so far, which are counted and not checked.
  int NotChecked() const { return not_checked_; }
  // The page or picture a local link leads to, or empty (the index page for a folder).
  QString FileOf(const LinkTarget& target);
  bool IsIgnored(const QString& path) const;
  // The pages and pictures under the root that no page reached from its index page links
  // to, sorted. Pages already checked are not read again.
  QStringList Orphans();
  const QString& Root() const { return root_; }

 private:
  struct Stat {
    bool exists = false;
    bool folder = false;
  };
  Stat StatOf(const QString& path);
  // The path whose names match path's ignoring letter case, or empty.
  QString FindIgnoringCase(const QString& path);
  const QHash<QString, int>* IdsOf(const QString& page);
  QSet<QString> TargetsOf(const QString& page);
  QString Shown(const QString& path) const;

  QString root_;
  SiteOptions options_;
  QList<QRegularExpression> ignored_;
  int not_checked_ = 0;
  QHash<QString, Stat> stats_;
  QHash<QString, QStringList> listings_;
  QHash<QString, std::optional<QHash<QString, int>>> ids_;  // by page; none when unreadable
  QHash<QString, QSet<QString>> targets_;  // the local files each checked page links to
};

// The pages of a site, as a file mask.
inline constexpr char16_t kPageMask[] = u"*.htm;*.html;*.shtml;*.xhtml";
// Whether a path names a page (by its extension) or a picture.
bool IsPagePath(const QString& path);
bool IsPicturePath(const QString& path);
