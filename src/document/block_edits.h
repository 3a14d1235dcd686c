#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <algorithm>

#include "html/html_tokens.h"

// Edits on the lines of a text, written once for document lines (QString) and for the byte
// lines of the batch tools (QByteArray). Each is linear in the lines times the block size.
// In every block comparison a line beyond the end of the text counts as an empty line.

namespace block_edits {

// A character code as an unsigned number: a byte of a non-ASCII letter is not a control
// character, though a signed char calls it negative.
inline uint CodeOf(char c) { return static_cast<unsigned char>(c); }
inline uint CodeOf(QChar c) { return c.unicode(); }

template <class Line>
bool IsBlank(const Line& line) {
  return std::all_of(line.begin(), line.end(), [](auto c) { return CodeOf(c) <= ' '; });
}

// Whether line[at..] starts with the ASCII word (given in lower case), ignoring case.
template <class Line>
bool StartsWithWord(const Line& line, qsizetype at, const char* word) {
  for (; *word != '\0'; ++word, ++at) {
    if (at >= line.size()) return false;
    uint c = CodeOf(line[at]);
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
    if (c != static_cast<uint>(*word)) return false;
  }
  // The name must end there: "<pre>" and "<pre class" but not "<prefix>".
  if (at >= line.size()) return true;
  const uint next = CodeOf(line[at]);
  return next == '>' || next == '/' || next <= ' ';
}

// For each line, whether any of it lies inside an element whose text renders as written:
// <pre>, <textarea>, <script>, <style> (any letter case). An element left open runs to the
// end. Tags are ASCII, so byte lines in either encoding and text lines are read alike.
template <class Line>
QList<bool> RawTextLines(const QList<Line>& lines) {
  static const char* const kRawElements[] = {"pre", "textarea", "script", "style"};
  QList<bool> raw;
  raw.reserve(lines.size());
  const char* open = nullptr;  // the raw element the scan is inside
  for (const Line& line : lines) {
    bool inside = open != nullptr;
    for (qsizetype at = 0; (at = FindAscii(line, '<', at)) >= 0; ++at) {
      if (open != nullptr) {
        if (at + 1 < line.size() && CodeOf(line[at + 1]) == '/' &&
            StartsWithWord(line, at + 2, open)) {
          open = nullptr;
        }
        continue;
      }
      for (const char* name : kRawElements) {
        if (StartsWithWord(line, at + 1, name)) {
          open = name;
          inside = true;
          break;
        }
      }
    }
    raw.append(inside);
  }
  return raw;
}

// Whether find matches lines[q..], a line beyond the end counting as empty.
template <class Line>
bool MatchesAt(const QList<Line>& rest, qsizetype q, const QList<Line>& find) {
  for (qsizetype i = 0; i < find.size(); ++i) {
    const qsizetype at = q + i;
    if (at < rest.size()) {
      if (rest[at] != find[i]) return false;
    } else if (!find[i].isEmpty()) {
      return false;
    }
  }
  return true;
}

// Replaces blocks from the bottom up: for every start p from the last line down to 0, a
// match deletes lines p..p+S-1 and puts the replacement at p. A comparison at a lower start
// can take in lines a replacement has just inserted. Returns the number of replacements.
template <class Line>
int ReplaceBlocks(QList<Line>& lines, const QList<Line>& find, const QList<Line>& replacement) {
  // The processed tail is kept reversed, so the line just below p is at its back.
  QList<Line> tail;
  tail.reserve(lines.size());
  int count = 0;
  for (qsizetype p = lines.size() - 1; p >= 0; --p) {
    bool match = true;
    for (qsizetype i = 0; i < find.size() && match; ++i) {
      if (i == 0) {
        match = lines[p] == find[0];
      } else {
        const qsizetype from_back = i;  // tail's back is line p+1
        match =
            from_back <= tail.size() ? tail[tail.size() - from_back] == find[i] : find[i].isEmpty();
      }
    }
    if (!match) {
      tail.append(std::move(lines[p]));
      continue;
    }
    ++count;
    if (find.isEmpty()) {
      tail.append(std::move(lines[p]));
    } else {
      const qsizetype drop = std::min<qsizetype>(find.size() - 1, tail.size());
      tail.resize(tail.size() - drop);
    }
    for (qsizetype r = replacement.size() - 1; r >= 0; --r) tail.append(replacement[r]);
  }
  std::reverse(tail.begin(), tail.end());
  lines = std::move(tail);
  return count;
}

// Deletes blocks walking down from the top: after a deletion at p the walk goes on at p + 1,
// so the line that moved up into p is not tested. The walk covers the starting line count.
template <class Line>
int DeleteBlocks(QList<Line>& lines, const QList<Line>& find) {
  const qsizetype count = lines.size();
  QList<Line> kept;
  kept.reserve(count);
  qsizetype q = 0;
  int deleted = 0;
  for (qsizetype p = 0; p < count; ++p) {
    if (MatchesAt(lines, q, find)) {
      if (q < lines.size()) ++deleted;
      q = std::min(lines.size(), q + find.size());
    }
    if (q < lines.size()) kept.append(std::move(lines[q++]));
  }
  for (; q < lines.size(); ++q) kept.append(std::move(lines[q]));
  lines = std::move(kept);
  return deleted;
}

// Two passes; each walks the indexes of its starting count and deletes a blank line (only
// characters up to the space), not testing the line that moves up into its place. Lines
// inside preformatted elements (RawTextLines) are never blank: their blank lines render.
template <class Line>
void RemoveBlankLines(QList<Line>& lines) {
  QList<bool> raw = RawTextLines(lines);
  for (int pass = 0; pass < 2; ++pass) {
    QList<Line> kept;
    QList<bool> kept_raw;
    kept.reserve(lines.size());
    kept_raw.reserve(lines.size());
    auto keep = [&](qsizetype j) {
      kept.append(std::move(lines[j]));
      kept_raw.append(raw[j]);
    };
    qsizetype j = 0;
    const qsizetype n = lines.size();
    for (qsizetype index = 0; index < n && j < n; ++index) {
      if (!raw[j] && IsBlank(lines[j])) {
        ++j;
        if (j < n) keep(j++);
      } else {
        keep(j++);
      }
    }
    lines = std::move(kept);
    raw = std::move(kept_raw);
  }
}

// The first occurrence of find in every line that holds it replaced; an empty find changes
// nothing. Returns the number of lines changed. (Views of lines: see ReplaceFirstInViews.)
template <class Line>
int ReplaceFirstInLines(QList<Line>& lines, const Line& find, const Line& replacement) {
  if (find.isEmpty()) return 0;
  int changed = 0;
  for (Line& line : lines) {
    const qsizetype at = line.indexOf(find);
    if (at < 0) continue;
    line.replace(at, find.size(), replacement);
    ++changed;
  }
  return changed;
}

// The same over views of lines; changed lines are built by make(bytes), which keeps them
// and returns a view.
template <class Keep>
int ReplaceFirstInViews(QList<QByteArrayView>& lines, QByteArrayView find,
                        QByteArrayView replacement, Keep keep) {
  if (find.isEmpty()) return 0;
  int changed = 0;
  for (QByteArrayView& line : lines) {
    const qsizetype at = line.indexOf(find);
    if (at < 0) continue;
    QByteArray made;
    made.reserve(line.size() - find.size() + replacement.size());
    made.append(line.first(at)).append(replacement).append(line.sliced(at + find.size()));
    line = keep(std::move(made));
    ++changed;
  }
  return changed;
}

}  // namespace block_edits
