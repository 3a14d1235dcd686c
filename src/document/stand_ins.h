#pragma once

#include <QList>
#include <QString>
#include <utility>

// The editor's text document takes U+2029 and the noncharacters U+FDD0 and U+FDD1 as its
// own paragraph and frame marks, so a page that holds them would come back with line
// breaks. Such characters are shown as private-use characters the page does not use, and
// written back as they were.
class StandIns {
 public:
  // Finds stand-ins for what text holds and replaces it; linear in the text.
  QString Hide(QString text);
  // The text as it is to be written.
  QString Restore(QString text) const;
  bool Empty() const { return pairs_.isEmpty(); }

 private:
  QList<std::pair<QChar, QChar>> pairs_;  // {original, stand-in}
};
