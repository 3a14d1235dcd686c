#include "batch/apply_template_window.h"
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

ApplyTemplateWindow::ApplyTemplateWindow(Desktop& desktop, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
      desktop_(desktop),
      dialog_folder_(new DialogFolder(this)),
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
  BindText(this, [this] { setWindowTitle(Tr(Text::kApplyTemplateTitle)); });
  auto* hint = Named<QLabel>(this, QStringLiteral("TemplateHint"));
  hint->setWordWrap(true);
  BindText(hint, [hint] {
    hint->setText(Tr(Text::kTemplateMarkerHint).arg(QString::fromUtf16(kTemplateMarker)));
  });
  auto* left = new QVBoxLayout;
  left->addWidget(choose);
  left->addWidget(hint);
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
  const auto choice =
      desktop_.AskOpenPath(this, {QStringLiteral("*.pat (*.pat)")}, 1, dialog_folder_->Start());
  if (!choice || choice->path.isEmpty()) {
    template_path_.clear();
    return;
  }
  dialog_folder_->Chose(choice->path);
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
