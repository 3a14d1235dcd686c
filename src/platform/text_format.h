#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <span>

class SingleByteCodec;

// How a file's text is stored: its encoding and its line ends. Files keep what they came
// with; new pages are Windows-1251 with CR LF. Every encoding but UTF-8 is a single-byte
// code page.
enum class TextEncoding {
  kWindows1251,
  kUtf8,
  kWindows1250,
  kWindows1252,
  kWindows1253,
  kWindows1254,
  kWindows1257,
  kKoi8R,
  kKoi8U,
  kIso8859_1,
  kIso8859_2,
  kIso8859_4,
  kIso8859_5,
  kIso8859_7,
  kIso8859_9,
  kIso8859_13,
  kIso8859_15,
  kIso8859_16,
};

struct EncodingName {
  TextEncoding encoding;
  const char* name;  // as shown, as iconv knows it and as a page declares it
};
// Every encoding, in the order menus list them.
std::span<const EncodingName> Encodings();
const char* NameOf(TextEncoding encoding);
// The charset a page declares in its first kilobytes, in lower case (empty when none): both
// "<meta charset=utf-8>" and "content=\"text/html; charset=utf-8\"" carry it.
QByteArray DeclaredCharset(QByteArrayView bytes);
// The encoding a charset label names ("latin1", "cp1252", "ISO_8859-5"…); none for UTF-8
// and labels it does not know.
std::optional<TextEncoding> EncodingOfLabel(QByteArrayView label);
// The encoding NameOf gives this name for, UTF-8 included: for what the program writes itself.
std::optional<TextEncoding> EncodingNamed(QByteArrayView name);
// The code page of a single-byte encoding.
const SingleByteCodec& CodecOf(TextEncoding encoding);
enum class LineEnd { kCrLf, kLf, kCr };
// Every line-end style, in the order menus list them.
inline constexpr LineEnd kLineEnds[] = {LineEnd::kCrLf, LineEnd::kLf, LineEnd::kCr};
// "CR LF", "LF", "CR".
const char* NameOf(LineEnd line_end);

struct TextFormat {
  TextEncoding encoding = TextEncoding::kWindows1251;
  bool bom = false;  // UTF-8 only: the file started with a byte order mark
  LineEnd line_end = LineEnd::kCrLf;
  bool mixed_line_ends = false;  // the file used more than one style; saved in line_end
  friend bool operator==(const TextFormat&, const TextFormat&) = default;
};

// Decides the encoding (a UTF-8 byte order mark; valid UTF-8 with at least one multi-byte
// sequence; or a UTF-8 charset declaration in the first kilobytes, when the bytes are valid
// UTF-8; else the single-byte encoding declared there, Windows-1251 when none is) and the
// most frequent line-end style. Linear in the bytes.
TextFormat DetectTextFormat(QByteArrayView bytes);

// Text with lines joined by '\n' (a final break gives a final '\n').
QString DecodeText(QByteArrayView bytes, const TextFormat& format);

// UTF-8 bytes as text, a U+FEFF at the start kept as a character.
QString DecodeUtf8(QByteArrayView bytes);

// The text of a file's bytes in the encoding detected for them.
QString DecodeDetected(QByteArrayView bytes);

// Bytes for disk. In Windows-1251, characters outside the code page become "&#N;" and are
// counted into *replaced; UTF-8 takes every character.
QByteArray EncodeText(QStringView text, const TextFormat& format, qsizetype* replaced = nullptr);

// The text of a file as the editor holds it: UTF-8 without a byte order mark, the line ends
// as in the file (several styles become format.line_end). Linear in the bytes.
QByteArray EditorBytes(QByteArrayView bytes, const TextFormat& format);

// The bytes for disk of text the editor holds (UTF-8, line ends as they are to be written).
// In Windows-1251, characters outside the code page become "&#N;" counted into *replaced.
QByteArray FileBytes(QByteArrayView utf8, const TextFormat& format, qsizetype* replaced = nullptr);

// Bytes with every line end (CR LF, CR or LF) written as line_end, in one pass.
QByteArray WithLineEnds(QByteArrayView bytes, LineEnd line_end);

// The byte form of a line end.
QByteArray LineEndBytes(LineEnd line_end);

// "Windows-1251 · CR LF", "UTF-8 BOM · LF (mixed)".
QString FormatLabel(const TextFormat& format);

// True when bytes are valid UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(QByteArrayView bytes, bool* has_multibyte = nullptr);

// Document text in memory: lines joined by '\n'. A file whose last line ended with a line
// break gives a text that ends with '\n', so writing it back restores that break.

// Turns CR LF and lone CR into '\n' in place, in one pass.
void CompactLineBreaks(QString& text);

// Decodes Windows-1251 bytes and turns CR LF, lone CR and lone LF into '\n', in one pass.
QString BytesToText(QByteArrayView bytes);

// Encodes text for disk: '\n' becomes CR LF; characters outside the code page become "&#N;"
// and are counted into *replaced.
QByteArray TextToBytes(QStringView text, qsizetype* replaced = nullptr);

// The lines of a text; a final '\n' does not start another line.
QStringList SplitLines(QStringView text);
