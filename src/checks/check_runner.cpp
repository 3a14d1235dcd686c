#include "checks/check_runner.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>
#include <mutex>

#include "document/editor_model.h"

namespace {

constexpr int kPauseMs = 500;
constexpr qsizetype kOffThread = 1 << 20;
// Lines on screen checked at once on a large page: more (a minified page's line) waits for the
// whole page's check.
constexpr qsizetype kScreenBytes = 256 << 10;

}  // namespace

struct CheckRunner::Waiting {
  std::mutex mutex;
  quint64 generation = 0;
  QByteArray bytes;
  PageChecks checks;
};

CheckRunner::CheckRunner(EditorModel& model, QObject* parent)
    : QObject(parent),
      model_(model),
      waiting_(std::make_shared<Waiting>()),
      pool_(new QThreadPool(this)) {
  // One core at most, so that a check of a large page never slows the window.
  pool_->setMaxThreadCount(1);
  pause_.setSingleShot(true);
  pause_.setInterval(kPauseMs);
  connect(&pause_, &QTimer::timeout, this, &CheckRunner::CheckNow);
}

CheckRunner::~CheckRunner() {
  ++*generation_;
  pool_->clear();
  pool_->waitForDone();
}

void CheckRunner::Schedule() {
  ++*generation_;  // a check under way is for an older text
  pause_.start();
}

void CheckRunner::CheckNow() {
  pause_.stop();
  const quint64 generation = ++*generation_;
  const QByteArrayView text = model_.Buffer();
  if (!ChecksAnything()) {
    Receive(generation, {});
    return;
  }
  if (text.size() <= kOffThread) {
    Receive(generation, CheckPage(text, checks_));
    return;
  }
  CheckScreen(text);
  // A copy of the bytes (the editor's buffer changes with the next key) checked elsewhere;
  // a copy still waiting is replaced, not kept beside it.
  {
    const std::lock_guard lock(waiting_->mutex);
    waiting_->generation = generation;
    waiting_->bytes = text.toByteArray();
    waiting_->checks = checks_;
  }
  QPointer<CheckRunner> runner(this);
  pool_->start([runner, generation, latest = generation_, waiting = waiting_] {
    QByteArray bytes;
    PageChecks checks;
    {
      const std::lock_guard lock(waiting->mutex);
      if (waiting->generation != generation || *latest != generation) return;
      bytes = std::exchange(waiting->bytes, {});
      checks = waiting->checks;
    }
    checks.spelling_options.stopped = [&latest, generation] { return *latest != generation; };
    QList<Problem> problems = CheckPage(bytes, checks);
    if (*latest != generation) return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [runner, generation, problems = std::move(problems)] {
          if (runner) runner->Receive(generation, problems);
        },
        Qt::QueuedConnection);
  });
}

void CheckRunner::CheckScreen(QByteArrayView text) {
  if (!screen_ || !checks_.spelling || !checks_.speller) return;
  const Screen screen = screen_();
  const qsizetype from = std::clamp<qsizetype>(screen.from, 0, text.size());
  const qsizetype to = std::clamp<qsizetype>(screen.to, from, text.size());
  if (to - from > kScreenBytes) return;
  PageChecks checks = checks_;
  checks.html = false;
  checks.links = false;
  QList<Problem> found = CheckPage(text.sliced(from, to - from), checks);
  for (Problem& problem : found) problem.line += screen.first_line - 1;
  // The spelling found before on these lines is replaced; the rest waits for the whole check.
  problems_.removeIf([&](const Problem& problem) {
    return problem.source == ProblemSource::kSpelling && problem.line >= screen.first_line &&
           problem.line <= screen.last_line;
  });
  problems_ += found;
  SortByPosition(problems_);
  emit ProblemsChanged();
}

void CheckRunner::Receive(quint64 generation, const QList<Problem>& problems) {
  if (generation != *generation_) return;
  problems_ = problems;
  emit ProblemsChanged();
}

void CheckRunner::DropWord(const QString& word) {
  const qsizetype before = problems_.size();
  problems_.removeIf([&word](const Problem& problem) {
    return problem.source == ProblemSource::kSpelling && problem.subject == word;
  });
  if (problems_.size() != before) emit ProblemsChanged();
}
