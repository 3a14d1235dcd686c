#include "app/recovery_window.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "document/line_diff.h"
#include "platform/desktop.h"
#include "platform/file_lines.h"
#include "widgets/form_helpers.h"

RecoveryWindow::RecoveryWindow(Desktop& desktop, RecoveryStore& store, QWidget* parent)
    : QDialog(parent),
      desktop_(desktop),
      store_(store),
      rows_(Named<QTreeWidget>(this, QStringLiteral("RecoveryList"))),
      compare_(NewTextView(this, QStringLiteral("CompareLines"))),
      restore_(Captioned<QPushButton>(this, QStringLiteral("Restore"), Text::kRestore)) {
  setObjectName(kName.toString());
  ShowText(this, &QWidget::setWindowTitle, Text::kRecoverUnsavedWork);
  resize(640, 380);
  rows_->setColumnCount(5);
  rows_->setRootIsDecorated(false);
  rows_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  BindText(rows_, [this] {
    rows_->setHeaderLabels({Tr(Text::kRecoveryPage), Tr(Text::kRecoveryFolder),
                            Tr(Text::kRecoveryEdited), Tr(Text::kRecoverySize),
                            Tr(Text::kRecoveryNote)});
  });
  compare_->setReadOnly(true);
  compare_->hide();
  auto* compare = Captioned<QPushButton>(this, QStringLiteral("Compare"), Text::kCompare);
  auto* discard = Captioned<QPushButton>(this, QStringLiteral("Discard"), Text::kDiscard);
  auto* close = Captioned<QPushButton>(this, QStringLiteral("CloseRecovery"), Text::kClose);
  restore_->setDefault(true);
  connect(restore_, &QPushButton::clicked, this, &RecoveryWindow::Restore);
  connect(compare, &QPushButton::clicked, this, &RecoveryWindow::Compare);
  connect(discard, &QPushButton::clicked, this, &RecoveryWindow::Discard);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(restore_);
  buttons->addWidget(compare);
  buttons->addWidget(discard);
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(rows_, 1);
  layout->addWidget(compare_, 1);
  layout->addLayout(buttons);
}

void RecoveryWindow::SetCopies(const QList<FoundCopy>& copies) {
  copies_ = copies;
  chosen_.clear();
  compare_->hide();
  Fill();
}

void RecoveryWindow::Fill() {
  rows_->clear();
  const QLocale locale;
  for (const FoundCopy& found : std::as_const(copies_)) {
    QStringList cells;
    if (!found.copy) {
      cells = {QFileInfo(found.file).fileName(), QString(), QString(),
               locale.formattedDataSize(found.size), found.problem};
    } else {
      const RecoveryCopy& copy = *found.copy;
      const QFileInfo page(copy.path);
      cells = {copy.path.isEmpty() ? Tr(Text::kUntitledPage) : page.fileName(),
               copy.path.isEmpty() ? QString() : page.absolutePath(),
               locale.toString(copy.edited, QLocale::ShortFormat),
               locale.formattedDataSize(found.size - found.text_at),
               QStringList{found.changed_on_disk ? Tr(Text::kRecoveryChangedOnDisk) : QString(),
                           found.problem}
                   .filter(QRegularExpression(QStringLiteral(".")))
                   .join(QStringLiteral("; "))};
    }
    new QTreeWidgetItem(rows_, cells);
  }
  rows_->selectAll();
  for (int column = 0; column < rows_->columnCount(); ++column)
    rows_->resizeColumnToContents(column);
}

QList<int> RecoveryWindow::SelectedRows() const {
  QList<int> rows;
  for (int i = 0; i < rows_->topLevelItemCount(); ++i) {
    if (rows_->topLevelItem(i)->isSelected()) rows.append(i);
  }
  return rows;
}

void RecoveryWindow::Restore() {
  chosen_.clear();
  QStringList unreadable;
  for (int row : SelectedRows()) {
    if (copies_[row].copy) {
      chosen_.append(copies_[row]);
    } else {
      unreadable << QFileInfo(copies_[row].file).fileName() + QStringLiteral(": ") +
                        copies_[row].problem;
    }
  }
  if (!unreadable.isEmpty()) {
    desktop_.ShowMessage(
        this, Tr(Text::kRecoveryKeptUnreadable).arg(unreadable.size()).arg(unreadable.join(u'\n')));
  }
  if (!chosen_.isEmpty()) accept();
}

QList<FoundCopy> RecoveryWindow::TakeChosen() { return std::exchange(chosen_, {}); }

void RecoveryWindow::Compare() {
  const QList<int> rows = SelectedRows();
  if (rows.isEmpty()) return;
  FoundCopy& found = copies_[rows.first()];
  QString error;
  if (!found.copy || (found.copy->bytes.isEmpty() && !LoadText(found, &error))) {
    compare_->setPlainText(found.copy ? error : found.problem);
    compare_->show();
    return;
  }
  const RecoveryCopy& copy = *found.copy;
  QByteArray disk;
  if (!copy.path.isEmpty()) {
    const ReadOutcome read = ReadWholeFile(copy.path, kPageCap);
    if (read.ok()) disk = read.bytes;
  }
  const QString diff =
      UnifiedLineDiff(DecodeLines(SplitFile(disk)), DecodeLines(SplitFile(copy.bytes)));
  compare_->setPlainText(diff.isEmpty() ? Tr(Text::kRecoverySameAsFile) : diff);
  compare_->show();
}

void RecoveryWindow::Discard() {
  const QList<int> rows = SelectedRows();
  if (rows.isEmpty() ||
      !desktop_.AskYesNo(this, Tr(Text::kRecoveryDiscardQuestion).arg(rows.size()))) {
    return;
  }
  for (auto row = rows.crbegin(); row != rows.crend(); ++row) {
    if (store_.Discard(copies_[*row])) copies_.removeAt(*row);
  }
  Fill();
  if (copies_.isEmpty()) reject();
}
