#include "platform/file_lines.h"

#include "platform/codec.h"

FileLines SplitFile(const QByteArray& bytes) {
  FileLines file;
  file.source = bytes;
  file.format = DetectTextFormat(bytes);
  QByteArrayView body = file.source;
  if (file.format.bom) body = body.sliced(3);
  const char* p = body.data();
  const qsizetype n = body.size();
  qsizetype start = 0;
  file.lines.reserve(n / 40 + 1);
  for (qsizetype i = 0; i < n; ++i) {
    if (p[i] != '\n' && p[i] != '\r') continue;
    file.lines.append(QByteArrayView(p + start, i - start));
    if (p[i] == '\r' && i + 1 < n && p[i + 1] == '\n') ++i;
    start = i + 1;
  }
  file.final_break = start == n;
  if (start < n) file.lines.append(QByteArrayView(p + start, n - start));
  return file;
}

QByteArray JoinFile(const FileLines& file) {
  const QByteArray end = LineEndBytes(file.format.line_end);
  qsizetype size = file.format.bom ? 3 : 0;
  for (const QByteArrayView line : file.lines) size += line.size() + end.size();
  QByteArray bytes;
  bytes.reserve(size);
  if (file.format.bom) bytes.append("\xEF\xBB\xBF");
  for (qsizetype i = 0; i < file.lines.size(); ++i) {
    bytes.append(file.lines[i]);
    if (i + 1 < file.lines.size() || file.final_break) bytes.append(end);
  }
  return bytes;
}

QByteArray EncodeFor(const QString& text, const TextFormat& format) {
  return format.encoding == TextEncoding::kUtf8 ? text.toUtf8()
                                                : CodecOf(format.encoding).Encode(text);
}

QStringList DecodeLines(const FileLines& file) {
  QStringList lines;
  lines.reserve(file.lines.size());
  const bool utf8 = file.format.encoding == TextEncoding::kUtf8;
  const SingleByteCodec& codec = CodecOf(file.format.encoding);
  for (const QByteArrayView line : file.lines) {
    lines.append(utf8 ? DecodeUtf8(line) : codec.Decode(line));
  }
  return lines;
}

void EncodeLines(FileLines& file, const QStringList& lines) {
  file.lines.clear();
  file.lines.reserve(lines.size());
  for (const QString& line : lines) file.lines.append(file.Keep(EncodeFor(line, file.format)));
}
