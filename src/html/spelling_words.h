#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <vector>

// A word of a page's prose, for a spell checker.
struct WordToSpell {
  qsizetype start = 0;  // its bytes in the page, references such as "&eacute;" included
  qsizetype end = 0;
  QString word;         // as read, references decoded
  QByteArray language;  // the lang in force there, in lower case; empty when none is given
  // A hyphenated word ("pre-dates"): its parts, checked when the whole is not known.
  std::vector<WordToSpell> parts;
};

// Calls take for each word a reader sees, in page order: text between tags, comments, and
// the values of alt, title, placeholder, aria-label and a description's content. Never
// markup, other attribute values, script, style, code, pre, kbd, samp or var, anything
// under spellcheck="false", addresses and file names, words with digits or underscores,
// words in capitals or with capitals inside (names, abbreviations) or template markers.
void ForEachWordToSpell(QByteArrayView utf8, const std::function<void(const WordToSpell&)>& take);
