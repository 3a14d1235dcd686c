#include "batch/series_window.h"
#include "names/texts.h"
#include "widgets/file_browser.h"

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
#include "platform/text_file.h"
#include "platform/text_format.h"

SeriesWindow::SeriesWindow(Desktop& desktop, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
      desktop_(desktop),
      dialog_folder_(new DialogFolder(this)),
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
  ShowText(base_, &QLineEdit::setToolTip, Text::kSeriesBaseTip);
  auto* load = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* generate = Named<QPushButton>(this, QStringLiteral("Button2"));
  auto* left = new QVBoxLayout;
  left->addWidget(load);
  left->addWidget(page_, 1);
  left->addWidget(panel_);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(Fields(generate));
  resize(860, 600);

  BoundNumbersByDigits();
  connect(line_, &QSpinBox::valueChanged, this, &SeriesWindow::ShowLineText);
  connect(page_, &QPlainTextEdit::textChanged, this, &SeriesWindow::ShowLineText);
  connect(load, &QPushButton::clicked, this, [this] {
    const auto choice =
        desktop_.AskOpenPath(this,
                             {QStringLiteral("*.* (*)"), QStringLiteral("*.htm (*.htm)"),
                              QStringLiteral("*.pat (*.pat)"), QStringLiteral("*.txt (*.txt)")},
                             1, dialog_folder_->Start());
    if (!choice || choice->path.isEmpty()) return;
    dialog_folder_->Chose(choice->path);
    LoadPage(choice->path);
  });
  connect(generate, &QPushButton::clicked, this, &SeriesWindow::Generate);
  connect(page_, &QPlainTextEdit::textChanged, this, &SeriesWindow::FollowCaret);
  page_->installEventFilter(this);
  page_->viewport()->installEventFilter(this);
  panel_->SetJob([this](const BatchOptions& options) {
    if (last_->value() < first_->value()) return BatchReport{};
    return RunBatch(SeriesSteps({.page = SplitLines(page_->toPlainText()),
                                 .line_index = line_->value(),
                                 .first = first_->value(),
                                 .last = last_->value(),
                                 .digits = digits_.Digits(),
                                 .before = before_->text(),
                                 .after = after_->text(),
                                 .folder = browser_.Folder(),
                                 .base = base_->text(),
                                 .format = format_}),
                    options);
  });
  browser_.SetFolder(QString());
  BindText(line_text_, [this] { ShowLineText(); });
}

// The varied line and what it holds, the text around the number, the range, the digit
// count, the file name and folder, and Generate.
QGridLayout* SeriesWindow::Fields(QPushButton* generate) {
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
  fields->addWidget(Captioned<QLabel>(this, QStringLiteral("Label3"), Text::kFrom), row, 0);
  fields->addWidget(first_, row++, 1);
  fields->addWidget(Captioned<QLabel>(this, QStringLiteral("Label4"), Text::kTo), row, 0);
  fields->addWidget(last_, row++, 1);
  fields->addWidget(after_, row++, 0, 1, 2);
  for (QRadioButton* button : digits_.buttons) {
    ShowText(button, &QRadioButton::setToolTip, Text::kMaxDigitsTip);
    fields->addWidget(button, row++, 0, 1, 2);
  }
  fields->addWidget(base_, row++, 0, 1, 2);
  fields->addWidget(browser_.drives, row++, 0, 1, 2);
  fields->addWidget(browser_.folders, row++, 0, 1, 2);
  fields->addWidget(generate, row++, 0, 1, 2);
  return fields;
}

void SeriesWindow::BoundNumbersByDigits() {
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
  const QString shown = !block.isValid() ? Tr(Text::kNoSuchLine)
                        : text.isEmpty() ? Tr(Text::kEmptyLine)
                                         : text;
  line_text_->setText(
      line_text_->fontMetrics().elidedText(Tr(Text::kVaries) + shown, Qt::ElideRight, 250));
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
