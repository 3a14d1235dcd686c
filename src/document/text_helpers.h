#pragma once

#include <optional>

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include "html/html_tokens.h"

// The mark in a template that says where the generated text goes.
inline constexpr char16_t kTemplateMarker[] = u"<,,pattern,,>";

// Lower case for Latin and Cyrillic letters of Windows-1251: "A"-"Z", "Ё" and "А"-"Я" get
// their small forms; every other character stays.
QString LowerCaseCyr(QStringView text);

// Removes tag text from one line. Rounds repeat while a "<" remains (the first round runs
// in any case): the span from the first "<" to the first ">" goes; a ">" before the first
// "<" takes everything up to it; an unclosed "<" takes the rest of the line. Linear time.
QString StripTags(QStringView text);
// The same appended to out: a QString for a QStringView, a QByteArray for UTF-8 bytes (the
// tags' signs are ASCII, so the bytes give the same result).
template <class View, class Out>
void AppendWithoutTags(View text, Out& out);

template <class View, class Out>
void AppendWithoutTags(View text, Out& out) {
  // Equivalent to repeating the removal rounds, without re-scanning the text each round.
  // What out gained before pos holds neither "<" nor ">".
  const qsizetype base = out.size();
  qsizetype pos = 0;
  qsizetype lt = FindAscii(text, '<', 0);
  qsizetype gt = FindAscii(text, '>', 0);
  bool first_round = true;
  for (;;) {
    if (lt >= 0 && lt < pos) lt = FindAscii(text, '<', pos);
    if (gt >= 0 && gt < pos) gt = FindAscii(text, '>', pos);
    if (lt < 0) {
      if (first_round && gt >= 0) pos = gt + 1;
      out += text.sliced(pos);
      return;
    }
    if (gt < 0) {
      out += text.sliced(pos, lt - pos);
      return;
    }
    if (lt < gt) {
      out += text.sliced(pos, lt - pos);
    } else {
      out.truncate(base);  // a ">" before the "<" ends a tag begun at the start of the text
    }
    pos = gt + 1;
    first_round = false;
  }
}

// The page title: at the last line containing "<title>" in any case, that line without
// tags, or the next line without tags when that is blank. Empty when no line has "<title>".
QString PageTitleOf(const QStringList& lines);
// The same for a whole text with lines joined by '\n', found from the end without
// splitting the text.
QString PageTitleOfText(QStringView text);
// The same for a file's bytes, decoding only the lines around the last "<title>".
struct TextFormat;
QString PageTitleOfFile(QByteArrayView bytes, const TextFormat& format);

// Text with the first occurrence of part removed; unchanged when part does not occur.
QString DeleteFirst(const QString& text, const QString& part);

// Text with the first occurrence of old replaced by replacement; unchanged when old does
// not occur.
// The lines with the charset of every <meta charset=…> and <meta http-equiv=…
// content="…; charset=…"> of the head set to charset; nothing when there is none to change.
std::optional<QStringList> WithDeclaredCharset(const QStringList& lines, const QString& charset);

QString ReplaceFirst(const QString& text, const QString& old, const QString& replacement);

// Target with text inserted before the character at position p (from 1). An empty target
// gives text; p one past the end appends; any other p outside the target changes nothing.
QString InsertAt(const QString& target, const QString& text, qsizetype p);

// Replace in the document.
QStringList ReplaceBlocksInLines(QStringList lines, const QStringList& find,
                                 const QStringList& replacement);
QStringList ReplaceFirstInEveryLine(QStringList lines, const QString& find,
                                    const QString& replacement);
// The lines of a multi-line field: an empty last line after a final break does not count.
QStringList FieldLines(const QString& text);

// A path with no "." anywhere (folders included) gets extension (".css", ".cpb", ...).
QString WithDefaultExtension(const QString& path, const QString& extension);

// What to insert, and where, so that a page declares the encoding it is saved in: a
// <meta charset> on a line of its own after <head> (else after <html>, else at the start).
struct Insertion {
  qsizetype at = 0;
  QByteArray bytes;
};
Insertion CharsetDeclaration(QByteArrayView utf8, const char* encoding_name,
                             QByteArrayView line_break);
