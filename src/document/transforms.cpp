#include "document/transforms.h"

#include <algorithm>
#include <cstring>

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

namespace {

// The line without bytes up to and including the space at its ends: the same characters
// TrimSpaces removes, as no byte of a longer UTF-8 sequence is that small.
QByteArrayView TrimmedSpaces(QByteArrayView line) {
  qsizetype start = 0;
  qsizetype end = line.size();
  while (start < end && static_cast<unsigned char>(line[start]) <= ' ') ++start;
  while (end > start && static_cast<unsigned char>(line[end - 1]) <= ' ') --end;
  return line.sliced(start, end - start);
}

void Compress(const QList<QByteArrayView>& lines, const QList<bool>& keep, Utf8LineWriter& out) {
  QByteArray compact;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (!keep.isEmpty() && keep[i]) {
      out.Add(lines[i]);
      continue;
    }
    const QByteArrayView trimmed = TrimmedSpaces(lines[i]);
    if (trimmed.isEmpty()) continue;
    qsizetype pair = trimmed.indexOf("  ");
    if (pair < 0) {
      out.Add(trimmed);
      continue;
    }
    compact.truncate(0);  // keeps its room for the next line
    qsizetype from = 0;
    for (; pair >= 0; pair = trimmed.indexOf("  ", from)) {
      compact += trimmed.sliced(from, pair + 1 - from);
      from = pair + 1;
      while (trimmed[from] == ' ') ++from;  // the trimmed line ends in something else
    }
    compact += trimmed.sliced(from);
    out.Add(compact);
  }
}

// The first of each reference HtmlToText replaces, replaced in text.
// Replacing one can neither make nor break another (no replacement holds "&" or starts
// with a letter), so each is found in the text as it stands.
void ReplaceFirstReferences(QByteArray& text) {
  static constexpr std::pair<QByteArrayView, QByteArrayView> kReferences[] = {
      {"&nbsp", " "}, {"&lt", "<"}, {"&gt", ">"}, {"&copy", "(c)"}};
  constexpr int kCount = int(std::size(kReferences));
  qsizetype first[kCount] = {-1, -1, -1, -1};
  int found = 0;
  const QByteArrayView view(text);
  for (qsizetype at = view.indexOf('&'); at >= 0 && found < kCount;
       at = view.indexOf('&', at + 1)) {
    for (int k = 0; k < kCount; ++k) {
      if (first[k] < 0 && view.sliced(at).startsWith(kReferences[k].first)) {
        first[k] = at;
        ++found;
        break;
      }
    }
  }
  if (found == 0) return;
  // Every replacement is shorter than its reference: one pass from the front closes the gaps.
  std::pair<qsizetype, int> order[kCount];
  int n = 0;
  for (int k = 0; k < kCount; ++k) {
    if (first[k] >= 0) order[n++] = {first[k], k};
  }
  std::sort(order, order + n);
  char* data = text.data();
  qsizetype write = 0;
  qsizetype read = 0;
  for (int i = 0; i < n; ++i) {
    const auto& [reference, replacement] = kReferences[order[i].second];
    std::memmove(data + write, data + read, std::size_t(order[i].first - read));
    write += order[i].first - read;
    std::memcpy(data + write, replacement.data(), std::size_t(replacement.size()));
    write += replacement.size();
    read = order[i].first + reference.size();
  }
  std::memmove(data + write, data + read, std::size_t(text.size() - read));
  text.truncate(write + text.size() - read);
}

}  // namespace

void TextToHtml(const QList<QByteArrayView>& lines, Utf8LineWriter& out) {
  QByteArrayView next = lines.isEmpty() ? QByteArrayView() : TrimmedSpaces(lines.first());
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QByteArrayView current = next;
    next = i + 1 < lines.size() ? TrimmedSpaces(lines[i + 1]) : QByteArrayView();
    if (current.isEmpty()) {
      out.Add({});
    } else {
      out.Add({current, next.isEmpty() ? QByteArrayView("<p>") : QByteArrayView("<br>")});
    }
  }
}

void HtmlToText(const QList<QByteArrayView>& lines, Utf8LineWriter& out) {
  QByteArray text;
  for (const QByteArrayView line : lines) {
    text.truncate(0);  // keeps its room for the next line
    AppendWithoutTags(line, text);
    if (text.contains('&')) ReplaceFirstReferences(text);
    out.Add(text);
  }
}

void CompressText(const QList<QByteArrayView>& lines, Utf8LineWriter& out) {
  Compress(lines, {}, out);
}

QStringList CompressTextKeepingRaw(const QStringList& lines) {
  const QList<bool> keep = block_edits::RawTextLines(lines);
  return ThroughUtf8(lines, [&keep](const auto& in, auto& out) { Compress(in, keep, out); });
}

namespace {

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
  return ThroughUtf8(escaped, [](const auto& in, auto& out) { TextToHtml(in, out); });
}
