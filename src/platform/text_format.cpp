#include "platform/text_format.h"
#include "names/texts.h"

#include <QStringDecoder>

#include <cstring>

#include "platform/codec.h"

namespace {

constexpr qsizetype kDeclarationWindow = 4096;

bool HasUtf8Bom(QByteArrayView bytes) { return bytes.startsWith("\xEF\xBB\xBF"); }

}  // namespace

QByteArray DeclaredCharset(QByteArrayView bytes) {
  // ASCII folding by hand: QByteArray::toLower costs as much as the rest of a batch step.
  QByteArray head = bytes.first(std::min(bytes.size(), kDeclarationWindow)).toByteArray();
  for (char& c : head) c = c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
  qsizetype at = 0;
  while ((at = head.indexOf("charset", at)) >= 0) {
    at += 7;
    qsizetype i = at;
    while (i < head.size() && (head[i] == ' ' || head[i] == '\t')) ++i;
    if (i >= head.size() || head[i] != '=') continue;
    ++i;
    while (i < head.size() && (head[i] == ' ' || head[i] == '"' || head[i] == '\'')) ++i;
    qsizetype end = i;
    while (end < head.size() &&
           (std::isalnum(static_cast<unsigned char>(head[end])) || head[end] == '-' ||
            head[end] == '_' || head[end] == ':' || head[end] == '.')) {
      ++end;
    }
    if (end > i) return head.mid(i, end - i);
  }
  return QByteArray();
}

namespace {

bool IsUtf8Label(const QByteArray& label) { return label == "utf-8" || label == "utf8"; }

// A label without case, '-', '_' and spaces, "cp" read as "windows".
QByteArray FoldedLabel(QByteArrayView label) {
  QByteArray folded;
  for (const char c : label) {
    if (c != '-' && c != '_' && c != ' ')
      folded += char(std::tolower(static_cast<unsigned char>(c)));
  }
  if (folded.startsWith("cp125")) folded = "windows" + folded.mid(2);
  return folded;
}

constexpr EncodingName kEncodings[] = {
    {TextEncoding::kWindows1251, "Windows-1251"},
    {TextEncoding::kUtf8, "UTF-8"},
    {TextEncoding::kWindows1250, "Windows-1250"},
    {TextEncoding::kWindows1252, "Windows-1252"},
    {TextEncoding::kWindows1253, "Windows-1253"},
    {TextEncoding::kWindows1254, "Windows-1254"},
    {TextEncoding::kWindows1257, "Windows-1257"},
    {TextEncoding::kKoi8R, "KOI8-R"},
    {TextEncoding::kKoi8U, "KOI8-U"},
    {TextEncoding::kIso8859_1, "ISO-8859-1"},
    {TextEncoding::kIso8859_2, "ISO-8859-2"},
    {TextEncoding::kIso8859_4, "ISO-8859-4"},
    {TextEncoding::kIso8859_5, "ISO-8859-5"},
    {TextEncoding::kIso8859_7, "ISO-8859-7"},
    {TextEncoding::kIso8859_9, "ISO-8859-9"},
    {TextEncoding::kIso8859_13, "ISO-8859-13"},
    {TextEncoding::kIso8859_15, "ISO-8859-15"},
    {TextEncoding::kIso8859_16, "ISO-8859-16"},
};

}  // namespace

std::span<const EncodingName> Encodings() { return kEncodings; }

const char* NameOf(TextEncoding encoding) {
  for (const EncodingName& row : kEncodings) {
    if (row.encoding == encoding) return row.name;
  }
  return "Windows-1251";
}

std::optional<TextEncoding> EncodingOfLabel(QByteArrayView label) {
  QByteArray folded = FoldedLabel(label);
  static const std::pair<const char*, const char*> kAliases[] = {
      {"latin1", "iso88591"},  {"l1", "iso88591"},       {"latin2", "iso88592"},
      {"l2", "iso88592"},      {"latin4", "iso88594"},   {"latin5", "iso88599"},
      {"latin9", "iso885915"}, {"cyrillic", "iso88595"}, {"greek", "iso88597"},
      {"koi8", "koi8r"}};
  for (const auto& [alias, name] : kAliases) {
    if (folded == alias) folded = name;
  }
  for (const EncodingName& row : kEncodings) {
    if (row.encoding != TextEncoding::kUtf8 && FoldedLabel(row.name) == folded) return row.encoding;
  }
  return std::nullopt;
}

std::optional<TextEncoding> EncodingNamed(QByteArrayView name) {
  for (const EncodingName& row : kEncodings) {
    if (name == QByteArrayView(row.name)) return row.encoding;
  }
  return std::nullopt;
}

const SingleByteCodec& CodecOf(TextEncoding encoding) {
  if (encoding != TextEncoding::kWindows1251 && encoding != TextEncoding::kUtf8) {
    if (const SingleByteCodec* codec = SingleByteCodecNamed(NameOf(encoding))) return *codec;
  }
  return Cp1251Codec();
}

bool IsValidUtf8(QByteArrayView bytes, bool* has_multibyte) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const qsizetype n = bytes.size();
  bool multi = false;
  for (qsizetype i = 0; i < n;) {
    // Pages are mostly ASCII: eight bytes at a time while none has its high bit set.
    quint64 word;
    while (i + 8 <= n && (std::memcpy(&word, p + i, 8), (word & 0x8080808080808080ULL) == 0)) {
      i += 8;
    }
    if (i >= n) break;
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    int extra;
    unsigned int min;
    unsigned int code;
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1, min = 0x80, code = c & 0x1Fu;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2, min = 0x800, code = c & 0x0Fu;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3, min = 0x10000, code = c & 0x07u;
    } else {
      return false;
    }
    if (i + extra >= n) return false;
    for (int k = 1; k <= extra; ++k) {
      const unsigned char t = p[i + k];
      if ((t & 0xC0) != 0x80) return false;
      code = (code << 6) | (t & 0x3Fu);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    multi = true;
    i += extra + 1;
  }
  if (has_multibyte != nullptr) *has_multibyte = multi;
  return true;
}

QString DecodeUtf8(QByteArrayView bytes) {
  // QString::fromUtf8 drops a leading U+FEFF, which is text when it is not the file's mark.
  QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
  return decoder(bytes);
}

TextFormat DetectTextFormat(QByteArrayView bytes) {
  TextFormat format;
  // A mark followed by bytes that are not UTF-8 is not trusted: Windows-1251 keeps them all.
  if (HasUtf8Bom(bytes) && IsValidUtf8(bytes.sliced(3))) {
    format.encoding = TextEncoding::kUtf8;
    format.bom = true;
  } else {
    bool multi = false;
    // Invalid UTF-8 stays Windows-1251 even under a declaration: that codec loses nothing.
    // Multi-byte UTF-8 needs no declaration, so only other pages have theirs read.
    const bool valid = IsValidUtf8(bytes, &multi);
    const QByteArray declared = valid && multi ? QByteArray() : DeclaredCharset(bytes);
    if (valid && (multi || IsUtf8Label(declared))) {
      format.encoding = TextEncoding::kUtf8;
    } else if (const std::optional<TextEncoding> single = EncodingOfLabel(declared)) {
      format.encoding = *single;
    }
  }
  qsizetype crlf = 0, lf = 0, cr = 0;
  const char* p = bytes.data();
  const qsizetype n = bytes.size();
  for (const char* at = p; (at = static_cast<const char*>(memchr(at, '\n', p + n - at)));) {
    if (at > p && at[-1] == '\r') {
      ++crlf;
    } else {
      ++lf;
    }
    ++at;
  }
  for (const char* at = p; (at = static_cast<const char*>(memchr(at, '\r', p + n - at)));) {
    if (at + 1 >= p + n || at[1] != '\n') ++cr;
    ++at;
  }
  if (lf > crlf && lf >= cr) {
    format.line_end = LineEnd::kLf;
  } else if (cr > crlf && cr > lf) {
    format.line_end = LineEnd::kCr;
  }
  format.mixed_line_ends = (crlf > 0) + (lf > 0) + (cr > 0) > 1;
  return format;
}

QString DecodeText(QByteArrayView bytes, const TextFormat& format) {
  if (format.encoding != TextEncoding::kUtf8) {
    QString text = CodecOf(format.encoding).Decode(bytes);
    CompactLineBreaks(text);
    return text;
  }
  if (format.bom && HasUtf8Bom(bytes)) bytes = bytes.sliced(3);
  QString text = DecodeUtf8(bytes);
  CompactLineBreaks(text);
  return text;
}

QString DecodeDetected(QByteArrayView bytes) { return DecodeText(bytes, DetectTextFormat(bytes)); }

QByteArray LineEndBytes(LineEnd line_end) {
  switch (line_end) {
    case LineEnd::kLf:
      return QByteArrayLiteral("\n");
    case LineEnd::kCr:
      return QByteArrayLiteral("\r");
    case LineEnd::kCrLf:
      break;
  }
  return QByteArrayLiteral("\r\n");
}

QByteArray EncodeText(QStringView text, const TextFormat& format, qsizetype* replaced) {
  QByteArray bytes;
  if (format.encoding != TextEncoding::kUtf8) {
    return CodecOf(format.encoding).Encode(text, replaced, LineEndBytes(format.line_end));
  } else {
    bytes = text.toUtf8();
    if (format.bom) bytes.prepend("\xEF\xBB\xBF");
  }
  if (format.line_end == LineEnd::kLf) return bytes;
  const QByteArray end = LineEndBytes(format.line_end);
  if (end.size() == 1) {
    bytes.replace('\n', end[0]);
    return bytes;
  }
  // CR LF: one pass into a buffer of the final size.
  const qsizetype breaks = bytes.count('\n');
  QByteArray out;
  out.resize(bytes.size() + breaks);
  char* w = out.data();
  for (const char c : std::as_const(bytes)) {
    if (c == '\n') *w++ = '\r';
    *w++ = c;
  }
  return out;
}

QByteArray EditorBytes(QByteArrayView bytes, const TextFormat& format) {
  QByteArray utf8;
  if (format.encoding != TextEncoding::kUtf8) {
    utf8 = CodecOf(format.encoding).ToUtf8(bytes);
  } else {
    utf8 = (format.bom && HasUtf8Bom(bytes) ? bytes.sliced(3) : bytes).toByteArray();
  }
  // One style of line end in the editor, so that positions stay countable per line.
  return format.mixed_line_ends ? WithLineEnds(utf8, format.line_end) : utf8;
}

QByteArray WithLineEnds(QByteArrayView bytes, LineEnd line_end) {
  const qsizetype n = bytes.size();
  const char* p = bytes.data();
  qsizetype breaks = 0;
  for (qsizetype i = 0; i < n; ++i) breaks += p[i] == '\n' || p[i] == '\r';
  const QByteArray end = LineEndBytes(line_end);
  QByteArray out(n + breaks * (end.size() - 1), Qt::Uninitialized);
  char* w = out.data();
  for (qsizetype i = 0; i < n; ++i) {
    if (p[i] != '\r' && p[i] != '\n') {
      *w++ = p[i];
      continue;
    }
    if (p[i] == '\r' && i + 1 < n && p[i + 1] == '\n') ++i;
    for (const char c : end) *w++ = c;
  }
  out.truncate(w - out.data());
  return out;
}

QByteArray FileBytes(QByteArrayView utf8, const TextFormat& format, qsizetype* replaced) {
  if (format.encoding != TextEncoding::kUtf8) {
    return CodecOf(format.encoding).EncodeUtf8(utf8, replaced);
  }
  QByteArray bytes;
  bytes.reserve(utf8.size() + 3);
  if (format.bom) bytes.append("\xEF\xBB\xBF");
  bytes.append(utf8);
  return bytes;
}

const char* NameOf(LineEnd line_end) {
  switch (line_end) {
    case LineEnd::kCrLf:
      return "CR LF";
    case LineEnd::kLf:
      return "LF";
    case LineEnd::kCr:
      return "CR";
  }
  return "CR LF";
}

QString FormatLabel(const TextFormat& format) {
  QString label = format.encoding == TextEncoding::kUtf8
                      ? (format.bom ? QStringLiteral("UTF-8 BOM") : QStringLiteral("UTF-8"))
                      : QString::fromLatin1(NameOf(format.encoding));
  label += QStringLiteral(" · ");
  label += QLatin1String(NameOf(format.line_end));
  if (format.mixed_line_ends) label += Tr(Text::kMixed);
  return label;
}

void CompactLineBreaks(QString& text) {
  if (!text.contains(u'\r')) return;
  QChar* data = text.data();
  const qsizetype size = text.size();
  qsizetype out = 0;
  for (qsizetype i = 0; i < size; ++i) {
    const QChar c = data[i];
    if (c == u'\r') {
      data[out++] = u'\n';
      if (i + 1 < size && data[i + 1] == u'\n') ++i;
    } else {
      data[out++] = c;
    }
  }
  text.truncate(out);
}

QString BytesToText(QByteArrayView bytes) {
  QString decoded = DecodeCp1251(bytes);
  CompactLineBreaks(decoded);
  return decoded;
}

QByteArray TextToBytes(QStringView text, qsizetype* replaced) {
  return EncodeCp1251(text, replaced, "\r\n");
}

QStringList SplitLines(QStringView text) {
  QStringList lines;
  if (text.isEmpty()) return lines;
  qsizetype start = 0;
  while (start < text.size()) {
    qsizetype end = text.indexOf(u'\n', start);
    if (end < 0) end = text.size();
    lines.append(text.sliced(start, end - start).toString());
    start = end + 1;
  }
  return lines;
}
