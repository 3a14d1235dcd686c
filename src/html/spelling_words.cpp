#include "html/spelling_words.h"

#include <QList>
#include <vector>

#include "html/entities.h"
#include "html/html_structure.h"
#include "html/html_tokens.h"

namespace {

// Text decoded from UTF-8 (and its references), with the byte offset of each character
// in the page and of its end.
struct DecodedText {
  QString text;
  std::vector<qsizetype> at;
};

void DecodeUtf8(QByteArrayView bytes, qsizetype base, DecodedText& out) {
  out.text.clear();
  out.at.clear();
  out.text.reserve(bytes.size());
  out.at.reserve(size_t(bytes.size()) + 1);
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const qsizetype size = bytes.size();
  for (qsizetype i = 0; i < size;) {
    const unsigned char lead = data[i];
    int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    char32_t code = length == 1   ? lead
                    : length == 2 ? lead & 0x1F
                    : length == 3 ? lead & 0x0F
                                  : lead & 0x07;
    for (int k = 1; k < length; ++k) {
      if (i + k >= size || (data[i + k] & 0xC0) != 0x80) {
        length = 0;
        break;
      }
      code = (code << 6) | (data[i + k] & 0x3F);
    }
    if (length == 0) {  // a stray byte stands for itself, as one unknown character
      length = 1;
      code = 0xFFFD;
    }
    const QChar pair[2] = {QChar::highSurrogate(code), QChar::lowSurrogate(code)};
    if (QChar::requiresSurrogates(code)) {
      out.text.append(pair, 2);
      out.at.push_back(base + i);
      out.at.push_back(base + i);
    } else {
      out.text.append(QChar(char16_t(code)));
      out.at.push_back(base + i);
    }
    i += length;
  }
  out.at.push_back(base + size);
}

void DecodeReferences(DecodedText& run) {
  if (!run.text.contains(u'&')) return;
  QList<qsizetype> from;
  QString text = DecodeReferences(run.text, &from);
  std::vector<qsizetype> at;
  at.reserve(size_t(from.size()) + 1);
  for (const qsizetype index : std::as_const(from)) at.push_back(run.at[size_t(index)]);
  at.push_back(run.at.back());
  run = {std::move(text), std::move(at)};
}

bool IsApostrophe(QChar c) { return c == u'\'' || c == u'\u2019'; }
bool IsWordPart(QChar c) {
  return c.isLetterOrNumber() || c.isMark() || c == u'_' || IsApostrophe(c);
}

// An address, an e-mail address or a file name: none of it is prose.
bool IsAddress(QStringView chunk) {
  static constexpr QStringView kTrim = u"\"'()[]{}<>.,;:!?«»“”‘’";
  while (!chunk.isEmpty() && kTrim.contains(chunk.back())) chunk.chop(1);
  while (!chunk.isEmpty() && kTrim.contains(chunk.front())) chunk = chunk.sliced(1);
  if (chunk.contains(u'@') || chunk.contains(u'/') || chunk.contains(u'\\') ||
      chunk.startsWith(u"www.", Qt::CaseInsensitive)) {
    return true;
  }
  for (qsizetype i = 1; i + 1 < chunk.size(); ++i) {
    if (chunk[i] == u'.' && chunk[i - 1].isLetterOrNumber() && chunk[i + 1].isLetterOrNumber()) {
      return true;
    }
  }
  return false;
}

// A name or an abbreviation rather than a word of the language: "HTML", "iPhone".
bool IsNameLike(QStringView word) {
  bool upper_inside = false;
  bool lower = false;
  for (qsizetype i = 0; i < word.size(); ++i) {
    if (word[i].isLower()) lower = true;
    if (i > 0 && word[i].isUpper()) upper_inside = true;
  }
  return upper_inside || !lower;
}

void TakeWords(const DecodedText& run, const QByteArray& language,
               const std::function<void(const WordToSpell&)>& take) {
  const QString& text = run.text;
  const qsizetype size = text.size();
  qsizetype i = 0;
  while (i < size) {
    if (text[i].isSpace()) {
      ++i;
      continue;
    }
    qsizetype chunk_end = i;
    while (chunk_end < size && !text[chunk_end].isSpace()) ++chunk_end;
    if (IsAddress(QStringView(text).sliced(i, chunk_end - i))) {
      i = chunk_end;
      continue;
    }
    // A hyphenated word is gathered whole, its parts kept beside it.
    WordToSpell compound;
    bool compound_plain = true;
    qsizetype compound_from = -1;
    qsizetype compound_to = -1;
    const auto flush = [&] {
      if (compound_from < 0) return;
      if (compound_plain && compound.parts.size() > 1) {
        compound.start = run.at[size_t(compound_from)];
        compound.end = run.at[size_t(compound_to)];
        compound.word = text.sliced(compound_from, compound_to - compound_from);
        compound.language = language;
        // Parts too short or name-like are not checked on their own ("e-mail", "X-ray").
        std::erase_if(compound.parts, [](const WordToSpell& part) {
          return part.word.size() < 2 || IsNameLike(part.word);
        });
        take(compound);
      } else if (compound_plain && compound.parts.size() == 1) {
        const WordToSpell& word = compound.parts.front();
        if (word.word.size() >= 2 && !IsNameLike(word.word)) take(word);
      }
      compound = {};
      compound_plain = true;
      compound_from = -1;
    };
    while (i < chunk_end) {
      if (QStringView(text).sliced(i, chunk_end - i).startsWith(u"<,,")) {
        flush();
        // A template marker: the line a template fills, not a word.
        const qsizetype close = text.indexOf(u",,>", i + 3);
        i = close < 0 || close >= chunk_end ? chunk_end : close + 3;
        continue;
      }
      if (!IsWordPart(text[i])) {
        // Only a single hyphen between two words joins them.
        if (!(text[i] == u'-' && compound_to == i && i + 1 < chunk_end &&
              IsWordPart(text[i + 1]))) {
          flush();
        }
        ++i;
        continue;
      }
      qsizetype end = i;
      bool plain = true;
      while (end < chunk_end && IsWordPart(text[end])) {
        plain = plain && !text[end].isDigit() && text[end] != u'_';
        ++end;
      }
      qsizetype from = i;
      qsizetype to = end;
      i = end;
      while (from < to && IsApostrophe(text[from])) ++from;
      while (to > from && IsApostrophe(text[to - 1])) --to;
      if (compound_from >= 0 && from != compound_to + 1) flush();
      if (compound_from < 0) compound_from = from;
      compound_to = to;
      compound_plain = compound_plain && plain;
      compound.parts.push_back({run.at[size_t(from)], run.at[size_t(to)],
                                QStringView(text).sliced(from, to - from).toString(), language});
      // A word that ends in an apostrophe ends the compound there.
      if (to != end) flush();
    }
    flush();
    i = chunk_end;
  }
}

// The elements whose text is code, not prose.
bool IsCodeElement(QByteArrayView name) {
  return name == "script" || name == "style" || name == "code" || name == "pre" || name == "kbd" ||
         name == "samp" || name == "var";
}

bool IsProseAttribute(QByteArrayView name) {
  return name == "alt" || name == "title" || name == "placeholder" || name == "aria-label";
}

struct OpenElement {
  QByteArray name;
  QByteArray language;
  bool code = false;
  bool unchecked = false;  // under spellcheck="false"
};

// The lowered, trimmed value of an attribute.
QByteArray ValueOf(QByteArrayView utf8, const HtmlAttribute& attribute) {
  if (!attribute.HasValue()) return QByteArray();
  return utf8.sliced(attribute.value_start, attribute.value_end - attribute.value_start)
      .toByteArray()
      .trimmed()
      .toLower();
}

// The element a start tag opens inside parent: its language, whether it is code and
// whether spelling is off in it.
OpenElement Opened(QByteArrayView utf8, const HtmlToken& token, OpenElement element) {
  element.name = token.name;
  if (const HtmlAttribute* lang = token.Attribute("lang"); lang && lang->HasValue()) {
    element.language = ValueOf(utf8, *lang);
  }
  if (const HtmlAttribute* check = token.Attribute("spellcheck")) {
    element.unchecked = ValueOf(utf8, *check) == "false";
  }
  element.code = element.code || IsCodeElement(token.name);
  return element;
}

// The attributes of a start tag whose values are prose: titles, alternative texts, a
// page's description.
QList<const HtmlAttribute*> ProseAttributes(QByteArrayView utf8, const HtmlToken& token) {
  const HtmlAttribute* name = token.Attribute("name");
  const bool description =
      token.name == "meta" && name != nullptr && ValueOf(utf8, *name) == "description";
  QList<const HtmlAttribute*> prose;
  for (const HtmlAttribute& attribute : token.attributes) {
    if (IsProseAttribute(attribute.name) || (description && attribute.name == "content")) {
      prose.append(&attribute);
    }
  }
  return prose;
}

}  // namespace

void ForEachWordToSpell(QByteArrayView utf8, const std::function<void(const WordToSpell&)>& take) {
  QList<OpenElement> open{OpenElement{}};
  HtmlTokenizer tokenizer(utf8);
  HtmlToken token;
  DecodedText run;
  const auto spell = [&](qsizetype from, qsizetype to, bool references,
                         const QByteArray& language) {
    if (from >= to) return;
    DecodeUtf8(utf8.sliced(from, to - from), from, run);
    if (references) DecodeReferences(run);
    TakeWords(run, language, take);
  };
  while (tokenizer.Next(token)) {
    const OpenElement& parent = open.back();
    const bool checked = !parent.code && !parent.unchecked;
    switch (token.kind) {
      case HtmlToken::Kind::kText:
        if (checked) spell(token.start, token.end, true, parent.language);
        break;
      case HtmlToken::Kind::kComment:
        if (checked) spell(token.inner_start, token.inner_end, false, parent.language);
        break;
      case HtmlToken::Kind::kStartTag: {
        if (open.size() > 1 && parent.name == token.name && ClosesItsKind(token.name)) {
          open.removeLast();
        }
        OpenElement element = Opened(utf8, token, open.back());
        if (!element.code && !element.unchecked) {
          for (const HtmlAttribute* attribute : ProseAttributes(utf8, token)) {
            spell(attribute->value_start, attribute->value_end, true, element.language);
          }
        }
        if (!token.self_closing && !IsVoidElement(token.name)) open.append(std::move(element));
        break;
      }
      case HtmlToken::Kind::kEndTag:
        for (qsizetype i = open.size() - 1; i > 0; --i) {
          if (open[i].name == token.name) {
            open.resize(i);
            break;
          }
        }
        break;
      case HtmlToken::Kind::kOther:
        break;
    }
  }
}
