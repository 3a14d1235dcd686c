#pragma once

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <optional>

// What Find in files looks for.
struct FindQuery {
  QString pattern;
  bool regex = false;
  bool match_case = false;
  bool whole_word = false;
};

// The expression a query searches with; nothing, with *error, for an invalid one.
std::optional<QRegularExpression> QueryExpression(const FindQuery& query, QString* error);

// One match: where it starts (line and column from 1, the column in characters), its length
// in characters, and the whole line it stands on.
struct FileHit {
  int line = 1;
  int column = 1;
  int length = 0;
  QString text;
};

// A quick look at a file's bytes before it is decoded: false when the query cannot match
// there (a plain ASCII text, which every encoding of a page keeps as it is, is not in them).
// Empty when the query gives no such look (a regular expression, letters beyond ASCII).
using BytePrefilter = std::function<bool(QByteArrayView bytes)>;
BytePrefilter PrefilterOf(const FindQuery& query);

// The matches in a page's text (lines joined by '\n'), in order.
QList<FileHit> FindInText(const QString& text, const QRegularExpression& expression);

struct FileHits {
  QString path;
  QList<FileHit> hits;
};

struct FindSummary {
  int hits = 0;
  int pages = 0;     // pages with at least one hit
  int searched = 0;  // pages read
  int skipped = 0;   // binary, unreadable, or over the page cap
  bool cancelled = false;
};

// Searches each file in its own encoding (as the batch tools read it: byte order mark, charset
// declaration, line ends) on every core, handing each page with hits to found, on the calling
// thread and in the files' order, as soon as it and those before it are searched. Reads
// only; cancelled is looked at between files.
FindSummary FindInFiles(const QStringList& files, const QRegularExpression& expression,
                        const std::function<void(const FileHits&)>& found,
                        const std::atomic<bool>* cancelled = nullptr,
                        const BytePrefilter& prefilter = {});
