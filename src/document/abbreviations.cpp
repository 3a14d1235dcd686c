#include "document/abbreviations.h"

#include <QFile>
#include <QJSEngine>
#include <QJSValue>
#include <QLoggingCategory>
#include <QRegularExpression>

#include "html/html_names.h"

namespace {

// What Qt's engine lacks of what the library calls, added before it loads.
constexpr char kPolyfills[] = R"(
if (!String.prototype.trimLeft) String.prototype.trimLeft = String.prototype.trimStart ||
    function () { return this.replace(/^\s+/, ''); };
if (!String.prototype.trimRight) String.prototype.trimRight = String.prototype.trimEnd ||
    function () { return this.replace(/\s+$/, ''); };
if (!String.prototype.trimStart) String.prototype.trimStart = String.prototype.trimLeft;
if (!String.prototype.trimEnd) String.prototype.trimEnd = String.prototype.trimRight;
if (!Object.fromEntries) Object.fromEntries = function (entries) {
  const object = {};
  for (const [key, value] of entries) object[key] = value;
  return object;
};
)";

// The calls the editor makes. A field (a tab stop) is written between private-use
// characters so that none of the library's placeholder syntax reaches the page.
constexpr char kGlue[] = R"(
var bm = {
  expand: function (abbreviation, syntax, step, base, charset, lang, wrapped, inline) {
    var css = syntax === 'css';
    var config = {
      type: css ? 'stylesheet' : 'markup',
      syntax: syntax,
      options: {
        'output.indent': step,
        'output.baseIndent': base,
        'output.newline': '\n',
        'output.field': function (index, placeholder) {
          return '\uE000' + index + '\uE002' + placeholder + '\uE001';
        },
        'output.selfClosingStyle': syntax === 'xhtml' ? 'xhtml' : 'html',
        'stylesheet.between': ': ',
        'stylesheet.after': ';'
      },
      variables: { charset: charset, lang: lang, locale: lang }
    };
    if (wrapped.length > 0) config.text = wrapped;
    try {
      var result = emmet.default(abbreviation, config);
      return inline ? result.replace(/\n\s*/g, ' ') : result;
    } catch (error) {
      return null;
    }
  },
  extract: function (line, syntax) {
    var found = emmet.extract(line, line.length,
                              { type: syntax === 'css' ? 'stylesheet' : 'markup', lookAhead: false });
    return found ? [found.abbreviation, found.start] : null;
  },
  snippet: function (name, syntax) {
    var config = emmet.resolveConfig({ type: syntax === 'css' ? 'stylesheet' : 'markup',
                                       syntax: syntax });
    return Object.prototype.hasOwnProperty.call(config.snippets, name);
  }
};
)";

// The script compiler's remarks on the library's own code are no concern of the user's.
QLoggingCategory::CategoryFilter previous_filter = nullptr;
void QuietCompiler(QLoggingCategory* category) {
  if (qstrcmp(category->categoryName(), "qt.qml.compiler") == 0) {
    category->setEnabled(QtWarningMsg, false);
    category->setEnabled(QtInfoMsg, false);
    category->setEnabled(QtDebugMsg, false);
    return;
  }
  if (previous_filter != nullptr) previous_filter(category);
}

QString SyntaxName(AbbreviationSyntax syntax) {
  switch (syntax) {
    case AbbreviationSyntax::kXhtml:
      return QStringLiteral("xhtml");
    case AbbreviationSyntax::kCss:
      return QStringLiteral("css");
    case AbbreviationSyntax::kHtml:
      break;
  }
  return QStringLiteral("html");
}

// The text with its field marks taken out, and where each field stands, in field order.
Expansion WithoutFields(const QString& marked) {
  struct Field {
    int index;
    TabStop stop;
  };
  QList<Field> fields;
  Expansion expansion;
  expansion.text.reserve(marked.size());
  for (qsizetype i = 0; i < marked.size(); ++i) {
    if (marked[i] != QChar(0xE000)) {
      expansion.text += marked[i];
      continue;
    }
    const qsizetype split = marked.indexOf(QChar(0xE002), i);
    const qsizetype end = marked.indexOf(QChar(0xE001), split);
    if (split < 0 || end < 0) break;
    const int index = marked.sliced(i + 1, split - i - 1).toInt();
    const QString placeholder = marked.sliced(split + 1, end - split - 1);
    fields.append(Field{index, TabStop{expansion.text.size(), placeholder.size()}});
    expansion.text += placeholder;
    i = end;
  }
  // The library numbers its fields; the same number is one place (the first is kept).
  std::stable_sort(fields.begin(), fields.end(),
                   [](const Field& a, const Field& b) { return a.index < b.index; });
  int last = -1;
  for (const Field& field : fields) {
    if (field.index == last && field.index != 0) continue;
    last = field.index;
    expansion.stops.append(field.stop);
  }
  return expansion;
}

}  // namespace

AbbreviationEngine::AbbreviationEngine(QString library_path)
    : library_path_(std::move(library_path)) {}

AbbreviationEngine::~AbbreviationEngine() = default;

bool AbbreviationEngine::Ready(QString* error) {
  if (!tried_) {
    tried_ = true;
    QFile file(library_path_);
    if (!file.open(QIODevice::ReadOnly)) {
      load_error_ = QStringLiteral("%1: %2").arg(library_path_, file.errorString());
    } else {
      static const bool quiet = [] {
        previous_filter = QLoggingCategory::installFilter(&QuietCompiler);
        return true;
      }();
      Q_UNUSED(quiet);
      auto engine = std::make_unique<QJSEngine>();
      engine->installExtensions(QJSEngine::ConsoleExtension);
      const QString source =
          QStringLiteral(
              "%1\nvar emmet = (function (exports) {\n%2\n"
              "return exports; })({});\n%3")
              .arg(QString::fromLatin1(kPolyfills), QString::fromUtf8(file.readAll()),
                   QString::fromLatin1(kGlue));
      const QJSValue result = engine->evaluate(source, library_path_);
      if (result.isError()) {
        load_error_ = QStringLiteral("%1: %2").arg(library_path_, result.toString());
      } else {
        engine_ = std::move(engine);
      }
    }
  }
  if (error != nullptr) *error = load_error_;
  return engine_ != nullptr;
}

std::optional<ExtractedAbbreviation> AbbreviationEngine::Extract(const QString& text,
                                                                 AbbreviationSyntax syntax) {
  if (!Ready()) return std::nullopt;
  const QJSValue found = engine_->globalObject()
                             .property(QStringLiteral("bm"))
                             .property(QStringLiteral("extract"))
                             .call({QJSValue(text), QJSValue(SyntaxName(syntax))});
  if (!found.isArray()) return std::nullopt;
  return ExtractedAbbreviation{found.property(0).toString(), found.property(1).toInt()};
}

std::optional<Expansion> AbbreviationEngine::Expand(const QString& abbreviation,
                                                    const AbbreviationStyle& style,
                                                    const QStringList& wrapped) {
  if (!Ready() || abbreviation.trimmed().isEmpty()) return std::nullopt;
  QJSValue lines = engine_->newArray(quint32(wrapped.size()));
  for (qsizetype i = 0; i < wrapped.size(); ++i) lines.setProperty(quint32(i), wrapped[i]);
  const QJSValue result =
      engine_->globalObject()
          .property(QStringLiteral("bm"))
          .property(QStringLiteral("expand"))
          .call({QJSValue(abbreviation), QJSValue(SyntaxName(style.syntax)),
                 QJSValue(style.indent_step), QJSValue(style.base_indent), QJSValue(style.charset),
                 QJSValue(style.lang), lines, QJSValue(style.inline_css)});
  if (!result.isString() || result.toString().isEmpty()) return std::nullopt;
  return WithoutFields(result.toString());
}

bool AbbreviationEngine::ExpandsOnTab(const QString& abbreviation, AbbreviationSyntax syntax) {
  if (abbreviation.isEmpty() || !Ready()) return false;
  // The end of a sentence, a comment's end or a word cut at a hyphen is prose.
  const QChar last = abbreviation.back();
  if (last == u'.' || last == u'-' || last == u'>' || last == u',' || last == u':') return false;
  if (syntax == AbbreviationSyntax::kCss) return true;
  if (HasAbbreviationSyntax(abbreviation)) return true;
  // A bare word: an element or snippet name as written in markup (lower case); "Table"
  // beginning a sentence is prose.
  static const QStringList kElements =
      CompletionNames(CompletionContext{.kind = CompletionKind::kElement});
  if (kElements.contains(abbreviation)) return true;
  return engine_->globalObject()
      .property(QStringLiteral("bm"))
      .property(QStringLiteral("snippet"))
      .call({QJSValue(abbreviation), QJSValue(SyntaxName(syntax))})
      .toBool();
}

bool HasAbbreviationSyntax(const QString& abbreviation) {
  static const QRegularExpression kSyntax(QStringLiteral("[>+^*.#\\[{($!]"));
  return kSyntax.match(abbreviation).hasMatch();
}

bool IsXhtml(QByteArrayView page_start) {
  const QByteArrayView head = page_start.first(std::min<qsizetype>(page_start.size(), 4096));
  return head.toByteArray().toLower().contains("xhtml") || head.indexOf("xmlns=") >= 0;
}

std::optional<AbbreviationSyntax> AbbreviationSyntaxAt(QByteArrayView before, bool xhtml) {
  const QByteArray text = before.toByteArray().toLower();
  const auto last = [&text](const char* what) { return text.lastIndexOf(what); };
  // Inside a comment, a script or a style element's text.
  if (last("<!--") > last("-->")) return std::nullopt;
  if (last("<script") > last("</script")) {
    // Still inside the script's start tag is a tag like any other: nothing.
    return std::nullopt;
  }
  const qsizetype open = last("<");
  const qsizetype close = last(">");
  if (last("<style") > last("</style") && close > last("<style")) return AbbreviationSyntax::kCss;
  if (open > close) {
    // Inside a tag: only a style attribute's value still open.
    const QByteArray tag = text.sliced(open);
    for (const char* quote : {"style=\"", "style='"}) {
      const qsizetype at = tag.lastIndexOf(quote);
      if (at >= 0 && tag.indexOf(quote[6], at + 7) < 0) return AbbreviationSyntax::kCss;
    }
    return std::nullopt;
  }
  return xhtml ? AbbreviationSyntax::kXhtml : AbbreviationSyntax::kHtml;
}
