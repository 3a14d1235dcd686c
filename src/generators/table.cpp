#include "generators/table.h"

QStringList QuickTableLines(const QStringList& lines) {
  QStringList result;
  result.reserve(lines.size() + 2);
  result.append(QStringLiteral("<table>"));
  for (const QString& line : lines) {
    result.append(QStringLiteral("<tr><td>") + line + QStringLiteral("</td></tr>"));
  }
  result.append(QStringLiteral("</table>"));
  return result;
}
