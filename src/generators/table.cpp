#include "generators/table.h"

void QuickTableLines(const QList<QByteArrayView>& lines, Utf8LineWriter& out) {
  out.Add("<table>");
  for (const QByteArrayView line : lines) out.Add({"<tr><td>", line, "</td></tr>"});
  out.Add("</table>");
}
