#include "generators/line_replace_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "document/editor_model.h"
#include "document/editor_target.h"
#include "document/text_helpers.h"

LineReplaceWindow::LineReplaceWindow(EditorTarget& target, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
      target_(target),
      find_(Named<QLineEdit>(this, QStringLiteral("Edit1"))),
      replacement_(Named<QLineEdit>(this, QStringLiteral("Edit2"))) {
  auto* replace = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button2"));
  auto* layout = new QGridLayout(this);
  layout->addWidget(Named<QLabel>(this, QStringLiteral("Label1")), 0, 0);
  layout->addWidget(find_, 0, 1);
  layout->addWidget(Named<QLabel>(this, QStringLiteral("Label2")), 1, 0);
  layout->addWidget(replacement_, 1, 1);
  layout->addWidget(replace, 2, 0);
  layout->addWidget(close_button, 2, 1);
  connect(replace, &QPushButton::clicked, this, &LineReplaceWindow::Replace);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
}

void LineReplaceWindow::Replace() {
  EditorModel& editor = target_.Editor();
  const QStringList lines = editor.Lines();
  editor.ApplyLines(lines, ReplaceFirstInEveryLine(lines, find_->text(), replacement_->text()));
}
