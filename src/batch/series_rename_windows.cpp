#include "batch/series_rename_windows.h"

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
#include "document/editor_model.h"
#include "platform/desktop.h"
#include "platform/text_file.h"

DigitButtons::DigitButtons(QWidget* parent, int checked_digits)
    : buttons{Named<QRadioButton>(parent, QStringLiteral("RadioButton1"), QStringLiteral("9999")),
              Named<QRadioButton>(parent, QStringLiteral("RadioButton2"), QStringLiteral("999")),
              Named<QRadioButton>(parent, QStringLiteral("RadioButton3"), QStringLiteral("99"))} {
  MakeExclusive(parent, {buttons[0], buttons[1], buttons[2]});
  buttons[4 - checked_digits]->setChecked(true);
}

int DigitButtons::Digits() const {
  return buttons[0]->isChecked() ? 4 : buttons[1]->isChecked() ? 3 : 2;
}

SeriesWindow::SeriesWindow(Desktop& desktop, QWidget* parent)
    : ToolWindow(QStringLiteral("AutocreatorForm"), parent),
      desktop_(desktop),
      page_(NewTextView(this, QStringLiteral("memo1"))),
      line_(NewSpin(this, QStringLiteral("SpinEdit2"), -999999, 999999, 0)),
      line_text_(new QLabel(this)),
      before_(Named<QLineEdit>(this, QStringLiteral("Edit2"), QStringLiteral("<img src=\""))),
      first_(NewSpin(this, QStringLiteral("SpinEdit3"), 1, 9999, 1)),
      last_(NewSpin(this, QStringLiteral("SpinEdit1"), 1, 9999, 1)),
      after_(Named<QLineEdit>(this, QStringLiteral("Edit1"), QStringLiteral(".jpg\">"))),
      digits_(this, 4),
      base_(Named<QLineEdit>(this, QStringLiteral("Edit3"))),
      browser_(this, QString(), QStringLiteral("DriveComboBox1"),
               QStringLiteral("DirectoryListBox1"), QString()),
      panel_(new BatchPanel(desktop, this)) {
  base_->setToolTip(QStringLiteral("Имя сохраняемых файлов (без номера)"));
  auto* load = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* generate = Named<QPushButton>(this, QStringLiteral("Button2"));
  auto* fields = new QGridLayout;
  int row = 0;
  fields->addWidget(Named<QLabel>(this, QStringLiteral("Label2")), row, 0);
  fields->addWidget(line_, row++, 1);
  // Which line varies, in words: its number counts from 0 and is easy to mistake.
  line_text_->setObjectName(QStringLiteral("LineText"));
  line_text_->setMaximumWidth(260);
  line_text_->setStyleSheet(QStringLiteral("QLabel { color: palette(dark); }"));
  fields->addWidget(line_text_, row++, 0, 1, 2);
  fields->addWidget(before_, row++, 0, 1, 2);
  fields->addWidget(Named<QLabel>(this, QStringLiteral("Label3"), QStringLiteral("От")), row, 0);
  fields->addWidget(first_, row++, 1);
  fields->addWidget(Named<QLabel>(this, QStringLiteral("Label4"), QStringLiteral("до")), row, 0);
  fields->addWidget(last_, row++, 1);
  fields->addWidget(after_, row++, 0, 1, 2);
  for (QRadioButton* button : digits_.buttons) {
    button->setToolTip(QStringLiteral("Максимальное количество цифр"));
    fields->addWidget(button, row++, 0, 1, 2);
  }
  fields->addWidget(base_, row++, 0, 1, 2);
  fields->addWidget(browser_.drives, row++, 0, 1, 2);
  fields->addWidget(browser_.folders, row++, 0, 1, 2);
  fields->addWidget(generate, row++, 0, 1, 2);
  auto* left = new QVBoxLayout;
  left->addWidget(load);
  left->addWidget(page_, 1);
  left->addWidget(panel_);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(fields);
  resize(860, 600);

  // The digit count bounds what is typed next, checked when a field is left; numbers
  // already entered stay, and one above the bound is written in full.
  const int maxima[] = {9999, 999, 99};
  for (int i = 0; i < 3; ++i) {
    connect(digits_.buttons[i], &QRadioButton::clicked, this,
            [this, maximum = maxima[i]] { number_maximum_ = maximum; });
  }
  for (QSpinBox* number : {first_, last_}) {
    connect(number, &QSpinBox::editingFinished, this, [this, number] {
      if (number->value() > number_maximum_) number->setValue(number_maximum_);
    });
  }
  connect(line_, &QSpinBox::valueChanged, this, &SeriesWindow::ShowLineText);
  connect(page_, &QPlainTextEdit::textChanged, this, &SeriesWindow::ShowLineText);
  connect(load, &QPushButton::clicked, this, [this] {
    const auto choice =
        desktop_.AskOpenPath(this,
                             {QStringLiteral("*.* (*)"), QStringLiteral("*.htm (*.htm)"),
                              QStringLiteral("*.pat (*.pat)"), QStringLiteral("*.txt (*.txt)")},
                             1, QString());
    if (choice && !choice->path.isEmpty()) LoadPage(choice->path);
  });
  connect(generate, &QPushButton::clicked, this, &SeriesWindow::Generate);
  connect(page_, &QPlainTextEdit::textChanged, this, &SeriesWindow::FollowCaret);
  page_->installEventFilter(this);
  page_->viewport()->installEventFilter(this);
  panel_->SetJob([this](const BatchOptions& options) {
    if (last_->value() < first_->value()) return BatchReport{};
    return RunBatch(SeriesSteps(SplitLines(page_->toPlainText()), line_->value(), first_->value(),
                                last_->value(), digits_.Digits(), before_->text(), after_->text(),
                                browser_.Folder(), base_->text(), format_),
                    options);
  });
  browser_.SetFolder(QString());
  ShowLineText();
}

bool SeriesWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::MouseButtonPress) {
    // After the key or click has moved the caret.
    QTimer::singleShot(0, this, &SeriesWindow::FollowCaret);
  }
  return ToolWindow::eventFilter(watched, event);
}

void SeriesWindow::ShowLineText() {
  const QTextBlock block = page_->document()->findBlockByNumber(line_->value());
  const QString text = block.isValid() ? block.text().trimmed() : QString();
  const QString shown = !block.isValid() ? QStringLiteral("(no such line)")
                        : text.isEmpty() ? QStringLiteral("(an empty line)")
                                         : text;
  line_text_->setText(line_text_->fontMetrics().elidedText(QStringLiteral("Varies: ") + shown,
                                                           Qt::ElideRight, 250));
  line_text_->setToolTip(block.isValid() ? block.text() : QString());
}

void SeriesWindow::FollowCaret() {
  const QTextCursor cursor = page_->textCursor();
  line_->setValue(page_->document()->findBlock(cursor.selectionStart()).blockNumber());
}

void SeriesWindow::LoadPage(const QString& path) {
  const ReadOutcome read = ReadWholeFile(path, kPageCap);
  if (!read.ok()) {
    desktop_.ShowError(this, read.message());
    return;
  }
  format_ = DetectTextFormat(read.bytes);
  page_->setPlainText(DecodeText(read.bytes, format_));
  if (const std::optional<int> marker = MarkerLine(SplitLines(page_->toPlainText()))) {
    line_->setValue(*marker);
  }
}

void SeriesWindow::Generate() {
  if (last_->value() < first_->value()) return;
  const BatchReport report = panel_->Run(QStringLiteral("Page series"));
  if (!report.ok()) return;
  // The view shows the page of the last number.
  QStringList lines = SplitLines(page_->toPlainText());
  const int index = line_->value();
  if (index >= 0 && index < lines.size()) {
    lines[index] = before_->text() + NumberText(last_->value(), digits_.Digits()) + after_->text();
    page_->setPlainText(lines.join(u'\n'));
    // The caret goes back to the varied line, so the next run varies the same line.
    QTextCursor cursor(page_->document()->findBlockByNumber(index));
    page_->setTextCursor(cursor);
    line_->setValue(index);
  }
}

RenamerWindow::RenamerWindow(Desktop& desktop, QWidget* parent)
    : ToolWindow(QStringLiteral("Form13"), parent),
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
  setWindowTitle(QStringLiteral("Переименование файлов"));
  extension_->setMaxLength(3);
  new_extension_->setEnabled(false);
  keep_name_->setEnabled(false);
  QToolButton* add = NewToolButton(this, QStringLiteral("SpeedButton1"), QStringLiteral(">"),
                                   QStringLiteral("Добавить файл к списку"));
  QToolButton* remove = NewToolButton(this, QStringLiteral("SpeedButton2"), QStringLiteral("<"),
                                      QStringLiteral("Удалить файл из списка"));
  auto* clear = Named<QPushButton>(this, QStringLiteral("Button3"), QStringLiteral("Del"));
  clear->setToolTip(QStringLiteral("Очистить список"));
  auto* run = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button2"));

  // Each caption stands above the field it names.
  auto* source = new QVBoxLayout;
  source->addWidget(mode_.box);
  source->addWidget(Named<QLabel>(this, QStringLiteral("Label3")));
  source_.AddTo(source);
  auto* middle = new QVBoxLayout;
  middle->addStretch(1);
  middle->addWidget(add);
  middle->addWidget(remove);
  middle->addWidget(clear);
  middle->addStretch(1);
  auto* target = new QVBoxLayout;
  target->addWidget(Named<QLabel>(this, QStringLiteral("Label2")));
  target->addWidget(gathered_, 1);
  target->addWidget(Named<QLabel>(this, QStringLiteral("Label4")));
  target->addWidget(target_.drives);
  target->addWidget(target_.folders);
  target->addWidget(target_path_);
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
  auto* top = new QHBoxLayout;
  top->addLayout(source);
  top->addLayout(middle);
  top->addLayout(target);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(run);
  buttons->addWidget(close_button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(name);
  layout->addWidget(panel_);
  layout->addLayout(buttons);
  resize(860, 620);

  connect(extension_, &QLineEdit::textChanged, this,
          [this](const QString& text) { source_.files->SetMask(QStringLiteral("*.") + text); });
  auto add_selected = [this] { AddSelectedPath(gathered_, source_.files->SelectedPath()); };
  connect(add, &QToolButton::clicked, this, add_selected);
  connect(source_.files, &QListWidget::itemDoubleClicked, this, add_selected);
  connect(remove, &QToolButton::clicked, this, [this] { RemoveSelectedEntry(gathered_); });
  connect(clear, &QPushButton::clicked, gathered_, &QListWidget::clear);
  connect(target_.folders, &FolderList::FolderChanged, this, [this](const QString& folder) {
    target_path_->setText(folder.endsWith(u'/') ? folder : folder + u'/');
  });
  connect(new_extension_wanted_, &QCheckBox::toggled, this, [this](bool on) {
    new_extension_->setEnabled(on);
    keep_name_->setEnabled(on);
  });
  connect(run, &QPushButton::clicked, this, &RenamerWindow::Run);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  panel_->SetJob([this](const BatchOptions& options) {
    if (mode_.Choice() == 1) {
      if (target_path_->text().isEmpty()) return BatchReport{};
      return RunBatch(CopyNumberedSteps(Entries(gathered_), target_path_->text(), before_->text(),
                                        after_->text(), digits_.Digits()),
                      options);
    }
    const QString new_extension =
        new_extension_wanted_->isChecked() ? new_extension_->currentText() : extension_->text();
    const bool keep = keep_name_->isEnabled() && keep_name_->isChecked();
    return RunRenames(
        RenamePlan(source_.Folder(), source_.files->Names(), before_->text(), after_->text(),
                   digits_.Digits(), extension_->text(), new_extension, keep),
        options);
  });
  source_.SetFolder(QString());
  target_.SetFolder(QString());
  target_path_->clear();
}

void RenamerWindow::Run() {
  if (mode_.Choice() == 1) {
    if (target_path_->text().isEmpty()) {
      desktop_.ShowMessage(this, QStringLiteral("Не задан путь сохранения файлов!!!"));
      return;
    }
    QDir().mkdir(target_path_->text());
    panel_->Run(QStringLiteral("Copy numbered"));
  } else {
    if (extension_->text() == u"*") {
      desktop_.ShowMessage(this,
                           QStringLiteral("А если в каталоге есть файлы с разными расширениями?"));
    }
    panel_->Run(QStringLiteral("Rename"));
  }
  source_.Refresh();
}
