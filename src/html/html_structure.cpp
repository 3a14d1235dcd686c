#include "html/html_structure.h"

#include "html/html_tokens.h"

#include <algorithm>
#include <cstring>

namespace {

// How far back the caret's own tag or word is looked for.
constexpr qsizetype kLookBehind = 64 * 1024;

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == ':' || c == '_';
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

bool StartsWithNoCase(QByteArrayView text, qsizetype at, QByteArrayView word) {
  if (at < 0 || at + word.size() > text.size()) return false;
  for (qsizetype k = 0; k < word.size(); ++k) {
    if (Lower(text[at + k]) != word[k]) return false;
  }
  return true;
}

// Index of the first occurrence of word (lower case, its first character not a letter) at
// or after from, in any case.
qsizetype FindNoCase(QByteArrayView text, QByteArrayView word, qsizetype from) {
  for (qsizetype at = from; at + word.size() <= text.size(); ++at) {
    at = FindByte(text, word[0], at);
    if (at < 0) return -1;
    if (StartsWithNoCase(text, at, word)) return at;
  }
  return -1;
}

// Index of the last occurrence of word (lower case) starting before before, in any case.
qsizetype FindBackNoCase(QByteArrayView text, QByteArrayView word, qsizetype before) {
  for (qsizetype at = std::min(before, text.size() - word.size() + 1) - 1; at >= 0; --at) {
    if (StartsWithNoCase(text, at, word)) return at;
  }
  return -1;
}

// The tag starting at text[at] == '<'; the end is after the '>' outside quotes.
std::optional<TagSpan> ReadTag(QByteArrayView text, qsizetype at) {
  TagSpan tag;
  tag.start = at;
  qsizetype i = at + 1;
  if (i < text.size() && text[i] == '/') {
    tag.closing = true;
    ++i;
  }
  if (i >= text.size() || !IsLetter(text[i])) return std::nullopt;
  while (i < text.size() && IsNameChar(text[i])) tag.name.append(Lower(text[i++]));
  char quote = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '<') {
      break;  // a tag left unclosed
    } else if (c == '>') {
      tag.self_closing = text[i - 1] == '/';
      tag.end = i + 1;
      return tag;
    }
  }
  tag.end = i;
  return tag;
}

bool IsRawElement(QByteArrayView lower_name) {
  return lower_name == "script" || lower_name == "style";
}

// Where the comment whose "-->" is at close starts, or -1 when none does (the signs are
// text). Comments do not nest: it is the first "<!--" after the comment before it, and after
// the script or style element before it, whose text may hold a "<!--" of its own.
qsizetype CommentStartBefore(QByteArrayView text, qsizetype close) {
  const qsizetype nearest = FindBackNoCase(text, "<!--", close);
  if (nearest < 0) return -1;
  qsizetype after = 0;
  for (const QByteArrayView end :
       {QByteArrayView("-->"), QByteArrayView("</script"), QByteArrayView("</style")}) {
    const qsizetype previous = FindBackNoCase(text, end, nearest);
    if (previous >= 0) after = std::max(after, previous + end.size());
  }
  return FindNoCase(text, "<!--", after);
}

// The start tag of the script or style element whose end tag is at end_tag. Its raw text
// may hold "<script" (in a string) but never the end tag, so it is the first start tag of
// that name after the end tag before.
std::optional<TagSpan> RawStartBefore(QByteArrayView text, QByteArrayView name, qsizetype end_tag) {
  const QByteArray close = "</" + name.toByteArray();
  const QByteArray open = '<' + name.toByteArray();
  const qsizetype previous = FindBackNoCase(text, close, end_tag);
  for (qsizetype at = previous < 0 ? 0 : previous + close.size();
       (at = FindNoCase(text, open, at)) >= 0 && at < end_tag; ++at) {
    std::optional<TagSpan> tag = ReadTag(text, at);
    if (tag && tag->name == name && tag->end <= end_tag) {
      if (tag->self_closing) return std::nullopt;
      return tag;
    }
  }
  return std::nullopt;
}

// Where scanning goes on after the markup at text[at] == '<': past a comment, a declaration
// or a tag (and the raw content of script and style).
struct Step {
  qsizetype next;
  std::optional<TagSpan> tag;
};

Step StepAt(QByteArrayView text, qsizetype at) {
  if (StartsWithNoCase(text, at, "<!--")) {
    const qsizetype end = FindNoCase(text, "-->", at + 4);
    return {end < 0 ? text.size() : end + 3, std::nullopt};
  }
  if (at + 1 < text.size() && (text[at + 1] == '!' || text[at + 1] == '?')) {
    const qsizetype end = FindNoCase(text, ">", at);
    return {end < 0 ? text.size() : end + 1, std::nullopt};
  }
  std::optional<TagSpan> tag = ReadTag(text, at);
  if (!tag) return {at + 1, std::nullopt};
  qsizetype next = tag->end;
  if (!tag->closing && IsRawElement(tag->name)) {
    const qsizetype close = FindNoCase(text, "</" + tag->name, next);
    next = close < 0 ? text.size() : close;
  }
  return {next, tag};
}

}  // namespace

bool IsVoidElement(QByteArrayView lower_name) {
  // Asked for every tag of a scan: compared in place, nothing allocated.
  static constexpr QByteArrayView kVoid[] = {
      "area", "base",  "br",     "col",   "embed", "hr",       "img",   "input",   "link",
      "meta", "param", "source", "track", "wbr",   "basefont", "frame", "isindex", "keygen"};
  return std::find(std::begin(kVoid), std::end(kVoid), lower_name) != std::end(kVoid);
}

std::optional<TagSpan> TagAt(QByteArrayView text, qsizetype caret) {
  caret = std::clamp<qsizetype>(caret, 0, text.size());
  // The nearest '<' before the caret, over any '>' on the way (it may stand in a quoted
  // value); the tag read from there tells whether the caret is inside it.
  const qsizetype limit = std::max<qsizetype>(0, caret - kLookBehind);
  const void* open =
      caret > limit ? memrchr(text.data() + limit, '<', size_t(caret - limit)) : nullptr;
  if (open == nullptr) return std::nullopt;
  std::optional<TagSpan> tag = ReadTag(text, static_cast<const char*>(open) - text.data());
  if (!tag || caret > tag->end) return std::nullopt;
  return tag;
}

std::optional<TagSpan> PartnerOf(QByteArrayView text, const TagSpan& tag) {
  if (tag.self_closing || (!tag.closing && IsVoidElement(tag.name))) return std::nullopt;
  int depth = 1;
  if (!tag.closing) {
    // Forward, skipping comments and the raw content of script and style.
    const bool raw = IsRawElement(tag.name);
    qsizetype at = raw ? FindNoCase(text, "</" + tag.name, tag.end) : FindByte(text, '<', tag.end);
    while (at >= 0) {
      const Step step = StepAt(text, at);
      if (step.tag && step.tag->name == tag.name && !step.tag->self_closing) {
        depth += step.tag->closing ? -1 : 1;
        if (depth == 0) return step.tag;
      }
      at = FindByte(text, '<', step.next);
    }
    return std::nullopt;
  }
  if (IsRawElement(tag.name)) return RawStartBefore(text, tag.name, tag.start);
  // Backward, over the tags of the same name, stepping over comments and whole script and
  // style elements from their ends.
  for (qsizetype at = tag.start - 1; at >= 0; --at) {
    if (text[at] == '>' && at >= 2 && text[at - 1] == '-' && text[at - 2] == '-') {
      const qsizetype comment = CommentStartBefore(text, at - 2);
      if (comment >= 0) at = comment;
      continue;
    }
    if (text[at] != '<') continue;
    const bool closing = at + 1 < text.size() && text[at + 1] == '/';
    if (closing) {
      const std::optional<TagSpan> end = ReadTag(text, at);
      if (end && IsRawElement(end->name)) {
        if (const std::optional<TagSpan> start = RawStartBefore(text, end->name, at)) {
          at = start->start;
        }
        continue;
      }
    }
    if (!StartsWithNoCase(text, at + (closing ? 2 : 1), tag.name)) continue;
    const std::optional<TagSpan> other = ReadTag(text, at);
    if (!other || other->name != tag.name || other->self_closing) continue;
    depth += other->closing ? 1 : -1;
    if (depth == 0) return other;
  }
  return std::nullopt;
}

QByteArray OpenElementBefore(QByteArrayView text, qsizetype position) {
  OpenElements from;
  return OpenElementBefore(text, position, from);
}

QByteArray OpenElementBefore(QByteArrayView text, qsizetype position, OpenElements& from) {
  position = std::clamp<qsizetype>(position, 0, text.size());
  const QByteArrayView head = text.first(position);
  OpenElements state = from.resume <= position ? from : OpenElements();
  // A step whose reading ran into position may read otherwise once more text follows ("</"
  // with no name yet is text): reading on resumes before it. Any other step's reading ends
  // at most a character past where the next one starts.
  bool kept = false;
  for (qsizetype at = FindByte(head, '<', state.resume); at >= 0;) {
    const Step step = StepAt(head, at);
    if (!kept && step.next > position - 2) {
      from = state;
      kept = true;
    }
    // A tag still being typed (no '>' yet) opens nothing.
    if (step.tag && head[step.tag->end - 1] == '>') {
      const TagSpan& tag = *step.tag;
      if (!tag.closing && !tag.self_closing && !IsVoidElement(tag.name)) {
        state.names.append(tag.name);
      } else if (tag.closing) {
        const qsizetype match = state.names.lastIndexOf(tag.name);
        if (match >= 0) state.names.resize(match);
      }
    }
    state.resume = step.next;
    at = FindByte(head, '<', step.next);
  }
  if (!kept) from = state;
  return state.names.isEmpty() ? QByteArray() : state.names.last();
}

CompletionContext CompletionContextAt(QByteArrayView text, qsizetype caret) {
  caret = std::clamp<qsizetype>(caret, 0, text.size());
  CompletionContext context;
  qsizetype word = caret;
  while (word > 0 && IsNameChar(text[word - 1])) --word;
  context.word_start = word;
  // The nearest '<' or '>' before the word tells tag from content.
  const qsizetype limit = std::max<qsizetype>(0, caret - kLookBehind);
  qsizetype mark = word - 1;
  while (mark >= limit && text[mark] != '<' && text[mark] != '>') --mark;
  if (mark >= limit && text[mark] == '<') {
    if (mark == word - 1) {
      context.kind =
          word == caret || IsLetter(text[word]) ? CompletionKind::kElement : CompletionKind::kNone;
      return context;
    }
    const std::optional<TagSpan> tag = ReadTag(text.first(caret), mark);
    if (!tag || tag->closing) return context;
    // Quotes between the name and the word: inside a value, only style's value counts.
    char quote = 0;
    qsizetype value_start = -1;
    for (qsizetype i = tag->NameStart() + tag->name.size(); i < word; ++i) {
      if (quote != 0) {
        if (text[i] == quote) quote = 0;
      } else if (text[i] == '"' || text[i] == '\'') {
        quote = text[i];
        value_start = i;
      }
    }
    if (quote == 0) {
      if (word > 0 && IsHtmlSpace(text[word - 1])) {
        context.kind = CompletionKind::kAttribute;
        context.element = tag->name;
      }
      return context;
    }
    qsizetype name_end = value_start;
    while (name_end > 0 && (IsHtmlSpace(text[name_end - 1]) || text[name_end - 1] == '='))
      --name_end;
    if (!StartsWithNoCase(text, name_end - 5, "style") ||
        (name_end >= 6 && IsNameChar(text[name_end - 6]))) {
      return context;
    }
    qsizetype before = word - 1;
    while (before > value_start && IsHtmlSpace(text[before])) --before;
    if (before == value_start || text[before] == ';') context.kind = CompletionKind::kCssProperty;
    return context;
  }
  // Content: a property name inside a style element, after '{' or ';'.
  qsizetype before = word - 1;
  while (before >= limit && IsHtmlSpace(text[before])) --before;
  if (before < limit || (text[before] != '{' && text[before] != ';')) return context;
  const QByteArrayView recent = text.sliced(limit, word - limit);
  qsizetype style = -1;
  for (qsizetype at = 0; (at = FindNoCase(recent, "<style", at)) >= 0; ++at) style = at;
  if (style >= 0 && FindNoCase(recent, "</style", style) < 0) {
    context.kind = CompletionKind::kCssProperty;
  }
  return context;
}

bool ClosesItsKind(QByteArrayView lower_name) {
  return lower_name == "p" || lower_name == "li" || lower_name == "dt" || lower_name == "dd" ||
         lower_name == "option" || lower_name == "tr" || lower_name == "td" || lower_name == "th";
}

namespace {

struct OpenTag {
  QByteArray name;
  qsizetype start;
};

// Follows start and end tags on a stack of open elements; closed calls back with each
// element closed and where it ends. An end tag closes the nearest open element of its name
// and those opened inside it; a start tag closes an open one of its kind where a browser does.
template <class Closed>
void Track(QList<OpenTag>& open, const HtmlToken& token, Closed closed) {
  if (token.kind == HtmlToken::Kind::kStartTag) {
    if (!open.isEmpty() && open.last().name == token.name && ClosesItsKind(token.name)) {
      closed(open.takeLast(), token.start);
    }
    if (!token.self_closing && !IsVoidElement(token.name)) open.append({token.name, token.start});
  } else if (token.kind == HtmlToken::Kind::kEndTag) {
    for (qsizetype i = open.size() - 1; i >= 0; --i) {
      if (open[i].name != token.name) continue;
      while (open.size() > i + 1) closed(open.takeLast(), token.start);
      closed(open.takeLast(), token.end);
      break;
    }
  }
}

}  // namespace

std::optional<ElementSpan> ElementAround(QByteArrayView text, qsizetype from, qsizetype to) {
  HtmlTokenizer tokenizer(text);
  HtmlToken token;
  QList<OpenTag> open;
  // Up to the selection's end: the elements still open there that began at or before its
  // start hold it; the innermost of them is the one wanted.
  qsizetype wanted = -1;
  while (tokenizer.Next(token)) {
    if (token.start >= to) {
      for (qsizetype i = open.size() - 1; i >= 0 && wanted < 0; --i) {
        if (open[i].start <= from) wanted = i;
      }
      if (wanted < 0) return std::nullopt;
      break;
    }
    Track(open, token, [](const OpenTag&, qsizetype) {});
  }
  if (wanted < 0) return std::nullopt;
  const qsizetype start = open[wanted].start;
  std::optional<ElementSpan> found;
  const auto closed = [&](const OpenTag& tag, qsizetype end) {
    if (tag.start == start && !found) found = ElementSpan{start, end};
  };
  // The token read last stands past the selection and may close the element itself.
  do {
    Track(open, token, closed);
  } while (!found && open.size() > wanted && tokenizer.Next(token));
  return found;
}

std::optional<ElementSpan> FirstElementWithin(QByteArrayView text, qsizetype from, qsizetype to) {
  const QByteArrayView inside = text.first(std::min(to, text.size()));
  qsizetype at = from;
  // A selection that is one element is gone into; any other range is searched as it is.
  if (const std::optional<TagSpan> first = TagAt(inside, from + 1);
      first && first->start == from && !first->closing) {
    const std::optional<TagSpan> partner = PartnerOf(inside, *first);
    if (partner && partner->end == to) at = first->end;
  }
  for (qsizetype next = inside.indexOf('<', at); next >= 0; next = inside.indexOf('<', next + 1)) {
    const std::optional<TagSpan> tag = TagAt(inside, next + 1);
    if (!tag || tag->start != next || tag->closing) continue;
    if (tag->self_closing || IsVoidElement(tag->name)) return ElementSpan{tag->start, tag->end};
    const std::optional<TagSpan> partner = PartnerOf(inside, *tag);
    if (partner) return ElementSpan{tag->start, partner->end};
    return std::nullopt;
  }
  return std::nullopt;
}
