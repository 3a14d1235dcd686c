#include "batch/tidy_window.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include "batch/window_text.h"

#include "batch/batch_panel.h"
#include "batch/batch_tools.h"
#include "document/transforms.h"
#include "platform/desktop.h"

TidyWindow::TidyWindow(Desktop& desktop, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
      browser_(this, QStringLiteral("*.htm")),
      view_(NewTextView(this, QStringLiteral("RichEdit1"))),
      panel_(new BatchPanel(desktop, this)) {
  auto* tidy_view = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* tidy_folder = Named<QPushButton>(this, QStringLiteral("Button2"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button3"));
  auto* left = new QVBoxLayout;
  browser_.AddSubfolderChoice(this);
  browser_.AddTo(left);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {tidy_view, tidy_folder, close_button}) buttons->addWidget(button);
  auto* right = new QVBoxLayout;
  right->addWidget(view_, 1);
  right->addWidget(panel_);
  right->addLayout(buttons);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(right, 1);
  resize(760, 520);
  connect(browser_.files, &QListWidget::itemDoubleClicked, this,
          [this] { ShowFileIn(view_, browser_.files->SelectedPath()); });
  connect(tidy_view, &QPushButton::clicked, this, &TidyWindow::TidyView);
  connect(tidy_folder, &QPushButton::clicked, this, &TidyWindow::TidyFolder);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  panel_->SetJob([this](const BatchOptions& options) {
    return RunBatch(TidySteps(browser_.JobPaths()), options);
  });
  browser_.SetFolder(QString());
}

void TidyWindow::TidyView() {
  view_->setPlainText(CompressTextKeepingRaw(view_->toPlainText().split(u'\n')).join(u'\n'));
}

void TidyWindow::TidyFolder() {
  const QStringList files = browser_.JobPaths();
  if (files.isEmpty()) return;
  panel_->Run(QStringLiteral("Tidy"));
  // The last listed file as it now stands, whether or not it needed a change.
  ShowFileIn(view_, files.last());
}
