#pragma once

#include <QRegularExpression>
#include <QString>
#include <optional>

// Find and replace over the document's text: plain text or a regular expression, with or
// without letter case, whole words or anywhere.
struct FindOptions {
  bool regex = false;
  bool match_case = false;
  bool whole_word = false;
};

// The expression for what the user typed; nothing (with the reason) for an empty text or a
// broken regular expression.
std::optional<QRegularExpression> FindExpression(const QString& text, const FindOptions& options,
                                                 QString* error = nullptr);

struct TextMatch {
  qsizetype start = -1;
  qsizetype length = 0;
  bool found() const { return start >= 0; }
  bool wrapped = false;  // found only by going round the end of the text
};

// The next match starting at or after from (forward) or ending at or before from
// (backward), going round the end of the text when there is none on that side.
TextMatch FindMatch(const QString& text, const QRegularExpression& expression, qsizetype from,
                    bool backward);
int CountMatches(const QString& text, const QRegularExpression& expression);

// Every match replaced; in regular expression mode the replacement may name groups (\1).
QString ReplaceAllMatches(const QString& text, const QRegularExpression& expression,
                          const QString& replacement, const FindOptions& options, int* count);
// The replacement for one match found in text, with its groups expanded in regex mode.
QString ReplacementFor(const QString& text, const TextMatch& match,
                       const QRegularExpression& expression, const QString& replacement,
                       const FindOptions& options);
