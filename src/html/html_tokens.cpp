#include "html/html_tokens.h"

#include <bit>
#include <cstring>

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

bool IsRawElement(QByteArrayView name) {
  return name == "script" || name == "style" || name == "title" || name == "textarea";
}

// Whether text at holds "</name" followed by the end of a name.
bool IsEndTagOf(QByteArrayView text, qsizetype at, QByteArrayView name) {
  const qsizetype after = at + 2 + name.size();
  if (after > text.size()) return false;
  for (qsizetype i = 0; i < name.size(); ++i) {
    if (Lower(text[at + 2 + i]) != name[i]) return false;
  }
  return after == text.size() || IsHtmlSpace(text[after]) || text[after] == '>' ||
         text[after] == '/';
}

}  // namespace

const HtmlAttribute* HtmlToken::Attribute(QByteArrayView lower_name) const {
  for (const HtmlAttribute& attribute : attributes) {
    if (attribute.name == lower_name) return &attribute;
  }
  return nullptr;
}

bool HtmlTokenizer::Next(HtmlToken& token) {
  const qsizetype size = text_.size();
  if (at_ >= size) return false;
  token.name.clear();
  token.attributes.clear();
  token.self_closing = false;
  token.raw = false;
  token.start = at_;
  if (!raw_element_.isEmpty() && ReadRawText(token)) return true;
  if (text_[at_] == '<' && at_ + 1 < size && ReadMarkup(token)) return true;
  // Text up to the next '<' that may start a tag.
  token.kind = HtmlToken::Kind::kText;
  token.inner_start = at_;
  qsizetype end = at_ + 1;
  while (end < size) {
    end = FindByte(text_, '<', end);
    if (end < 0) {
      end = size;
      break;
    }
    if (end + 1 < size) {
      const char next = text_[end + 1];
      if (IsAsciiLetter(next) || next == '/' || next == '!' || next == '?') break;
    }
    ++end;
  }
  token.end = token.inner_end = end;
  at_ = end;
  return true;
}

bool HtmlTokenizer::ReadRawText(HtmlToken& token) {
  // The element's text runs to its end tag.
  qsizetype end = at_;
  while ((end = text_.indexOf("</", end)) >= 0 && !IsEndTagOf(text_, end, raw_element_)) {
    end += 2;
  }
  raw_element_.clear();
  if (end < 0) end = text_.size();
  if (end == at_) return false;
  token.kind = HtmlToken::Kind::kText;
  token.raw = true;
  token.end = token.inner_end = end;
  token.inner_start = at_;
  at_ = end;
  return true;
}

bool HtmlTokenizer::ReadMarkup(HtmlToken& token) {
  const QByteArrayView rest = text_.sliced(at_);
  const char next = rest[1];
  if (IsAsciiLetter(next)) {
    ReadTag(token, false);
    return true;
  }
  if (next == '/' && rest.size() > 2 && IsAsciiLetter(rest[2])) {
    ReadTag(token, true);
    return true;
  }
  if (rest.startsWith("<!--")) {
    token.kind = HtmlToken::Kind::kComment;
    token.inner_start = at_ + 4;
    // "<!-->" and "<!--->" are whole, empty comments to a browser.
    for (const QByteArrayView abrupt : {QByteArrayView(">"), QByteArrayView("->")}) {
      if (rest.sliced(4).startsWith(abrupt)) {
        token.inner_end = at_ + 4;
        token.end = at_ + 4 + abrupt.size();
        at_ = token.end;
        return true;
      }
    }
    ReadUntil(token, "-->");
    return true;
  }
  if (next == '!' || next == '?' || next == '/') {
    token.kind = HtmlToken::Kind::kOther;
    token.inner_start = at_ + 2;
    ReadUntil(token, ">");
    return true;
  }
  return false;
}

void HtmlTokenizer::ReadUntil(HtmlToken& token, QByteArrayView close) {
  const qsizetype found = text_.indexOf(close, token.inner_start);
  token.inner_end = found < 0 ? text_.size() : found;
  token.end = found < 0 ? text_.size() : found + close.size();
  at_ = token.end;
}

void HtmlTokenizer::ReadTag(HtmlToken& token, bool closing) {
  const qsizetype size = text_.size();
  const char* data = text_.data();
  token.kind = closing ? HtmlToken::Kind::kEndTag : HtmlToken::Kind::kStartTag;
  qsizetype at = at_ + (closing ? 2 : 1);
  token.inner_start = at;
  while (at < size && !IsHtmlSpace(data[at]) && data[at] != '>' && data[at] != '/') {
    token.name.append(Lower(data[at]));
    ++at;
  }
  token.inner_end = at;
  while (at < size && data[at] != '>') {
    const char c = data[at];
    if (IsHtmlSpace(c)) {
      ++at;
      continue;
    }
    if (c == '/') {
      token.self_closing = at + 1 < size && data[at + 1] == '>';
      ++at;
      continue;
    }
    HtmlAttribute attribute;
    attribute.name_start = at;
    // A name takes at least one character, even a stray '=' or quote.
    do {
      attribute.name.append(Lower(data[at]));
      ++at;
    } while (at < size && !IsHtmlSpace(data[at]) && data[at] != '>' && data[at] != '/' &&
             data[at] != '=');
    qsizetype after = at;
    while (after < size && IsHtmlSpace(data[after])) ++after;
    if (after < size && data[after] == '=') {
      at = after + 1;
      while (at < size && IsHtmlSpace(data[at])) ++at;
      if (at < size && (data[at] == '"' || data[at] == '\'')) {
        const char quote = data[at];
        attribute.value_start = at + 1;
        const qsizetype close = text_.indexOf(quote, at + 1);
        attribute.value_end = close < 0 ? size : close;
        at = close < 0 ? size : close + 1;
      } else {
        attribute.value_start = at;
        while (at < size && !IsHtmlSpace(data[at]) && data[at] != '>') ++at;
        attribute.value_end = at;
      }
    }
    if (!closing) token.attributes.append(std::move(attribute));
  }
  token.end = at < size ? at + 1 : size;
  at_ = token.end;
  if (!closing && !token.self_closing && IsRawElement(token.name)) raw_element_ = token.name;
}

PositionCounter::Position PositionCounter::At(qsizetype offset) {
  offset = std::min(offset, text_.size());
  for (; offset_ < offset; ++offset_) {
    const char c = text_[offset_];
    if (c == '\n' || (c == '\r' && (offset_ + 1 >= text_.size() || text_[offset_ + 1] != '\n'))) {
      ++position_.line;
      position_.column = 1;
    } else if ((c & 0xC0) != 0x80 && c != '\r') {
      ++position_.column;
    }
  }
  return position_;
}

qsizetype CharacterCount(QByteArrayView utf8) {
  qsizetype count = 0;
  for (const char c : utf8) count += (c & 0xC0) != 0x80;
  return count;
}

qsizetype CharactersForward(QByteArrayView utf8, qsizetype count) {
  constexpr quint64 kHighBits = 0x8080808080808080ULL;
  qsizetype at = 0;
  for (; at + 8 <= utf8.size(); at += 8) {
    quint64 word;
    std::memcpy(&word, utf8.data() + at, sizeof word);
    // A continuation byte has its top bit set and the next one clear; the shift brings
    // each byte's second bit under its top one.
    const int starts = 8 - std::popcount(word & ~(word << 1) & kHighBits);
    if (starts > count) break;
    count -= starts;
  }
  for (; at < utf8.size(); ++at) {
    if ((utf8[at] & 0xC0) == 0x80) continue;
    if (count == 0) return at;
    --count;
  }
  return utf8.size();
}
