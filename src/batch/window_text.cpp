#include "batch/window_text.h"

#include <QPlainTextEdit>

#include "batch/batch_engine.h"
#include "platform/desktop.h"
#include "platform/text_file.h"
#include "platform/text_format.h"

void ShowFileIn(QPlainTextEdit* view, const QString& path) {
  const ReadOutcome read = ReadWholeFile(path, kPageCap);
  if (read.ok()) view->setPlainText(DecodeDetected(read.bytes));
}

void ShowLastResult(QPlainTextEdit* view, const BatchReport& report) {
  if (!report.changed_paths.isEmpty()) ShowFileIn(view, report.changed_paths.last());
}

QString ReadText(Desktop& desktop, QWidget* parent, const QString& path, bool* ok) {
  const ReadOutcome read = ReadWholeFile(path, kPageCap);
  *ok = read.ok();
  if (!read.ok()) {
    desktop.ShowError(parent, read.message());
    return QString();
  }
  return DecodeDetected(read.bytes);
}

QStringList ViewLines(const QPlainTextEdit* view) { return SplitLines(view->toPlainText()); }
