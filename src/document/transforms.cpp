#include "document/transforms.h"

#include "document/block_edits.h"
#include "document/text_helpers.h"
#include "html/entities.h"

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

namespace {

// The lower-case name of the tag at text[at] == '<' and where the tag ends; an empty name
// when the '<' starts no tag (it is text then).
QString TagNameAt(QStringView text, qsizetype at, qsizetype* end) {
  qsizetype i = at + 1;
  if (i < text.size() && text[i] == u'/') ++i;
  const qsizetype start = i;
  while (i < text.size() && text[i].unicode() < 0x80 && text[i].isLetterOrNumber()) ++i;
  if (i == start || !text[start].isLetter()) return QString();
  const qsizetype gt = text.indexOf(u'>', i);
  *end = gt < 0 ? text.size() : gt + 1;
  return text.sliced(start, i - start).toString().toLower();
}

bool EndsALine(const QString& name) {
  static const QStringList kBlocks = {
      u"p"_qs,        u"div"_qs,     u"li"_qs,      u"h1"_qs,      u"h2"_qs,      u"h3"_qs,
      u"h4"_qs,       u"h5"_qs,      u"h6"_qs,      u"tr"_qs,      u"hr"_qs,      u"blockquote"_qs,
      u"pre"_qs,      u"ul"_qs,      u"ol"_qs,      u"dl"_qs,      u"dt"_qs,      u"dd"_qs,
      u"table"_qs,    u"body"_qs,    u"section"_qs, u"article"_qs, u"header"_qs,  u"footer"_qs,
      u"nav"_qs,      u"aside"_qs,   u"main"_qs,    u"figure"_qs,  u"address"_qs, u"form"_qs,
      u"fieldset"_qs, u"caption"_qs, u"center"_qs};
  return kBlocks.contains(name);
}

bool IsBlankSpace(QChar c) { return c == u' ' || c == u'\t' || c == u'\r'; }

}  // namespace

QStringList HtmlToVisibleText(const QStringList& lines) {
  const QString visible = VisiblePart(lines.join(u'\n'));
  const QStringView text(visible);
  QString out;
  out.reserve(text.size());
  // Breaks owed by block elements, paid before the next visible character; a line break of
  // the page pays one. A block only ends a line that holds something; <br> always does.
  int owed = 0;
  bool line_has_text = false;
  for (qsizetype i = 0; i < text.size();) {
    const QChar c = text[i];
    if (c == u'<') {
      qsizetype end = i + 1;
      const QString name = TagNameAt(text, i, &end);
      if (!name.isEmpty()) {
        if (name == u"br") {
          ++owed;
        } else if (EndsALine(name) && line_has_text && owed == 0) {
          owed = 1;
        }
        i = end;
        continue;
      }
    }
    if (c == u'\n') {
      out += u'\n';
      owed = std::max(0, owed - 1);
      line_has_text = false;
      ++i;
      continue;
    }
    if (owed > 0 && IsBlankSpace(c)) {
      ++i;
      continue;
    }
    if (owed > 0) {
      while (!out.isEmpty() && IsBlankSpace(out.back())) out.chop(1);
      out += QString(owed, u'\n');
      owed = 0;
    }
    line_has_text = line_has_text || !IsBlankSpace(c);
    if (c == u'&') {
      const CharacterReference reference = ReadCharacterReference(text, i);
      if (reference.length > 0) {
        out += reference.text;
        i += reference.length;
        continue;
      }
    }
    out += c;
    ++i;
  }
  QStringList result = out.split(u'\n');
  // What comments, the head and the tags leave above and below the text is no part of it.
  while (!result.isEmpty() && TrimSpaces(result.back()).isEmpty()) result.removeLast();
  while (!result.isEmpty() && TrimSpaces(result.front()).isEmpty()) result.removeFirst();
  return result;
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
