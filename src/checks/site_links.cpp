#include "checks/site_links.h"

#include <QDir>
#include <QFileInfo>

#include "html/html_tokens.h"
#include "names/texts.h"
#include "platform/folder_listing.h"
#include "platform/text_format.h"

SiteLinkChecker::SiteLinkChecker(QString root, SiteOptions options)
    : site_(std::move(root), std::move(options)) {}

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

QList<Problem> SiteLinkChecker::Check(const QString& page_path, QByteArrayView utf8) {
  const QString page = QDir::cleanPath(QFileInfo(page_path).absoluteFilePath());
  const PageLinks links = ReadPageLinks(utf8);
  ids_.insert(page, links.ids);
  QSet<QString>& targets = targets_[page];
  QList<Problem> problems;
  const auto place = [&](const PageLink& link, Problem problem) {
    problem.line = link.line;
    problem.column = link.column;
    problem.length = int(CharacterCount(utf8.sliced(link.start, link.end - link.start)));
    problem.source = ProblemSource::kLinks;
    problem.subject = link.url;
    problems.append(problem);
  };
  for (const PageLink& link : links.links) {
    if (std::optional<Problem> problem = CheckLink(page, links, link, targets)) {
      place(link, *problem);
    }
  }
  for (const PageLink& usemap : links.usemaps) {
    const QString name = usemap.url.startsWith(u'#') ? usemap.url.sliced(1) : usemap.url;
    if (!links.maps.contains(name)) {
      place(usemap, Problem{.severity = Severity::kError,
                            .message = Tr(Text::kLinkMissingMap).arg(name),
                            .kind = QStringLiteral("missing-map")});
    }
  }
  SortByPosition(problems);
  return problems;
}

std::optional<Problem> SiteLinkChecker::CheckLink(const QString& page, const PageLinks& links,
                                                  const PageLink& link, QSet<QString>& targets) {
  const auto problem = [](Severity severity, const char* kind, const QString& message) {
    return Problem{.severity = severity, .message = message, .kind = QString::fromLatin1(kind)};
  };
  const LinkTarget target = site_.Resolve(page, links.base, link.url);
  switch (target.kind) {
    case LinkTarget::Kind::kElsewhere:
      ++not_checked_;
      return std::nullopt;
    case LinkTarget::Kind::kEmpty:
      return problem(Severity::kWarning, "empty-link", Tr(Text::kLinkEmpty));
    case LinkTarget::Kind::kMachine:
      return problem(Severity::kWarning, "machine-path", Tr(Text::kLinkMachinePath).arg(link.url));
    case LinkTarget::Kind::kLocal:
      break;
  }
  if (site_.IsIgnored(target.path)) return std::nullopt;
  if (!site_.Exists(target.path)) {
    const QString near = site_.FindIgnoringCase(target.path);
    if (!near.isEmpty()) {
      return problem(Severity::kError, "letter-case",
                     Tr(Text::kLinkLetterCase).arg(link.url, site_.Shown(near)));
    }
    return problem(Severity::kError, "missing-file",
                   Tr(Text::kLinkMissingFile).arg(site_.Shown(target.path)));
  }
  const QString file = site_.FileOf(target);
  if (file.isEmpty()) {
    return problem(
        Severity::kError, "no-index",
        Tr(Text::kLinkNoIndex)
            .arg(site_.Shown(target.path), site_.Options().index_names.join(QStringLiteral(", "))));
  }
  targets.insert(file);
  if (target.fragment.isEmpty() || !IsPagePath(file)) return std::nullopt;
  const QHash<QString, int>* ids = IdsOf(file);
  if (ids == nullptr) return std::nullopt;  // unreadable: its own check says so
  const int count = ids->value(target.fragment);
  if (count == 0) {
    return problem(Severity::kError, "missing-fragment",
                   Tr(Text::kLinkMissingFragment).arg(target.fragment, site_.Shown(file)));
  }
  if (count > 1) {
    return problem(
        Severity::kWarning, "ambiguous-fragment",
        Tr(Text::kLinkAmbiguousFragment).arg(target.fragment).arg(count).arg(site_.Shown(file)));
  }
  return std::nullopt;
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
  const QString index = site_.FileOf(LinkTarget{.path = site_.Root()});
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
  for (const QString& relative : ScanFolder(site_.Root(), QStringLiteral("*.*"), true).files) {
    const QString path = JoinPath(site_.Root(), relative);
    if ((IsPagePath(path) || IsPicturePath(path)) && !reached.contains(path) &&
        !site_.IsIgnored(path)) {
      orphans.append(path);
    }
  }
  orphans.sort();
  return orphans;
}
