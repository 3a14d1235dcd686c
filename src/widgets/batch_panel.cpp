#include "widgets/batch_panel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

#include "batch/batch_engine.h"
#include "platform/desktop.h"

namespace {

// The lines that differ between two versions, as "- old" / "+ new" around the common start
// and end.
QString ChangedLines(const BatchChange& change) {
  if (!change.existed && change.before.isEmpty() && change.after.size() < 200 &&
      !change.after.contains('\n')) {
    return QString::fromUtf8(change.before) + QStringLiteral(" -> ") +
           QString::fromUtf8(change.after);
  }
  const FileLines before = SplitFile(change.before);
  const FileLines after = SplitFile(change.after);
  const QStringList old_lines = DecodeLines(before);
  const QStringList new_lines = DecodeLines(after);
  qsizetype head = 0;
  while (head < old_lines.size() && head < new_lines.size() && old_lines[head] == new_lines[head]) {
    ++head;
  }
  qsizetype tail = 0;
  while (tail < old_lines.size() - head && tail < new_lines.size() - head &&
         old_lines[old_lines.size() - 1 - tail] == new_lines[new_lines.size() - 1 - tail]) {
    ++tail;
  }
  QString text = QStringLiteral("@@ line %1\n").arg(head + 1);
  for (qsizetype i = head; i < old_lines.size() - tail; ++i)
    text += QStringLiteral("- ") + old_lines[i] + u'\n';
  for (qsizetype i = head; i < new_lines.size() - tail; ++i)
    text += QStringLiteral("+ ") + new_lines[i] + u'\n';
  return text;
}

}  // namespace

BatchPanel::BatchPanel(Desktop& desktop, QWidget* parent)
    : QFrame(parent),
      desktop_(desktop),
      report_(new QLabel(this)),
      undo_(new QPushButton(QStringLiteral("Undo this run"), this)),
      changed_files_(new QListWidget(this)),
      diff_(new QPlainTextEdit(this)) {
  setObjectName(QStringLiteral("BatchPanel"));
  report_->setObjectName(QStringLiteral("BatchReport"));
  report_->setWordWrap(true);
  undo_->setObjectName(QStringLiteral("UndoRun"));
  undo_->setEnabled(false);
  auto* preview = new QPushButton(QStringLiteral("Preview changes"), this);
  preview->setObjectName(QStringLiteral("PreviewChanges"));
  changed_files_->setObjectName(QStringLiteral("PreviewFiles"));
  diff_->setObjectName(QStringLiteral("PreviewLines"));
  diff_->setReadOnly(true);
  diff_->setLineWrapMode(QPlainTextEdit::NoWrap);
  changed_files_->hide();
  diff_->hide();
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(preview);
  buttons->addWidget(undo_);
  buttons->addWidget(report_, 1);
  auto* previews = new QHBoxLayout;
  previews->addWidget(changed_files_, 1);
  previews->addWidget(diff_, 2);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(buttons);
  layout->addLayout(previews);
  connect(preview, &QPushButton::clicked, this, &BatchPanel::Preview);
  connect(undo_, &QPushButton::clicked, this, &BatchPanel::UndoRun);
  connect(changed_files_, &QListWidget::currentRowChanged, this, [this](int row) {
    diff_->setPlainText(row >= 0 && row < changes_.size() ? ChangedLines(changes_[row])
                                                          : QString());
  });
}

BatchReport BatchPanel::Run(const QString& label) {
  if (!job_) return {};
  QProgressDialog progress(QStringLiteral("Processing files..."), QStringLiteral("Cancel"), 0, 100,
                           this);
  progress.setObjectName(QStringLiteral("BatchProgress"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  BatchOptions options;
  options.label = label;
  options.progress = [&progress](int done, int total, const QString& path) {
    progress.setMaximum(std::max(total, 1));
    progress.setValue(done);
    progress.setLabelText(path);
    return !progress.wasCanceled();
  };
  const BatchReport report = job_(options);
  progress.reset();
  journal_ = report.journal;
  undo_->setEnabled(!journal_.isEmpty());
  report_->setText(report.Summary());
  changed_files_->hide();
  diff_->hide();
  if (!report.ok()) desktop_.ShowError(window(), report.error);
  emit Finished();
  return report;
}

BatchReport BatchPanel::Preview() {
  if (!job_) return {};
  BatchOptions options;
  options.dry_run = true;
  const BatchReport report = job_(options);
  ShowPreview(report);
  return report;
}

void BatchPanel::ShowPreview(const BatchReport& report) {
  changes_ = report.changes;
  changed_files_->clear();
  for (const BatchChange& change : changes_) changed_files_->addItem(change.path);
  report_->setText(QStringLiteral("Preview: %1 file(s) would change.").arg(changes_.size()) +
                   (report.ok() ? QString() : QStringLiteral(" Would stop at: ") + report.error));
  changed_files_->setVisible(true);
  diff_->setVisible(true);
  diff_->clear();
  if (!changes_.isEmpty()) changed_files_->setCurrentRow(0);
}

void BatchPanel::UndoRun() {
  if (journal_.isEmpty()) return;
  const UndoReport undo = UndoLastRun(QString(), journal_);
  journal_.clear();
  undo_->setEnabled(false);
  QString text = QStringLiteral("Undone: %1 file(s) restored.").arg(undo.restored);
  if (!undo.conflicts.isEmpty()) {
    text += QStringLiteral(" Changed since the run, left alone: ") +
            undo.conflicts.join(QStringLiteral(", "));
  }
  if (!undo.error.isEmpty()) desktop_.ShowError(window(), undo.error);
  report_->setText(text);
  emit Finished();
}

QString BatchPanel::ReportText() const { return report_->text(); }
