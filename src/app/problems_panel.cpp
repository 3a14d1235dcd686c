#include "app/problems_panel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "names/texts.h"

namespace {

// Rows are made as they come into view: a large page can have a million problems, and a
// row for each would hold the window up for seconds after every check.
constexpr qsizetype kRowsAtOnce = 500;

}  // namespace

ProblemsPanel::ProblemsPanel(CheckRunner& runner, QWidget* parent)
    : QDockWidget(parent),
      runner_(runner),
      list_(new QTreeWidget(this)),
      menu_button_(new QToolButton(this)) {
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

  connect(&runner_, &CheckRunner::ProblemsChanged, this, &ProblemsPanel::Show);
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

ProblemsPanel::~ProblemsPanel() = default;

void ProblemsPanel::SetHiddenKinds(const QStringList& kinds) {
  hidden_ = kinds;
  hidden_.removeDuplicates();
  Show();
}

void ProblemsPanel::Show() {
  const QList<Problem>& all = runner_.Problems();
  if (hidden_.isEmpty()) {
    shown_ = all;
  } else {
    shown_.clear();
    for (const Problem& problem : all) {
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
