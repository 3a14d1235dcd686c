#pragma once

#include <QDockWidget>
#include <QList>
#include <QStringList>

#include "checks/check_runner.h"
#include "html/problems.h"

class QLabel;
class QToolButton;
class QTreeWidget;

// "Problems": the problems its check runner finds in the current page, sorted by position,
// each with its line and column, severity, source, message and kind. A kind can be hidden
// and shown again.
class ProblemsPanel : public QDockWidget {
  Q_OBJECT
 public:
  explicit ProblemsPanel(CheckRunner& runner, QWidget* parent = nullptr);
  ~ProblemsPanel() override;

  // The checks whose problems the panel lists.
  CheckRunner& Runner() { return runner_; }
  const QList<Problem>& Shown() const { return shown_; }
  // The next (or previous) problem after the caret's line and column, wrapping round; the
  // caret goes there. False when there is none.
  bool GoToNext(int line, int column, bool backward);
  void SetHiddenKinds(const QStringList& kinds);
  QStringList HiddenKinds() const { return hidden_; }
  // "3 errors, 1 warning": for the status field and the title.
  QString Counts() const;

 signals:
  void GoTo(int line, int column);
  void HiddenKindsChanged(const QStringList& kinds);
  void CountsChanged(const QString& counts);

 private:
  void Show();
  void AddRows(qsizetype end);  // rows for shown_ up to end
  void ShowMenu();

  CheckRunner& runner_;
  QTreeWidget* list_;
  QToolButton* menu_button_;
  QList<Problem> shown_;
  qsizetype rows_ = 0;  // shown_ has rows up to here
  QStringList hidden_;
};
