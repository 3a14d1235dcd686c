#include "app/recovery_keeper.h"

namespace {

constexpr int kPauseMs = 2000;

// The hash of the page's file as it was opened or saved: read from disk while the file is
// still that version, so opening and saving pay nothing for it.
QByteArray DiskMd5(const RecoveryCopy& copy) {
  if (copy.path.isEmpty() || !copy.disk.exists || StampOf(copy.path) != copy.disk) return {};
  return FileMd5(copy.path);
}

}  // namespace

RecoveryKeeper::RecoveryKeeper(RecoveryStore& store, QObject* parent)
    : QObject(parent), store_(store) {
  pause_.setSingleShot(true);
  pause_.setInterval(kPauseMs);
  connect(&pause_, &QTimer::timeout, this, &RecoveryKeeper::FlushDue);
  worker_ = std::thread([this] { Work(); });
}

RecoveryKeeper::~RecoveryKeeper() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  worker_.join();
}

void RecoveryKeeper::Edited(int page) {
  if (!Active()) return;
  if (due_page_ != page && due_page_ >= 0) FlushDue();
  due_page_ = page;
  pause_.start();
}

void RecoveryKeeper::FlushDue() {
  pause_.stop();
  const int page = std::exchange(due_page_, -1);
  if (page >= 0) emit Due(page);
}

void RecoveryKeeper::Keep(int page, RecoveryCopy copy) {
  if (!Active()) return;
  {
    const std::lock_guard lock(mutex_);
    jobs_[page] = Job{false, std::move(copy)};
  }
  wake_.notify_all();
}

void RecoveryKeeper::Forget(int page) {
  if (!Active()) return;
  if (due_page_ == page) {
    pause_.stop();
    due_page_ = -1;
  }
  {
    const std::lock_guard lock(mutex_);
    jobs_[page] = Job{true, {}};
  }
  wake_.notify_all();
}

void RecoveryKeeper::EndNormally() {
  pause_.stop();
  due_page_ = -1;
  {
    std::unique_lock lock(mutex_);
    jobs_.clear();
    idle_.wait(lock, [this] { return !busy_; });
  }
  store_.RemoveAll();
}

void RecoveryKeeper::WaitIdle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

bool RecoveryKeeper::Written(int page) {
  const std::lock_guard lock(mutex_);
  return written_.contains(page) && !jobs_.contains(page);
}

void RecoveryKeeper::Work() {
  std::map<QString, std::pair<FileStamp, QByteArray>> hashes;  // by path: the stamp hashed
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
    if (stop_) return;
    auto [page, job] = *jobs_.begin();
    jobs_.erase(jobs_.begin());
    busy_ = true;
    lock.unlock();
    QString error;
    bool ok = true;
    if (job.remove) {
      store_.Remove(page);
    } else {
      RecoveryCopy& copy = job.copy;
      copy.bytes = FileBytes(copy.bytes, copy.format);
      auto& known = hashes[copy.path];
      if (known.first != copy.disk || known.second.isEmpty()) known = {copy.disk, DiskMd5(copy)};
      copy.disk_md5 = known.second;
      ok = store_.Write(page, copy.Encoded(), &error);
    }
    lock.lock();
    if (ok && !job.remove) {
      written_.insert(page);
    } else {
      written_.erase(page);
    }
    busy_ = false;
    if (jobs_.empty()) idle_.notify_all();
    if (!ok) {
      QMetaObject::invokeMethod(
          this,
          [this, error] {
            if (std::exchange(failure_told_, true)) return;
            emit WriteFailed(error);
          },
          Qt::QueuedConnection);
    }
  }
}
