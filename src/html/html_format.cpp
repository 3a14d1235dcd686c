#include "html/html_format.h"

#include <QHash>
#include <QList>
#include <algorithm>

#include "html/html_names.h"  // IWYU pragma: keep
#include "html/html_structure.h"
#include "html/html_tokens.h"

namespace {

// The elements a browser lays out as blocks (the standard's rendering section); anything
// else, unknown elements included, is taken as inline.
bool IsBlock(QByteArrayView name) {
  static constexpr QByteArrayView kBlocks[] = {
      "address", "article",  "aside",    "blockquote", "body",   "caption", "center",
      "col",     "colgroup", "dd",       "details",    "dialog", "dir",     "div",
      "dl",      "dt",       "fieldset", "figcaption", "figure", "footer",  "form",
      "frame",   "frameset", "h1",       "h2",         "h3",     "h4",      "h5",
      "h6",      "head",     "header",   "hgroup",     "hr",     "html",    "legend",
      "li",      "link",     "main",     "menu",       "meta",   "nav",     "noframes",
      "ol",      "optgroup", "option",   "p",          "pre",    "script",  "search",
      "section", "style",    "summary",  "table",      "tbody",  "td",      "template",
      "tfoot",   "th",       "thead",    "title",      "tr",     "ul",      "base",
      "noscript"};
  return std::find(std::begin(kBlocks), std::end(kBlocks), name) != std::end(kBlocks);
}

// Elements whose whole markup, start tag to end tag, is kept as it stands.
bool IsKeptWhole(QByteArrayView name) {
  return name == "pre" || name == "script" || name == "style" || name == "title" ||
         name == "textarea";
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

QByteArrayView Trimmed(QByteArrayView bytes) {
  qsizetype from = 0;
  qsizetype to = bytes.size();
  while (from < to && IsSpace(bytes[from])) ++from;
  while (to > from && IsSpace(bytes[to - 1])) --to;
  return bytes.sliced(from, to - from);
}

struct Item {
  enum class Kind { kOpen, kClose, kLone, kInline };
  Kind kind;
  QByteArray name;
  QByteArrayView bytes;
};

// Where the end tag of a kept-whole element ends, or -1 when it has none.
qsizetype EndOfKept(QByteArrayView text, QByteArrayView name, qsizetype from) {
  for (qsizetype close = text.indexOf("</", from); close >= 0;
       close = text.indexOf("</", close + 2)) {
    const qsizetype after = close + 2 + name.size();
    if (after > text.size()) return -1;
    const QByteArrayView found = text.sliced(close + 2, name.size());
    // Tags are ASCII: compared without case, byte by byte.
    const bool same = std::equal(found.begin(), found.end(), name.begin(), [](char a, char b) {
      return (a >= 'A' && a <= 'Z' ? char(a + 32) : a) == b;
    });
    if (!same || (after < text.size() && !IsSpace(text[after]) && text[after] != '>')) continue;
    const qsizetype end = FindByte(text, '>', after);
    return end < 0 ? -1 : end + 1;
  }
  return -1;
}

}  // namespace

int MostCommonIndentStep(const QList<int>& widths) {
  QHash<int, int> steps;
  int previous = 0;
  for (const int width : widths) {
    if (width > previous) ++steps[width - previous];
    previous = width;
  }
  int best = 2;
  int seen = 0;
  for (auto it = steps.constBegin(); it != steps.constEnd(); ++it) {
    if (it.value() > seen || (it.value() == seen && it.key() < best)) {
      best = it.key();
      seen = it.value();
    }
  }
  return best;
}

QByteArray IndentStepOf(QByteArrayView text) {
  QList<int> widths;
  int lines = 0;
  // Lines end at CR or LF: a CR LF gives an empty line between, which counts for nothing.
  for (qsizetype at = 0; at < text.size() && lines < 2000; ++lines) {
    qsizetype end = at;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    const QByteArrayView line = text.sliced(at, end - at);
    at = end + 1;
    if (line.startsWith('\t')) return "\t";
    if (Trimmed(line).isEmpty()) continue;
    int width = 0;
    while (width < line.size() && line[width] == ' ') ++width;
    widths.append(width);
  }
  return QByteArray(std::min(MostCommonIndentStep(widths), 8), ' ');
}

namespace {

// The page as items; nothing, with problem set, when it cannot be laid out safely.
std::optional<QList<Item>> ItemsOf(QByteArrayView text, QString* problem) {
  QList<Item> items;
  HtmlTokenizer tokenizer(text);
  HtmlToken token;
  qsizetype kept_until = 0;  // bytes taken whole already
  while (tokenizer.Next(token)) {
    if (token.start < kept_until) continue;
    const QByteArrayView bytes = text.sliced(token.start, token.end - token.start);
    switch (token.kind) {
      case HtmlToken::Kind::kText:
        // A '<' that starts no tag: a browser reads it as text, but the page likely lost a
        // tag there, and its layout cannot be trusted. Template markers are text by design.
        for (qsizetype at = FindByte(bytes, '<', 0); at >= 0; at = FindByte(bytes, '<', at + 1)) {
          if (!bytes.sliced(at).startsWith("<,,")) {
            *problem =
                QStringLiteral("a '<' in the text at byte %1 starts no tag").arg(token.start + at);
            return std::nullopt;
          }
        }
        items.append({Item::Kind::kInline, {}, bytes});
        break;
      case HtmlToken::Kind::kComment:
        items.append({Item::Kind::kInline, {}, bytes});
        break;
      case HtmlToken::Kind::kOther:
        items.append({Item::Kind::kLone, {}, bytes});
        break;
      case HtmlToken::Kind::kStartTag:
        if (IsKeptWhole(token.name) && !token.self_closing) {
          const qsizetype end = EndOfKept(text, token.name, token.end);
          if (end < 0) {
            *problem = QStringLiteral("<%1> is never closed").arg(QString::fromUtf8(token.name));
            return std::nullopt;
          }
          kept_until = end;
          items.append({IsBlock(token.name) ? Item::Kind::kLone : Item::Kind::kInline, token.name,
                        text.sliced(token.start, end - token.start)});
        } else if (!IsBlock(token.name)) {
          items.append({Item::Kind::kInline, {}, bytes});
        } else if (token.self_closing || IsVoidElement(token.name)) {
          items.append({Item::Kind::kLone, token.name, bytes});
        } else {
          items.append({Item::Kind::kOpen, token.name, bytes});
        }
        break;
      case HtmlToken::Kind::kEndTag:
        items.append(
            {IsBlock(token.name) ? Item::Kind::kClose : Item::Kind::kInline, token.name, bytes});
        break;
    }
  }
  return items;
}

// Writes items one block per line, indented by the blocks open.
class Layout {
 public:
  // base stands before every line's indentation (a part of a page keeps its own).
  Layout(const QList<Item>& items, QByteArray step, QByteArrayView line_break,
         QByteArrayView base = {})
      : items_(items), step_(std::move(step)), line_break_(line_break), base_(base) {}

  QByteArray Write(qsizetype size_hint) {
    out_.reserve(size_hint + size_hint / 8);
    for (qsizetype i = 0; i < items_.size();) i = WriteItem(i);
    return out_;
  }

 private:
  void Line(const QByteArray& bytes) {
    if (!out_.isEmpty()) out_ += line_break_;
    out_ += base_;
    for (qsizetype i = 0; i < open_.size(); ++i) out_ += step_;
    out_ += bytes;
  }
  // The inline run starting at items[i]: its bytes as written, and the item after it.
  QByteArray RunAt(qsizetype i, qsizetype* after) const {
    QByteArray run;
    for (; i < items_.size() && items_[i].kind == Item::Kind::kInline; ++i) run += items_[i].bytes;
    *after = i;
    return run;
  }
  // Writes items[i] (an inline run from there, or a block with its inline content) and
  // returns the item after what it wrote.
  qsizetype WriteItem(qsizetype i) {
    const Item& item = items_[i];
    qsizetype after = i + 1;
    switch (item.kind) {
      case Item::Kind::kInline:
        if (const QByteArray run = RunAt(i, &after); !Trimmed(run).isEmpty()) {
          Line(Trimmed(run).toByteArray());
        }
        return after;
      case Item::Kind::kLone:
        Line(item.bytes.toByteArray());
        return after;
      case Item::Kind::kOpen: {
        if (ClosesItsKind(item.name) && !open_.isEmpty() && open_.last() == item.name) {
          open_.removeLast();
        }
        // A block of inline content alone stays on one line with its end tag.
        const QByteArray run = RunAt(i + 1, &after);
        if (after < items_.size() && items_[after].kind == Item::Kind::kClose &&
            items_[after].name == item.name) {
          Line(item.bytes.toByteArray() + Trimmed(run).toByteArray() +
               items_[after].bytes.toByteArray());
          return after + 1;
        }
        Line(item.bytes.toByteArray());
        open_.append(item.name);
        return i + 1;
      }
      case Item::Kind::kClose:
        if (const qsizetype at = open_.lastIndexOf(item.name); at >= 0) {
          open_.resize(at);  // what it encloses closes with it
        }
        Line(item.bytes.toByteArray());
        return after;
    }
    return after;
  }

  const QList<Item>& items_;
  const QByteArray step_;
  const QByteArrayView line_break_;
  const QByteArrayView base_;
  QByteArray out_;
  QList<QByteArray> open_;  // the blocks open, for the depth
};

}  // namespace

FormatOutcome FormatHtml(QByteArrayView text, QByteArrayView line_break) {
  FormatOutcome outcome{text.toByteArray(), QString()};
  const std::optional<QList<Item>> items = ItemsOf(text, &outcome.problem);
  if (!items) return outcome;
  outcome.bytes = Layout(*items, IndentStepOf(text), line_break).Write(text.size());
  if (!text.isEmpty() && (text.endsWith('\n') || text.endsWith('\r'))) outcome.bytes += line_break;
  return outcome;
}

FormatOutcome FormatHtmlPart(QByteArrayView part, QByteArrayView line_break, QByteArrayView step,
                             QByteArrayView base) {
  FormatOutcome outcome{part.toByteArray(), QString()};
  const std::optional<QList<Item>> items = ItemsOf(part, &outcome.problem);
  if (!items) return outcome;
  outcome.bytes = Layout(*items, step.toByteArray(), line_break, base).Write(part.size());
  return outcome;
}
