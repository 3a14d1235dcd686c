#pragma once

#include <QFrame>
#include <functional>
#include <memory>

#include "batch/batch_engine.h"

class Desktop;
class QLabel;
class QProgressDialog;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// A progress dialog for a job over many files: it appears when the job takes more than half
// a second, follows the sink's calls, and its Cancel makes the sink answer false (the job
// stops between files). A job that must run to its end (an undo) shows no Cancel.
class FileProgress {
 public:
  enum class Stop { kByCancel, kNever };
  FileProgress(QWidget* parent, const QString& label, Stop stop = Stop::kByCancel);
  ~FileProgress();
  ProgressSink Sink();

 private:
  std::unique_ptr<QProgressDialog> dialog_;
};

// The strip every batch window carries: "Preview changes" (a dry run of the same job), the
// report of the last run and "Undo this run".
class BatchPanel : public QFrame {
  Q_OBJECT
 public:
  // The job of the window: runs steps or renames with the given options.
  using Job = std::function<BatchReport(const BatchOptions& options)>;
  BatchPanel(Desktop& desktop, QWidget* parent);

  void SetJob(Job job) { job_ = std::move(job); }
  // Runs the job for real with a progress dialog; shows the report; returns it.
  BatchReport Run(const QString& label);
  // Runs the job with writing switched off and lists what would change.
  BatchReport Preview();
  void UndoRun();
  QString ReportText() const;

 signals:
  void Finished();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void ShowPreview(const BatchReport& report);
  // "Undo this run" is enabled while the run can still be undone.
  void RefreshUndo();

  Desktop& desktop_;
  Job job_;
  QLabel* report_;
  QPushButton* undo_;
  QListWidget* changed_files_;
  QPlainTextEdit* diff_;
  QString journal_;
  QList<BatchChange> changes_;
};
