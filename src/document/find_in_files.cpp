#include "document/find_in_files.h"

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
                        const std::atomic<bool>* cancelled) {
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
    const QString text = DecodeText(read.bytes, DetectTextFormat(read.bytes));
    FileHits page{path, FindInText(text, expression)};
    if (page.hits.isEmpty()) continue;
    summary.hits += int(page.hits.size());
    ++summary.pages;
    found(page);
  }
  return summary;
}
