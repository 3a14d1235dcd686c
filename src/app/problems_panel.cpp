#include "app/problems_panel.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>
#include <QThreadPool>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <mutex>

#include "document/editor_model.h"
#include "names/texts.h"

namespace {

constexpr int kPauseMs = 500;
constexpr qsizetype kOffThread = 1 << 20;
// Rows are made as they come into view: a large page can have a million problems, and a
// row for each would hold the window up for seconds after every check.
constexpr qsizetype kRowsAtOnce = 500;
// Lines on screen checked at once on a large page: more (a minified page's line) waits for the
// whole page's check.
constexpr qsizetype kScreenBytes = 256 << 10;

}  // namespace

struct ProblemsPanel::Waiting {
  std::mutex mutex;
  quint64 generation = 0;
  QByteArray bytes;
  PageChecks checks;
};

ProblemsPanel::ProblemsPanel(EditorModel& model, QWidget* parent)
    : QDockWidget(parent),
      model_(model),
      list_(new QTreeWidget(this)),
      menu_button_(new QToolButton(this)),
      waiting_(std::make_shared<Waiting>()),
      pool_(new QThreadPool(this)) {
  // One core at most, so that a check of a large page never slows the window.
  pool_->setMaxThreadCount(1);
  setObjectName(QStringLiteral("ProblemsPanel"));
  list_->setObjectName(QStringLiteral("ProblemsList"));
  list_->setRootIsDecorated(false);
  list_->setColumnCount(6);
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  list_->setUniformRowHeights(true);
  list_->header()->setStretchLastSection(false);
  for (int column : {0, 1, 2, 3, 5}) {
    list_->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
  list_->header()->setSectionResizeMode(4, QHeaderView::Stretch);
  BindText(list_, [this] {
    list_->setHeaderLabels({Tr(Text::kProblemLine), Tr(Text::kProblemColumn),
                            Tr(Text::kProblemSeverity), Tr(Text::kProblemSource),
                            Tr(Text::kProblemMessage), Tr(Text::kProblemKind)});
    Show();
  });
  menu_button_->setObjectName(QStringLiteral("ProblemsMenu"));
  menu_button_->setText(QStringLiteral("…"));
  ShowText(menu_button_, &QToolButton::setToolTip, Text::kHiddenKinds);
  connect(menu_button_, &QToolButton::clicked, this, &ProblemsPanel::ShowMenu);

  auto* inside = new QWidget(this);
  auto* layout = new QVBoxLayout(inside);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(menu_button_, 0, Qt::AlignRight);
  layout->addWidget(list_, 1);
  setWidget(inside);

  pause_.setSingleShot(true);
  pause_.setInterval(kPauseMs);
  connect(&pause_, &QTimer::timeout, this, &ProblemsPanel::CheckNow);
  const auto go = [this](QTreeWidgetItem* item) {
    if (item == nullptr) return;
    const Problem& problem = shown_.at(list_->indexOfTopLevelItem(item));
    emit GoTo(problem.line, problem.column);
  };
  connect(list_, &QTreeWidget::itemActivated, this, go);
  QScrollBar* scroll = list_->verticalScrollBar();
  connect(scroll, &QScrollBar::valueChanged, this, [this, scroll](int value) {
    if (value >= scroll->maximum() - scroll->pageStep()) AddRows(rows_ + kRowsAtOnce);
  });
  connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    QTreeWidgetItem* item = list_->itemAt(pos);
    if (item == nullptr) return;
    const QString kind = shown_.at(list_->indexOfTopLevelItem(item)).kind;
    QMenu menu(this);
    QAction* hide = menu.addAction(Tr(Text::kHideProblemKind));
    hide->setObjectName(QStringLiteral("HideProblemKind"));
    if (menu.exec(list_->viewport()->mapToGlobal(pos)) == hide) {
      SetHiddenKinds(hidden_ + QStringList{kind});
      emit HiddenKindsChanged(hidden_);
    }
  });
  Show();
}

ProblemsPanel::~ProblemsPanel() {
  ++*generation_;
  pool_->clear();
  pool_->waitForDone();
}

void ProblemsPanel::Schedule() {
  ++*generation_;  // a check under way is for an older text
  pause_.start();
}

void ProblemsPanel::CheckNow() {
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
  QPointer<ProblemsPanel> panel(this);
  pool_->start([panel, generation, latest = generation_, waiting = waiting_] {
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
        [panel, generation, problems = std::move(problems)] {
          if (panel) panel->Receive(generation, problems);
        },
        Qt::QueuedConnection);
  });
}

void ProblemsPanel::CheckScreen(QByteArrayView text) {
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
  all_.removeIf([&](const Problem& problem) {
    return problem.source == ProblemSource::kSpelling && problem.line >= screen.first_line &&
           problem.line <= screen.last_line;
  });
  all_ += found;
  SortByPosition(all_);
  Show();
}

void ProblemsPanel::Receive(quint64 generation, const QList<Problem>& problems) {
  if (generation != *generation_) return;
  all_ = problems;
  Show();
}

void ProblemsPanel::SetHiddenKinds(const QStringList& kinds) {
  hidden_ = kinds;
  hidden_.removeDuplicates();
  Show();
}

void ProblemsPanel::DropWord(const QString& word) {
  const qsizetype before = all_.size();
  all_.removeIf([&word](const Problem& problem) {
    return problem.source == ProblemSource::kSpelling && problem.subject == word;
  });
  if (all_.size() != before) Show();
}

void ProblemsPanel::Show() {
  if (hidden_.isEmpty()) {
    shown_ = all_;
  } else {
    shown_.clear();
    for (const Problem& problem : std::as_const(all_)) {
      if (!hidden_.contains(problem.kind)) shown_.append(problem);
    }
  }
  list_->clear();
  rows_ = 0;
  AddRows(kRowsAtOnce);
  setWindowTitle(Tr(Text::kProblemsTitle).arg(Counts()));
  menu_button_->setEnabled(!hidden_.isEmpty());
  emit CountsChanged(Counts());
}

void ProblemsPanel::AddRows(qsizetype end) {
  end = std::min(end, shown_.size());
  if (end <= rows_) return;
  QList<QTreeWidgetItem*> items;
  items.reserve(end - rows_);
  for (; rows_ < end; ++rows_) {
    const Problem& problem = shown_[rows_];
    items.append(new QTreeWidgetItem(
        {QString::number(problem.line), QString::number(problem.column),
         SeverityText(problem.severity), QString::fromLatin1(NameOf(problem.source)),
         problem.message, problem.kind}));
  }
  list_->addTopLevelItems(items);
}

QString ProblemsPanel::Counts() const { return ProblemCountsText(shown_); }

bool ProblemsPanel::GoToNext(int line, int column, bool backward) {
  if (shown_.isEmpty()) return false;
  const auto after = [&](const Problem& p) {
    return std::pair(p.line, p.column) > std::pair(line, column);
  };
  const auto before = [&](const Problem& p) {
    return std::pair(p.line, p.column) < std::pair(line, column);
  };
  qsizetype index = -1;
  if (backward) {
    for (qsizetype i = shown_.size() - 1; i >= 0 && index < 0; --i) {
      if (before(shown_[i])) index = i;
    }
    if (index < 0) index = shown_.size() - 1;
  } else {
    for (qsizetype i = 0; i < shown_.size() && index < 0; ++i) {
      if (after(shown_[i])) index = i;
    }
    if (index < 0) index = 0;
  }
  AddRows(index + kRowsAtOnce);
  list_->setCurrentItem(list_->topLevelItem(int(index)));
  emit GoTo(shown_[index].line, shown_[index].column);
  return true;
}

void ProblemsPanel::ShowMenu() {
  QMenu menu(this);
  for (const QString& kind : std::as_const(hidden_)) {
    QAction* show = menu.addAction(Tr(Text::kShowProblemKind).arg(kind));
    connect(show, &QAction::triggered, this, [this, kind] {
      QStringList kinds = hidden_;
      kinds.removeAll(kind);
      SetHiddenKinds(kinds);
      emit HiddenKindsChanged(hidden_);
    });
  }
  menu.exec(menu_button_->mapToGlobal(QPoint(0, menu_button_->height())));
}
