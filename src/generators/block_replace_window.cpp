#include "generators/block_replace_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "document/editor_model.h"
#include "document/editor_target.h"
#include "document/text_helpers.h"

BlockReplaceWindow::BlockReplaceWindow(EditorTarget& target, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
      target_(target),
      find_(NewTextView(this, QStringLiteral("Memo1"))),
      replacement_(NewTextView(this, QStringLiteral("Memo2"))) {
  find_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* replace = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button3"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Named<QLabel>(this, QStringLiteral("Label1")));
  layout->addWidget(find_);
  layout->addWidget(Named<QLabel>(this, QStringLiteral("Label2")));
  layout->addWidget(replacement_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(replace);
  buttons->addWidget(close_button);
  layout->addLayout(buttons);
  connect(replace, &QPushButton::clicked, this, &BlockReplaceWindow::Replace);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
}

void BlockReplaceWindow::Replace() {
  EditorModel& editor = target_.Editor();
  const QStringList lines = editor.Lines();
  editor.ApplyLines(lines, ReplaceBlocksInLines(lines, FieldLines(find_->toPlainText()),
                                                FieldLines(replacement_->toPlainText())));
}
