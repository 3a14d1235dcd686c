#include "html/entities.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "html5_entities.inc"

namespace {

bool IsAsciiAlnum(QChar c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// What a numeric reference stands for: browsers read 0x80 to 0x9F as Windows-1252 and give
// U+FFFD for what is no character.
char32_t NumericCharacter(char32_t code) {
  static constexpr std::array<char16_t, 32> kWindows1252 = {
      0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
  if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0xFFFD;
  if (code >= 0x80 && code <= 0x9F) return kWindows1252[code - 0x80];
  return code;
}

CharacterReference Numeric(QStringView text, qsizetype at) {
  const qsizetype n = text.size();
  qsizetype i = at + 2;
  const bool hex = i < n && (text[i] == u'x' || text[i] == u'X');
  if (hex) ++i;
  const qsizetype digits = i;
  char32_t code = 0;
  for (; i < n; ++i) {
    const char16_t c = text[i].unicode();
    int digit = -1;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    if (hex && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    if (hex && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    if (digit < 0) break;
    code = std::min<char32_t>(code * (hex ? 16 : 10) + char32_t(digit), 0x110000);
  }
  if (i == digits) return {};
  if (i < n && text[i] == u';') ++i;
  const char32_t character = NumericCharacter(code);
  return {i - at, QString::fromUcs4(&character, 1)};
}

// The named reference of that name (without its ';'), or nullptr.
const NamedEntity* FindEntity(QStringView name) {
  const QByteArray latin = name.toLatin1();
  const auto* end = std::end(kNamedEntities);
  const auto* found = std::lower_bound(std::begin(kNamedEntities), end, latin,
                                       [](const NamedEntity& entity, const QByteArray& key) {
                                         return std::strcmp(entity.name, key.constData()) < 0;
                                       });
  return found != end && latin == found->name ? found : nullptr;
}

QString TextOf(const NamedEntity& entity) {
  const char32_t characters[] = {entity.first, entity.second};
  return QString::fromUcs4(characters, entity.second == 0 ? 1 : 2);
}

}  // namespace

CharacterReference ReadCharacterReference(QStringView text, qsizetype at, bool in_attribute) {
  if (at + 1 >= text.size() || text[at] != u'&') return {};
  if (text[at + 1] == u'#') return Numeric(text, at);
  constexpr qsizetype kLongestName = 32;
  qsizetype end = at + 1;
  while (end < text.size() && end - at <= kLongestName && IsAsciiAlnum(text[end])) ++end;
  const QStringView name = text.sliced(at + 1, end - at - 1);
  if (name.isEmpty()) return {};
  if (end < text.size() && text[end] == u';') {
    if (const NamedEntity* entity = FindEntity(name)) return {end + 1 - at, TextOf(*entity)};
  }
  // Without the semicolon only the standard's legacy names count, the longest that fits.
  for (qsizetype length = name.size(); length >= 2; --length) {
    const NamedEntity* entity = FindEntity(name.first(length));
    if (entity == nullptr || !entity->legacy) continue;
    const qsizetype after = at + 1 + length;
    if (in_attribute && after < text.size() && (IsAsciiAlnum(text[after]) || text[after] == u'=')) {
      return {};
    }
    return {length + 1, TextOf(*entity)};
  }
  return {};
}

QString DecodeReferences(QStringView text, QList<qsizetype>* from, bool in_attribute) {
  QString out;
  out.reserve(text.size());
  if (from != nullptr) from->reserve(text.size());
  for (qsizetype i = 0; i < text.size();) {
    const CharacterReference reference =
        text[i] == u'&' ? ReadCharacterReference(text, i, in_attribute) : CharacterReference{};
    const QStringView taken =
        reference.length == 0 ? text.sliced(i, 1) : QStringView(reference.text);
    out.append(taken);
    if (from != nullptr) from->insert(from->size(), taken.size(), i);
    i += std::max<qsizetype>(reference.length, 1);
  }
  return out;
}
