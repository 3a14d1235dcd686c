#include "document/new_page.h"
#include "names/texts.h"

#include "document/editor_model.h"

namespace {

QString OrDefault(const QString& value, const char16_t* fallback) {
  return value.isEmpty() ? QString::fromUtf16(fallback) : value;
}

}  // namespace

QStringList AppendFrameset(const NewPageFields& fields) {
  static const char16_t* const kOpenings[] = {
      u"<frameset cols=\"110,*\"", u"<frameset cols=\"*,110\"", u"<frameset rows=\"110,*\"",
      u"<frameset rows=\"*,110\""};
  const int layout = qBound(1, fields.layout, 4);
  QString frameset = QString::fromUtf16(kOpenings[layout - 1]);
  frameset += fields.border ? u" border=1" : u" border=0 ";
  frameset += u'>';
  QString second = QStringLiteral("<frame name=\"second\" src=\"second.htm\"");
  second += fields.scrolling ? u" scrolling=yes" : u" scrolling=no";
  if (fields.noresize) second += u" noresize";
  second += u'>';
  return {frameset, second, QStringLiteral("<frame name=\"main\" src=\"main.htm\">"),
          QStringLiteral("</frameset>")};
}

QStringList NewPageLines(const NewPageFields& fields) {
  QStringList lines{QStringLiteral("<html>"), QStringLiteral("<head>")};
  lines.append(QStringLiteral("<title>") +
               (fields.title.isEmpty() ? Tr(Text::kDefaultTitle) : fields.title) +
               QStringLiteral("</title>"));
  lines.append(QStringLiteral("</head>"));
  if (fields.frames) {
    lines += AppendFrameset(fields);
  } else {
    lines.append(QStringLiteral("<body bgcolor=") + OrDefault(fields.background, u"white") +
                 QStringLiteral(" text=") + OrDefault(fields.text, u"black") +
                 QStringLiteral(" link=") + OrDefault(fields.link, u"blue") +
                 QStringLiteral(" vlink=") + OrDefault(fields.visited_link, u"green") +
                 QStringLiteral(" alink=") + OrDefault(fields.active_link, u"red") +
                 QStringLiteral(">"));
    lines.append(QString());
    lines.append(QStringLiteral("</body>"));
  }
  lines.append(QStringLiteral("</html>"));
  return lines;
}

int insertline(EditorModel& editor, const QString& text) {
  if (editor.LineCount() == 0) editor.AppendLine(QStringLiteral(" "));
  const int caret_line = editor.SelectionLine();
  if (editor.LineCount() < caret_line) {
    editor.AppendLine(text);
  } else {
    editor.InsertLine(caret_line, text);
  }
  return caret_line;
}

int insertlines(EditorModel& editor, const QStringList& lines) {
  if (editor.LineCount() == 0) editor.AppendLine(QStringLiteral(" "));
  const int caret_line = editor.SelectionLine();
  editor.InsertLines(caret_line, lines);
  return caret_line + static_cast<int>(lines.size()) - 1;
}
