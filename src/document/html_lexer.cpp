#include "document/html_lexer.h"

namespace {

constexpr QStringView kMarker = u"<,,pattern,,>";

bool IsNameChar(QChar c) {
  return c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u':' || c == u'.';
}

}  // namespace

HtmlLine LexHtmlLine(QStringView line, int start_state) {
  HtmlLine out;
  const qsizetype n = line.size();
  qsizetype i = 0;
  int state = start_state;
  auto add = [&](qsizetype start, qsizetype end, HtmlPart part) {
    if (end > start) out.spans.append({start, end - start, part});
  };
  while (i < n) {
    switch (state) {
      case kInComment: {
        const qsizetype end = line.indexOf(u"-->", i);
        if (end < 0) {
          add(i, n, HtmlPart::kComment);
          i = n;
        } else {
          add(i, end + 3, HtmlPart::kComment);
          i = end + 3;
          state = kInText;
        }
        break;
      }
      case kInDoubleQuoted:
      case kInSingleQuoted: {
        const QChar quote = state == kInDoubleQuoted ? u'"' : u'\'';
        const qsizetype end = line.indexOf(quote, i);
        if (end < 0) {
          add(i, n, HtmlPart::kValue);
          i = n;
        } else {
          add(i, end + 1, HtmlPart::kValue);
          i = end + 1;
          state = kInTag;
        }
        break;
      }
      case kInTag: {
        const QChar c = line[i];
        if (c == u'>' || (c == u'/' && i + 1 < n && line[i + 1] == u'>')) {
          const qsizetype end = c == u'>' ? i + 1 : i + 2;
          add(i, end, HtmlPart::kTag);
          i = end;
          state = kInText;
        } else if (c == u'"' || c == u'\'') {
          state = c == u'"' ? kInDoubleQuoted : kInSingleQuoted;
          out.spans.append({i, 1, HtmlPart::kValue});
          ++i;
          // The opening quote joins the value span that follows.
          const qsizetype end = line.indexOf(c, i);
          if (end < 0) {
            out.spans.last().length = n - out.spans.last().start;
            i = n;
          } else {
            out.spans.last().length = end + 1 - out.spans.last().start;
            i = end + 1;
            state = kInTag;
          }
        } else if (c == u'=') {
          ++i;
          // An unquoted value runs to a space or the end of the tag.
          qsizetype start = i;
          while (start < n && line[start] == u' ') ++start;
          if (start < n && line[start] != u'"' && line[start] != u'\'' && line[start] != u'>') {
            qsizetype end = start;
            while (end < n && !line[end].isSpace() && line[end] != u'>') ++end;
            add(start, end, HtmlPart::kValue);
            i = end;
          }
        } else if (IsNameChar(c)) {
          const qsizetype start = i;
          while (i < n && IsNameChar(line[i])) ++i;
          add(start, i, HtmlPart::kAttribute);
        } else {
          ++i;
        }
        break;
      }
      default: {  // in text
        const QChar c = line[i];
        if (c == u'<') {
          if (line.sliced(i).startsWith(kMarker)) {
            add(i, i + kMarker.size(), HtmlPart::kMarker);
            i += kMarker.size();
          } else if (line.sliced(i).startsWith(u"<!--")) {
            const qsizetype end = line.indexOf(u"-->", i + 4);
            if (end < 0) {
              add(i, n, HtmlPart::kComment);
              state = kInComment;
              i = n;
            } else {
              add(i, end + 3, HtmlPart::kComment);
              i = end + 3;
            }
          } else if (i + 1 < n && (line[i + 1].isLetter() || line[i + 1] == u'/' ||
                                   line[i + 1] == u'!' || line[i + 1] == u'?')) {
            const qsizetype start = i;
            i += 2;
            while (i < n && IsNameChar(line[i])) ++i;
            add(start, i, HtmlPart::kTag);
            state = kInTag;
          } else {
            ++i;
          }
        } else if (c == u'&') {
          qsizetype end = i + 1;
          if (end < n && line[end] == u'#') ++end;
          while (end < n && line[end].isLetterOrNumber()) ++end;
          if (end > i + 1 && end < n && line[end] == u';') {
            add(i, end + 1, HtmlPart::kEntity);
            i = end + 1;
          } else {
            ++i;
          }
        } else {
          ++i;
        }
      }
    }
  }
  out.end_state = state;
  return out;
}
