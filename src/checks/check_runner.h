#pragma once

#include <QList>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>

#include "checks/page_check.h"
#include "html/problems.h"

class EditorModel;
class QThreadPool;

// Keeps the problems of the page an editor model holds: checked 500 ms after typing stops
// and at once when another page shows. A page over 1 MiB has the spelling of the lines on
// screen checked at once and the whole page off the GUI thread, on a copy of its bytes, on
// one thread of the runner's own (never the pool painting shares); a newer edit drops an
// older check. Views (the problems panel, the editor's marks) listen to ProblemsChanged.
class CheckRunner : public QObject {
  Q_OBJECT
 public:
  explicit CheckRunner(EditorModel& model, QObject* parent = nullptr);
  ~CheckRunner() override;

  // What the next checks look for.
  void SetChecks(const PageChecks& checks) { checks_ = checks; }
  const PageChecks& Checks() const { return checks_; }
  bool ChecksAnything() const { return checks_.html || checks_.spelling || checks_.links; }
  // The bytes of the lines on screen [from, to), their first and last line (from 1).
  struct Screen {
    qsizetype from = 0;
    qsizetype to = 0;
    int first_line = 1;
    int last_line = 1;
  };
  void SetScreen(std::function<Screen()> screen) { screen_ = std::move(screen); }

  // The text changed: checked after a pause.
  void Schedule();
  // Another text shows (opened, reloaded, another page): checked now.
  void CheckNow();
  // The problems found last, sorted by position.
  const QList<Problem>& Problems() const { return problems_; }
  // A word the user ignored or added leaves the problems at once, before the next check.
  void DropWord(const QString& word);

 signals:
  void ProblemsChanged();

 private:
  void Receive(quint64 generation, const QList<Problem>& problems);
  // The spelling of the lines on screen, ahead of the whole page's check.
  void CheckScreen(QByteArrayView text);

  EditorModel& model_;
  PageChecks checks_;
  QTimer pause_;
  QList<Problem> problems_;
  std::function<Screen()> screen_;
  // Each check carries the generation it was started for; an older one's result is dropped.
  std::shared_ptr<std::atomic<quint64>> generation_ = std::make_shared<std::atomic<quint64>>(0);
  // The latest page waiting for its check: only one copy of a large page is ever held.
  struct Waiting;
  std::shared_ptr<Waiting> waiting_;
  QThreadPool* pool_;
};
