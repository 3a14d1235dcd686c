#pragma once

#include <QObject>
#include <QTimer>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "document/recovery.h"

// Keeps the recovery copies of the pages with unsaved edits up to date: Due asks for the
// current page's copy 2 s after its last edit; copies are converted and written on a thread
// of their own, a newer copy of a page replacing one still waiting.
class RecoveryKeeper : public QObject {
  Q_OBJECT
 public:
  // store opened already, or not at all (then nothing is written and nothing asked).
  explicit RecoveryKeeper(RecoveryStore& store, QObject* parent = nullptr);
  ~RecoveryKeeper() override;

  bool Active() const { return store_.IsOpen(); }
  // The page was edited: its copy is due after a pause.
  void Edited(int page);
  // The pause is cut short (the window loses the focus, another page is shown).
  void FlushDue();
  // Queues page's copy; copy.bytes is the editor's UTF-8, turned into the page's bytes
  // off this thread.
  void Keep(int page, RecoveryCopy copy);
  // The page has no unsaved edits any more (saved, closed, undone): its copy goes.
  void Forget(int page);
  // The program ends normally: waiting work is dropped, every copy goes.
  void EndNormally();
  // Waits until every queued copy is written or removed.
  void WaitIdle();
  // The page's latest copy is whole on disk.
  bool Written(int page);

 signals:
  void Due(int page);
  // A copy could not be written; said once per run.
  void WriteFailed(const QString& message);

 private:
  struct Job {
    bool remove = false;
    RecoveryCopy copy;
  };
  void Work();

  RecoveryStore& store_;
  QTimer pause_;
  int due_page_ = -1;
  bool failure_told_ = false;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::map<int, Job> jobs_;
  std::set<int> written_;
  bool busy_ = false;
  bool stop_ = false;
  std::thread worker_;
};
