#pragma once

#include <QMap>
#include <QRegularExpression>

#include <QList>
#include <QStringList>
#include <optional>

#include "batch/batch_engine.h"

// The batch tools as lists of engine steps. Texts typed by the user are encoded into each
// file's own encoding.

enum class BlockMode { kReplace, kAppend, kPrepend };
QList<BatchStep> BlockEditSteps(const QStringList& files, BlockMode mode, const QStringList& find,
                                const QStringList& replacement);
QList<BatchStep> DeleteBlockSteps(const QStringList& files, const QStringList& find);
// The first occurrence of find in every line, or every occurrence when every_match.
// Each page laid out again by the formatter, in its own line ends, its byte order mark kept;
// a page that cannot be formatted safely fails with the reason and is left as it is.
QList<BatchStep> FormatSteps(const QStringList& files);
// Find in files' "Replace these": every match of expression on the listed lines (from 1) of
// each file, replaced; a literal replacement (regex false) takes no back references.
QList<BatchStep> ReplaceHitsSteps(const QMap<QString, QList<int>>& lines_by_file,
                                  const QRegularExpression& expression, const QString& replacement,
                                  bool regex);
QList<BatchStep> ReplaceTextSteps(const QStringList& files, const QString& find,
                                  const QString& replacement, bool every_match = false);

// Converter: text to HTML (wrapped in "<html>" lines) or HTML to text, optionally tidied,
// written over the source or under the other extension.
QList<BatchStep> ConvertSteps(const QStringList& files, bool to_html, bool tidy,
                              bool other_extension);
QString ConvertedPath(const QString& path, bool to_html);
QList<BatchStep> TidySteps(const QStringList& files);

// Templates (kTemplateMarker is the line they fill).
// The last line from the second on that holds the marker.
std::optional<int> MarkerLine(const QStringList& lines);
std::optional<QStringList> FillTemplate(const QStringList& template_lines,
                                        const QStringList& content);
// Every file poured into the template read from template_path, at line marker_line (found in
// the template as shown when the run started); the template is read again for each file.
QList<BatchStep> ApplyTemplateSteps(const QString& template_path, int marker_line,
                                    const QStringList& files);

// Page series and renamer.
QString NumberText(int n, int digits);
QString SeriesPath(const QString& folder, const QString& base, const QString& number);
// A page series: the page written for each number from first to last, its line line_index
// replaced by before + number (digits wide) + after, as folder/base + number.
struct SeriesRequest {
  QStringList page;
  int line_index = 0;
  int first = 1;
  int last = 1;
  int digits = 4;
  QString before;
  QString after;
  QString folder;
  QString base;
  TextFormat format;
};
QList<BatchStep> SeriesSteps(const SeriesRequest& request);
// Files of folder renamed to before + number + after with the new extension, or to their own
// name with the new extension in place of the old one (keep_name).
struct RenameRequest {
  QString folder;
  QStringList names;
  QString before;
  QString after;
  int digits = 2;
  QString old_extension;
  QString new_extension;
  bool keep_name = false;
};
QList<Rename> RenamePlan(const RenameRequest& request);
QList<BatchStep> CopyNumberedSteps(const QStringList& paths, const QString& target_folder,
                                   const QString& before, const QString& after, int digits);

// Index page: one link line per file.
QString IndexLine(const QString& name, const QString& title, const QString& line_end);
// Writes output: the template read from template_path with its marker line replaced by
// links, in the template's encoding. A template without the marker fails, naming it.
BatchStep IndexPageStep(const QString& template_path, const QString& output,
                        const QStringList& links);
QString NoMarkerMessage(const QString& template_path);
