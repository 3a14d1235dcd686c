#include "batch/save_template_window.h"
#include "names/texts.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "document/editor_model.h"
#include "document/text_helpers.h"
#include "platform/desktop.h"
#include "platform/file_write.h"
#include "platform/folder_listing.h"
#include "platform/text_format.h"

SaveTemplateWindow::SaveTemplateWindow(Desktop& desktop, EditorModel& editor, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
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
    desktop_.ShowMessage(nullptr, Tr(Text::kNoTemplateMarker));
    return;
  }
  desktop_.RunModal(this);
}

bool SaveTemplateWindow::Save() {
  QString path = path_->text();
  const qsizetype name_start = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u':')) + 1;
  if (path.sliced(name_start).isEmpty()) {
    desktop_.ShowMessage(this, Tr(Text::kNoFileName));
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
