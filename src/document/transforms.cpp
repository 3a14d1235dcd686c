#include "document/transforms.h"

#include "document/text_helpers.h"

QString TrimSpaces(const QString& line) {
  qsizetype start = 0;
  qsizetype end = line.size();
  while (start < end && line[start].unicode() <= u' ') ++start;
  while (end > start && line[end - 1].unicode() <= u' ') --end;
  if (start == 0 && end == line.size()) return line;
  return line.sliced(start, end - start);
}

QStringList TextToHtml(const QStringList& lines) {
  QStringList result;
  result.reserve(lines.size());
  QString next = lines.isEmpty() ? QString() : TrimSpaces(lines.first());
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString current = next;
    next = i + 1 < lines.size() ? TrimSpaces(lines[i + 1]) : QString();
    if (current.isEmpty()) {
      result.append(QString());
    } else {
      result.append(current + (next.isEmpty() ? QStringLiteral("<p>") : QStringLiteral("<br>")));
    }
  }
  return result;
}

QStringList HtmlToText(const QStringList& lines) {
  static const std::pair<QString, QString> kEntities[] = {
      {QStringLiteral("&nbsp"), QStringLiteral(" ")},
      {QStringLiteral("&lt"), QStringLiteral("<")},
      {QStringLiteral("&gt"), QStringLiteral(">")},
      {QStringLiteral("&copy"), QStringLiteral("(c)")}};
  QStringList result;
  result.reserve(lines.size());
  for (const QString& line : lines) {
    QString text = StripTags(line);
    for (const auto& [entity, replacement] : kEntities)
      text = ReplaceFirst(text, entity, replacement);
    result.append(text);
  }
  return result;
}

QStringList CompressText(const QStringList& lines) {
  QStringList result;
  result.reserve(lines.size());
  for (const QString& line : lines) {
    const QString trimmed = TrimSpaces(line);
    if (trimmed.isEmpty()) continue;
    QString compact;
    compact.reserve(trimmed.size());
    for (QChar c : trimmed) {
      if (c == u' ' && !compact.isEmpty() && compact.back() == u' ') continue;
      compact.append(c);
    }
    result.append(compact);
  }
  return result;
}
