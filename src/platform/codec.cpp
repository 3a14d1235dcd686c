#include "platform/codec.h"

#include <iconv.h>

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace {

// Code points of the bytes 0x80..0xFF; below 0x80 the code page is ASCII.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

}  // namespace

SingleByteCodec::SingleByteCodec(const std::array<char16_t, 128>& high_half)
    : high_(high_half), reverse_(0x10000, -1) {
  for (int b = 0; b < 0x80; ++b) reverse_[b] = static_cast<int16_t>(b);
  for (int i = 0; i < 128; ++i) reverse_[high_[i]] = static_cast<int16_t>(0x80 + i);
}

QString SingleByteCodec::Decode(QByteArrayView bytes) const {
  QString text(bytes.size(), Qt::Uninitialized);
  QChar* out = text.data();
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    *out++ = QChar(b < 0x80 ? char16_t(b) : high_[b - 0x80]);
  }
  return text;
}

QByteArray SingleByteCodec::ToUtf8(QByteArrayView bytes) const {
  // Every byte of the high half is two or three UTF-8 bytes; ASCII stays one.
  qsizetype size = 0;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    size += b < 0x80 ? 1 : high_[b - 0x80] < 0x800 ? 2 : 3;
  }
  QByteArray utf8(size, Qt::Uninitialized);
  char* out = utf8.data();
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      *out++ = c;
      continue;
    }
    const char16_t u = high_[b - 0x80];
    if (u < 0x800) {
      *out++ = char(0xC0 | (u >> 6));
    } else {
      *out++ = char(0xE0 | (u >> 12));
      *out++ = char(0x80 | ((u >> 6) & 0x3F));
    }
    *out++ = char(0x80 | (u & 0x3F));
  }
  return utf8;
}

namespace {

// Writes "&#N;" for a code point the code page cannot hold at out, growing bytes when the
// reference and the rest bytes still to come would not fit; returns where writing goes on.
char* WriteReference(QByteArray& bytes, char* out, char32_t code_point, qsizetype rest) {
  const QByteArray reference = "&#" + QByteArray::number(static_cast<quint32>(code_point)) + ';';
  const qsizetype used = out - bytes.data();
  if (used + reference.size() + rest > bytes.size()) {
    bytes.resize(used + reference.size() + rest);
    out = bytes.data() + used;
  }
  for (const char c : reference) *out++ = c;
  return out;
}

}  // namespace

QByteArray SingleByteCodec::Encode(QStringView text, qsizetype* replaced,
                                   QByteArrayView newline) const {
  const qsizetype breaks = newline.size() != 1 ? text.count(u'\n') : 0;
  // One byte a character, the line breaks grown in place; a reference grows the buffer.
  QByteArray bytes(text.size() + breaks * (newline.size() - 1), Qt::Uninitialized);
  char* out = bytes.data();
  const bool plain_newline = newline.size() == 1 && newline[0] == '\n';
  qsizetype count = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t u = text[i].unicode();
    if (u == u'\n' && !plain_newline) {
      for (const char c : newline) *out++ = c;
      continue;
    }
    const int16_t b = reverse_[u];
    if (b >= 0) {
      *out++ = static_cast<char>(b);
      continue;
    }
    char32_t code_point = u;
    qsizetype consumed = 1;
    if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      code_point = QChar::surrogateToUcs4(u, text[i + 1].unicode());
      ++i;
      consumed = 2;
    }
    // The bytes kept for the rest of the text, as counted when the buffer was sized.
    const qsizetype rest = bytes.size() - (out - bytes.data()) - consumed;
    out = WriteReference(bytes, out, code_point, rest);
    ++count;
  }
  bytes.truncate(out - bytes.data());
  if (replaced != nullptr) *replaced += count;
  return bytes;
}

namespace {

bool IsContinuation(uchar byte) { return (byte & 0xC0) == 0x80; }

// The code point starting at in[0] (of size bytes) and its length; U+FFFD and 1 for a
// byte that starts no well-formed sequence.
std::pair<char32_t, int> NextCodePoint(const uchar* in, qsizetype size) {
  const uchar lead = in[0];
  if (lead >= 0xC2 && lead < 0xE0 && size > 1 && IsContinuation(in[1])) {
    return {char32_t(lead & 0x1F) << 6 | (in[1] & 0x3F), 2};
  }
  if ((lead & 0xF0) == 0xE0 && size > 2 && IsContinuation(in[1]) && IsContinuation(in[2])) {
    const char32_t c = char32_t(lead & 0x0F) << 12 | char32_t(in[1] & 0x3F) << 6 | (in[2] & 0x3F);
    if (c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) return {c, 3};
  }
  if ((lead & 0xF8) == 0xF0 && size > 3 && IsContinuation(in[1]) && IsContinuation(in[2]) &&
      IsContinuation(in[3])) {
    const char32_t c = char32_t(lead & 0x07) << 18 | char32_t(in[1] & 0x3F) << 12 |
                       char32_t(in[2] & 0x3F) << 6 | (in[3] & 0x3F);
    if (c >= 0x10000 && c <= 0x10FFFF) return {c, 4};
  }
  return {U'\uFFFD', 1};
}

}  // namespace

QByteArray SingleByteCodec::EncodeUtf8(QByteArrayView utf8, qsizetype* replaced) const {
  // Never longer than the UTF-8 but for references, which grow the buffer.
  QByteArray bytes(utf8.size(), Qt::Uninitialized);
  char* out = bytes.data();
  const auto* in = reinterpret_cast<const uchar*>(utf8.data());
  const qsizetype size = utf8.size();
  qsizetype count = 0;
  for (qsizetype i = 0; i < size;) {
    if (in[i] < 0x80) {
      *out++ = static_cast<char>(in[i++]);
      continue;
    }
    const auto [code_point, length] = NextCodePoint(in + i, size - i);
    i += length;
    const int16_t b = code_point < 0x10000 ? reverse_[code_point] : int16_t(-1);
    if (b >= 0) {
      *out++ = static_cast<char>(b);
      continue;
    }
    out = WriteReference(bytes, out, code_point, size - i);
    ++count;
  }
  bytes.truncate(out - bytes.data());
  if (replaced != nullptr) *replaced += count;
  return bytes;
}

bool SingleByteCodec::Fits(QStringView text) const {
  for (QChar c : text) {
    if (reverse_[c.unicode()] < 0) return false;
  }
  return true;
}

const SingleByteCodec& Cp1251Codec() {
  static const SingleByteCodec codec(kHighHalf);
  return codec;
}

namespace {

// The high half of a code page as glibc's iconv reads it. A byte the code page leaves
// undefined keeps a character of its own (U+0080 to U+00FF by its value, or a private-use
// one when that is taken), so every byte survives a round trip.
std::optional<std::array<char16_t, 128>> HighHalfFromIconv(const char* name) {
  const iconv_t convert = ::iconv_open("UTF-16LE", name);
  if (convert == iconv_t(-1)) return std::nullopt;
  std::array<char16_t, 128> high{};
  std::array<bool, 128> defined{};
  std::set<char16_t> used;
  for (int i = 0; i < 128; ++i) {
    char in = char(0x80 + i);
    char16_t out[2] = {};
    char* in_at = &in;
    size_t in_left = 1;
    char* out_at = reinterpret_cast<char*>(out);
    size_t out_left = sizeof out;
    ::iconv(convert, nullptr, nullptr, nullptr, nullptr);
    if (::iconv(convert, &in_at, &in_left, &out_at, &out_left) != size_t(-1) &&
        out_left == sizeof out - 2) {
      high[i] = out[0];
      defined[i] = true;
      used.insert(out[0]);
    }
  }
  ::iconv_close(convert);
  for (int i = 0; i < 128; ++i) {
    if (defined[i]) continue;
    const char16_t own = char16_t(0x80 + i);
    high[i] = used.count(own) ? char16_t(0xF780 + i) : own;
  }
  return high;
}

}  // namespace

const SingleByteCodec* SingleByteCodecNamed(const char* iconv_name) {
  static std::mutex mutex;
  static std::map<std::string, std::unique_ptr<SingleByteCodec>> codecs;
  const std::lock_guard lock(mutex);
  auto it = codecs.find(iconv_name);
  if (it == codecs.end()) {
    const auto high = HighHalfFromIconv(iconv_name);
    it =
        codecs.emplace(iconv_name, high ? std::make_unique<SingleByteCodec>(*high) : nullptr).first;
  }
  return it->second.get();
}

QString DecodeCp1251(QByteArrayView bytes) { return Cp1251Codec().Decode(bytes); }

QByteArray Cp1251ToUtf8(QByteArrayView bytes) { return Cp1251Codec().ToUtf8(bytes); }

QByteArray EncodeCp1251(QStringView text, qsizetype* replaced, QByteArrayView newline) {
  return Cp1251Codec().Encode(text, replaced, newline);
}

bool FitsCp1251(QStringView text) { return Cp1251Codec().Fits(text); }
