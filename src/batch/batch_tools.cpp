#include "batch/batch_tools.h"
#include "html/html_format.h"
#include "names/texts.h"

#include <QFileInfo>

#include <cstring>

#include "document/block_edits.h"
#include "document/text_helpers.h"
#include "document/transforms.h"
#include "platform/folder_listing.h"
#include "platform/text_file.h"

namespace {

// The user's lines in a file's encoding, kept by the file, as views.
QList<QByteArrayView> Encoded(const QStringList& lines, FileLines& file) {
  QList<QByteArrayView> encoded;
  encoded.reserve(lines.size());
  for (const QString& line : lines) encoded.append(file.Keep(EncodeFor(line, file.format)));
  return encoded;
}

QList<BatchStep> ForEach(const QStringList& files, const std::function<LineEdit()>& make) {
  QList<BatchStep> steps;
  steps.reserve(files.size());
  for (const QString& file : files) steps.append(LineStep(file, make()));
  return steps;
}

}  // namespace

QList<BatchStep> BlockEditSteps(const QStringList& files, BlockMode mode, const QStringList& find,
                                const QStringList& replacement) {
  return ForEach(files, [=]() -> LineEdit {
    return [=](FileLines& file) {
      const QList<QByteArrayView> added = Encoded(replacement, file);
      switch (mode) {
        case BlockMode::kAppend:
          file.lines.append(added);
          break;
        case BlockMode::kPrepend:
          file.lines = added + file.lines;
          break;
        case BlockMode::kReplace:
          return block_edits::ReplaceBlocks(file.lines, Encoded(find, file), added) > 0;
      }
      block_edits::RemoveBlankLines(file.lines);
      return true;
    };
  });
}

QList<BatchStep> DeleteBlockSteps(const QStringList& files, const QStringList& find) {
  return ForEach(files, [=]() -> LineEdit {
    return [=](FileLines& file) {
      return block_edits::DeleteBlocks(file.lines, Encoded(find, file)) > 0;
    };
  });
}

namespace {

// The first occurrence of find in every line (or every occurrence), found by one search over
// the whole file rather than line by line; the bytes between matches, line ends included,
// are copied as they are. Nothing when find does not occur.
qsizetype Search(const QByteArray& bytes, const QByteArray& find, qsizetype from) {
  const void* found = ::memmem(bytes.constData() + from, static_cast<size_t>(bytes.size() - from),
                               find.constData(), static_cast<size_t>(find.size()));
  return found == nullptr ? -1 : static_cast<const char*>(found) - bytes.constData();
}

std::optional<QByteArray> ReplacePerLine(const QByteArray& bytes, const QByteArray& find,
                                         QByteArrayView replacement, bool every_match) {
  const qsizetype find_size = find.size();
  qsizetype at = Search(bytes, find, 0);
  if (at < 0) return std::nullopt;
  QByteArray out;
  out.reserve(bytes.size() + 64);
  const char* data = bytes.constData();
  const qsizetype size = bytes.size();
  qsizetype copied = 0;
  while (at >= 0) {
    out.append(data + copied, at - copied);
    out.append(replacement);
    // The rest of this line stays as it is, unless every match goes.
    qsizetype end = at + find_size;
    while (!every_match && end < size && data[end] != '\n' && data[end] != '\r') ++end;
    out.append(data + at + find_size, end - at - find_size);
    copied = end;
    at = Search(bytes, find, end);
  }
  out.append(data + copied, size - copied);
  return out;
}

bool IsAscii(QByteArrayView bytes) {
  return std::all_of(bytes.begin(), bytes.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

QList<BatchStep> FormatSteps(const QStringList& files) {
  QList<BatchStep> steps;
  steps.reserve(files.size());
  for (const QString& file : files) {
    steps.append(
        {file, file, [](const QByteArray& input, QString* error) -> std::optional<QByteArray> {
           constexpr QByteArrayView kBom = "\xEF\xBB\xBF";
           const bool bom = input.startsWith(kBom);
           const QByteArrayView page = QByteArrayView(input).sliced(bom ? 3 : 0);
           const FormatOutcome outcome =
               FormatHtml(page, LineEndBytes(DetectTextFormat(input).line_end));
           if (!outcome.problem.isEmpty()) {
             *error = outcome.problem;
             return std::nullopt;
           }
           const QByteArray bytes = (bom ? kBom.toByteArray() : QByteArray()) + outcome.bytes;
           if (bytes == input) return std::nullopt;
           return bytes;
         }});
  }
  return steps;
}

QList<BatchStep> ReplaceHitsSteps(const QMap<QString, QList<int>>& lines_by_file,
                                  const QRegularExpression& expression, const QString& replacement,
                                  bool regex) {
  // A regular expression's replacement takes \1 and the like; a plain one stands as written.
  const auto replaced = [expression, replacement, regex](const QString& line) {
    if (regex) return QString(line).replace(expression, replacement);
    QString out;
    qsizetype copied = 0;
    for (auto match = expression.globalMatch(line); match.hasNext();) {
      const QRegularExpressionMatch found = match.next();
      if (found.capturedLength() == 0) continue;
      out += QStringView(line).sliced(copied, found.capturedStart() - copied);
      out += replacement;
      copied = found.capturedEnd();
    }
    out += QStringView(line).sliced(copied);
    return out;
  };
  QList<BatchStep> steps;
  steps.reserve(lines_by_file.size());
  for (auto it = lines_by_file.begin(); it != lines_by_file.end(); ++it) {
    steps.append(LineStep(it.key(), [lines = it.value(), replaced](FileLines& file) {
      const QStringList decoded = DecodeLines(file);
      bool changed = false;
      for (const int line : lines) {
        if (line < 1 || line > decoded.size()) continue;
        const QString text = replaced(decoded[line - 1]);
        if (text == decoded[line - 1]) continue;
        file.lines[line - 1] = file.Keep(EncodeFor(text, file.format));
        changed = true;
      }
      return changed;
    }));
  }
  return steps;
}

QList<BatchStep> ReplaceTextSteps(const QStringList& files, const QString& find,
                                  const QString& replacement, bool every_match) {
  if (find.contains(u'\n') || find.contains(u'\r') || find.isEmpty()) {
    return ForEach(files, [=]() -> LineEdit {
      return [=](FileLines& file) {
        const QByteArrayView from = file.Keep(EncodeFor(find, file.format));
        const QByteArrayView to = file.Keep(EncodeFor(replacement, file.format));
        return block_edits::ReplaceFirstInViews(file.lines, from, to, [&file](QByteArray bytes) {
                 return file.Keep(std::move(bytes));
               }) > 0;
      };
    });
  }
  // The texts in the two usual encodings, prepared once for the whole run.
  TextFormat utf8;
  utf8.encoding = TextEncoding::kUtf8;
  const QByteArray cp1251_find = EncodeFor(find, TextFormat{});
  const QByteArray utf8_find = EncodeFor(find, utf8);
  const QByteArray cp1251_replacement = EncodeFor(replacement, TextFormat{});
  const QByteArray utf8_replacement = EncodeFor(replacement, utf8);
  // Every encoding a page may have keeps ASCII as it is, and no multi-byte UTF-8 sequence
  // holds an ASCII byte: ASCII texts are found and replaced without knowing the encoding.
  const bool ascii = IsAscii(cp1251_find) && IsAscii(cp1251_replacement) &&
                     cp1251_find == utf8_find && cp1251_replacement == utf8_replacement;
  QList<BatchStep> steps;
  steps.reserve(files.size());
  for (const QString& file : files) {
    steps.append({file, file, [=](const QByteArray& input, QString*) -> std::optional<QByteArray> {
                    if (ascii) {
                      return ReplacePerLine(input, cp1251_find, cp1251_replacement, every_match);
                    }
                    const TextFormat format = DetectTextFormat(input);
                    if (format.encoding == TextEncoding::kUtf8) {
                      return ReplacePerLine(input, utf8_find, utf8_replacement, every_match);
                    }
                    if (format.encoding == TextEncoding::kWindows1251) {
                      return ReplacePerLine(input, cp1251_find, cp1251_replacement, every_match);
                    }
                    return ReplacePerLine(input, EncodeFor(find, format),
                                          EncodeFor(replacement, format), every_match);
                  }});
  }
  return steps;
}

QString ConvertedPath(const QString& path, bool to_html) {
  // Only the file name's last extension changes, whatever its letter case; a folder named
  // "notes.txt" stays as it is.
  const qsizetype slash = path.lastIndexOf(u'/');
  const qsizetype dot = path.lastIndexOf(u'.');
  const QString stem = dot > slash + 1 ? path.first(dot) : path;
  return stem + (to_html ? QStringLiteral(".htm") : QStringLiteral(".txt"));
}

QList<BatchStep> ConvertSteps(const QStringList& files, bool to_html, bool tidy,
                              bool other_extension) {
  QList<BatchStep> steps;
  for (const QString& file : files) {
    BatchStep step = LineStep(file, [=](FileLines& lines) {
      QStringList text = DecodeLines(lines);
      if (to_html) {
        text = PlainTextToHtml(text);
        text.prepend(QStringLiteral("<html>"));
        text.append(QStringLiteral("</html>"));
      } else {
        text = HtmlToVisibleText(text);
      }
      if (tidy) text = CompressTextKeepingRaw(text);
      EncodeLines(lines, text);
      return true;
    });
    if (other_extension) {
      step.write_path = ConvertedPath(file, to_html);
      // Written under the other extension means the source is never replaced.
      if (step.write_path == file) {
        step.edit = [file](const QByteArray&, QString* error) -> std::optional<QByteArray> {
          *error = Tr(Text::kHasResultExtension).arg(file);
          return std::nullopt;
        };
      }
    }
    steps.append(step);
  }
  return steps;
}

QList<BatchStep> TidySteps(const QStringList& files) {
  return ForEach(files, []() -> LineEdit {
    return [](FileLines& file) {
      EncodeLines(file, CompressTextKeepingRaw(DecodeLines(file)));
      return true;
    };
  });
}

std::optional<int> MarkerLine(const QStringList& lines) {
  const QString marker = QString::fromUtf16(kTemplateMarker);
  for (qsizetype i = lines.size() - 1; i >= 1; --i) {
    if (lines[i].contains(marker)) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::optional<QStringList> FillTemplate(const QStringList& template_lines,
                                        const QStringList& content) {
  const std::optional<int> m = MarkerLine(template_lines);
  if (!m) return std::nullopt;
  QStringList result = template_lines.first(*m);
  result.append(content);
  result.append(template_lines.sliced(*m + 1));
  return result;
}

QList<BatchStep> ApplyTemplateSteps(const QString& template_path, int marker_line,
                                    const QStringList& files) {
  QList<BatchStep> steps;
  for (const QString& file : files) {
    steps.append(
        {file, file, [=](const QByteArray& input, QString* error) -> std::optional<QByteArray> {
           const ReadOutcome read = ReadWholeFile(template_path, kTextFileCap);
           if (!read.ok()) {
             *error = read.message();
             return std::nullopt;
           }
           const FileLines pattern = SplitFile(read.bytes);
           QStringList lines = DecodeLines(pattern);
           FileLines content = SplitFile(input);
           if (marker_line < lines.size()) {
             lines.removeAt(marker_line);
             const QStringList inserted = DecodeLines(content);
             for (qsizetype i = 0; i < inserted.size(); ++i) {
               lines.insert(marker_line + i, inserted[i]);
             }
           }
           EncodeLines(content, lines);
           content.final_break = pattern.final_break;
           return JoinFile(content);
         }});
  }
  return steps;
}

QString NumberText(int n, int digits) {
  QString text = QString::number(n);
  const int pad = digits - static_cast<int>(text.size());
  return pad > 0 ? QString(pad, u'0') + text : text;
}

QString SeriesPath(const QString& folder, const QString& base, const QString& number) {
  return JoinPath(folder, base + number + QStringLiteral(".htm"));
}

QList<BatchStep> SeriesSteps(const SeriesRequest& request) {
  QList<BatchStep> steps;
  const int line = request.line_index;
  for (int n = request.first; n <= request.last; ++n) {
    const QString number = NumberText(n, request.digits);
    QStringList lines = request.page;
    if (line >= 0 && line < lines.size()) lines[line] = request.before + number + request.after;
    const QByteArray bytes = EncodeText(lines.join(u'\n') + u'\n', request.format);
    steps.append(
        {QString(), SeriesPath(request.folder, request.base, number),
         [bytes](const QByteArray&, QString*) -> std::optional<QByteArray> { return bytes; }});
  }
  return steps;
}

QList<Rename> RenamePlan(const RenameRequest& request) {
  QList<Rename> plan;
  int k = 1;
  const QString extension = u'.' + request.new_extension;
  for (const QString& name : request.names) {
    const QString new_name =
        request.keep_name
            ? DeleteFirst(name, u'.' + request.old_extension) + extension
            : request.before + NumberText(k, request.digits) + request.after + extension;
    plan.append({JoinPath(request.folder, name), JoinPath(request.folder, new_name)});
    ++k;
  }
  return plan;
}

QList<BatchStep> CopyNumberedSteps(const QStringList& paths, const QString& target_folder,
                                   const QString& before, const QString& after, int digits) {
  QList<BatchStep> steps;
  int k = 1;
  for (const QString& path : paths) {
    // A target folder that ends in a separator still gets one more, as typed; it resolves
    // to the same folder.
    const QString target =
        target_folder + u'/' + before + NumberText(k++, digits) + after + QStringLiteral(".jpg");
    steps.append({path, target, [](const QByteArray& input, QString*) -> std::optional<QByteArray> {
                    return input;
                  }});
  }
  return steps;
}

QString IndexLine(const QString& name, const QString& title, const QString& line_end) {
  return QStringLiteral("<a href=\"") + name + QStringLiteral("\">") + name +
         QStringLiteral("</a> - ") + title + line_end;
}

QString NoMarkerMessage(const QString& template_path) {
  return Tr(Text::kNoMarkerLine).arg(template_path, QString::fromUtf16(kTemplateMarker));
}

BatchStep IndexPageStep(const QString& template_path, const QString& output,
                        const QStringList& links) {
  return {template_path, output,
          [=](const QByteArray& input, QString* error) -> std::optional<QByteArray> {
            FileLines file = SplitFile(input);
            const std::optional<QStringList> page = FillTemplate(DecodeLines(file), links);
            if (!page) {
              *error = NoMarkerMessage(template_path);
              return std::nullopt;
            }
            EncodeLines(file, *page);
            file.final_break = true;
            return JoinFile(file);
          }};
}
