#pragma once

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <optional>

// Pure builders of the markup generators: each takes the fields of its window and returns
// the text or lines to insert.

// Image tag.
struct ImageTagFields {
  QString src;
  int border = -1;  // written when 0 or more
  QString align;    // written when not blank, as typed
  QString alt;      // written when not blank, as typed
  int height = 0;   // written when above 0
  int width = 0;
  int hspace = -1;
  int vspace = -1;
};
QString BuildImageTag(const ImageTagFields& fields);

enum class SrcForm { kFullPath, kWithoutDrive, kFileName };
// The SRC text of a chosen file: the full path, the path without its first three characters,
// or the file name alone.
// How a page refers to a picture: relative to the page's folder (with "/") when the
// picture lies under it, else its absolute path (always for an untitled page, whose
// document_folder is empty).
QString PagePath(const QString& path, const QString& document_folder);
QString SrcFromPath(const QString& path, SrcForm form, const QString& document_folder = {});

// Table generator.
struct TableFields {
  int rows = 1;
  int columns = 1;
  QString background;
  QString light_border;
  QString dark_border;
  bool cell_colour = false;
  bool border_settings = false;
  int border = 1;
  int padding = 1;
  int spacing = 1;
};
QString TableOpeningTag(const TableFields& fields);
QStringList TableLines(const TableFields& fields);

// List generator: style is the position of the chosen entry in the box of the list's kind,
// -1 when none is chosen.
QStringList ListLines(bool ordered, int style, int items);

// Horizontal rule.
QString RuleTag(std::optional<int> size, bool noshade, std::optional<QString> colour);

// Bar chart.
enum class BarStyle { kLabelInside = 1, kLabelBeside = 2, kLabelBesideValue = 3 };
QString ChartOpeningLine(const QString& background);
QString ChartClosingLine();
// An attribute value as written after "=": bare when simple, else in double quotes with
// &quot; inside (empty, or holding a space, a quote, <, > or =).
QString AttributeValue(const QString& value);

struct Bar {
  QString label;
  int value = 1;
  QString colour;
  QString value_colour;
  QString background;
};
QString BarLine(BarStyle style, const Bar& bar);
// The lines to insert: the chart, with the centred title above it when the title is not
// blank.
QStringList ChartInsertion(const QStringList& chart_lines, const QString& title);

// A font family as a style sheet names it: Qt's list adds the foundry ("C059 [UKWN]"),
// which no browser knows.
QString FontFamilyName(const QString& listed_family);
// The family as a font-family value: quoted when it holds a space.
QString CssFontFamily(const QString& family);

// Style sheet builder: the 25 property names in the order a rule writes them.
const QStringList& CssPropertyNames();
const QStringList& CssUnits();
// declarations: (name, value) of the ticked properties, in table order.
QString CssRule(const QString& selector, const QList<std::pair<QString, QString>>& declarations);

// Image map.
QString ImageTagText(const QString& path, const QString& map_name);
// Empty when coordinates or link is missing.
std::optional<QString> AreaTagText(const QString& shape, const QString& coords, const QString& link,
                                   const QString& alt, const QString& title);
QStringList ImageMapLines(const QString& image_tag, const QString& map_name,
                          const QStringList& areas);
// The coordinates text of a drag: the end point clamped to the picture, then the rectangle
// normalised ("left,top,right,bottom").
QString AreaCoords(QPoint start, QPoint end, int width, int height);
QPoint ClampToPicture(QPoint point, int width, int height);
