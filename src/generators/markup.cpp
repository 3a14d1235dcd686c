#include "generators/markup.h"

#include <QRegularExpression>

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

QString Quoted(const char* name, const QString& value) {
  return QStringLiteral(" %1=\"%2\"").arg(QLatin1String(name), value);
}

}  // namespace

QString BuildImageTag(const ImageTagFields& f) {
  QString tag = QStringLiteral("<img src=\"") + f.src + u'"';
  if (f.border >= 0) tag += Quoted("border", QString::number(f.border));
  if (!f.align.trimmed().isEmpty()) tag += Quoted("align", f.align);
  if (!f.alt.trimmed().isEmpty()) tag += Quoted("alt", f.alt);
  if (f.height > 0) tag += Quoted("height", QString::number(f.height));
  if (f.width > 0) tag += Quoted("width", QString::number(f.width));
  if (f.hspace >= 0) tag += Quoted("hspace", QString::number(f.hspace));
  if (f.vspace >= 0) tag += Quoted("vspace", QString::number(f.vspace));
  return tag + u'>';
}

QString PagePath(const QString& path, const QString& document_folder) {
  const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  if (document_folder.isEmpty()) return absolute;
  const QString folder = QDir::cleanPath(document_folder);
  const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
  if (!absolute.startsWith(prefix)) return absolute;
  return absolute.sliced(prefix.size());
}

QString SrcFromPath(const QString& path, SrcForm form, const QString& document_folder) {
  switch (form) {
    case SrcForm::kFullPath:
      return PagePath(path, document_folder);
    case SrcForm::kWithoutDrive: {
      // The path from the root of the disk, as the drive-less form was.
      const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
      return absolute.startsWith(u'/') ? absolute.sliced(1) : absolute;
    }
    case SrcForm::kFileName:
      return QFileInfo(path).fileName();
  }
  return path;
}

QString TableOpeningTag(const TableFields& f) {
  QString attributes;
  if (!f.background.isEmpty()) attributes += QStringLiteral(" bgcolor=") + f.background + u' ';
  if (!f.light_border.isEmpty()) {
    attributes += QStringLiteral(" bordercolorlight=") + f.light_border + u' ';
  }
  if (!f.dark_border.isEmpty()) {
    attributes += QStringLiteral(" bordercolordark=") + f.dark_border + u' ';
  }
  if (f.border_settings) {
    attributes += QStringLiteral(" border=%1 cellpadding=%2 cellspacing=%3")
                      .arg(f.border)
                      .arg(f.padding)
                      .arg(f.spacing);
  }
  return QStringLiteral("<table") + attributes + u'>';
}

QStringList TableLines(const TableFields& f) {
  QStringList lines;
  lines.reserve(f.rows * (f.columns + 2) + 2);
  lines.append(TableOpeningTag(f));
  const QString cell =
      f.cell_colour ? QStringLiteral("<td bgcolor=> </td>") : QStringLiteral("<td> </td>");
  for (int r = 0; r < f.rows; ++r) {
    lines.append(QStringLiteral("<tr>"));
    for (int c = 0; c < f.columns; ++c) lines.append(cell);
    lines.append(QStringLiteral("</tr>"));
  }
  lines.append(QStringLiteral("</table>"));
  return lines;
}

QStringList ListLines(bool ordered, int style, int items) {
  static const char* const kOrdered[] = {"1", "A", "a", "I", "i"};
  static const char* const kUnordered[] = {"disc", "circle", "square"};
  QString type;
  if (ordered && style >= 0 && style < 5) type = QLatin1String(kOrdered[style]);
  if (!ordered && style >= 0 && style < 3) type = QLatin1String(kUnordered[style]);
  const QString tag = ordered ? QStringLiteral("ol") : QStringLiteral("ul");
  QStringList lines;
  lines.reserve(items + 2);
  lines.append(QStringLiteral("<%1 type=\"%2\">").arg(tag, type));
  for (int i = 0; i < items; ++i) lines.append(QStringLiteral("<li>"));
  lines.append(QStringLiteral("</%1>").arg(tag));
  return lines;
}

QString RuleTag(std::optional<int> size, bool noshade, std::optional<QString> colour) {
  QString tag = QStringLiteral("<hr");
  if (size) tag += QStringLiteral(" size=") + QString::number(*size);
  if (noshade) tag += QStringLiteral(" noshade");
  if (colour) tag += QStringLiteral(" color=") + *colour;
  return tag + u'>';
}

QString AttributeValue(const QString& value) {
  static const QRegularExpression kNeedsQuotes(QStringLiteral("[\\s\"'<>=`]"));
  if (!value.isEmpty() && !value.contains(kNeedsQuotes)) return value;
  QString quoted = value;
  quoted.replace(u'"', QStringLiteral("&quot;"));
  return u'"' + quoted + u'"';
}

QString ChartOpeningLine(const QString& background) {
  return QStringLiteral("<center><table><tr><td bgcolor=") + AttributeValue(background) +
         QStringLiteral("><p align=left>");
}

QString ChartClosingLine() { return QStringLiteral("</td></tr></table></center>"); }

QString BarLine(BarStyle style, const Bar& b) {
  const QString n = QString::number(b.value);
  const QString colour = AttributeValue(b.colour);
  const QString value_colour = AttributeValue(b.value_colour);
  const QString background = AttributeValue(b.background);
  switch (style) {
    case BarStyle::kLabelInside:
      return QStringLiteral("<table><tr><td width=") + n + QStringLiteral(" bgcolor=") + colour +
             QStringLiteral("><font color=") + value_colour + u'>' + b.label +
             QStringLiteral("</font></td></tr></table>");
    case BarStyle::kLabelBeside:
      return b.label + QStringLiteral("</td><td><table><tr><td width=") + n +
             QStringLiteral(" bgcolor=") + colour +
             QStringLiteral(">&nbsp</td></tr></table></td></tr><tr><td bgcolor=") + background +
             u'>';
    case BarStyle::kLabelBesideValue:
      break;
  }
  return b.label + QStringLiteral("</td><td><table><tr><td width=") + n +
         QStringLiteral(" bgcolor=") + colour + QStringLiteral("><font color=") + value_colour +
         u'>' + n + QStringLiteral("</font></td></tr></table></td></tr><tr><td bgcolor=") +
         background + u'>';
}

QStringList ChartInsertion(const QStringList& chart_lines, const QString& title) {
  QStringList lines = chart_lines;
  if (!title.trimmed().isEmpty()) {
    lines.prepend(QStringLiteral("<center>") + title + QStringLiteral("</center>"));
  }
  return lines;
}

const QStringList& CssPropertyNames() {
  static const QStringList names = {
      QStringLiteral("font-family"),      QStringLiteral("font-weight"),
      QStringLiteral("font-style"),       QStringLiteral("font-variant"),
      QStringLiteral("font-size"),        QStringLiteral("color"),
      QStringLiteral("background-color"), QStringLiteral("border-color"),
      QStringLiteral("text-decoration"),  QStringLiteral("text-align"),
      QStringLiteral("vertical-align"),   QStringLiteral("text-transform"),
      QStringLiteral("text-indent"),      QStringLiteral("line-height"),
      QStringLiteral("word-spacing"),     QStringLiteral("letter-spacing"),
      QStringLiteral("margin-left"),      QStringLiteral("margin-right"),
      QStringLiteral("margin-top"),       QStringLiteral("margin-bottom"),
      QStringLiteral("padding-left"),     QStringLiteral("padding-right"),
      QStringLiteral("padding-top"),      QStringLiteral("padding-bottom"),
      QStringLiteral("border-style")};
  return names;
}

const QStringList& CssUnits() {
  static const QStringList units = {
      QStringLiteral("%"),  QStringLiteral("em"), QStringLiteral("ex"),
      QStringLiteral("px"), QStringLiteral("in"), QStringLiteral("cm"),
      QStringLiteral("mm"), QStringLiteral("pt"), QStringLiteral("pc")};
  return units;
}

QString FontFamilyName(const QString& listed_family) {
  const qsizetype bracket = listed_family.lastIndexOf(QStringLiteral(" ["));
  return bracket > 0 && listed_family.endsWith(u']') ? listed_family.first(bracket) : listed_family;
}

QString CssFontFamily(const QString& family) {
  const QString name = family.trimmed();
  if (!name.contains(u' ') || name.startsWith(u'"') || name.startsWith(u'\'')) return name;
  QString quoted = name;
  quoted.replace(u'"', QStringLiteral("\\\""));
  return u'"' + quoted + u'"';
}

QString CssRule(const QString& selector, const QList<std::pair<QString, QString>>& declarations) {
  QString rule = selector + QStringLiteral(" { ");
  for (const auto& [name, value] : declarations) {
    rule += name + QStringLiteral(": ") + value + QStringLiteral("; ");
  }
  return rule + u'}';
}

QString ImageTagText(const QString& path, const QString& map_name) {
  return QStringLiteral("<img src=") + AttributeValue(path) + QStringLiteral(" usemap=") +
         AttributeValue(u'#' + map_name) + u'>';
}

std::optional<QString> AreaTagText(const QString& shape, const QString& coords, const QString& link,
                                   const QString& alt, const QString& title) {
  if (coords.isEmpty() || link.isEmpty()) return std::nullopt;
  QString tag = QStringLiteral("<area shape=") + AttributeValue(shape) +
                QStringLiteral(" coords=") + AttributeValue(coords) + QStringLiteral(" href=") +
                AttributeValue(link);
  if (!alt.isEmpty()) tag += QStringLiteral(" alt=") + AttributeValue(alt);
  if (!title.isEmpty()) tag += QStringLiteral(" title=") + AttributeValue(title);
  return tag + u'>';
}

QStringList ImageMapLines(const QString& image_tag, const QString& map_name,
                          const QStringList& areas) {
  QStringList lines;
  lines.append(image_tag);
  lines.append(QStringLiteral("<map name=") + AttributeValue(map_name) + u'>');
  lines.append(areas);
  lines.append(QStringLiteral("</map>"));
  return lines;
}

QPoint ClampToPicture(QPoint point, int width, int height) {
  return QPoint(std::clamp(point.x(), 0, std::max(0, width)),
                std::clamp(point.y(), 0, std::max(0, height)));
}

QString AreaCoords(QPoint start, QPoint end, int width, int height) {
  const QPoint e = ClampToPicture(end, width, height);
  return QStringLiteral("%1,%2,%3,%4")
      .arg(std::min(start.x(), e.x()))
      .arg(std::min(start.y(), e.y()))
      .arg(std::max(start.x(), e.x()))
      .arg(std::max(start.y(), e.y()));
}
