#include "html/html_check.h"

#include <tidy.h>
#include <tidybuffio.h>

#include <QRegularExpression>
#include <QSet>
#include <algorithm>

#include "html/html_names.h"
#include "html/html_tokens.h"

namespace {

// Elements the checker's tables predate; custom elements (with a '-') pass as block elements.
constexpr const char* kNewElements = "search,dialog,template,slot,picture,main,data";

// Template content is a fragment of its own (rows without a table, for one): blanked with
// spaces, line breaks kept, so positions after it stay true. Tags are ASCII, so the bytes
// are searched directly.
QByteArray WithoutTemplateContent(QByteArrayView utf8) {
  QByteArray text(utf8.data(), utf8.size());
  const QByteArray lower = text.toLower();
  qsizetype from = 0;
  for (;;) {
    const qsizetype open = lower.indexOf("<template", from);
    if (open < 0) break;
    const qsizetype content = lower.indexOf('>', open);
    if (content < 0) break;
    const qsizetype close = lower.indexOf("</template", content);
    const qsizetype end = close < 0 ? text.size() : close;
    for (qsizetype i = content + 1; i < end; ++i) {
      if (text[i] != '\n' && text[i] != '\r') text[i] = ' ';
    }
    from = end;
  }
  return text;
}

// The checker compares every attribute of a tag with every other: a tag with thousands of
// them (a generated or damaged page) would hold a check for minutes. Beyond this many, the
// attributes are blanked out of its copy, and what they repeat is told here.
constexpr qsizetype kAttributesChecked = 100;

void LimitAttributes(QByteArray& text, QList<Problem>& problems) {
  HtmlTokenizer tokenizer(text);
  HtmlToken token;
  PositionCounter positions(text);
  QList<std::pair<qsizetype, qsizetype>> blanks;
  while (tokenizer.Next(token)) {
    if (token.kind != HtmlToken::Kind::kStartTag || token.attributes.size() <= kAttributesChecked) {
      continue;
    }
    QSet<QByteArray> seen;
    qsizetype repeated = 0;
    for (qsizetype i = 0; i < token.attributes.size(); ++i) {
      const HtmlAttribute& attribute = token.attributes[i];
      if (seen.contains(attribute.name)) {
        ++repeated;
      } else {
        seen.insert(attribute.name);
      }
      if (i < kAttributesChecked) continue;
      qsizetype end = attribute.name_start + attribute.name.size();
      if (attribute.HasValue()) {
        end = attribute.value_end;
        if (end < text.size() && attribute.value_start > 0 &&
            (text[attribute.value_start - 1] == '"' || text[attribute.value_start - 1] == '\'')) {
          ++end;  // the closing quote
        }
      }
      blanks.append({attribute.name_start, std::min(end, token.end - 1)});
    }
    const PositionCounter::Position at = positions.At(token.start);
    Problem problem;
    problem.line = at.line;
    problem.column = at.column;
    problem.severity = repeated > 0 ? Severity::kError : Severity::kWarning;
    problem.source = ProblemSource::kHtml;
    problem.kind = QStringLiteral("many-attributes");
    problem.message =
        QStringLiteral("<%1> has %2 attributes%3; only the first %4 were checked")
            .arg(QString::fromUtf8(token.name))
            .arg(token.attributes.size())
            .arg(repeated > 0 ? QStringLiteral(", %1 of them repeated").arg(repeated) : QString())
            .arg(kAttributesChecked);
    problems.append(problem);
  }
  for (const auto& [from, to] : std::as_const(blanks)) {
    for (qsizetype i = from; i < to; ++i) {
      if (text[i] != '\n' && text[i] != '\r') text[i] = ' ';
    }
  }
}

// The checker keeps a piece of a "<?xml" that runs to the end of the page and never frees it:
// the editor checks after every pause, so a long session would grow. Such an instruction
// can only be the page's last thing; it is ended in the copy the checker reads, and told here.
void EndProcessingInstruction(QByteArray& text, QList<Problem>& problems) {
  const qsizetype open = text.lastIndexOf("<?");
  if (open < 0 || text.indexOf('>', open) >= 0) return;
  PositionCounter positions(text);
  const PositionCounter::Position at = positions.At(open);
  Problem problem;
  problem.line = at.line;
  problem.column = at.column;
  problem.severity = Severity::kError;
  problem.source = ProblemSource::kHtml;
  problem.kind = QStringLiteral("unended-instruction");
  problem.message = QStringLiteral("<? is never ended with ?>: the rest of the page is lost in it");
  problems.append(problem);
  text.append("?>");
}

bool KnownElement(const QString& name) {
  if (name.contains(u'-')) return true;
  static const QStringList elements = CompletionNames({CompletionKind::kElement, {}, -1});
  return std::binary_search(elements.begin(), elements.end(), name);
}

bool KnownAttribute(const QString& element, const QString& name) {
  if (name.startsWith(u"data-") || name.startsWith(u"aria-") || name.startsWith(u"on")) {
    return true;
  }
  const QStringList names = CompletionNames({CompletionKind::kAttribute, element.toLatin1(), -1});
  return std::binary_search(names.begin(), names.end(), name);
}

// What the checker says of a page that is valid HTML5, and what is only a note.
std::optional<Severity> Keep(const QString& key, const QString& message, Severity severity) {
  static const QRegularExpression element(QStringLiteral("<([A-Za-z][\\w-]*)>"));
  static const QRegularExpression attribute(QStringLiteral("\"([^\"]+)\""));
  const QString name = element.match(message).captured(1).toLower();
  if (key == u"PROPRIETARY_ATTRIBUTE") {
    const QString attribute_name = attribute.match(message).captured(1).toLower();
    if (KnownAttribute(name, attribute_name)) return std::nullopt;
  }
  if ((key == u"PROPRIETARY_ELEMENT" || key == u"UNKNOWN_ELEMENT" ||
       key == u"UNKNOWN_ELEMENT_LOOKS_CUSTOM") &&
      KnownElement(name)) {
    return std::nullopt;
  }
  // The repairs the checker would make after a missing end tag repeat the one fault.
  if (key == u"INSERTING_TAG" && message.contains(u"implicit")) return std::nullopt;
  // Markup HTML5 dropped, which old pages and the generators still write, is worth a note.
  if (key == u"REMOVED_HTML5" || key == u"MISMATCHED_ATTRIBUTE_WARN") return Severity::kNote;
  // What makes a page non-conforming, as the standard's validator reports it, is an error:
  // unclosed and misnested elements, a repeated id or attribute, a picture without alt,
  // unknown elements, bad character references. The rest is advice.
  static const QSet<QString> kNonConforming = {
      QStringLiteral("MISSING_ENDTAG_FOR"),     QStringLiteral("MISSING_ENDTAG_BEFORE"),
      QStringLiteral("NON_MATCHING_ENDTAG"),    QStringLiteral("UNEXPECTED_ENDTAG"),
      QStringLiteral("UNEXPECTED_ENDTAG_IN"),   QStringLiteral("UNEXPECTED_ENDTAG_ERR"),
      QStringLiteral("DISCARDING_UNEXPECTED"),  QStringLiteral("REPLACING_UNEX_ELEMENT"),
      QStringLiteral("CANT_BE_NESTED"),         QStringLiteral("ILLEGAL_NESTING"),
      QStringLiteral("TAG_NOT_ALLOWED_IN"),     QStringLiteral("ANCHOR_NOT_UNIQUE"),
      QStringLiteral("REPEATED_ATTRIBUTE"),     QStringLiteral("UNKNOWN_ELEMENT"),
      QStringLiteral("PROPRIETARY_ELEMENT"),    QStringLiteral("UNKNOWN_ELEMENT_LOOKS_CUSTOM"),
      QStringLiteral("UNKNOWN_ENTITY"),         QStringLiteral("MISSING_SEMICOLON"),
      QStringLiteral("MISSING_SEMICOLON_NCR"),  QStringLiteral("INVALID_NCR"),
      QStringLiteral("UNEXPECTED_END_OF_FILE"), QStringLiteral("MISSING_QUOTEMARK"),
      QStringLiteral("IMG_MISSING_ALT"),        QStringLiteral("MISSING_TITLE_ELEMENT"),
      QStringLiteral("PROPRIETARY_ATTRIBUTE")};
  if (kNonConforming.contains(key)) return Severity::kError;
  if (key == u"MISSING_ATTRIBUTE" && name == u"img" && message.contains(u"\"alt\"")) {
    return Severity::kError;
  }
  return severity;
}

// The checker's message in plain words: its advice on its own options ("fix-style-tags: no
// to avoid") means nothing to someone who writes pages.
QString PlainMessage(const QString& key, const QString& message) {
  if (key == u"MOVED_STYLE_TO_HEAD" || key == u"FOUND_STYLE_IN_BODY") {
    return QStringLiteral("<style> in <body>: style sheets belong in <head>");
  }
  if (key == u"XML_DECLARATION_DETECTED") {
    return QStringLiteral("an XML declaration: HTML pages need none, and old browsers show it");
  }
  if (key == u"PROPRIETARY_ELEMENT") {
    return message.section(u' ', 0, 0) + QStringLiteral(" is not an element of HTML");
  }
  if (key == u"PROPRIETARY_ATTRIBUTE") {
    return message.section(u' ', 0, 0) + QStringLiteral(" has an attribute HTML does not know: ") +
           message.section(u' ', -1);
  }
  static const QRegularExpression option(
      QStringLiteral("[;!.,]?\\s*[a-z]+(-[a-z]+)+: (yes|no|auto) to avoid\\.?"));
  QString plain = message;
  plain.remove(option);
  return plain.trimmed();
}

struct Collected {
  QList<Problem> problems;
};

Bool OnMessage(TidyMessage message) {
  TidyDoc doc = tidyGetMessageDoc(message);
  auto* collected = static_cast<Collected*>(tidyGetAppData(doc));
  const TidyReportLevel level = tidyGetMessageLevel(message);
  Severity severity;
  switch (level) {
    case TidyError:
    case TidyBadDocument:
    case TidyFatal:
      severity = Severity::kError;
      break;
    case TidyWarning:
      severity = Severity::kWarning;
      break;
    default:
      return no;  // information and the checker's own remarks
  }
  // The strings die with the message: copied here.
  const QString key = QString::fromUtf8(tidyGetMessageKey(message));
  const QString text = QString::fromUtf8(tidyGetMessage(message));
  if (const std::optional<Severity> kept = Keep(key, text, severity)) {
    Problem problem;
    problem.line = std::max(1, tidyGetMessageLine(message));
    problem.column = std::max(1, tidyGetMessageColumn(message));
    problem.severity = *kept;
    problem.source = ProblemSource::kHtml;
    problem.message = PlainMessage(key, text);
    problem.kind = key.toLower().replace(u'_', u'-');
    collected->problems.append(problem);
  }
  return no;
}

}  // namespace

QList<Problem> CheckHtml(QByteArrayView utf8) {
  Collected collected;
  TidyDoc doc = tidyCreate();
  tidySetAppData(doc, &collected);
  tidySetMessageCallback(doc, OnMessage);
  TidyBuffer sink;
  tidyBufInit(&sink);
  tidySetErrorBuffer(doc, &sink);  // the summary lines, which nobody reads
  tidyOptSetBool(doc, TidyQuiet, yes);
  tidyOptSetBool(doc, TidyShowWarnings, yes);
  tidyOptSetBool(doc, TidyDropEmptyElems, no);
  tidyOptSetBool(doc, TidyShowInfo, no);
  tidyOptSetInt(doc, TidyShowErrors, 1000);
  tidyOptSetInt(doc, TidyUseCustomTags, TidyCustomBlocklevel);
  tidyOptSetValue(doc, TidyBlockTags, kNewElements);
  tidyOptSetInt(doc, TidyTabSize, 1);
  tidySetInCharEncoding(doc, "utf8");
  QByteArray text = WithoutTemplateContent(utf8);  // and ends in a NUL
  LimitAttributes(text, collected.problems);
  EndProcessingInstruction(text, collected.problems);
  tidyParseString(doc, text.constData());
  // The element and attribute checks run with the repairs; the repaired page is never used.
  tidyCleanAndRepair(doc);
  tidyRunDiagnostics(doc);
  tidyBufFree(&sink);
  tidyRelease(doc);
  SortByPosition(collected.problems);
  return collected.problems;
}
