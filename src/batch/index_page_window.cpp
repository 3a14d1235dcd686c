#include "batch/index_page_window.h"
#include "names/texts.h"
#include "widgets/file_browser.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include "batch/window_text.h"

#include "batch/batch_panel.h"
#include "batch/batch_tools.h"
#include "document/text_helpers.h"
#include "platform/desktop.h"
#include "platform/folder_listing.h"
#include "platform/text_file.h"
#include "platform/text_format.h"

IndexPageWindow::IndexPageWindow(Desktop& desktop, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
      desktop_(desktop),
      dialog_folder_(new DialogFolder(this)),
      browser_(this, QStringLiteral("*.htm")),
      paragraph_(Named<QRadioButton>(this, QStringLiteral("RadioButton1"))),
      line_break_(Named<QRadioButton>(this, QStringLiteral("RadioButton2"))),
      links_(NewTextView(this, QStringLiteral("RichEdit1"))),
      template_label_(Named<QLabel>(this, QStringLiteral("Label1"))) {
  MakeExclusive(this, {paragraph_, line_break_});
  paragraph_->setChecked(true);
  auto* collect = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* choose = Named<QPushButton>(this, QStringLiteral("Button2"));
  auto* save = Named<QPushButton>(this, QStringLiteral("Button3"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button4"));
  auto* left = new QVBoxLayout;
  browser_.AddSubfolderChoice(this);
  browser_.AddTo(left);
  left->addWidget(paragraph_);
  left->addWidget(line_break_);
  auto* right = new QVBoxLayout;
  right->addWidget(links_, 1);
  right->addWidget(template_label_);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {collect, choose, save, close_button}) buttons->addWidget(button);
  right->addLayout(buttons);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(right, 1);
  resize(820, 520);
  connect(collect, &QPushButton::clicked, this, &IndexPageWindow::Collect);
  connect(choose, &QPushButton::clicked, this, &IndexPageWindow::ChooseTemplate);
  connect(save, &QPushButton::clicked, this, &IndexPageWindow::SavePage);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  browser_.SetFolder(QString());
}

void IndexPageWindow::Collect() {
  const QString end = paragraph_->isChecked() ? QStringLiteral("<p>") : QStringLiteral("<br>");
  const QStringList names = browser_.JobNames();
  QStringList lines;
  FileProgress progress(this, Tr(Text::kReadingTitles));
  const ProgressSink report = progress.Sink();
  for (qsizetype i = 0; i < names.size(); ++i) {
    const QString& name = names[i];
    // Cancel keeps the lines collected so far.
    if (!report(int(i), int(names.size()), name)) break;
    bool ok = false;
    const QString text = ReadText(desktop_, this, JoinPath(browser_.Folder(), name), &ok);
    if (!ok) break;  // lines collected before the failure stay
    lines.append(IndexLine(name, PageTitleOfText(text), end));
  }
  if (lines.isEmpty()) return;
  QStringList all = ViewLines(links_);
  all.append(lines);
  links_->setPlainText(all.join(u'\n'));
}

void IndexPageWindow::ChooseTemplate() {
  const auto choice =
      desktop_.AskOpenPath(this, {Tr(Text::kPatternFilter)}, 1, dialog_folder_->Start());
  if (!choice || choice->path.isEmpty()) return;
  dialog_folder_->Chose(choice->path);
  template_label_->setText(choice->path);
}

void IndexPageWindow::SavePage() {
  // Without a template nothing would be written: said before a name is asked for.
  const QString template_path = template_label_->text();
  if (template_path.isEmpty()) {
    desktop_.ShowMessage(this,
                         Tr(Text::kChooseTemplateFirst).arg(QString::fromUtf16(kTemplateMarker)));
    return;
  }
  const auto choice =
      desktop_.AskSavePath(this, {Tr(Text::kPatternFilter)}, 1,
                           save_path_.isEmpty() ? dialog_folder_->Start() : save_path_);
  if (!choice || choice->path.isEmpty()) return;
  const QString target = WithDefaultExtension(choice->path, QStringLiteral(".htm"));
  save_path_ = target;
  dialog_folder_->Chose(target);
  // Through the engine, so the page is journaled and "Undo last batch run" takes it back.
  BatchOptions options;
  options.label = QStringLiteral("Index page");
  const BatchReport report =
      RunBatch({IndexPageStep(template_path, target, ViewLines(links_))}, options);
  if (!report.ok()) {
    desktop_.ShowError(this, report.error);
    return;
  }
  const ReadOutcome written = ReadWholeFile(target, kBatchInputCap);
  if (written.ok()) links_->setPlainText(SplitLines(DecodeDetected(written.bytes)).join(u'\n'));
}
