#include "batch/renamer_window.h"
#include "names/texts.h"

#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

#include "batch/batch_panel.h"
#include "batch/batch_tools.h"
#include "platform/desktop.h"

RenamerWindow::RenamerWindow(Desktop& desktop, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
      desktop_(desktop),
      mode_(this, QStringLiteral("RadioGroup1"), 1),
      source_(this, QStringLiteral("*.jpg")),
      gathered_(Named<QListWidget>(this, QStringLiteral("checkListBox1"))),
      target_(this, QString(), QStringLiteral("DriveComboBox2"),
              QStringLiteral("DirectoryListBox2"), QString()),
      target_path_(Named<QLineEdit>(this, QStringLiteral("Edit4"))),
      before_(Named<QLineEdit>(this, QStringLiteral("Edit1"))),
      digits_(this, 2),
      after_(Named<QLineEdit>(this, QStringLiteral("Edit2"))),
      extension_(Named<QLineEdit>(this, QStringLiteral("Edit3"), QStringLiteral("jpg"))),
      new_extension_wanted_(Named<QCheckBox>(this, QStringLiteral("CheckBox1"))),
      new_extension_(NewCombo(this, QStringLiteral("ComboBox1"),
                              {QStringLiteral("avi"), QStringLiteral("mov"), QStringLiteral("wav"),
                               QStringLiteral("mp3"), QStringLiteral("htm"), QStringLiteral("txt")},
                              true)),
      keep_name_(Named<QCheckBox>(this, QStringLiteral("CheckBox2"))),
      panel_(new BatchPanel(desktop, this)) {
  ShowText(this, &QWidget::setWindowTitle, Text::kRenamerTitle);
  extension_->setMaxLength(3);
  new_extension_->setEnabled(false);
  keep_name_->setEnabled(false);
  auto* run = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button2"));

  // Each caption stands above the field it names.
  auto* source = new QVBoxLayout;
  // The mode buttons keep their height when the preview below takes room.
  mode_.box->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  source->addWidget(mode_.box);
  source->addWidget(Named<QLabel>(this, QStringLiteral("Label3")));
  source_.AddTo(source);
  auto* top = new QHBoxLayout;
  top->addLayout(source);
  top->addLayout(ListButtons());
  top->addLayout(TargetColumn());
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(run);
  buttons->addWidget(close_button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(NameRow());
  layout->addWidget(panel_);
  layout->addLayout(buttons);
  resize(860, 720);

  ConnectFields();
  connect(run, &QPushButton::clicked, this, &RenamerWindow::Run);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  panel_->SetJob([this](const BatchOptions& options) { return RunJob(options); });
  source_.SetFolder(QString());
  target_.SetFolder(QString());
  target_path_->clear();
}

// The buttons between the file list and the gathered list: add, remove, clear.
QVBoxLayout* RenamerWindow::ListButtons() {
  QToolButton* add =
      NewToolButton(this, QStringLiteral("SpeedButton1"), QStringLiteral(">"), QString());
  ShowText(add, &QToolButton::setToolTip, Text::kAddToListTip);
  QToolButton* remove =
      NewToolButton(this, QStringLiteral("SpeedButton2"), QStringLiteral("<"), QString());
  ShowText(remove, &QToolButton::setToolTip, Text::kRemoveFromListTip);
  auto* clear = Named<QPushButton>(this, QStringLiteral("Button3"), QStringLiteral("Del"));
  ShowText(clear, &QPushButton::setToolTip, Text::kClearListTip);
  auto* middle = new QVBoxLayout;
  middle->addStretch(1);
  middle->addWidget(add);
  middle->addWidget(remove);
  middle->addWidget(clear);
  middle->addStretch(1);
  WireGatherButtons({add, remove, clear, true, false}, source_.files, gathered_);
  return middle;
}

// The new name: text before, the digit count, text after, the extension and its change.
QGridLayout* RenamerWindow::NameRow() {
  auto* name = new QGridLayout;
  name->addWidget(Named<QLabel>(this, QStringLiteral("Label5")), 0, 0);
  name->addWidget(Named<QLabel>(this, QStringLiteral("Label6")), 0, 1);
  name->addWidget(Named<QLabel>(this, QStringLiteral("Label7")), 0, 2);
  name->addWidget(before_, 1, 0);
  auto* digit_column = new QVBoxLayout;
  for (QRadioButton* button : digits_.buttons) digit_column->addWidget(button);
  name->addLayout(digit_column, 1, 1);
  name->addWidget(after_, 1, 2);
  name->addWidget(Named<QLabel>(this, QStringLiteral("Label1"), QStringLiteral(".")), 1, 3);
  name->addWidget(extension_, 1, 4);
  name->addWidget(new_extension_wanted_, 2, 1);
  name->addWidget(new_extension_, 2, 2);
  name->addWidget(keep_name_, 2, 3, 1, 2);
  return name;
}

// The gathered list and the folder the numbered copies go to, each under its caption.
QVBoxLayout* RenamerWindow::TargetColumn() {
  auto* target = new QVBoxLayout;
  target->addWidget(Named<QLabel>(this, QStringLiteral("Label2")));
  target->addWidget(gathered_, 1);
  target->addWidget(Named<QLabel>(this, QStringLiteral("Label4")));
  target->addWidget(target_.drives);
  target->addWidget(target_.folders);
  target->addWidget(target_path_);
  return target;
}

void RenamerWindow::ConnectFields() {
  connect(extension_, &QLineEdit::textChanged, this,
          [this](const QString& text) { source_.files->SetMask(QStringLiteral("*.") + text); });
  connect(target_.folders, &FolderList::FolderChanged, this, [this](const QString& folder) {
    target_path_->setText(folder.endsWith(u'/') ? folder : folder + u'/');
  });
  connect(new_extension_wanted_, &QCheckBox::toggled, this, [this](bool on) {
    new_extension_->setEnabled(on);
    keep_name_->setEnabled(on);
  });
}

BatchReport RenamerWindow::RunJob(const BatchOptions& options) {
  if (mode_.Choice() == 1) {
    if (target_path_->text().isEmpty()) return BatchReport{};
    return RunBatch(CopyNumberedSteps(Entries(gathered_), target_path_->text(), before_->text(),
                                      after_->text(), digits_.Digits()),
                    options);
  }
  const QString new_extension =
      new_extension_wanted_->isChecked() ? new_extension_->currentText() : extension_->text();
  const bool keep = keep_name_->isEnabled() && keep_name_->isChecked();
  return RunRenames(RenamePlan({.folder = source_.Folder(),
                                .names = source_.files->Names(),
                                .before = before_->text(),
                                .after = after_->text(),
                                .digits = digits_.Digits(),
                                .old_extension = extension_->text(),
                                .new_extension = new_extension,
                                .keep_name = keep}),
                    options);
}

void RenamerWindow::Run() {
  if (mode_.Choice() == 1) {
    if (target_path_->text().isEmpty()) {
      desktop_.ShowMessage(this, Tr(Text::kNoTargetPath));
      return;
    }
    QDir().mkdir(target_path_->text());
    panel_->Run(QStringLiteral("Copy numbered"));
  } else {
    if (extension_->text() == u"*") {
      desktop_.ShowMessage(this, Tr(Text::kMixedExtensions));
    }
    panel_->Run(QStringLiteral("Rename"));
  }
  source_.Refresh();
}
