#include "document/utf8_lines.h"

#include <algorithm>
#include <cstring>

QList<QByteArrayView> SplitUtf8Lines(QByteArrayView text) {
  QList<QByteArrayView> lines;
  if (text.isEmpty()) return lines;
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* start = begin;
  // The next "\n" is kept while it is ahead, so a page of "\r" breaks is not scanned to its
  // end at every line.
  auto next_lf = [end](const char* from) {
    return static_cast<const char*>(std::memchr(from, '\n', std::size_t(end - from)));
  };
  const char* lf = next_lf(begin);
  for (;;) {
    if (lf && lf < start) lf = next_lf(start);
    const char* limit = lf ? lf : end;
    const auto* cr = static_cast<const char*>(std::memchr(start, '\r', std::size_t(limit - start)));
    const char* at = cr ? cr : lf;
    if (!at) break;
    lines.append(QByteArrayView(start, at - start));
    if (*at == '\r' && at + 1 < end && at[1] == '\n') ++at;
    start = at + 1;
  }
  lines.append(QByteArrayView(start, end - start));
  return lines;
}

Utf8LineWriter::Utf8LineWriter(QByteArrayView line_break, qsizetype reserve)
    : text_(reserve, Qt::Uninitialized), break_(line_break.toByteArray()) {}

void Utf8LineWriter::Add(std::initializer_list<QByteArrayView> parts) {
  const qsizetype before = starts_.isEmpty() ? 0 : break_.size();
  qsizetype size = before;
  for (const QByteArrayView part : parts) size += part.size();
  if (size_ + size > text_.size()) {
    // Grown by half again (the bytes past size_ are never read, so they stay uninitialised).
    text_.resize(std::max(size_ + size, text_.size() + text_.size() / 2 + 4096));
  }
  char* at = text_.data() + size_;
  if (before > 0) at = std::copy(break_.cbegin(), break_.cend(), at);
  starts_.append(at - text_.constData());
  for (const QByteArrayView part : parts) {
    if (!part.isEmpty()) std::memcpy(at, part.data(), std::size_t(part.size()));
    at += part.size();
  }
  size_ += size;
}

QByteArrayView Utf8LineWriter::Lines(qsizetype first, qsizetype end) const {
  if (first >= end) return {};
  const qsizetype from = starts_[first];
  const qsizetype to = end < Count() ? starts_[end] - break_.size() : size_;
  return QByteArrayView(text_).sliced(from, to - from);
}
