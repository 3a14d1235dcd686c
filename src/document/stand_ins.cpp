#include "document/stand_ins.h"

#include <QSet>

namespace {

constexpr char16_t kTaken[] = {u'\u2029', u'\uFDD0', u'\uFDD1'};

QString Replaced(QString text, const QList<std::pair<QChar, QChar>>& pairs, bool forward) {
  if (pairs.isEmpty()) return text;
  for (QChar& c : text) {
    for (const auto& [original, stand_in] : pairs) {
      if (c == (forward ? original : stand_in)) {
        c = forward ? stand_in : original;
        break;
      }
    }
  }
  return text;
}

}  // namespace

QString StandIns::Hide(QString text) {
  pairs_.clear();
  QSet<char16_t> present;
  bool needed = false;
  for (const QChar c : std::as_const(text)) {
    const char16_t code = c.unicode();
    if (code >= 0xE000 && code <= 0xF8FF) present.insert(code);
    for (const char16_t taken : kTaken) needed |= code == taken;
  }
  if (!needed) return text;
  char16_t next = 0xF8FF;  // from the top of the private use area down
  for (const char16_t taken : kTaken) {
    if (!text.contains(QChar(taken))) continue;
    while (present.contains(next)) --next;
    pairs_.append({QChar(taken), QChar(next)});
    present.insert(next);
  }
  return Replaced(std::move(text), pairs_, true);
}

QString StandIns::Restore(QString text) const { return Replaced(std::move(text), pairs_, false); }
