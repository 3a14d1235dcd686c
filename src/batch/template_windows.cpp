#include "batch/template_windows.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "batch/batch_panel.h"
#include "batch/batch_tools.h"
#include "document/editor_model.h"
#include "document/text_helpers.h"
#include "platform/desktop.h"
#include "platform/folder_listing.h"
#include "platform/text_file.h"
#include "platform/text_format.h"

namespace {

QString ReadText(Desktop& desktop, QWidget* parent, const QString& path, bool* ok) {
  const ReadOutcome read = ReadWholeFile(path, kPageCap);
  *ok = read.ok();
  if (!read.ok()) {
    desktop.ShowError(parent, read.message());
    return QString();
  }
  return DecodeDetected(read.bytes);
}

QStringList ViewLines(const QPlainTextEdit* view) { return SplitLines(view->toPlainText()); }

}  // namespace

SaveTemplateWindow::SaveTemplateWindow(Desktop& desktop, EditorModel& editor, QWidget* parent)
    : ToolWindow(QStringLiteral("Form24"), parent),
      desktop_(desktop),
      editor_(editor),
      path_(Named<QLineEdit>(this, QStringLiteral("Edit1"))),
      browser_(this, QStringLiteral("*.pat")) {
  auto* save = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button2"));
  auto* layout = new QGridLayout(this);
  layout->addWidget(path_, 0, 0, 1, 2);
  layout->addWidget(browser_.files, 1, 0, 2, 1);
  layout->addWidget(browser_.folders, 1, 1);
  layout->addWidget(browser_.drives, 2, 1);
  layout->addWidget(save, 3, 0);
  layout->addWidget(close_button, 3, 1);
  connect(browser_.files, &QListWidget::itemSelectionChanged, this,
          &SaveTemplateWindow::FollowSelection);
  connect(browser_.folders, &FolderList::FolderChanged, this, &SaveTemplateWindow::FollowSelection);
  connect(save, &QPushButton::clicked, this, &SaveTemplateWindow::Save);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  browser_.SetFolder(QString());
  FollowSelection();
}

void SaveTemplateWindow::FollowSelection() {
  const QString selected = browser_.files->SelectedPath();
  path_->setText(selected.isEmpty() ? JoinPath(browser_.Folder(), QString()) : selected);
}

void SaveTemplateWindow::SaveCommand() {
  const QString marker = QString::fromUtf16(kTemplateMarker);
  const QStringList lines = editor_.Lines();
  if (std::none_of(lines.begin(), lines.end(),
                   [&](const QString& line) { return line.contains(marker); })) {
    desktop_.ShowMessage(nullptr, QStringLiteral("Отсутствует идентификатор шаблона!"));
    return;
  }
  desktop_.RunModal(this);
}

bool SaveTemplateWindow::Save() {
  QString path = path_->text();
  const qsizetype name_start = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u':')) + 1;
  if (path.sliced(name_start).isEmpty()) {
    desktop_.ShowMessage(this, QStringLiteral("Не задано имя файла"));
    return false;
  }
  path = WithDefaultExtension(path, QStringLiteral(".pat"));
  path_->setText(path);
  const std::optional<IoError> error = WriteWholeFile(path, TextToBytes(editor_.Text()));
  if (error) {
    desktop_.ShowError(this, error->message);
    return false;
  }
  browser_.files->Reread();
  accept();
  return true;
}

ApplyTemplateWindow::ApplyTemplateWindow(Desktop& desktop, QWidget* parent)
    : ToolWindow(QStringLiteral("Form25"), parent),
      desktop_(desktop),
      template_view_(NewTextView(this, QStringLiteral("RichEdit1"))),
      extension_(NewCombo(this, QStringLiteral("ComboBox1"),
                          {QStringLiteral("htm"), QStringLiteral("txt"), QStringLiteral("*")},
                          true)),
      browser_(this, QStringLiteral("*.txt")),
      panel_(new BatchPanel(desktop, this)) {
  extension_->setCurrentText(QStringLiteral("txt"));
  auto* choose = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* apply = Named<QPushButton>(this, QStringLiteral("Button2"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button3"));
  auto* left = new QVBoxLayout;
  left->addWidget(choose);
  left->addWidget(template_view_, 1);
  auto* extension_row = new QHBoxLayout;
  extension_row->addWidget(Named<QLabel>(this, QStringLiteral("Label1"), QStringLiteral("*.")));
  extension_row->addWidget(extension_, 1);
  auto* right = new QVBoxLayout;
  right->addLayout(extension_row);
  right->addWidget(browser_.files, 1);
  browser_.AddSubfolderChoice(this);
  right->addWidget(browser_.subfolders);
  right->addWidget(browser_.folders, 1);
  right->addWidget(browser_.drives);
  auto* top = new QHBoxLayout;
  top->addLayout(left, 2);
  top->addLayout(right, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(apply);
  buttons->addWidget(close_button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addWidget(panel_);
  layout->addLayout(buttons);
  resize(820, 600);
  connect(extension_, &QComboBox::currentTextChanged, this,
          [this](const QString& text) { browser_.files->SetMask(QStringLiteral("*.") + text); });
  connect(choose, &QPushButton::clicked, this, &ApplyTemplateWindow::ChooseTemplate);
  connect(apply, &QPushButton::clicked, this, &ApplyTemplateWindow::Apply);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  panel_->SetJob([this](const BatchOptions& options) {
    const std::optional<int> marker = MarkerLine(ViewLines(template_view_));
    if (!marker) return BatchReport{};
    return RunBatch(ApplyTemplateSteps(template_path_, *marker, browser_.JobPaths()), options);
  });
  browser_.SetFolder(QString());
}

void ApplyTemplateWindow::ChooseTemplate() {
  const auto choice = desktop_.AskOpenPath(this, {QStringLiteral("*.pat (*.pat)")}, 1, QString());
  if (!choice || choice->path.isEmpty()) {
    template_path_.clear();
    return;
  }
  LoadTemplate(choice->path);
}

void ApplyTemplateWindow::LoadTemplate(const QString& path) {
  template_path_ = path;
  bool ok = false;
  const QString text = ReadText(desktop_, this, path, &ok);
  if (ok) template_view_->setPlainText(text);
}

void ApplyTemplateWindow::Apply() {
  if (!MarkerLine(ViewLines(template_view_))) return;
  const QStringList files = browser_.JobPaths();
  const BatchReport report = panel_->Run(QStringLiteral("Apply template"));
  // The view shows the result written for the last file.
  if (report.ok() && !files.isEmpty()) {
    bool ok = false;
    const QString text = ReadText(desktop_, this, files.last(), &ok);
    if (ok) template_view_->setPlainText(text);
  }
}

IndexPageWindow::IndexPageWindow(Desktop& desktop, QWidget* parent)
    : ToolWindow(QStringLiteral("Form28"), parent),
      desktop_(desktop),
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
  FileProgress progress(this, QStringLiteral("Reading titles..."));
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
  const auto choice = desktop_.AskOpenPath(this, {QStringLiteral("Pattern (*.pat)")}, 1, QString());
  if (choice && !choice->path.isEmpty()) template_label_->setText(choice->path);
}

void IndexPageWindow::SavePage() {
  const auto choice =
      desktop_.AskSavePath(this, {QStringLiteral("Pattern (*.pat)")}, 1, save_path_);
  if (!choice || choice->path.isEmpty()) return;
  const QString target = WithDefaultExtension(choice->path, QStringLiteral(".htm"));
  save_path_ = target;
  const QString template_path = template_label_->text();
  if (template_path.isEmpty()) return;
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
