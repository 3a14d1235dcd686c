#include "document/transforms.h"

#include "document/block_edits.h"
#include "document/text_helpers.h"

QString TrimSpaces(const QString& line) {
  qsizetype start = 0;
  qsizetype end = line.size();
  while (start < end && line[start].unicode() <= u' ') ++start;
  while (end > start && line[end - 1].unicode() <= u' ') --end;
  if (start == 0 && end == line.size()) return line;
  return line.sliced(start, end - start);
}

QStringList TextToHtml(const QStringList& lines) {
  QStringList result;
  result.reserve(lines.size());
  QString next = lines.isEmpty() ? QString() : TrimSpaces(lines.first());
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString current = next;
    next = i + 1 < lines.size() ? TrimSpaces(lines[i + 1]) : QString();
    if (current.isEmpty()) {
      result.append(QString());
    } else {
      result.append(current + (next.isEmpty() ? QStringLiteral("<p>") : QStringLiteral("<br>")));
    }
  }
  return result;
}

QStringList HtmlToText(const QStringList& lines) {
  static const std::pair<QString, QString> kEntities[] = {
      {QStringLiteral("&nbsp"), QStringLiteral(" ")},
      {QStringLiteral("&lt"), QStringLiteral("<")},
      {QStringLiteral("&gt"), QStringLiteral(">")},
      {QStringLiteral("&copy"), QStringLiteral("(c)")}};
  QStringList result;
  result.reserve(lines.size());
  for (const QString& line : lines) {
    QString text = StripTags(line);
    for (const auto& [entity, replacement] : kEntities)
      text = ReplaceFirst(text, entity, replacement);
    result.append(text);
  }
  return result;
}

namespace {

QStringList Compress(const QStringList& lines, const QList<bool>& keep) {
  QStringList result;
  result.reserve(lines.size());
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString& line = lines[i];
    if (!keep.isEmpty() && keep[i]) {
      result.append(line);
      continue;
    }
    const QString trimmed = TrimSpaces(line);
    if (trimmed.isEmpty()) continue;
    QString compact;
    compact.reserve(trimmed.size());
    for (QChar c : trimmed) {
      if (c == u' ' && !compact.isEmpty() && compact.back() == u' ') continue;
      compact.append(c);
    }
    result.append(compact);
  }
  return result;
}

// Where the next of the given (lower-case) texts starts in text from `from`, ignoring case.
qsizetype FindNoCase(const QString& text, QStringView what, qsizetype from) {
  return text.indexOf(what, from, Qt::CaseInsensitive);
}

// The end of the element named name whose start tag begins at `at` (after its end tag), or
// the end of the text when it is left open.
qsizetype ElementEnd(const QString& text, qsizetype at, QStringView end_tag) {
  const qsizetype close = FindNoCase(text, end_tag, at);
  if (close < 0) return text.size();
  const qsizetype gt = text.indexOf(u'>', close);
  return gt < 0 ? text.size() : gt + 1;
}

// Whether text[at] starts the tag `<name` (name followed by a space, '>' or '/').
bool TagAt(const QString& text, qsizetype at, QStringView name) {
  if (text.size() < at + 1 + name.size()) return false;
  if (QStringView(text).sliced(at + 1, name.size()).compare(name, Qt::CaseInsensitive) != 0) {
    return false;
  }
  const qsizetype after = at + 1 + name.size();
  return after == text.size() || text[after] == u'>' || text[after] == u'/' ||
         text[after].isSpace();
}

// The text without what a browser does not show: comments, script and style content, and
// the head apart from its title's text. Linear: one walk over the '<' signs.
QString VisiblePart(const QString& text) {
  const QStringView view(text);
  QString out;
  out.reserve(text.size());
  qsizetype copied = 0;  // text before this is decided
  qsizetype at = 0;
  bool in_head = false;
  auto tag_end = [&](qsizetype from) {
    const qsizetype gt = text.indexOf(u'>', from);
    return gt < 0 ? text.size() : gt + 1;
  };
  while ((at = text.indexOf(u'<', at)) >= 0) {
    // Outside the head the text up to the tag stays; inside it goes.
    if (!in_head) out.append(view.sliced(copied, at - copied));
    copied = at;
    qsizetype skip = -1;
    if (view.sliced(at).startsWith(u"<!--")) {
      const qsizetype close = text.indexOf(QStringLiteral("-->"), at + 4);
      skip = close < 0 ? text.size() : close + 3;
    } else if (TagAt(text, at, u"script")) {
      skip = ElementEnd(text, at, u"</script");
    } else if (TagAt(text, at, u"style")) {
      skip = ElementEnd(text, at, u"</style");
    } else if (TagAt(text, at, u"head")) {
      in_head = true;
      skip = tag_end(at);
    } else if (in_head && view.sliced(at).startsWith(u"</head", Qt::CaseInsensitive)) {
      in_head = false;
      skip = tag_end(at);
    } else if (in_head && TagAt(text, at, u"title")) {
      const qsizetype start = tag_end(at);
      qsizetype close = FindNoCase(text, u"</title", start);
      if (close < 0) close = text.size();
      out.append(view.sliced(start, close - start));
      out.append(u'\n');
      skip = ElementEnd(text, close, u"</title");
    }
    if (skip >= 0) {
      copied = skip;
      at = skip;
    } else {
      ++at;  // an ordinary tag: kept outside the head, dropped with the rest inside it
    }
  }
  if (!in_head) out.append(view.sliced(copied));
  return out;
}

}  // namespace

QStringList CompressText(const QStringList& lines) { return Compress(lines, {}); }

QStringList CompressTextKeepingRaw(const QStringList& lines) {
  return Compress(lines, block_edits::RawTextLines(lines));
}

QStringList HtmlToVisibleText(const QStringList& lines) {
  return HtmlToText(VisiblePart(lines.join(u'\n')).split(u'\n'));
}

QStringList PlainTextToHtml(const QStringList& lines) {
  QStringList escaped;
  escaped.reserve(lines.size());
  for (const QString& line : lines) {
    QString text = line;
    text.replace(u'&', QStringLiteral("&amp;"));
    text.replace(u'<', QStringLiteral("&lt;"));
    text.replace(u'>', QStringLiteral("&gt;"));
    escaped.append(text);
  }
  return TextToHtml(escaped);
}
