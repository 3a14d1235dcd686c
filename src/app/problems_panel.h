#pragma once

#include <QDockWidget>
#include <QList>
#include <QStringList>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>

#include "checks/page_check.h"
#include "html/problems.h"

class EditorModel;
class QLabel;
class QThreadPool;
class QToolButton;
class QTreeWidget;

// "Problems": the current page's HTML and spelling problems, sorted by position, each with its line
// and column, severity, source, message and kind. Checked 500 ms after typing stops and at once
// when another page shows. A page over 1 MiB has the spelling of the lines on screen checked at
// once and the whole page off the GUI thread, on a copy of its bytes, on one thread of the
// panel's own (never the pool painting shares); a newer edit drops an older check. A kind can
// be hidden and shown again.
class ProblemsPanel : public QDockWidget {
  Q_OBJECT
 public:
  explicit ProblemsPanel(EditorModel& model, QWidget* parent = nullptr);
  ~ProblemsPanel() override;

  // What the next checks look for.
  void SetChecks(const PageChecks& checks) { checks_ = checks; }
  // The bytes of the lines on screen [from, to), their first and last line (from 1).
  struct Screen {
    qsizetype from = 0;
    qsizetype to = 0;
    int first_line = 1;
    int last_line = 1;
  };
  void SetScreen(std::function<Screen()> screen) { screen_ = std::move(screen); }
  bool ChecksAnything() const { return checks_.html || checks_.spelling || checks_.links; }
  // The text changed: checked after a pause.
  void Schedule();
  // Another text shows (opened, reloaded, another page): checked now.
  void CheckNow();
  const QList<Problem>& Shown() const { return shown_; }
  // The next (or previous) problem after the caret's line and column, wrapping round; the
  // caret goes there. False when there is none.
  bool GoToNext(int line, int column, bool backward);
  void SetHiddenKinds(const QStringList& kinds);
  // A word the user ignored or added leaves the list at once, before the next check.
  void DropWord(const QString& word);
  QStringList HiddenKinds() const { return hidden_; }
  // "3 errors, 1 warning": for the status field and the title.
  QString Counts() const;

 signals:
  void GoTo(int line, int column);
  void HiddenKindsChanged(const QStringList& kinds);
  void CountsChanged(const QString& counts);

 private:
  void Receive(quint64 generation, const QList<Problem>& problems);
  // The spelling of the lines on screen, ahead of the whole page's check.
  void CheckScreen(QByteArrayView text);
  void Show();
  void AddRows(qsizetype end);  // rows for shown_ up to end
  void ShowMenu();

  EditorModel& model_;
  PageChecks checks_;
  QTreeWidget* list_;
  QToolButton* menu_button_;
  QTimer pause_;
  QList<Problem> all_;
  QList<Problem> shown_;
  qsizetype rows_ = 0;  // shown_ has rows up to here
  QStringList hidden_;
  std::function<Screen()> screen_;
  // Each check carries the generation it was started for; an older one's result is dropped.
  std::shared_ptr<std::atomic<quint64>> generation_ = std::make_shared<std::atomic<quint64>>(0);
  // The latest page waiting for its check: only one copy of a large page is ever held.
  struct Waiting;
  std::shared_ptr<Waiting> waiting_;
  QThreadPool* pool_;
};
