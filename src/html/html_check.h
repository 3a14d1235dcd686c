#pragma once

#include <QByteArrayView>
#include <QList>

#include "html/problems.h"

// The HTML faults of a page given as UTF-8, sorted by position: unclosed and misnested
// elements, unknown elements and attributes, duplicate ids, pictures without alt, a missing
// title, bad entities, unquoted values that need quotes. A valid HTML5 page reports nothing:
// custom elements, template content, the newer elements and attributes are at home; markup
// HTML5 dropped (font, center) is a note.
QList<Problem> CheckHtml(QByteArrayView utf8);
