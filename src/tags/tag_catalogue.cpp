#include "tags/tag_catalogue.h"

#include <string_view>
#include <utility>

#include "names/texts.h"

namespace {

using enum TagKind;

// Shorthands for the rows: a tag pair whose open text and close name are the same.
constexpr TagCommand Pair(const char16_t* name, const char16_t* caption, int depth,
                          const char16_t* tag, const char16_t* snippet) {
  return {name, caption, kWrapInsert, depth, tag, tag, snippet};
}
constexpr TagCommand Insert(const char16_t* name, const char16_t* caption, int depth,
                            const char16_t* snippet) {
  return {name, caption, kInsert, depth, u"", u"", snippet};
}
constexpr TagCommand Menu(const char16_t* name, const char16_t* caption, int depth) {
  return {name, caption, kSubmenu, depth, u"", u"", u""};
}
constexpr TagCommand Other(const char16_t* name, const char16_t* caption, TagKind kind, int depth,
                           const char16_t* snippet = u"") {
  return {name, caption, kind, depth, u"", u"", snippet};
}

constexpr TagCommand kCatalogue[] = {
    Menu(u"N4", u"Главные", 0),
    {u"N36", u"<a href=>", kWrapInsert, 1, u"a href=\"\"", u"a", u"<a href=\"\"></a>"},
    {u"ahrefmailto1", u"<a href=mailto: >", kWrapInsert, 1, u"a href=\"mailto:\"", u"a",
     u"<a href=\"mailto:\"></a>"},
    Pair(u"html1", u"<html>", 1, u"html", u"<html> </html>"),
    Pair(u"titletitle1", u"<title>", 1, u"title", u"<title> </title>"),
    Pair(u"head1", u"<head>", 1, u"head", u"<head> </head>"),
    Insert(u"body1", u"<body>", 1, u"<body text= bgcolor= link= alink= vlink= > </body>"),
    Insert(u"meta1", u"<meta>", 1, u"<meta name=\"\" content=\"\">"),

    Menu(u"N16", u"Выделение", 0),
    Pair(u"N17", u"Отступ", 1, u"blockquote", u"<blockquote> </blockquote>"),
    Pair(u"N18", u"Выделение", 1, u"em", u"<em> </em>"),
    Pair(u"N19", u"Доп. выделение", 1, u"strong", u"<strong> </strong>"),
    Pair(u"N20", u"Цитата", 1, u"cite", u"<cite> </cite>"),
    Pair(u"N21", u"Код", 1, u"code", u"<code> </code>"),
    Pair(u"N22", u"Ввод", 1, u"kbd", u"<kbd> </kbd>"),
    Pair(u"N23", u"Переменная", 1, u"var", u"<var> </var>"),
    Pair(u"N24", u"Определение", 1, u"dfn", u"<dfn> </dfn>"),
    Pair(u"N25", u"Адрес", 1, u"address", u"<address> </address>"),
    Pair(u"N26", u"Большой шрифт", 1, u"big", u"<big> </big>"),
    Pair(u"N27", u"Маленький шрифт", 1, u"small", u"<small> </small>"),

    Menu(u"N5", u"Оформление", 0),
    Pair(u"N14", u"Центр", 1, u"center", u"<center> </center>"),
    Pair(u"font1", u"Шрифт", 1, u"font", u"<font color=\" \" size=\" \"> </font>"),
    Pair(u"N6", u"Жирный", 1, u"b", u"<b> </b>"),
    Pair(u"N7", u"Курсив", 1, u"i", u"<i> </i>"),
    Menu(u"N15", u"Заголовок", 1),
    Pair(u"h11", u"H1", 2, u"h1", u"<h1> </h1>"),
    Pair(u"H21", u"H2", 2, u"h2", u"<h2> </h2>"),
    Pair(u"H31", u"H3", 2, u"h3", u"<h3> </h3>"),
    Pair(u"H41", u"H4", 2, u"h4", u"<h4> </h4>"),
    Pair(u"N13", u"Форматированный", 1, u"pre", u"<pre> </pre>"),
    Pair(u"N8", u"Подчеркнутый", 1, u"u", u"<u> </u>"),
    Pair(u"N9", u"Перечеркнутый", 1, u"strike", u"<strike> </strike>"),
    Pair(u"N10", u"Нижний индекс", 1, u"sub", u"<sub> </sub>"),
    Pair(u"N11", u"Верхний индекс", 1, u"sup", u"<sup> </sup>"),
    Pair(u"N12", u"Фиксированная ширина", 1, u"tt", u"<tt> </tt>"),

    Menu(u"N28", u"Разделители", 0),
    Insert(u"N29", u"Новая строка", 1, u"<br>"),
    Pair(u"N30", u"Новый абзац", 1, u"p", u"<p>"),
    Other(u"N31", u"Линия", kWindow, 1),
    Other(u"N37", u"Список", kWindow, 1),

    Menu(u"N38", u"Выравнивание", 0),
    Insert(u"N42", u"Ровно", 1, u"align=justify"),
    Insert(u"N39", u"Центр", 1, u"align=center"),
    Insert(u"N40", u"Лево", 1, u"align=left"),
    Insert(u"N41", u"Право", 1, u"align=right"),
    Insert(u"N43", u"Верх", 1, u"align=top"),
    Insert(u"N44", u"Низ", 1, u"align=bottom"),

    Menu(u"N1", u"Доп. символы", 0),
    Insert(u"nbsp1", u"Space", 1, u"&nbsp"),
    Insert(u"Registered1", u"Registered", 1, u"&reg"),
    Insert(u"copy1", u"Copyright", 1, u"&copy"),
    Insert(u"N2", u"<", 1, u"&lt"),
    Insert(u"N3", u">", 1, u"&gt"),
    Insert(u"N32", u"\"", 1, u"&quot"),

    Menu(u"N54", u"Формы", 0),
    Insert(u"N56", u"Форма", 1, u"<form action=\"\" method=\"\"> </form>"),
    Insert(u"N57", u"Строка для ввода", 1, u"<input type=\"Text\" name=\"\" value=\"\">"),
    Insert(u"N58", u"Поле ввода", 1, u"<textarea rows=9 cols=50 name=\"\" > </textarea>"),
    Insert(u"CheckBox1", u"CheckBox", 1, u"<input type=\"checkbox\" name=\"\" value=\"ON\">"),
    Insert(u"RadioButton1", u"RadioButton", 1,
           u"<input type=\"radio\" value=\"ON\" checked name=\"\">"),
    Insert(u"N59", u"Скрытый компонент", 1, u"<input type=hidden name=\"\" value=\"\">"),
    Insert(u"N60", u"Файл", 1, u"<input type=\"file\" name=\"myfile1\" size=\"20\">"),
    Insert(u"N55", u"Кнопка SUBMIT", 1, u"<input type=submit>"),

    Menu(u"N33", u"Разное", 0),
    Other(u"N34", u"Комментарий", kComment, 1, u"<!-- -->"),
    Pair(u"N35", u"Скрипт", 1, u"script", u"<script> </script>"),
    Insert(u"TARGET1", u"Базовый TARGET", 1, u"<base target=\"\">"),
    Insert(u"N45", u"Добавить стиль", 1, u"<link href=\".css\" rel=stylesheet type=text/css>"),
    Insert(u"Media1", u"Media", 1, u"<embed src=\"\" loop=\"\">"),
    Insert(u"JS1", u"JS Назад", 1, u"<a href=\"javascript:history.back(1)\"> </a>"),
    Insert(u"JS2", u"JS Вперед", 1, u"<a href=\"javascript:history.forward(1)\"> </a>"),
    Other(u"N46", u"Дата", kDate, 1),
    Other(u"N53", u"Время", kTime, 1),

    Other(u"N47", u"-", kSeparator, 0),
    Insert(u"N52", u"Метка шаблона", 0, u"<,,pattern,,>"),
    Other(u"N51", u"Сохранить шаблон", kWindow, 0),
    Other(u"N50", u"-", kSeparator, 0),
    Other(u"N49", u"Новый", kWindow, 0),
    Other(u"N48", u"Очистить", kWindow, 0),
};

}  // namespace

std::span<const TagCommand> TagCatalogue() { return kCatalogue; }

namespace {

// The English interface's captions, by item; the others are the same in both.
constexpr std::pair<std::u16string_view, const char16_t*> kEnglishCaptions[] = {
    {u"N4", u"Main"},
    {u"N16", u"Emphasis"},
    {u"N17", u"Indent"},
    {u"N18", u"Emphasis"},
    {u"N19", u"Strong emphasis"},
    {u"N20", u"Quotation"},
    {u"N21", u"Code"},
    {u"N22", u"Keyboard input"},
    {u"N23", u"Variable"},
    {u"N24", u"Definition"},
    {u"N25", u"Address"},
    {u"N26", u"Big text"},
    {u"N27", u"Small text"},
    {u"N5", u"Formatting"},
    {u"N14", u"Centre"},
    {u"font1", u"Font"},
    {u"N6", u"Bold"},
    {u"N7", u"Italic"},
    {u"N15", u"Heading"},
    {u"N13", u"Preformatted"},
    {u"N8", u"Underlined"},
    {u"N9", u"Struck out"},
    {u"N10", u"Subscript"},
    {u"N11", u"Superscript"},
    {u"N12", u"Fixed width"},
    {u"N28", u"Separators"},
    {u"N29", u"Line break"},
    {u"N30", u"New paragraph"},
    {u"N31", u"Rule"},
    {u"N37", u"List"},
    {u"N38", u"Alignment"},
    {u"N42", u"Justify"},
    {u"N39", u"Centre"},
    {u"N40", u"Left"},
    {u"N41", u"Right"},
    {u"N43", u"Top"},
    {u"N44", u"Bottom"},
    {u"N1", u"Special characters"},
    {u"N54", u"Forms"},
    {u"N56", u"Form"},
    {u"N57", u"Input line"},
    {u"N58", u"Text area"},
    {u"N59", u"Hidden field"},
    {u"N60", u"File"},
    {u"N55", u"SUBMIT button"},
    {u"N33", u"Miscellaneous"},
    {u"N34", u"Comment"},
    {u"N35", u"Script"},
    {u"TARGET1", u"Base TARGET"},
    {u"N45", u"Add style sheet"},
    {u"JS1", u"JS Back"},
    {u"JS2", u"JS Forward"},
    {u"N46", u"Date"},
    {u"N53", u"Time"},
    {u"N52", u"Template marker"},
    {u"N51", u"Save template"},
    {u"N49", u"New"},
    {u"N48", u"Clear"},
};
}  // namespace

QString CaptionOf(const TagCommand& command) {
  if (CurrentLanguage() == Language::kEnglish) {
    for (const auto& [name, caption] : kEnglishCaptions) {
      if (name == command.name) return QString::fromUtf16(caption);
    }
  }
  return QString::fromUtf16(command.caption);
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
