#pragma once

#include <QByteArray>
#include <QStringList>
#include <optional>

// The element structure of a page as a code editor needs it: the tag at the caret, its
// partner, the innermost open element and what may be typed at a place. All of it works on
// the UTF-8 bytes the editor holds (tag and attribute names are ASCII), and scans only
// between the places it relates.

struct TagSpan {
  qsizetype start = -1;  // at '<'
  qsizetype end = -1;    // after '>' (the text's end for an unclosed tag)
  QByteArray name;       // in lower case
  bool closing = false;
  bool self_closing = false;
  qsizetype NameStart() const { return start + (closing ? 2 : 1); }
  friend bool operator==(const TagSpan&, const TagSpan&) = default;
};

// Elements that have no end tag.
bool IsVoidElement(QByteArrayView lower_name);
// Elements a browser closes when another of their kind opens.
bool ClosesItsKind(QByteArrayView lower_name);

// An element's bytes, from its start tag's '<' to after its end tag's '>'.
struct ElementSpan {
  qsizetype start = -1;
  qsizetype end = -1;
  friend bool operator==(const ElementSpan&, const ElementSpan&) = default;
};
// The innermost element that holds [from, to) and is larger than it: read once from the
// start of text to where that element ends. Nothing when no element holds it.
std::optional<ElementSpan> ElementAround(QByteArrayView text, qsizetype from, qsizetype to);
// The first element inside [from, to) that ends within it (inside the element, when the
// range is one element); nothing when none does.
std::optional<ElementSpan> FirstElementWithin(QByteArrayView text, qsizetype from, qsizetype to);

// The start or end tag the caret stands in: after its '<' and at most after its '>'.
std::optional<TagSpan> TagAt(QByteArrayView text, qsizetype caret);

// The end tag of a start tag, or the start tag of an end tag, counting nested elements of
// the same name; nothing for a void element or an unmatched tag.
std::optional<TagSpan> PartnerOf(QByteArrayView text, const TagSpan& tag);

// The name of the innermost element open at position (an end tag closes the nearest open
// element of its name and those opened inside it); empty when none is open.
QByteArray OpenElementBefore(QByteArrayView text, qsizetype position);
// The elements open at a point of a page, and where reading on from there resumes.
struct OpenElements {
  qsizetype resume = 0;
  QList<QByteArray> names;  // the innermost last
};
// The same, reading on from what from holds, which is then moved on as far as the page's
// text is settled: asked again further on in a page unchanged before from.resume, only the
// text between is read. from is read from the start when it stands past position.
QByteArray OpenElementBefore(QByteArrayView text, qsizetype position, OpenElements& from);

enum class CompletionKind { kNone, kElement, kAttribute, kCssProperty };
struct CompletionContext {
  CompletionKind kind = CompletionKind::kNone;
  QByteArray element;         // for attributes: the element whose start tag it is
  qsizetype word_start = -1;  // where the word being typed starts
};

// What is being typed at caret: an element name after '<', an attribute name inside a
// start tag, a property name inside style="…" or a <style> element.
CompletionContext CompletionContextAt(QByteArrayView text, qsizetype caret);
