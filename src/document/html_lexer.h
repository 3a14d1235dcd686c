#pragma once

#include <QList>
#include <QStringView>

// The parts of an HTML line the editor colours. The state carries what a line leaves open
// into the next: a comment, a tag, or a quoted value inside a tag.
enum class HtmlPart { kTag, kAttribute, kValue, kComment, kEntity, kMarker };

struct HtmlSpan {
  qsizetype start;
  qsizetype length;
  HtmlPart part;
  friend bool operator==(const HtmlSpan&, const HtmlSpan&) = default;
};

enum HtmlState : int {
  kInText = 0,
  kInComment = 1,
  kInTag = 2,
  kInDoubleQuoted = 3,
  kInSingleQuoted = 4,
};

struct HtmlLine {
  QList<HtmlSpan> spans;
  int end_state = kInText;
};

// One pass over the line; linear in its length.
HtmlLine LexHtmlLine(QStringView line, int start_state);
