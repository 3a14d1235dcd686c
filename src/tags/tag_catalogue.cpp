#include "tags/tag_catalogue.h"

#include <string_view>
#include <utility>

#include "names/texts.h"

namespace {

using enum TagKind;

// Shorthands for the rows: a tag pair whose open text and close name are the same.
constexpr TagCommand Pair(const char16_t* name, TagCaption caption, int depth, const char16_t* tag,
                          const char16_t* snippet) {
  return {name, caption, kWrapInsert, depth, tag, tag, snippet};
}
constexpr TagCommand Insert(const char16_t* name, TagCaption caption, int depth,
                            const char16_t* snippet) {
  return {name, caption, kInsert, depth, u"", u"", snippet};
}
constexpr TagCommand Menu(const char16_t* name, TagCaption caption, int depth) {
  return {name, caption, kSubmenu, depth, u"", u"", u""};
}
constexpr TagCommand Other(const char16_t* name, TagCaption caption, TagKind kind, int depth,
                           const char16_t* snippet = u"") {
  return {name, caption, kind, depth, u"", u"", snippet};
}

constexpr TagCommand kCatalogue[] = {
    Menu(u"N4", Text::kTagMain, 0),
    {u"N36", u"<a href=>", kWrapInsert, 1, u"a href=\"\"", u"a", u"<a href=\"\"></a>"},
    {u"ahrefmailto1", u"<a href=mailto: >", kWrapInsert, 1, u"a href=\"mailto:\"", u"a",
     u"<a href=\"mailto:\"></a>"},
    Pair(u"html1", u"<html>", 1, u"html", u"<html> </html>"),
    Pair(u"titletitle1", u"<title>", 1, u"title", u"<title> </title>"),
    Pair(u"head1", u"<head>", 1, u"head", u"<head> </head>"),
    Insert(u"body1", u"<body>", 1, u"<body text= bgcolor= link= alink= vlink= > </body>"),
    Insert(u"meta1", u"<meta>", 1, u"<meta name=\"\" content=\"\">"),

    Menu(u"N16", Text::kTagEmphasis, 0),
    Pair(u"N17", Text::kTagIndent, 1, u"blockquote", u"<blockquote> </blockquote>"),
    Pair(u"N18", Text::kTagEm, 1, u"em", u"<em> </em>"),
    Pair(u"N19", Text::kTagStrongEmphasis, 1, u"strong", u"<strong> </strong>"),
    Pair(u"N20", Text::kTagQuotation, 1, u"cite", u"<cite> </cite>"),
    Pair(u"N21", Text::kTagCode, 1, u"code", u"<code> </code>"),
    Pair(u"N22", Text::kTagKeyboardInput, 1, u"kbd", u"<kbd> </kbd>"),
    Pair(u"N23", Text::kTagVariable, 1, u"var", u"<var> </var>"),
    Pair(u"N24", Text::kTagDefinition, 1, u"dfn", u"<dfn> </dfn>"),
    Pair(u"N25", Text::kTagAddress, 1, u"address", u"<address> </address>"),
    Pair(u"N26", Text::kTagBigText, 1, u"big", u"<big> </big>"),
    Pair(u"N27", Text::kTagSmallText, 1, u"small", u"<small> </small>"),

    Menu(u"N5", Text::kTagFormatting, 0),
    Pair(u"N14", Text::kTagCentre, 1, u"center", u"<center> </center>"),
    Pair(u"font1", Text::kTagFont, 1, u"font", u"<font color=\" \" size=\" \"> </font>"),
    Pair(u"N6", Text::kTagBold, 1, u"b", u"<b> </b>"),
    Pair(u"N7", Text::kTagItalic, 1, u"i", u"<i> </i>"),
    Menu(u"N15", Text::kTagHeading, 1),
    Pair(u"h11", u"H1", 2, u"h1", u"<h1> </h1>"),
    Pair(u"H21", u"H2", 2, u"h2", u"<h2> </h2>"),
    Pair(u"H31", u"H3", 2, u"h3", u"<h3> </h3>"),
    Pair(u"H41", u"H4", 2, u"h4", u"<h4> </h4>"),
    Pair(u"N13", Text::kTagPreformatted, 1, u"pre", u"<pre> </pre>"),
    Pair(u"N8", Text::kTagUnderlined, 1, u"u", u"<u> </u>"),
    Pair(u"N9", Text::kTagStruckOut, 1, u"strike", u"<strike> </strike>"),
    Pair(u"N10", Text::kTagSubscript, 1, u"sub", u"<sub> </sub>"),
    Pair(u"N11", Text::kTagSuperscript, 1, u"sup", u"<sup> </sup>"),
    Pair(u"N12", Text::kTagFixedWidth, 1, u"tt", u"<tt> </tt>"),

    Menu(u"N28", Text::kTagSeparators, 0),
    Insert(u"N29", Text::kTagLineBreak, 1, u"<br>"),
    Pair(u"N30", Text::kTagNewParagraph, 1, u"p", u"<p>"),
    Other(u"N31", Text::kTagRule, kWindow, 1),
    Other(u"N37", Text::kTagList, kWindow, 1),

    Menu(u"N38", Text::kTagAlignment, 0),
    Insert(u"N42", Text::kTagJustify, 1, u"align=justify"),
    Insert(u"N39", Text::kTagAlignCentre, 1, u"align=center"),
    Insert(u"N40", Text::kTagLeft, 1, u"align=left"),
    Insert(u"N41", Text::kTagRight, 1, u"align=right"),
    Insert(u"N43", Text::kTagTop, 1, u"align=top"),
    Insert(u"N44", Text::kTagBottom, 1, u"align=bottom"),

    Menu(u"N1", Text::kTagSpecialCharacters, 0),
    Insert(u"nbsp1", u"Space", 1, u"&nbsp"),
    Insert(u"Registered1", u"Registered", 1, u"&reg"),
    Insert(u"copy1", u"Copyright", 1, u"&copy"),
    Insert(u"N2", u"<", 1, u"&lt"),
    Insert(u"N3", u">", 1, u"&gt"),
    Insert(u"N32", u"\"", 1, u"&quot"),

    Menu(u"N54", Text::kTagForms, 0),
    Insert(u"N56", Text::kTagForm, 1, u"<form action=\"\" method=\"\"> </form>"),
    Insert(u"N57", Text::kTagInputLine, 1, u"<input type=\"Text\" name=\"\" value=\"\">"),
    Insert(u"N58", Text::kTagTextArea, 1, u"<textarea rows=9 cols=50 name=\"\" > </textarea>"),
    Insert(u"CheckBox1", u"CheckBox", 1, u"<input type=\"checkbox\" name=\"\" value=\"ON\">"),
    Insert(u"RadioButton1", u"RadioButton", 1,
           u"<input type=\"radio\" value=\"ON\" checked name=\"\">"),
    Insert(u"N59", Text::kTagHiddenField, 1, u"<input type=hidden name=\"\" value=\"\">"),
    Insert(u"N60", Text::kTagFile, 1, u"<input type=\"file\" name=\"myfile1\" size=\"20\">"),
    Insert(u"N55", Text::kTagSUBMITButton, 1, u"<input type=submit>"),

    Menu(u"N33", Text::kTagMiscellaneous, 0),
    Other(u"N34", Text::kTagComment, kComment, 1, u"<!-- -->"),
    Pair(u"N35", Text::kTagScript, 1, u"script", u"<script> </script>"),
    Insert(u"TARGET1", Text::kTagBaseTARGET, 1, u"<base target=\"\">"),
    Insert(u"N45", Text::kTagAddStyleSheet, 1,
           u"<link href=\".css\" rel=stylesheet type=text/css>"),
    Insert(u"Media1", u"Media", 1, u"<embed src=\"\" loop=\"\">"),
    Insert(u"JS1", Text::kTagJSBack, 1, u"<a href=\"javascript:history.back(1)\"> </a>"),
    Insert(u"JS2", Text::kTagJSForward, 1, u"<a href=\"javascript:history.forward(1)\"> </a>"),
    Other(u"N46", Text::kTagDate, kDate, 1),
    Other(u"N53", Text::kTagTime, kTime, 1),

    Other(u"N47", u"-", kSeparator, 0),
    Insert(u"N52", Text::kTagTemplateMarker, 0, u"<,,pattern,,>"),
    Other(u"N51", Text::kTagSaveTemplate, kWindow, 0),
    Other(u"N50", u"-", kSeparator, 0),
    Other(u"N49", Text::kTagNew, kWindow, 0),
    Other(u"N48", Text::kTagClear, kWindow, 0),
};

}  // namespace

std::span<const TagCommand> TagCatalogue() { return kCatalogue; }

namespace {}  // namespace

QString CaptionOf(const TagCommand& command) {
  return command.caption.same != nullptr ? QString::fromUtf16(command.caption.same)
                                         : Tr(command.caption.text);
}

const QStringList& CatalogueElementNames() {
  static const QStringList names = [] {
    QStringList found;
    for (const TagCommand& command : TagCatalogue()) {
      const QString open = QString::fromUtf16(command.snippet != nullptr ? command.snippet : u"");
      if (!open.startsWith(u'<')) continue;
      qsizetype end = 1;
      while (end < open.size() && open.at(end).isLetterOrNumber()) ++end;
      const QString name = open.mid(1, end - 1).toLower();
      if (end > 1 && !found.contains(name)) found.append(name);
    }
    return found;
  }();
  return names;
}
