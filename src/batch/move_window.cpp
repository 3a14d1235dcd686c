#include "batch/move_window.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "batch/batch_panel.h"
#include "batch/move_with_links.h"
#include "document/site.h"
#include "platform/desktop.h"

namespace {

// A name typed without a folder stays in the folder of what moves.
QString Target(const QString& from, const QString& typed) {
  return QDir::isAbsolutePath(typed) ? typed : QFileInfo(from).absoluteDir().filePath(typed);
}

}  // namespace

MoveWindow::MoveWindow(Desktop& desktop, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
      desktop_(desktop),
      from_(Named<QLineEdit>(this, QStringLiteral("MoveFrom"))),
      to_(Named<QLineEdit>(this, QStringLiteral("MoveTo"))),
      root_(Named<QLineEdit>(this, QStringLiteral("SiteRoot"))),
      left_alone_(NewTextView(this, QStringLiteral("LeftAlone"))),
      panel_(new BatchPanel(desktop, this)) {
  ShowText(this, &QWidget::setWindowTitle, Text::kMoveWithLinks);
  auto* fields = new QFormLayout;
  const std::pair<Text, QLineEdit*> rows[] = {
      {Text::kMoveFromLabel, from_}, {Text::kMoveToLabel, to_}, {Text::kSiteRootLabel, root_}};
  for (const auto& [text, field] : rows) {
    auto* label = new QLabel(this);
    ShowText(label, &QLabel::setText, text);
    label->setBuddy(field);
    fields->addRow(label, field);
  }
  auto* hint = new QLabel(this);
  ShowText(hint, &QLabel::setText, Text::kMoveHint);
  hint->setWordWrap(true);
  auto* move = Captioned<QPushButton>(this, QStringLiteral("MoveButton"), Text::kMoveButton);
  auto* close = Captioned<QPushButton>(this, QStringLiteral("CloseButton"), Text::kClose);
  move->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(move);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(hint);
  layout->addWidget(panel_, 1);
  layout->addWidget(left_alone_);
  layout->addLayout(buttons);
  left_alone_->setMaximumHeight(120);
  left_alone_->setReadOnly(true);
  resize(760, 560);
  connect(move, &QPushButton::clicked, this, &MoveWindow::Move);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  panel_->SetJob([this](const BatchOptions& options) {
    BatchReport report;
    QString error;
    const QString from = from_->text().trimmed();
    const std::optional<MovePlan> plan =
        PlanMove(from, Target(from, to_->text().trimmed()), root_->text().trimmed(), &error);
    if (!plan) {
      report.Fail(from, error);
      left_alone_->clear();
      return report;
    }
    report = RunMove(plan->renames, plan->steps, options);
    left_alone_->setPlainText(plan->left_alone->isEmpty() ? QString()
                                                          : Tr(Text::kMoveLeftAlone) + u'\n' +
                                                                plan->left_alone->join(u'\n'));
    return report;
  });
}

void MoveWindow::SetSource(const QString& path) {
  from_->setText(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
  to_->setText(QFileInfo(path).fileName());
  root_->setText(SiteRootOf(path));
  left_alone_->clear();
}

void MoveWindow::Move() {
  const QString from = QDir::cleanPath(QFileInfo(from_->text().trimmed()).absoluteFilePath());
  const QString to =
      QDir::cleanPath(QFileInfo(Target(from, to_->text().trimmed())).absoluteFilePath());
  const BatchReport report = panel_->Run(QStringLiteral("Move with links"));
  if (!report.renamed.isEmpty()) {
    emit Moved(from, to);
    from_->setText(to);
    to_->setText(QFileInfo(to).fileName());
  }
}
