#include "document/find.h"
#include "names/texts.h"

namespace {

// The text as a pattern that matches only itself. QRegularExpression::escape writes a NUL as
// "\\0", which a digit after it would turn into an octal escape of another character;
// a backslash before any other ASCII sign or space keeps it literal.
QString LiteralPattern(const QString& text) {
  QString pattern;
  pattern.reserve(text.size() * 2);
  for (const QChar c : text) {
    if (c.isNull()) {
      pattern += QStringLiteral("\\x{0}");
    } else if (c.unicode() >= 0x80 || c.isLetterOrNumber() || c == u'_') {
      pattern += c;
    } else {
      pattern += u'\\';
      pattern += c;
    }
  }
  return pattern;
}

}  // namespace

std::optional<QRegularExpression> FindExpression(const QString& text, const FindOptions& options,
                                                 QString* error) {
  if (text.isEmpty()) {
    if (error != nullptr) *error = Tr(Text::kNothingToFind);
    return std::nullopt;
  }
  QString pattern = options.regex ? text : LiteralPattern(text);
  // Lookarounds rather than \b, so a text that starts or ends with a sign still counts
  // as a whole word between spaces.
  if (options.whole_word)
    pattern = QStringLiteral("(?<!\\w)(?:") + pattern + QStringLiteral(")(?!\\w)");
  // Unicode properties: Cyrillic and every other letter or digit is a word character.
  QRegularExpression::PatternOptions flags = QRegularExpression::UseUnicodePropertiesOption;
  if (!options.match_case) flags |= QRegularExpression::CaseInsensitiveOption;
  QRegularExpression expression(pattern, flags);
  if (!expression.isValid()) {
    if (error != nullptr) *error = expression.errorString();
    return std::nullopt;
  }
  return expression;
}

namespace {

// The last non-empty match that ends at or before limit, or none.
TextMatch LastMatchBefore(const QString& text, const QRegularExpression& expression,
                          qsizetype limit) {
  TextMatch last;
  QRegularExpressionMatchIterator it = expression.globalMatch(text);
  while (it.hasNext()) {
    const QRegularExpressionMatch match = it.next();
    if (match.capturedEnd() > limit) break;
    if (match.capturedLength() > 0) last = {match.capturedStart(), match.capturedLength()};
  }
  return last;
}

TextMatch FirstMatchFrom(const QString& text, const QRegularExpression& expression,
                         qsizetype from) {
  QRegularExpressionMatchIterator it = expression.globalMatch(text, from);
  while (it.hasNext()) {
    const QRegularExpressionMatch match = it.next();
    if (match.capturedLength() > 0) return {match.capturedStart(), match.capturedLength()};
  }
  return {};
}

}  // namespace

TextMatch FindMatch(const QString& text, const QRegularExpression& expression, qsizetype from,
                    bool backward) {
  from = std::clamp<qsizetype>(from, 0, text.size());
  TextMatch match =
      backward ? LastMatchBefore(text, expression, from) : FirstMatchFrom(text, expression, from);
  if (!match.found()) {
    match = backward ? LastMatchBefore(text, expression, text.size())
                     : FirstMatchFrom(text, expression, 0);
    match.wrapped = match.found();
  }
  return match;
}

int CountMatches(const QString& text, const QRegularExpression& expression) {
  int count = 0;
  QRegularExpressionMatchIterator it = expression.globalMatch(text);
  while (it.hasNext()) {
    if (it.next().capturedLength() > 0) ++count;
  }
  return count;
}

namespace {

// The replacement text with \0..\9 taken from the match.
QString Expand(const QString& replacement, const QRegularExpressionMatch& match) {
  QString out;
  out.reserve(replacement.size());
  for (qsizetype i = 0; i < replacement.size(); ++i) {
    const QChar c = replacement[i];
    if (c == u'\\' && i + 1 < replacement.size()) {
      const QChar next = replacement[i + 1];
      if (next.isDigit()) {
        out += match.captured(next.digitValue());
        ++i;
        continue;
      }
      if (next == u'n') {
        out += u'\n';
        ++i;
        continue;
      }
      if (next == u'\\') {
        out += u'\\';
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

}  // namespace

QString ReplaceAllMatches(const QString& text, const QRegularExpression& expression,
                          const QString& replacement, const FindOptions& options, int* count) {
  QString out;
  out.reserve(text.size());
  qsizetype copied = 0;
  int replaced = 0;
  QRegularExpressionMatchIterator it = expression.globalMatch(text);
  while (it.hasNext()) {
    const QRegularExpressionMatch match = it.next();
    if (match.capturedLength() == 0) continue;
    out += QStringView(text).sliced(copied, match.capturedStart() - copied);
    out += options.regex ? Expand(replacement, match) : replacement;
    copied = match.capturedEnd();
    ++replaced;
  }
  out += QStringView(text).sliced(copied);
  if (count != nullptr) *count = replaced;
  return out;
}

QString ReplacementFor(const QString& text, const TextMatch& match,
                       const QRegularExpression& expression, const QString& replacement,
                       const FindOptions& options) {
  if (!options.regex) return replacement;
  const QRegularExpressionMatch found =
      expression.match(text, match.start, QRegularExpression::NormalMatch,
                       QRegularExpression::AnchorAtOffsetMatchOption);
  return found.hasMatch() ? Expand(replacement, found) : replacement;
}
