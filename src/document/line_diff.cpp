#include "document/line_diff.h"

#include <QList>
#include <algorithm>

namespace {

enum class Op { kEqual, kDelete, kInsert };

// Beyond this many differing lines the middle is shown as removed and added whole: the
// shortest edit search costs the square of this in memory.
constexpr qsizetype kMaxEdits = 2000;

// The shortest edit script turning a[0..n) into b[0..m) (Myers' greedy search), in order.
QList<Op> EditScript(const QStringList& a, qsizetype a0, qsizetype n, const QStringList& b,
                     qsizetype b0, qsizetype m) {
  const qsizetype max = std::min(n + m, kMaxEdits);
  // trace[d] holds the furthest x on diagonals -d..d after d edits (index k + d).
  QList<QList<qsizetype>> trace;
  QList<qsizetype> v(2 * max + 3, 0);
  const qsizetype offset = max + 1;
  qsizetype found = -1;
  for (qsizetype d = 0; d <= max && found < 0; ++d) {
    for (qsizetype k = -d; k <= d; k += 2) {
      qsizetype x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1]))
                        ? v[offset + k + 1]
                        : v[offset + k - 1] + 1;
      qsizetype y = x - k;
      while (x < n && y < m && a[a0 + x] == b[b0 + y]) ++x, ++y;
      v[offset + k] = x;
      if (x >= n && y >= m) found = d;
    }
    trace.append(v.mid(offset - d, 2 * d + 1));
  }
  QList<Op> ops;
  if (found < 0) {
    ops.fill(Op::kDelete, n);
    for (qsizetype i = 0; i < m; ++i) ops.append(Op::kInsert);
    return ops;
  }
  qsizetype x = n;
  qsizetype y = m;
  for (qsizetype d = found; d > 0; --d) {
    const QList<qsizetype>& previous = trace[d - 1];
    auto at = [&](qsizetype k) { return previous[k + d - 1]; };
    const qsizetype k = x - y;
    const bool down = k == -d || (k != d && at(k - 1) < at(k + 1));
    const qsizetype prev_k = down ? k + 1 : k - 1;
    const qsizetype prev_x = at(prev_k);
    const qsizetype prev_y = prev_x - prev_k;
    while (x > prev_x + (down ? 0 : 1) && y > prev_y + (down ? 1 : 0)) {
      ops.append(Op::kEqual);
      --x, --y;
    }
    ops.append(down ? Op::kInsert : Op::kDelete);
    x = prev_x;
    y = prev_y;
  }
  while (x > 0 && y > 0) {
    ops.append(Op::kEqual);
    --x, --y;
  }
  std::reverse(ops.begin(), ops.end());
  return ops;
}

}  // namespace

namespace {

// The edit script of the whole lists. The common start and end cost nothing to find and
// need no search.
QList<Op> LineOps(const QStringList& before, const QStringList& after) {
  // The common start and end cost nothing to find and need no search.
  qsizetype head = 0;
  while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
  qsizetype tail = 0;
  while (tail < before.size() - head && tail < after.size() - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
    ++tail;
  }
  QList<Op> ops(head, Op::kEqual);
  ops.append(EditScript(before, head, before.size() - head - tail, after, head,
                        after.size() - head - tail));
  for (qsizetype i = 0; i < tail; ++i) ops.append(Op::kEqual);
  return ops;
}

}  // namespace

QString UnifiedLineDiff(const QStringList& before, const QStringList& after, int context) {
  const QList<Op> ops = LineOps(before, after);

  QString text;
  qsizetype i = 0;
  qsizetype a = 0;  // line of before at ops[i]
  qsizetype b = 0;
  while (i < ops.size()) {
    if (ops[i] == Op::kEqual) {
      ++i, ++a, ++b;
      continue;
    }
    // A hunk: `context` lines before the first change, after the last, and changes closer
    // than twice that joined into one.
    const qsizetype back = std::min<qsizetype>(context, std::min(a, b));
    const qsizetype start = i - back;
    const qsizetype a_start = a - back;
    const qsizetype b_start = b - back;
    qsizetype last_change = i;
    for (qsizetype j = i + 1; j < ops.size() && j - last_change <= 2 * context; ++j) {
      if (ops[j] != Op::kEqual) last_change = j;
    }
    const qsizetype end = std::min(ops.size(), last_change + 1 + context);
    QString body;
    qsizetype a_count = 0;
    qsizetype b_count = 0;
    qsizetype x = a_start;
    qsizetype y = b_start;
    for (qsizetype j = start; j < end; ++j) {
      switch (ops[j]) {
        case Op::kEqual:
          body += u' ' + before[x++] + u'\n';
          ++y, ++a_count, ++b_count;
          break;
        case Op::kDelete:
          body += u'-' + before[x++] + u'\n';
          ++a_count;
          break;
        case Op::kInsert:
          body += u'+' + after[y++] + u'\n';
          ++b_count;
          break;
      }
    }
    text += QStringLiteral("@@ -%1,%2 +%3,%4 @@\n")
                .arg(a_count ? a_start + 1 : a_start)
                .arg(a_count)
                .arg(b_count ? b_start + 1 : b_start)
                .arg(b_count) +
            body;
    i = end;
    a = x;
    b = y;
  }
  return text;
}
