#include "document/text_helpers.h"

#include "document/block_edits.h"

#include <QRegularExpression>

#include "platform/text_format.h"

QString LowerCaseCyr(QStringView text) {
  QString result = text.toString();
  for (QChar& c : result) {
    const char16_t u = c.unicode();
    if ((u >= u'A' && u <= u'Z') || (u >= 0x0410 && u <= 0x042F)) {
      c = QChar(char16_t(u + 0x20));
    } else if (u == 0x0401) {
      c = QChar(char16_t(0x0451));
    }
  }
  return result;
}

QString StripTags(QStringView text) {
  QString kept;
  AppendWithoutTags(text, kept);
  return kept;
}

QString PageTitleOf(const QStringList& lines) { return PageTitleOfText(lines.join(u'\n')); }

QString PageTitleOfText(QStringView text) {
  // Case-blind search matches the same places as a search in the LowerCaseCyr text: no
  // other character of the code page folds to a letter of "title".
  const qsizetype at = text.lastIndexOf(u"<title>", -1, Qt::CaseInsensitive);
  if (at < 0) return QString();
  const qsizetype start = text.lastIndexOf(u'\n', at) + 1;
  qsizetype end = text.indexOf(u'\n', at);
  if (end < 0) end = text.size();
  QString title = StripTags(text.sliced(start, end - start));
  if (!title.trimmed().isEmpty()) return title;
  if (end == text.size()) return QString();
  qsizetype next_end = text.indexOf(u'\n', end + 1);
  if (next_end < 0) next_end = text.size();
  return StripTags(text.sliced(end + 1, next_end - end - 1));
}

QString DeleteFirst(const QString& text, const QString& part) {
  const qsizetype p = text.indexOf(part);
  if (p < 0 || part.isEmpty()) return text;
  QString result = text;
  result.remove(p, part.size());
  return result;
}

QString ReplaceFirst(const QString& text, const QString& old, const QString& replacement) {
  const qsizetype p = text.indexOf(old);
  if (p < 0 || old.isEmpty()) return text;
  return InsertAt(DeleteFirst(text, old), replacement, p + 1);
}

QString InsertAt(const QString& target, const QString& text, qsizetype p) {
  if (target.isEmpty()) return text;
  if (p < 1 || p > target.size() + 1) return target;
  QString result = target;
  result.insert(p - 1, text);
  return result;
}

std::optional<QStringList> WithDeclaredCharset(const QStringList& lines, const QString& charset) {
  static const QRegularExpression kDeclaration(
      QStringLiteral("(<meta\\b[^>]*?\\bcharset\\s*=\\s*[\"']?)([A-Za-z0-9_.:-]+)"),
      QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression kHeadEnd(QStringLiteral("</head\\b|<body\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
  QStringList result = lines;
  bool changed = false;
  for (QString& line : result) {
    qsizetype from = 0;
    QRegularExpressionMatch match;
    while ((match = kDeclaration.match(line, from)).hasMatch()) {
      if (match.captured(2).compare(charset, Qt::CaseInsensitive) != 0) {
        line.replace(match.capturedStart(2), match.capturedLength(2), charset);
        changed = true;
      }
      from = match.capturedStart(2) + charset.size();
    }
    // Declarations stand in the head; the body is the page's text.
    if (kHeadEnd.match(line).hasMatch()) break;
  }
  if (!changed) return std::nullopt;
  return result;
}

QStringList ReplaceBlocksInLines(QStringList lines, const QStringList& find,
                                 const QStringList& replacement) {
  block_edits::ReplaceBlocks(lines, find, replacement);
  return lines;
}

QStringList ReplaceFirstInEveryLine(QStringList lines, const QString& find,
                                    const QString& replacement) {
  block_edits::ReplaceFirstInLines(lines, find, replacement);
  return lines;
}

QStringList FieldLines(const QString& text) {
  QStringList lines = text.split(u'\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

QString WithDefaultExtension(const QString& path, const QString& extension) {
  return path.contains(u'.') ? path : path + extension;
}

QString PageTitleOfFile(QByteArrayView bytes, const TextFormat& format) {
  // "<title>" is ASCII in both encodings, so the bytes can be searched as they are.
  static constexpr char kTag[] = "<title>";
  constexpr qsizetype kLength = sizeof(kTag) - 1;
  qsizetype at = bytes.size() - kLength;
  for (; at >= 0; --at) {
    if (bytes[at] != '<') continue;
    qsizetype k = 1;
    while (k < kLength && (bytes[at + k] | 0x20) == kTag[k]) ++k;
    if (k == kLength) break;
  }
  if (at < 0) return QString();
  auto is_break = [&](qsizetype i) { return bytes[i] == '\n' || bytes[i] == '\r'; };
  qsizetype from = at;
  while (from > 0 && !is_break(from - 1)) --from;
  // To the end of the line after the title's: the title may stand there.
  qsizetype to = at;
  for (int ends = 0; to < bytes.size(); ++to) {
    if (!is_break(to)) continue;
    if (bytes[to] == '\r' && to + 1 < bytes.size() && bytes[to + 1] == '\n') ++to;
    if (++ends == 2) break;
  }
  return PageTitleOfText(DecodeText(bytes.sliced(from, std::min(to, bytes.size()) - from), format));
}

Insertion CharsetDeclaration(QByteArrayView utf8, const char* encoding_name,
                             QByteArrayView line_break) {
  const QByteArray meta =
      QByteArrayLiteral("<meta charset=\"") + QByteArray(encoding_name).toLower() + "\">";
  // Tags are ASCII: the first kilobytes, folded, are searched as they are.
  const QByteArray head =
      utf8.first(std::min<qsizetype>(utf8.size(), 4096)).toByteArray().toLower();
  for (const char* tag : {"<head", "<html"}) {
    qsizetype at = head.indexOf(tag);
    while (at >= 0) {
      const char after = at + 5 < head.size() ? head[at + 5] : '>';
      if (after == '>' || after == ' ' || after == '\t' || after == '\n' || after == '\r') break;
      at = head.indexOf(tag, at + 1);  // "<header" is not "<head"
    }
    const qsizetype end = at < 0 ? -1 : head.indexOf('>', at);
    if (end >= 0) return {end + 1, line_break.toByteArray() + meta};
  }
  return {0, meta + line_break.toByteArray()};
}
