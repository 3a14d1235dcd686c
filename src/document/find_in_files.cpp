#include "document/find_in_files.h"

#include <QByteArrayMatcher>
#include <cctype>
#include <cstring>
#include <memory>

#include "platform/text_file.h"
#include "platform/text_format.h"

std::optional<QRegularExpression> QueryExpression(const FindQuery& query, QString* error) {
  if (query.pattern.isEmpty()) {
    *error = QStringLiteral("nothing to find");
    return std::nullopt;
  }
  QString pattern = query.regex ? query.pattern : QRegularExpression::escape(query.pattern);
  if (query.whole_word) pattern = QStringLiteral("\\b(?:%1)\\b").arg(pattern);
  QRegularExpression::PatternOptions options = QRegularExpression::UseUnicodePropertiesOption;
  if (!query.match_case) options |= QRegularExpression::CaseInsensitiveOption;
  QRegularExpression expression(pattern, options);
  if (!expression.isValid()) {
    *error = expression.errorString();
    return std::nullopt;
  }
  expression.optimize();
  return expression;
}

BytePrefilter PrefilterOf(const FindQuery& query) {
  if (query.regex || query.pattern.isEmpty()) return {};
  for (const QChar c : query.pattern) {
    if (c.unicode() > 127) return {};
  }
  const QByteArray needle = query.pattern.toLatin1();
  if (query.match_case) {
    return [matcher = std::make_shared<QByteArrayMatcher>(needle)](QByteArrayView bytes) {
      return matcher->indexIn(bytes) >= 0;
    };
  }
  // Letter case ignored: the first letter in either case, then the rest compared folded.
  const QByteArray lower = needle.toLower();
  return [lower](QByteArrayView bytes) {
    if (bytes.size() < lower.size()) return false;
    const char first[2] = {lower[0], char(std::toupper(static_cast<unsigned char>(lower[0])))};
    const char* data = bytes.data();
    const char* end = data + bytes.size() - (lower.size() - 1);
    // The next place each case of the first letter stands, found by memchr.
    const auto next = [&](const char* from, char c) -> const char* {
      if (from >= end) return end;
      const void* found = std::memchr(from, c, size_t(end - from));
      return found == nullptr ? end : static_cast<const char*>(found);
    };
    const char* at_lower = next(data, first[0]);
    const char* at_upper = first[1] == first[0] ? end : next(data, first[1]);
    while (at_lower < end || at_upper < end) {
      const bool lower_first = at_lower < at_upper;
      const char* at = lower_first ? at_lower : at_upper;
      qsizetype i = 1;
      while (i < lower.size() &&
             char(std::tolower(static_cast<unsigned char>(at[i]))) == lower[i]) {
        ++i;
      }
      if (i == lower.size()) return true;
      if (lower_first) {
        at_lower = next(at + 1, first[0]);
      } else {
        at_upper = next(at + 1, first[1]);
      }
    }
    return false;
  };
}

QList<FileHit> FindInText(const QString& text, const QRegularExpression& expression) {
  QList<FileHit> hits;
  // Lines are counted walking on from the hit before: linear in the text.
  int line = 1;
  qsizetype line_start = 0;
  qsizetype counted = 0;
  for (auto match = expression.globalMatch(text); match.hasNext();) {
    const QRegularExpressionMatch found = match.next();
    if (found.capturedLength() == 0) continue;  // "^" or "\b" alone: nothing to show
    const qsizetype start = found.capturedStart();
    for (; counted < start; ++counted) {
      if (text[counted] == u'\n') {
        ++line;
        line_start = counted + 1;
      }
    }
    qsizetype line_end = text.indexOf(u'\n', start);
    if (line_end < 0) line_end = text.size();
    hits.append({line, int(start - line_start) + 1, int(found.capturedLength()),
                 text.sliced(line_start, line_end - line_start)});
  }
  return hits;
}

namespace {

// A file with a NUL in its first kilobytes is not text.
bool LooksBinary(const QByteArray& bytes) {
  return QByteArrayView(bytes).first(std::min<qsizetype>(bytes.size(), 8192)).contains('\0');
}

}  // namespace

FindSummary FindInFiles(const QStringList& files, const QRegularExpression& expression,
                        const std::function<void(const FileHits&)>& found,
                        const std::atomic<bool>* cancelled, const BytePrefilter& prefilter) {
  FindSummary summary;
  for (const QString& path : files) {
    if (cancelled != nullptr && *cancelled) {
      summary.cancelled = true;
      break;
    }
    const ReadOutcome read = ReadWholeFile(path, kPageCap);
    if (!read.ok() || LooksBinary(read.bytes)) {
      ++summary.skipped;
      continue;
    }
    ++summary.searched;
    if (prefilter && !prefilter(read.bytes)) continue;
    const QString text = DecodeText(read.bytes, DetectTextFormat(read.bytes));
    FileHits page{path, FindInText(text, expression)};
    if (page.hits.isEmpty()) continue;
    summary.hits += int(page.hits.size());
    ++summary.pages;
    found(page);
  }
  return summary;
}
