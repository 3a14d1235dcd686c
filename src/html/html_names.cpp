#include "html/html_names.h"

#include <QSet>
#include <algorithm>

namespace {

constexpr const char* kElements[] = {
    "a",       "abbr",     "address",    "area",       "article",  "aside",    "audio",    "b",
    "base",    "bdi",      "bdo",        "blockquote", "body",     "br",       "button",   "canvas",
    "caption", "cite",     "code",       "col",        "colgroup", "data",     "datalist", "dd",
    "del",     "details",  "dfn",        "dialog",     "div",      "dl",       "dt",       "em",
    "embed",   "fieldset", "figcaption", "figure",     "footer",   "form",     "h1",       "h2",
    "h3",      "h4",       "h5",         "h6",         "head",     "header",   "hgroup",   "hr",
    "html",    "i",        "iframe",     "img",        "input",    "ins",      "kbd",      "label",
    "legend",  "li",       "link",       "main",       "map",      "mark",     "menu",     "meta",
    "meter",   "nav",      "noscript",   "object",     "ol",       "optgroup", "option",   "output",
    "p",       "picture",  "pre",        "progress",   "q",        "rp",       "rt",       "ruby",
    "s",       "samp",     "script",     "search",     "section",  "select",   "slot",     "small",
    "source",  "span",     "strong",     "style",      "sub",      "summary",  "sup",      "table",
    "tbody",   "td",       "template",   "textarea",   "tfoot",    "th",       "thead",    "time",
    "title",   "tr",       "track",      "u",          "ul",       "var",      "video",    "wbr"};

constexpr const char* kGlobalAttributes[] = {
    "accesskey", "autofocus", "class",        "contenteditable",   "dir",         "draggable",
    "hidden",    "id",        "inert",        "inputmode",         "lang",        "onblur",
    "onchange",  "onclick",   "ondblclick",   "onfocus",           "oninput",     "onkeydown",
    "onkeyup",   "onload",    "onmousedown",  "onmouseout",        "onmouseover", "onmouseup",
    "onsubmit",  "popover",   "role",         "spellcheck",        "style",       "tabindex",
    "title",     "translate", "enterkeyhint", "autocapitalize",    "autocorrect", "nonce",
    "is",        "itemprop",  "itemscope",    "itemtype",          "itemid",      "itemref",
    "part",      "slot",      "exportparts",  "writingsuggestions"};

struct ElementAttributes {
  const char* element;
  const char* names;  // separated by spaces
};

constexpr ElementAttributes kAttributes[] = {
    {"a", "href target download rel hreflang type referrerpolicy ping name"},
    {"area", "alt coords shape href target download rel referrerpolicy"},
    {"audio", "src controls autoplay loop muted preload crossorigin"},
    {"base", "href target"},
    {"blockquote", "cite"},
    {"body", "bgcolor text link vlink alink background"},
    {"button", "type name value disabled form formaction formmethod popovertarget"},
    {"canvas", "width height"},
    {"col", "span width"},
    {"colgroup", "span"},
    {"del", "cite datetime"},
    {"details", "open name"},
    {"dialog", "open"},
    {"embed", "src type width height"},
    {"fieldset", "disabled form name"},
    {"font", "color face size"},
    {"form", "action method enctype target name autocomplete novalidate accept-charset"},
    {"hr", "align noshade size width"},
    {"html", "lang xmlns manifest"},
    {"iframe", "src srcdoc name width height allow allowfullscreen loading referrerpolicy sandbox"},
    {"img",
     "src alt width height srcset sizes loading decoding usemap ismap border align hspace "
     "vspace crossorigin referrerpolicy"},
    {"input",
     "type name value placeholder checked disabled readonly required size maxlength "
     "minlength min max step pattern list multiple accept autocomplete form src alt "
     "width height"},
    {"ins", "cite datetime"},
    {"label", "for"},
    {"li", "value type"},
    {"link", "rel href type media sizes hreflang crossorigin integrity as"},
    {"map", "name"},
    {"meta", "name content charset http-equiv"},
    {"meter", "value min max low high optimum"},
    {"object", "data type name width height form usemap"},
    {"ol", "start reversed type"},
    {"optgroup", "label disabled"},
    {"option", "value selected disabled label"},
    {"output", "for form name"},
    {"p", "align"},
    {"progress", "value max"},
    {"q", "cite"},
    {"script", "src type async defer crossorigin integrity nomodule referrerpolicy"},
    {"select", "name multiple size disabled required form autocomplete"},
    {"source", "src srcset type media sizes width height"},
    {"style", "media type"},
    {"table", "border cellpadding cellspacing width align bgcolor summary"},
    {"td", "colspan rowspan headers width height align valign bgcolor nowrap"},
    {"textarea",
     "name rows cols placeholder readonly disabled required maxlength minlength "
     "wrap form autocomplete"},
    {"th", "colspan rowspan headers scope abbr width align valign bgcolor"},
    {"time", "datetime"},
    {"tr", "align valign bgcolor"},
    {"track", "src kind srclang label default"},
    {"ul", "type"},
    {"video",
     "src controls autoplay loop muted poster preload width height playsinline "
     "crossorigin"},
};

constexpr const char* kCssProperties[] = {"align-content",
                                          "align-items",
                                          "align-self",
                                          "animation",
                                          "animation-delay",
                                          "animation-duration",
                                          "animation-name",
                                          "aspect-ratio",
                                          "background",
                                          "background-attachment",
                                          "background-color",
                                          "background-image",
                                          "background-position",
                                          "background-repeat",
                                          "background-size",
                                          "border",
                                          "border-bottom",
                                          "border-collapse",
                                          "border-color",
                                          "border-left",
                                          "border-radius",
                                          "border-right",
                                          "border-spacing",
                                          "border-style",
                                          "border-top",
                                          "border-width",
                                          "bottom",
                                          "box-shadow",
                                          "box-sizing",
                                          "caption-side",
                                          "clear",
                                          "clip-path",
                                          "color",
                                          "column-count",
                                          "column-gap",
                                          "columns",
                                          "content",
                                          "cursor",
                                          "direction",
                                          "display",
                                          "empty-cells",
                                          "filter",
                                          "flex",
                                          "flex-basis",
                                          "flex-direction",
                                          "flex-flow",
                                          "flex-grow",
                                          "flex-shrink",
                                          "flex-wrap",
                                          "float",
                                          "font",
                                          "font-family",
                                          "font-size",
                                          "font-style",
                                          "font-variant",
                                          "font-weight",
                                          "gap",
                                          "grid",
                                          "grid-area",
                                          "grid-column",
                                          "grid-gap",
                                          "grid-row",
                                          "grid-template",
                                          "grid-template-areas",
                                          "grid-template-columns",
                                          "grid-template-rows",
                                          "height",
                                          "hyphens",
                                          "inset",
                                          "justify-content",
                                          "justify-items",
                                          "justify-self",
                                          "left",
                                          "letter-spacing",
                                          "line-height",
                                          "list-style",
                                          "list-style-image",
                                          "list-style-position",
                                          "list-style-type",
                                          "margin",
                                          "margin-bottom",
                                          "margin-left",
                                          "margin-right",
                                          "margin-top",
                                          "max-height",
                                          "max-width",
                                          "min-height",
                                          "min-width",
                                          "object-fit",
                                          "object-position",
                                          "opacity",
                                          "order",
                                          "outline",
                                          "outline-color",
                                          "outline-offset",
                                          "outline-style",
                                          "outline-width",
                                          "overflow",
                                          "overflow-wrap",
                                          "overflow-x",
                                          "overflow-y",
                                          "padding",
                                          "padding-bottom",
                                          "padding-left",
                                          "padding-right",
                                          "padding-top",
                                          "page-break-after",
                                          "page-break-before",
                                          "place-items",
                                          "pointer-events",
                                          "position",
                                          "quotes",
                                          "resize",
                                          "right",
                                          "row-gap",
                                          "scroll-behavior",
                                          "table-layout",
                                          "text-align",
                                          "text-decoration",
                                          "text-indent",
                                          "text-overflow",
                                          "text-shadow",
                                          "text-transform",
                                          "top",
                                          "transform",
                                          "transform-origin",
                                          "transition",
                                          "unicode-bidi",
                                          "user-select",
                                          "vertical-align",
                                          "visibility",
                                          "white-space",
                                          "width",
                                          "word-break",
                                          "word-spacing",
                                          "word-wrap",
                                          "writing-mode",
                                          "z-index"};

QStringList Sorted(QSet<QString> names) {
  QStringList list(names.begin(), names.end());
  std::sort(list.begin(), list.end());
  return list;
}

}  // namespace

QStringList CompletionNames(const CompletionContext& context, const QStringList& more_elements) {
  QSet<QString> names;
  switch (context.kind) {
    case CompletionKind::kNone:
      break;
    case CompletionKind::kElement:
      for (const char* name : kElements) names.insert(QString::fromLatin1(name));
      for (const QString& name : more_elements) names.insert(name);
      break;
    case CompletionKind::kAttribute:
      for (const char* name : kGlobalAttributes) names.insert(QString::fromLatin1(name));
      for (const ElementAttributes& row : kAttributes) {
        if (context.element != row.element) continue;
        for (const QString& name : QString::fromLatin1(row.names).split(u' ')) names.insert(name);
      }
      break;
    case CompletionKind::kCssProperty:
      for (const char* name : kCssProperties) names.insert(QString::fromLatin1(name));
      break;
  }
  return Sorted(std::move(names));
}
