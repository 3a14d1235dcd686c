#include "html/html_check.h"

#include <tidy.h>
#include <tidybuffio.h>

#include <QRegularExpression>
#include <QSet>
#include <algorithm>

#include "html/html_names.h"

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
  return severity;
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
    problem.message = text;
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
  const QByteArray text = WithoutTemplateContent(utf8);  // and ends in a NUL
  tidyParseString(doc, text.constData());
  // The element and attribute checks run with the repairs; the repaired page is never used.
  tidyCleanAndRepair(doc);
  tidyRunDiagnostics(doc);
  tidyBufFree(&sink);
  tidyRelease(doc);
  SortByPosition(collected.problems);
  return collected.problems;
}
