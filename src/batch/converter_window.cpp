#include "batch/converter_window.h"
#include "names/texts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include "batch/window_text.h"

#include "batch/batch_panel.h"
#include "batch/batch_tools.h"
#include "platform/desktop.h"

ConverterWindow::ConverterWindow(Desktop& desktop, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
      desktop_(desktop),
      to_html_(
          Named<QRadioButton>(this, QStringLiteral("RadioButton1"), QStringLiteral("TXT -> HTML"))),
      to_text_(
          Named<QRadioButton>(this, QStringLiteral("RadioButton2"), QStringLiteral("HTML -> TXT"))),
      browser_(this, QStringLiteral("*.txt")),
      source_(this, QStringLiteral("RadioGroup1"), 0),
      gathered_(Named<QListWidget>(this, QStringLiteral("ListBox1"))),
      tidy_(Named<QCheckBox>(this, QStringLiteral("CheckBox1"))),
      other_extension_(Named<QCheckBox>(this, QStringLiteral("CheckBox2"))),
      view_(NewTextView(this, QStringLiteral("RichEdit1"))),
      panel_(new BatchPanel(desktop, this)) {
  MakeExclusive(this, {to_html_, to_text_});
  to_html_->setChecked(true);
  view_->setReadOnly(true);
  auto* run = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button2"));
  auto* left = new QVBoxLayout;
  left->addWidget(to_html_);
  left->addWidget(to_text_);
  browser_.AddSubfolderChoice(this);
  browser_.AddTo(left);
  auto* right = new QVBoxLayout;
  right->addWidget(source_.box);
  right->addWidget(gathered_);
  right->addWidget(tidy_);
  right->addWidget(other_extension_);
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addLayout(GatherButtons());
  top->addLayout(right);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(run);
  buttons->addWidget(close_button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(view_, 1);
  layout->addWidget(panel_);
  layout->addLayout(buttons);
  resize(760, 640);

  connect(to_html_, &QRadioButton::clicked, this,
          [this] { browser_.files->SetMask(QStringLiteral("*.txt")); });
  connect(to_text_, &QRadioButton::clicked, this,
          [this] { browser_.files->SetMask(QStringLiteral("*.htm")); });
  connect(run, &QPushButton::clicked, this, &ConverterWindow::Convert);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  panel_->SetJob([this](const BatchOptions& options) {
    return RunBatch(ConvertSteps(Files(), to_html_->isChecked(), tidy_->isChecked(),
                                 other_extension_->isChecked()),
                    options);
  });
  browser_.SetFolder(QString());
}

// Add the selected file to the gathered list, remove one, clear it.
QVBoxLayout* ConverterWindow::GatherButtons() {
  auto* add = Named<QPushButton>(this, QStringLiteral("Button3"), QStringLiteral(">"));
  auto* remove = Named<QPushButton>(this, QStringLiteral("Button4"), QStringLiteral("<"));
  auto* clear = Named<QPushButton>(this, QStringLiteral("Button5"), QStringLiteral("Cl"));
  ShowText(clear, &QWidget::setToolTip, Text::kClearList);
  ShowText(clear, &QWidget::setAccessibleName, Text::kClearList);
  auto* middle = new QVBoxLayout;
  for (QPushButton* button : {add, remove, clear}) middle->addWidget(button);
  middle->addStretch(1);
  WireGatherButtons({add, remove, clear, true, true}, browser_.files, gathered_);
  return middle;
}

QStringList ConverterWindow::Files() {
  if (source_.Choice() == 1) {
    browser_.files->ShowPaths(Entries(gathered_));
    return browser_.files->FilePaths();
  }
  return browser_.JobPaths();
}

void ConverterWindow::Convert() {
  if (Files().isEmpty()) {
    desktop_.ShowMessage(this, Tr(Text::kConvertNoFiles));
    return;
  }
  ShowLastResult(view_, panel_->Run(QStringLiteral("Convert")));
  browser_.Refresh();
}
