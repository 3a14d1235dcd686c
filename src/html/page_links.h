#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

// A link written in a page: an address in an attribute or a CSS url().
struct PageLink {
  QString url;          // as written, references decoded and spaces trimmed
  qsizetype start = 0;  // the bytes of the address in the page (as written)
  qsizetype end = 0;
  int line = 1;  // where it starts, from 1 (the column in characters)
  int column = 1;
  QByteArray element;    // "a", "img", "style" (CSS)…
  QByteArray attribute;  // "href", "src", "srcset", "url" (CSS)…
};

// What a site check needs of a page: its links, its <base>, the fragments it offers and
// its image maps.
struct PageLinks {
  QList<PageLink> links;
  QList<PageLink> usemaps;  // usemap="#name" of pictures and objects
  QString base;             // the first <base href>, empty when none
  PageLink base_link;       // where that href stands
  // The byte ranges of script text and of attribute values that are not links: where a
  // name may stand that no link rewriting reaches.
  QList<std::pair<qsizetype, qsizetype>> code;
  QHash<QString, int> ids;  // each id (and <a name>) with how often it appears
  QSet<QString> maps;       // the names of the page's <map> elements
};

// Reads a page given as UTF-8 in one pass: href of a, area and link; src of img, script,
// iframe, frame, embed, source, track, audio, video and input; each srcset candidate;
// poster, action, object data, background; url() in style attributes and <style>.
PageLinks ReadPageLinks(QByteArrayView utf8);
