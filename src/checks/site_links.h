#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <optional>

#include "document/site.h"
#include "html/page_links.h"
#include "html/problems.h"

// Checks the links of a site's pages: missing files and fragments, letter case that only
// works on this machine, folders without an index page, paths of this machine, empty links
// and image maps that are not there. Pages and folders are read once however many links
// lead to them. Also finds the files nothing reaches from the root's index page.
class SiteLinkChecker {
 public:
  SiteLinkChecker(QString root, SiteOptions options);

  // The link problems of the page at page_path, whose text is utf8, in page order.
  QList<Problem> Check(const QString& page_path, QByteArrayView utf8);
  // Links to other schemes met so far, which are counted and not checked.
  int NotChecked() const { return not_checked_; }
  // The pages and pictures under the root that no page reached from its index page links
  // to, sorted. Pages already checked are not read again.
  QStringList Orphans();
  Site& Files() { return site_; }

 private:
  // The problem of one link of page, if it has one; the files it reaches go to targets.
  std::optional<Problem> CheckLink(const QString& page, const PageLinks& links,
                                   const PageLink& link, QSet<QString>& targets);
  const QHash<QString, int>* IdsOf(const QString& page);
  QSet<QString> TargetsOf(const QString& page);

  Site site_;
  int not_checked_ = 0;
  QHash<QString, std::optional<QHash<QString, int>>> ids_;  // by page; none when unreadable
  QHash<QString, QSet<QString>> targets_;  // the local files each checked page links to
};
