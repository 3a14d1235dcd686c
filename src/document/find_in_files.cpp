#include "document/find_in_files.h"

#include <QByteArrayMatcher>
#include <cctype>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

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

namespace {

// What one file gave.
struct Searched {
  enum class Kind { kSkipped, kNoHit, kHits } kind = Kind::kNoHit;
  QList<FileHit> hits;
};

Searched SearchFile(const QString& path, const QRegularExpression& expression,
                    const BytePrefilter& prefilter) {
  const ReadOutcome read = ReadWholeFile(path, kPageCap);
  if (!read.ok() || LooksBinary(read.bytes)) return {Searched::Kind::kSkipped, {}};
  if (prefilter && !prefilter(read.bytes)) return {};
  const QString text = DecodeText(read.bytes, DetectTextFormat(read.bytes));
  QList<FileHit> hits = FindInText(text, expression);
  if (hits.isEmpty()) return {};
  return {Searched::Kind::kHits, std::move(hits)};
}

}  // namespace

FindSummary FindInFiles(const QStringList& files, const QRegularExpression& expression,
                        const std::function<void(const FileHits&)>& found,
                        const std::atomic<bool>* cancelled, const BytePrefilter& prefilter) {
  // The files are searched on every core, each taken by the next free worker; what they
  // found is handed on in the files' order, each page as soon as those before it are done.
  const qsizetype count = files.size();
  std::vector<std::optional<Searched>> results(static_cast<size_t>(count));
  std::atomic<qsizetype> next{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable ready;
  // Files are taken a batch at a time, and a batch's results handed over at once: a wake-up
  // of the handing thread for every file cost more than the search of a small page.
  constexpr qsizetype kBatch = 32;
  const auto work = [&] {
    std::vector<Searched> batch;
    for (qsizetype first = next.fetch_add(kBatch); first < count && !stop;
         first = next.fetch_add(kBatch)) {
      const qsizetype end = std::min(count, first + kBatch);
      batch.clear();
      for (qsizetype i = first; i < end; ++i) {
        batch.push_back(SearchFile(files[i], expression, prefilter));
      }
      {
        const std::lock_guard lock(mutex);
        for (qsizetype i = first; i < end; ++i) {
          results[size_t(i)] = std::move(batch[size_t(i - first)]);
        }
      }
      ready.notify_all();
    }
  };
  const int workers = int(
      std::clamp<qsizetype>(std::thread::hardware_concurrency(), 1, std::min<qsizetype>(8, count)));
  std::vector<std::thread> threads;
  for (int i = 0; i < workers; ++i) threads.emplace_back(work);
  FindSummary summary;
  for (qsizetype i = 0; i < count; ++i) {
    std::unique_lock lock(mutex);
    ready.wait(lock, [&] {
      return results[size_t(i)].has_value() || (cancelled != nullptr && *cancelled);
    });
    if (!results[size_t(i)]) {
      summary.cancelled = true;
      break;
    }
    Searched searched = std::move(*results[size_t(i)]);
    results[size_t(i)].reset();
    lock.unlock();
    if (searched.kind == Searched::Kind::kSkipped) {
      ++summary.skipped;
      continue;
    }
    ++summary.searched;
    if (searched.kind == Searched::Kind::kNoHit) continue;
    summary.hits += int(searched.hits.size());
    ++summary.pages;
    found(FileHits{files[i], std::move(searched.hits)});
    if (cancelled != nullptr && *cancelled) {
      summary.cancelled = true;
      break;
    }
  }
  stop = true;
  for (std::thread& thread : threads) thread.join();
  return summary;
}
