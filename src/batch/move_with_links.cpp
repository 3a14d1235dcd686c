#include "batch/move_with_links.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>

#include "document/site.h"
#include "html/html_tokens.h"
#include "html/page_links.h"
#include "names/texts.h"
#include "platform/folder_listing.h"
#include "platform/text_format.h"

namespace {

QString Clean(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

// Where a path really is, every link on the way resolved; the part not there yet is kept as
// written. The path itself is not resolved when keep_last is set: a link that moves is the
// link, not what it leads to.
QString RealPath(const QString& path, bool keep_last) {
  QString rest;
  QString existing = Clean(path);
  if (keep_last) {
    rest = QFileInfo(existing).fileName();
    existing = QFileInfo(existing).absolutePath();
  }
  while (!QFileInfo::exists(existing) && !QFileInfo(existing).isRoot()) {
    rest = QFileInfo(existing).fileName() + (rest.isEmpty() ? QString() : u'/' + rest);
    existing = QFileInfo(existing).absolutePath();
  }
  const QString real = QFileInfo(existing).canonicalFilePath();
  if (real.isEmpty()) return Clean(path);
  return rest.isEmpty() ? real : QDir::cleanPath(real + u'/' + rest);
}

struct Move {
  QString from;
  QString to;
  QString root;
  // Where a path stands after the move.
  QString Map(const QString& path) const {
    if (path == from) return to;
    if (path.startsWith(from + u'/')) return to + path.sliced(from.size());
    return path;
  }
};

struct Replacement {
  qsizetype start;
  qsizetype end;
  QByteArray text;
};

// The address of target as a page writes it: from the root for a root-relative link, else
// relative to the folder its links are read from.
// A path written as an address: what would end it or be read as something else is escaped
// ("%" as %25, "#" as %23, "?", quotes, "&" and spaces; in a srcset, commas), so that it
// leads to the name in every context a link stands in, an attribute of either quote or CSS.
QString EscapedAddress(const QString& path, bool in_srcset) {
  QString escaped;
  escaped.reserve(path.size() + 8);
  for (const QChar c : path) {
    switch (c.unicode()) {
      case '%':
        escaped += QStringLiteral("%25");
        break;
      case '#':
        escaped += QStringLiteral("%23");
        break;
      case '?':
        escaped += QStringLiteral("%3F");
        break;
      case ' ':
        escaped += QStringLiteral("%20");
        break;
      case '"':
        escaped += QStringLiteral("%22");
        break;
      case '\'':
        escaped += QStringLiteral("%27");
        break;
      case '&':
        escaped += QStringLiteral("%26");
        break;
      case '<':
        escaped += QStringLiteral("%3C");
        break;
      case '>':
        escaped += QStringLiteral("%3E");
        break;
      case '(':
        escaped += QStringLiteral("%28");
        break;
      case ')':
        escaped += QStringLiteral("%29");
        break;
      case ',':
        escaped += in_srcset ? QStringLiteral("%2C") : QStringLiteral(",");
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

QString NewAddress(const Move& move, const QString& start, const QString& target, bool from_root,
                   bool folder, const QByteArray& old_path, bool in_srcset) {
  const QString relative = QDir(from_root ? move.root : start).relativeFilePath(target);
  // The folder itself: "./" (or "/"), never "", which would lead to the page.
  QString path = relative == u"." ? QString() : relative;
  if (from_root) path.prepend(u'/');
  if (folder && !path.endsWith(u'/')) path += u'/';
  if (path.isEmpty()) path = QStringLiteral("./");
  // A page that writes "./" keeps writing it, also before "../".
  if (!from_root && old_path.startsWith("./") && !path.startsWith(u"./")) path.prepend(u"./");
  return EscapedAddress(path, in_srcset);
}

std::optional<QByteArray> RewriteLinks(const QByteArray& bytes, const QString& page_before,
                                       const QString& page_after, const Move& move,
                                       const Site& site, QStringList& left_alone) {
  const bool page_moves = page_before != page_after;
  const QString name = QFileInfo(move.from).fileName();
  const QByteArray plain = name.toUtf8();
  const QByteArray escaped = QUrl::toPercentEncoding(name, "/!$&'()*+,;=:@~");
  // Most pages of a site never name what moves: they are left at once.
  if (!page_moves && !bytes.contains(plain) && !bytes.contains(escaped)) return std::nullopt;
  const TextFormat format = DetectTextFormat(bytes);
  const bool utf8 = format.encoding == TextEncoding::kUtf8;
  // The markup is ASCII in every encoding the pages use, so the bytes are read as they are.
  const PageLinks links = ReadPageLinks(bytes);
  QList<Replacement> replacements;
  PositionCounter positions(bytes);
  QList<std::pair<qsizetype, QString>> notes;
  // Where relative links are read from, before and after: the page's folder, or its <base>
  // (itself a link that follows the move).
  QList<PageLink> all = links.links;
  const QString page_folder_before = QFileInfo(page_before).absolutePath();
  const QString page_folder_after = QFileInfo(page_after).absolutePath();
  QString start_before = page_folder_before;
  if (!links.base.isEmpty()) {
    const LinkTarget base = site.Resolve(page_before, QString(), links.base);
    if (base.kind == LinkTarget::Kind::kLocal) {
      start_before = links.base.endsWith(u'/') ? base.path : QFileInfo(base.path).absolutePath();
    }
    all.prepend(links.base_link);
  }
  // A base leads where it leads wherever the page goes, even when that is the page's folder.
  const QString start_after = links.base.isEmpty() ? page_folder_after : move.Map(start_before);
  // When the base moves, every relative link starts from elsewhere and is written again.
  const bool start_moves = start_after != start_before;
  for (const PageLink& link : std::as_const(all)) {
    // A link that leads to what moves names it, unless the page itself moves.
    if (!page_moves && !start_moves && !link.url.contains(name) &&
        !QUrl::fromPercentEncoding(link.url.toUtf8()).contains(name)) {
      continue;
    }
    const bool is_base = link.element == "base";
    const LinkTarget target = site.Resolve(page_before, is_base ? QString() : links.base, link.url);
    if (target.kind != LinkTarget::Kind::kLocal) continue;
    const QString after = move.Map(target.path);
    const QString& from_before = is_base ? page_folder_before : start_before;
    const QString& from_after = is_base ? page_folder_after : start_after;
    if (after == target.path && from_before == from_after) continue;
    const QByteArray raw = bytes.sliced(link.start, link.end - link.start);
    qsizetype path_end = raw.size();
    for (const char stop : {'?', '#'}) {
      const qsizetype at = raw.indexOf(stop);
      if (at >= 0) path_end = std::min(path_end, at);
    }
    const QByteArray old_path = raw.first(path_end);
    if (old_path.isEmpty()) continue;  // "#top", "?q": the page itself, wherever it is
    const bool from_root = old_path.startsWith('/');
    if (from_root && after == target.path) continue;
    const QString address =
        NewAddress(move, from_after, after, from_root, target.folder || old_path.endsWith('/'),
                   old_path, link.attribute == "srcset");
    if (!utf8 &&
        std::any_of(address.begin(), address.end(), [](QChar c) { return c.unicode() > 127; })) {
      notes.append({link.start, Tr(Text::kMoveNotAscii).arg(link.url)});
      continue;
    }
    const QByteArray text = address.toUtf8();
    if (text != old_path) replacements.append({link.start, link.start + path_end, text});
  }
  // The name in a script or an attribute that is not a link: code builds an address there.
  for (const auto& [from, to] : links.code) {
    const QByteArrayView code = QByteArrayView(bytes).sliced(from, to - from);
    if (code.contains(plain) || code.contains(escaped)) {
      notes.append({from, Tr(Text::kMoveMention).arg(name)});
    }
  }
  std::sort(notes.begin(), notes.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [at, why] : std::as_const(notes)) {
    left_alone.append(
        QStringLiteral("%1:%2: %3").arg(page_after).arg(positions.At(at).line).arg(why));
  }
  if (replacements.isEmpty()) return std::nullopt;
  QByteArray out;
  out.reserve(bytes.size() + 64);
  qsizetype copied = 0;
  for (const Replacement& replacement : std::as_const(replacements)) {
    out.append(bytes.sliced(copied, replacement.start - copied));
    out.append(replacement.text);
    copied = replacement.end;
  }
  out.append(bytes.sliced(copied));
  return out;
}

}  // namespace

std::optional<MovePlan> PlanMove(const QString& from, const QString& to, const QString& root,
                                 QString* error) {
  const Move move{Clean(from), Clean(to), Clean(root)};
  const QFileInfo source(move.from);
  if (!source.exists()) {
    *error = Tr(Text::kMoveNoSource).arg(from);
    return std::nullopt;
  }
  if (QFileInfo::exists(move.to)) {
    *error = Tr(Text::kAlreadyExists).arg(to);
    return std::nullopt;
  }
  const auto under_root = [&](const QString& path) { return path.startsWith(move.root + u'/'); };
  if (!under_root(move.from) || !under_root(move.to) ||
      (source.isDir() && move.to.startsWith(move.from + u'/'))) {
    *error = Tr(Text::kMoveOutsideRoot).arg(to, root);
    return std::nullopt;
  }
  // Nothing outside the root moves, nor moves into a folder a link leads out of it.
  const QString real_root = RealPath(move.root, false);
  const auto really_under_root = [&](const QString& path) {
    return RealPath(path, true).startsWith(real_root + u'/');
  };
  for (const QString& path : {move.from, move.to}) {
    if (!really_under_root(path)) {
      *error = Tr(Text::kMoveLeavesRoot).arg(path == move.from ? from : to, root);
      return std::nullopt;
    }
  }
  MovePlan plan;
  plan.renames.append({move.from, move.to});
  auto site = std::make_shared<Site>(move.root, SiteOptions{});
  const FolderScan pages = ScanFolder(move.root, QString::fromUtf16(kPageMask), true);
  // A page the program cannot name may link to what moves: it is told, never passed over.
  for (const QString& unusable : pages.unusable_names) {
    plan.left_alone->append(QStringLiteral("%1:1: %2").arg(unusable, Tr(Text::kMoveUnusableName)));
  }
  for (const QString& relative : pages.files) {
    const QString before = JoinPath(move.root, relative);
    const QString after = move.Map(before);
    // A page that is a link to a file outside the root is never written through. The scan
    // follows no link to a folder, so only a page that is itself a link can lead out.
    if (QFileInfo(before).isSymLink() && !RealPath(before, false).startsWith(real_root + u'/')) {
      plan.left_alone->append(QStringLiteral("%1:1: %2").arg(before, Tr(Text::kMovePageOutside)));
      continue;
    }
    plan.steps.append({after, after,
                       [before, after, move, site, left_alone = plan.left_alone](
                           const QByteArray& input, QString*) {
                         return RewriteLinks(input, before, after, move, *site, *left_alone);
                       }});
  }
  return plan;
}
