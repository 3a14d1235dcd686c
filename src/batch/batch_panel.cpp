#include "batch/batch_panel.h"
#include "names/texts.h"

#include <QEvent>

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include "batch/batch_engine.h"
#include "document/line_diff.h"
#include "platform/desktop.h"
#include "platform/folder_listing.h"

namespace {

QString FileName(const QString& path) { return QFileInfo(path).fileName(); }

// What a dry run would do to one file: a rename, or the changed lines with their context.
QString ChangedLines(const BatchChange& change) {
  if (!change.renamed_from.isEmpty()) {
    return FileName(change.renamed_from) + QStringLiteral(" -> ") + FileName(change.path);
  }
  const QString diff =
      UnifiedLineDiff(DecodeLines(SplitFile(change.before)), DecodeLines(SplitFile(change.after)));
  return diff.isEmpty() ? Tr(Text::kOnlyLineEnds) : diff;
}

// The folder all paths lie in ("/site/" for /site/a.htm and /site/sub/b.htm), so that the
// lists name files by their path inside the folder the run was over.
QString CommonFolder(const QStringList& paths) {
  if (paths.isEmpty()) return QString();
  QString common = paths.first().left(paths.first().lastIndexOf(u'/') + 1);
  for (const QString& path : paths) {
    while (!common.isEmpty() && !path.startsWith(common)) {
      common.chop(1);
      common = common.left(common.lastIndexOf(u'/') + 1);
    }
  }
  return common;
}

QString Inside(const QString& path, const QString& folder) {
  return PrintableName(path.startsWith(folder) ? path.sliced(folder.size()) : path);
}

QString ChangeLabel(const BatchChange& change, const QString& folder) {
  if (!change.renamed_from.isEmpty()) {
    return PrintableName(FileName(change.renamed_from) + QStringLiteral(" -> ") +
                         FileName(change.path));
  }
  const QString name = Inside(change.path, folder);
  if (change.replaces) return name + Tr(Text::kReplacesExisting);
  if (!change.existed) return name + Tr(Text::kNewFile);
  return name;
}

// One line per file a run touched, failed or left alone.
QStringList ResultLines(const BatchReport& report) {
  QStringList lines;
  if (!report.renamed.isEmpty()) {
    lines = report.renamed;
  } else {
    const QString folder = CommonFolder(report.changed_paths);
    for (const QString& path : report.changed_paths) {
      lines.append(Inside(path, folder) + (report.replaced_paths.contains(path)
                                               ? Tr(Text::kReplacedExisting)
                                               : QString()));
    }
  }
  for (const QString& skipped : report.skipped) {
    lines.append(Tr(Text::kLeftAlone) + PrintableName(skipped));
  }
  for (const BatchFailure& failure : report.failures) {
    lines.append(Tr(Text::kFailedPrefix) + PrintableName(failure.error.message));
  }
  return lines;
}

}  // namespace

BatchPanel::BatchPanel(Desktop& desktop, QWidget* parent)
    : QFrame(parent),
      desktop_(desktop),
      report_(new QLabel(this)),
      undo_(new QPushButton(this)),
      changed_files_(new QListWidget(this)),
      diff_(new QPlainTextEdit(this)) {
  setObjectName(QStringLiteral("BatchPanel"));
  report_->setObjectName(QStringLiteral("BatchReport"));
  report_->setWordWrap(true);
  undo_->setObjectName(QStringLiteral("UndoRun"));
  ShowText(undo_, &QPushButton::setText, Text::kUndoThisRun);
  undo_->setEnabled(false);
  auto* preview = new QPushButton(this);
  preview->setObjectName(QStringLiteral("PreviewChanges"));
  ShowText(preview, &QPushButton::setText, Text::kPreviewChanges);
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
  // The list and the lines share whatever height the window gives the panel.
  auto* previews = new QSplitter(Qt::Horizontal, this);
  previews->addWidget(changed_files_);
  previews->addWidget(diff_);
  previews->setStretchFactor(0, 1);
  previews->setStretchFactor(1, 2);
  diff_->setMinimumHeight(120);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(buttons);
  layout->addWidget(previews, 1);
  connect(preview, &QPushButton::clicked, this, &BatchPanel::Preview);
  connect(undo_, &QPushButton::clicked, this, &BatchPanel::UndoRun);
  connect(changed_files_, &QListWidget::currentRowChanged, this, [this](int row) {
    diff_->setPlainText(row >= 0 && row < changes_.size() ? ChangedLines(changes_[row])
                                                          : QString());
  });
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  diff_->setFont(fixed);
}

FileProgress::FileProgress(QWidget* parent, const QString& label, Stop stop)
    : dialog_(std::make_unique<QProgressDialog>(label, Tr(Text::kCancel), 0, 100, parent)) {
  dialog_->setObjectName(QStringLiteral("BatchProgress"));
  if (stop == Stop::kNever) dialog_->setCancelButton(nullptr);
  dialog_->setWindowModality(Qt::WindowModal);
  dialog_->setMinimumDuration(500);
}

FileProgress::~FileProgress() { dialog_->reset(); }

ProgressSink FileProgress::Sink() {
  return [dialog = dialog_.get()](int done, int total, const QString& path) {
    dialog->setMaximum(std::max(total, 1));
    dialog->setValue(done);
    dialog->setLabelText(path);
    return !dialog->wasCanceled();
  };
}

BatchReport BatchPanel::Run(const QString& label) {
  if (!job_) return {};
  FileProgress progress(this, Tr(Text::kProcessingFiles));
  BatchOptions options;
  options.label = label;
  options.progress = progress.Sink();
  const BatchReport report = job_(options);
  journal_ = report.journal;
  RefreshUndo();
  report_->setText(report.Summary());
  changes_.clear();
  changed_files_->clear();
  changed_files_->addItems(ResultLines(report));
  changed_files_->setVisible(changed_files_->count() > 0);
  diff_->hide();
  if (!report.ok()) {
    desktop_.ShowError(
        window(), report.failures.size() > 1
                      ? Tr(Text::kFilesFailedFirst).arg(report.failures.size()).arg(report.error)
                      : report.error);
  }
  emit Finished();
  return report;
}

BatchReport BatchPanel::Preview() {
  if (!job_) return {};
  // A dry run reads every file too: it shows how far it is and can be stopped.
  FileProgress progress(this, Tr(Text::kLookingAtFiles));
  BatchOptions options;
  options.dry_run = true;
  options.progress = progress.Sink();
  const BatchReport report = job_(options);
  ShowPreview(report);
  return report;
}

void BatchPanel::ShowPreview(const BatchReport& report) {
  changes_ = report.changes;
  changed_files_->clear();
  QStringList paths;
  for (const BatchChange& change : changes_) paths.append(change.path);
  const QString folder = CommonFolder(paths);
  for (const BatchChange& change : changes_) changed_files_->addItem(ChangeLabel(change, folder));
  // Files that would fail or be left alone follow, without a view of lines.
  for (const QString& skipped : report.skipped) {
    changed_files_->addItem(Tr(Text::kLeftAlone) + PrintableName(skipped));
  }
  for (const BatchFailure& failure : report.failures) {
    changed_files_->addItem(Tr(Text::kWouldFail) + PrintableName(failure.error.message));
  }
  const qsizetype replacing = std::count_if(changes_.begin(), changes_.end(),
                                            [](const BatchChange& c) { return c.replaces; });
  QString summary = Tr(Text::kPreviewSummary).arg(changes_.size());
  if (replacing > 0) summary += Tr(Text::kPreviewReplacing).arg(replacing);
  if (!report.ok()) summary += Tr(Text::kPreviewFailing).arg(report.failures.size());
  report_->setText(summary);
  changed_files_->setVisible(true);
  diff_->setVisible(true);
  diff_->clear();
  // The diff is what the user reads now: it takes most of the window's height.
  QSizePolicy policy = sizePolicy();
  policy.setVerticalPolicy(QSizePolicy::Expanding);
  policy.setVerticalStretch(3);
  setSizePolicy(policy);
  if (!changes_.isEmpty()) changed_files_->setCurrentRow(0);
}

bool BatchPanel::eventFilter(QObject* watched, QEvent* event) {
  // Back in the window: the run may have been undone meanwhile, from the Tools menu or the
  // command line.
  if (event->type() == QEvent::WindowActivate) RefreshUndo();
  return QFrame::eventFilter(watched, event);
}

void BatchPanel::showEvent(QShowEvent* event) {
  QFrame::showEvent(event);
  window()->removeEventFilter(this);
  window()->installEventFilter(this);
  RefreshUndo();
}

void BatchPanel::RefreshUndo() { undo_->setEnabled(RunIsUndoable(journal_)); }

void BatchPanel::UndoRun() {
  if (!RunIsUndoable(journal_)) {
    if (!journal_.isEmpty()) report_->setText(Tr(Text::kAlreadyUndone));
    RefreshUndo();
    return;
  }
  FileProgress progress(this, Tr(Text::kUndoingRun), FileProgress::Stop::kNever);
  const UndoReport undo = UndoLastRun(QString(), journal_, false, progress.Sink());
  journal_.clear();
  undo_->setEnabled(false);
  QString text = Tr(Text::kUndone).arg(undo.restored);
  if (!undo.conflicts.isEmpty()) {
    text += Tr(Text::kChangedSinceRun) + undo.conflicts.join(QStringLiteral(", "));
  }
  if (undo.kept) text += Tr(Text::kJournalKept) + undo.journal;
  if (!undo.failed.isEmpty()) desktop_.ShowError(window(), undo.failed.join(u'\n'));
  report_->setText(text);
  emit Finished();
}

QString BatchPanel::ReportText() const { return report_->text(); }
