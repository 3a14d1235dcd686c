#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringView>
#include <cstring>

// A page's markup read in one pass over its UTF-8 bytes, as a browser's tokenizer splits
// it: text, comments, start and end tags with their attributes, and the rest ("<!DOCTYPE>",
// "<?…?>"). The text of script, style, title and textarea is read raw, up to its end tag.
// A '<' that starts no tag (as in "a < b" or a template marker "<,,pattern,,>") is text.

// Where the first c at or after from stands, or -1. memchr itself: searches for one sign run
// a few times a tag on every line of a page, and the general search's layers cost as much as
// the search.
inline qsizetype FindByte(QByteArrayView text, char c, qsizetype from) {
  if (from >= text.size()) return -1;
  const void* found = std::memchr(text.data() + from, c, size_t(text.size() - from));
  return found == nullptr ? -1 : static_cast<const char*>(found) - text.data();
}
// An ASCII sign in text held either way, for code written once for byte and UTF-16 lines.
inline qsizetype FindAscii(QByteArrayView text, char c, qsizetype from) {
  return FindByte(text, c, from);
}
inline qsizetype FindAscii(QStringView text, char c, qsizetype from) {
  return text.indexOf(QLatin1Char(c), from);
}

// The space characters of HTML between tags' names and attributes.
inline bool IsHtmlSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

struct HtmlAttribute {
  QByteArray name;  // in lower case
  qsizetype name_start = 0;
  qsizetype value_start = -1;  // the value without its quotes; -1 when it has none
  qsizetype value_end = -1;
  bool HasValue() const { return value_start >= 0; }
};

struct HtmlToken {
  enum class Kind { kText, kComment, kStartTag, kEndTag, kOther };
  Kind kind = Kind::kText;
  qsizetype start = 0;  // the token's bytes: text as it stands, a tag from '<' to after '>'
  qsizetype end = 0;
  // Text: the same as the token; a comment: between "<!--" and "-->"; a tag: its name.
  qsizetype inner_start = 0;
  qsizetype inner_end = 0;
  QByteArray name;  // a tag's name in lower case
  QList<HtmlAttribute> attributes;
  bool self_closing = false;
  bool raw = false;  // text of an element read raw (script, style, title, textarea)

  // The attribute of that (lower-case) name, or nullptr.
  const HtmlAttribute* Attribute(QByteArrayView lower_name) const;
};

class HtmlTokenizer {
 public:
  explicit HtmlTokenizer(QByteArrayView text) : text_(text) {}
  // The next token into token; false at the end of the text.
  bool Next(HtmlToken& token);
  qsizetype Position() const { return at_; }

 private:
  // The text of a script, style or other raw element up to its end tag; false when the
  // end tag follows at once.
  bool ReadRawText(HtmlToken& token);
  // A tag, comment or declaration at a '<'; false when the '<' starts none.
  bool ReadMarkup(HtmlToken& token);
  void ReadTag(HtmlToken& token, bool closing);
  void ReadUntil(HtmlToken& token, QByteArrayView close);

  QByteArrayView text_;
  qsizetype at_ = 0;
  QByteArray raw_element_;  // the element whose text comes next, read raw
};

// The line and column (both from 1, columns in characters) of byte offsets given in
// ascending order, counted in one pass however many are asked for. A line ends at "\n",
// "\r\n" or a lone "\r".
class PositionCounter {
 public:
  explicit PositionCounter(QByteArrayView text) : text_(text) {}
  struct Position {
    int line = 1;
    int column = 1;
  };
  Position At(qsizetype offset);

 private:
  QByteArrayView text_;
  qsizetype offset_ = 0;
  Position position_;
};

// The characters (not bytes) of a UTF-8 range: the bytes that are not continuation bytes.
qsizetype CharacterCount(QByteArrayView utf8);
// Where the character count characters into utf8 starts, counted as CharacterCount counts
// them; the size when it has fewer. Eight bytes at a time: a minified page's one line is
// walked at every key to place the marks on screen.
qsizetype CharactersForward(QByteArrayView utf8, qsizetype count);
