#include "app/tool_bars.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/command_controls.h"
#include "widgets/widget_helpers.h"

namespace {

QFrame* SilverGroup(const QString& name, QWidget* parent) {
  auto* group = new QFrame(parent);
  group->setObjectName(name);
  group->setFrameShape(QFrame::StyledPanel);
  group->setAutoFillBackground(true);
  SetPaletteColour(group, QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
  return group;
}

}  // namespace

QFrame* BuildTopBar(CommandControls& commands, QWidget* parent) {
  auto* bar = new QFrame(parent);
  bar->setObjectName(QStringLiteral("Panel3"));
  bar->setFixedHeight(51);
  auto* bar_layout = new QHBoxLayout(bar);
  bar_layout->setContentsMargins(4, 4, 4, 4);

  auto add_group = [&](const QString& name, ButtonGroup buttons) {
    QFrame* group = SilverGroup(name, bar);
    auto* group_layout = new QHBoxLayout(group);
    group_layout->setContentsMargins(2, 2, 2, 2);
    group_layout->setSpacing(0);
    for (Command command : ButtonsOf(buttons)) {
      group_layout->addWidget(commands.AddButton(command, group));
    }
    bar_layout->addWidget(group);
  };
  add_group(QStringLiteral("Panel5"), ButtonGroup::kFileBar);
  add_group(QStringLiteral("Panel7"), ButtonGroup::kEditBar);
  bar_layout->addStretch(1);
  commands.ButtonOf(Command::kShowFilePanel)->setEnabled(false);
  return bar;
}

QFrame* BuildToolPanel(CommandControls& commands, QWidget* parent) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QStringLiteral("Panel2"));
  panel->setFixedWidth(115);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(2, 2, 2, 2);

  auto add_group = [&](const QString& group_name, const QString& label_name, ButtonGroup buttons,
                       int columns) {
    QFrame* group = SilverGroup(group_name, panel);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(0);
    auto* label = new QLabel(group);
    label->setObjectName(label_name);
    label->setAlignment(Qt::AlignCenter);
    grid->addWidget(label, 0, 0, 1, columns + 1);
    int i = 0;
    for (Command command : ButtonsOf(buttons)) {
      grid->addWidget(commands.AddButton(command, group), 1 + i / columns, i % columns);
      ++i;
    }
    layout->addWidget(group);
    return grid;
  };
  QGridLayout* file_grid =
      add_group(QStringLiteral("GroupFiles"), QStringLiteral("Label2"), ButtonGroup::kFiles, 2);
  // The narrow column of small text buttons beside the four file buttons.
  auto* small_column = new QVBoxLayout;
  small_column->setSpacing(0);
  // The captions, shown when there is no icon.
  const QString captions[] = {QStringLiteral("C"), QStringLiteral("S"), QStringLiteral("?")};
  int caption = 0;
  for (Command command : ButtonsOf(ButtonGroup::kFilesSmall)) {
    QToolButton* button = commands.AddButton(command, panel);
    button->setFixedSize(24, 24);
    button->setIconSize(QSize(16, 16));
    button->setText(captions[caption++]);
    small_column->addWidget(button);
  }
  // The preview button spans both columns, under the other three.
  QToolButton* preview = commands.ButtonOf(Command::kPreview);
  file_grid->removeWidget(preview);
  preview->setFixedWidth(72);
  file_grid->addWidget(preview, 3, 0, 1, 2);
  file_grid->addLayout(small_column, 1, 2, 3, 1);
  add_group(QStringLiteral("GroupGenerators"), QStringLiteral("Label4"), ButtonGroup::kGenerators,
            3);
  add_group(QStringLiteral("GroupTools"), QStringLiteral("Label5"), ButtonGroup::kTools, 3);
  layout->addStretch(1);
  return panel;
}
