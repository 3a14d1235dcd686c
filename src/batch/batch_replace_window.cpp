#include "batch/batch_replace_window.h"
#include "names/texts.h"

#include "batch/window_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "batch/batch_panel.h"
#include "batch/batch_tools.h"
#include "document/text_helpers.h"
#include "platform/desktop.h"

namespace {}  // namespace

ChoiceGroup::ChoiceGroup(QWidget* parent, const QString& name, int checked)
    : box(Named<QGroupBox>(parent, name)) {
  auto* layout = new QVBoxLayout(box);
  for (int i = 0; i < 2; ++i) {
    items[i] = Named<QRadioButton>(box, QStringLiteral("%1Item%2").arg(name).arg(i));
    layout->addWidget(items[i]);
  }
  MakeExclusive(box, {items[0], items[1]});
  items[checked]->setChecked(true);
}

int ChoiceGroup::Choice() const { return items[1]->isChecked() ? 1 : 0; }

BatchReplaceWindow::BatchReplaceWindow(Desktop& desktop, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
      desktop_(desktop),
      browser_(this, QStringLiteral("*.htm")),
      source_(this, QStringLiteral("RadioGroup1"), 0),
      gathered_(Named<QListWidget>(this, QStringLiteral("ListBox1"))),
      find_(NewTextView(this, QStringLiteral("Memo1"), true)),
      replacement_(NewTextView(this, QStringLiteral("memo2"))),
      view_(NewTextView(this, QStringLiteral("memo3"))),
      modes_{Named<QRadioButton>(this, QStringLiteral("RadioButton1")),
             Named<QRadioButton>(this, QStringLiteral("RadioButton2")),
             Named<QRadioButton>(this, QStringLiteral("RadioButton3"))},
      find_text_(Named<QLineEdit>(this, QStringLiteral("Edit1"))),
      replace_text_(Named<QLineEdit>(this, QStringLiteral("Edit2"))),
      every_match_(Captioned<QCheckBox>(this, QStringLiteral("CheckBoxAll"), Text::kEveryMatch)),
      panel_(new BatchPanel(desktop, this)) {
  MakeExclusive(this, {modes_[0], modes_[1], modes_[2]});
  modes_[0]->setChecked(true);
  view_->setReadOnly(true);
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button3"));
  QVBoxLayout* right = RightColumn();
  right->addWidget(close_button, 0, Qt::AlignRight);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(FilesColumn());
  layout->addLayout(right, 1);
  resize(900, 640);

  connect(browser_.files, &QListWidget::itemDoubleClicked, this,
          [this] { ShowFileIn(view_, browser_.files->SelectedPath()); });
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  // "Preview changes" previews the job of the button last used, the text substitution at
  // first; pressing a run button after previewing does what the preview showed.
  connect(find_text_, &QLineEdit::textEdited, this, [this] { SetJob(Job::kText); });
  connect(find_, &QPlainTextEdit::textChanged, this, [this] { SetJob(Job::kBlock); });
  SetJob(Job::kText);
  browser_.SetFolder(QString());
}

// The folder's files, the choice of source and the gathered list with its buttons.
QVBoxLayout* BatchReplaceWindow::FilesColumn() {
  QToolButton* add = NewToolButton(this, QStringLiteral("SpeedButton1"), QStringLiteral("+"));
  QToolButton* remove = NewToolButton(this, QStringLiteral("SpeedButton2"), QStringLiteral("-"));
  QToolButton* clear = NewToolButton(this, QStringLiteral("SpeedButton3"), QStringLiteral("Cl"));
  ShowText(clear, &QWidget::setToolTip, Text::kClearList);
  auto* files = new QVBoxLayout;
  browser_.AddSubfolderChoice(this);
  browser_.AddTo(files);
  files->addWidget(source_.box);
  auto* gather_buttons = new QHBoxLayout;
  for (QToolButton* button : {add, remove, clear}) gather_buttons->addWidget(button);
  files->addLayout(gather_buttons);
  files->addWidget(gathered_);
  WireGatherButtons({add, remove, clear, false, true}, browser_.files, gathered_);
  return files;
}

// The block pair with its modes and buttons, the text substitution, the view and the panel.
QVBoxLayout* BatchReplaceWindow::RightColumn() {
  auto* block = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* erase = Named<QPushButton>(this, QStringLiteral("Button2"));
  auto* text_panel = Named<QFrame>(this, QStringLiteral("Panel1"));
  auto* substitute = Named<QPushButton>(text_panel, QStringLiteral("Button4"));
  find_text_->setParent(text_panel);
  replace_text_->setParent(text_panel);
  every_match_->setParent(text_panel);
  ShowText(every_match_, &QCheckBox::setToolTip, Text::kEveryMatchTip);
  auto* blocks = new QGridLayout;
  blocks->addWidget(Named<QLabel>(this, QStringLiteral("Label4")), 0, 0);
  blocks->addWidget(Named<QLabel>(this, QStringLiteral("Label5")), 0, 1);
  blocks->addWidget(find_, 1, 0);
  blocks->addWidget(replacement_, 1, 1);
  auto* modes = new QHBoxLayout;
  modes->addWidget(Named<QLabel>(this, QStringLiteral("Label3")));
  for (QRadioButton* mode : modes_) modes->addWidget(mode);
  modes->addWidget(block);
  modes->addWidget(erase);
  auto* text_layout = new QGridLayout(text_panel);
  text_layout->addWidget(Named<QLabel>(text_panel, QStringLiteral("Label1")), 0, 0);
  text_layout->addWidget(find_text_, 0, 1);
  text_layout->addWidget(Named<QLabel>(text_panel, QStringLiteral("Label2")), 1, 0);
  text_layout->addWidget(replace_text_, 1, 1);
  text_layout->addWidget(substitute, 0, 2, 2, 1);
  text_layout->addWidget(every_match_, 2, 1);
  auto* right = new QVBoxLayout;
  right->addLayout(blocks, 1);
  right->addLayout(modes);
  right->addWidget(text_panel);
  right->addWidget(Named<QLabel>(this, QStringLiteral("Label6")));
  right->addWidget(view_, 1);
  right->addWidget(panel_);
  for (QRadioButton* mode : modes_) {
    connect(mode, &QRadioButton::toggled, this,
            [this] { find_->setVisible(modes_[0]->isChecked()); });
  }
  connect(block, &QPushButton::clicked, this, &BatchReplaceWindow::RunBlockEdit);
  connect(erase, &QPushButton::clicked, this, &BatchReplaceWindow::RunDelete);
  connect(substitute, &QPushButton::clicked, this, &BatchReplaceWindow::RunTextReplace);
  return right;
}

QStringList BatchReplaceWindow::Files() {
  if (source_.Choice() == 1) {
    browser_.files->ShowPaths(Entries(gathered_));
    return browser_.files->FilePaths();
  }
  return browser_.JobPaths();
}

void BatchReplaceWindow::Refresh() { browser_.Refresh(); }

void BatchReplaceWindow::SetJob(Job job) {
  job_ = job;
  panel_->SetJob([this](const BatchOptions& options) {
    const QStringList files = Files();
    const QStringList find = FieldLines(find_->toPlainText());
    const QStringList replacement = FieldLines(replacement_->toPlainText());
    switch (job_) {
      case Job::kBlock: {
        const BlockMode mode = modes_[1]->isChecked()   ? BlockMode::kAppend
                               : modes_[2]->isChecked() ? BlockMode::kPrepend
                                                        : BlockMode::kReplace;
        return RunBatch(BlockEditSteps(files, mode, find, replacement), options);
      }
      case Job::kDelete:
        return RunBatch(DeleteBlockSteps(files, find), options);
      case Job::kText:
        break;
    }
    return RunBatch(ReplaceTextSteps(files, find_text_->text(), replace_text_->text(),
                                     every_match_->isChecked()),
                    options);
  });
}

void BatchReplaceWindow::RunBlockEdit() {
  SetJob(Job::kBlock);
  const QStringList files = Files();
  if (files.isEmpty()) {
    desktop_.ShowMessage(this, Tr(Text::kNoFilesToChange));
    Refresh();
    return;
  }
  if (FieldLines(find_->toPlainText()).isEmpty() ||
      FieldLines(replacement_->toPlainText()).isEmpty()) {
    desktop_.ShowMessage(this, Tr(Text::kNoLinesToChange));
    Refresh();
    return;
  }
  panel_->Run(QStringLiteral("Block edit"));
  Refresh();
}

void BatchReplaceWindow::RunDelete() {
  SetJob(Job::kDelete);
  if (Files().isEmpty()) {
    desktop_.ShowMessage(this, Tr(Text::kNoFilesToChange));
    return;
  }
  if (FieldLines(find_->toPlainText()).isEmpty()) {
    desktop_.ShowMessage(this, Tr(Text::kNoLinesToChange));
    return;
  }
  panel_->Run(QStringLiteral("Delete block"));
}

void BatchReplaceWindow::RunTextReplace() {
  SetJob(Job::kText);
  if (Files().isEmpty()) {
    desktop_.ShowMessage(this, Tr(Text::kNoFilesToChange));
    Refresh();
    return;
  }
  if (find_text_->text().trimmed().isEmpty()) {
    desktop_.ShowMessage(this, Tr(Text::kNoTextToFind));
    Refresh();
    return;
  }
  panel_->Run(QStringLiteral("Replace text"));
  Refresh();
}
