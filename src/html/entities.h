#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// A character reference in page text as a browser reads it: "&lt;", "&#945;", "&#x3B1;",
// and the old forms a browser still takes without the semicolon ("&lt", "&copy").
struct CharacterReference {
  qsizetype length = 0;  // characters it takes in the text; 0 when text[at] starts none
  QString text;          // what it stands for
};
// In an attribute's value (in_attribute), an old form followed by a letter, a digit or '='
// is left as written, as browsers leave "&copy2" or "?a=1&copy=2" in an address.
CharacterReference ReadCharacterReference(QStringView text, qsizetype at,
                                          bool in_attribute = false);

// text with every character reference replaced by what it stands for. With from given, it
// receives for each character of the result the index in text it came from.
QString DecodeReferences(QStringView text, QList<qsizetype>* from = nullptr,
                         bool in_attribute = false);
