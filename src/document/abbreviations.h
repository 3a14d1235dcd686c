#pragma once

#include <QList>
#include <QString>
#include <memory>
#include <optional>

class QJSEngine;

// Where an abbreviation stands: HTML text (markup), or CSS (a style element's text or a
// style attribute's value).
enum class AbbreviationSyntax { kHtml, kXhtml, kCss };

// How an expansion is written so that it fits the page.
struct AbbreviationStyle {
  AbbreviationSyntax syntax = AbbreviationSyntax::kHtml;
  QString indent_step = QStringLiteral("\t");  // the page's own step
  QString base_indent;                         // the line's indentation
  QString charset = QStringLiteral("utf-8");   // of "!": the page's encoding
  QString lang = QStringLiteral("en");         // of "!": the interface's language
  bool inline_css = false;                     // a style attribute's value: one line
};

// A place the caret visits after an expansion: offset and length in the expansion's text
// (a default text, selected; or an empty place).
struct TabStop {
  qsizetype offset = 0;
  qsizetype length = 0;
  friend bool operator==(const TabStop&, const TabStop&) = default;
};

struct Expansion {
  QString text;  // lines joined by '\n', the first without base_indent
  QList<TabStop> stops;
};

// The abbreviation ending at the end of a text, as the library extracts it, and where it starts.
struct ExtractedAbbreviation {
  QString abbreviation;
  qsizetype start = 0;
};

// Abbreviations ("ul>li.item$*3", "m10") expanded by the Emmet library, run in a script
// engine of its own. The library file is read on first use, never before.
class AbbreviationEngine {
 public:
  explicit AbbreviationEngine(QString library_path);
  ~AbbreviationEngine();

  // Loads the library now if it is not yet; false, with the reason, when it cannot be.
  bool Ready(QString* error = nullptr);

  // The abbreviation that ends text (the text before the caret on its line).
  std::optional<ExtractedAbbreviation> Extract(const QString& text, AbbreviationSyntax syntax);
  // abbreviation expanded; wrapped, when given, goes inside it (each line for "li*").
  // Nothing when it is not an abbreviation the library can expand.
  std::optional<Expansion> Expand(const QString& abbreviation, const AbbreviationStyle& style,
                                  const QStringList& wrapped = {});
  // Whether Tab expands abbreviation: never prose, only Emmet syntax, a known element or
  // snippet name, or CSS in a style.
  bool ExpandsOnTab(const QString& abbreviation, AbbreviationSyntax syntax);

 private:
  const QString library_path_;
  std::unique_ptr<QJSEngine> engine_;
  QString load_error_;
  bool tried_ = false;
};

// Whether abbreviation uses the library's syntax (> + ^ * . # [ { ( $ !), not only a name.
bool HasAbbreviationSyntax(const QString& abbreviation);

// Where an abbreviation would be read, from the text before the caret (the last part of a
// page will do): markup, CSS, or nowhere (script, comments, other attribute values, inside
// a tag). xhtml: the page is XHTML.
std::optional<AbbreviationSyntax> AbbreviationSyntaxAt(QByteArrayView before, bool xhtml);
// Whether a page is XHTML: its doctype or an xmlns attribute says so.
bool IsXhtml(QByteArrayView page_start);
