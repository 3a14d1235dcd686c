#include "app/file_panel.h"
#include "names/texts.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>

FilePanel::FilePanel(QWidget* parent)
    : QFrame(parent),
      files_(new FileList(QStringLiteral("*.htm;*.shtm;*.txt"), this)),
      folders_(new FolderList(this)),
      drives_(new DriveBox(this)),
      size_label_(new QLabel(this)) {
  setObjectName(QStringLiteral("Panel1"));
  size_label_->setObjectName(QStringLiteral("Label1"));

  auto* drive_panel = new QFrame(this);
  drive_panel->setObjectName(QStringLiteral("Panel6"));
  auto* drive_layout = new QVBoxLayout(drive_panel);
  drive_layout->setContentsMargins(2, 2, 2, 2);
  drive_layout->addWidget(drives_);

  auto* size_panel = new QFrame(this);
  size_panel->setObjectName(QStringLiteral("Panel4"));
  size_panel->setFrameShape(QFrame::Panel);
  size_panel->setFrameShadow(QFrame::Sunken);
  auto* size_layout = new QVBoxLayout(size_panel);
  size_layout->setContentsMargins(4, 2, 4, 2);
  size_layout->addWidget(size_label_);

  folders_->setFixedHeight(139);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(files_, 1);
  layout->addWidget(folders_);
  layout->addWidget(drive_panel);
  layout->addWidget(size_panel);

  connect(drives_, &QComboBox::activated, this,
          [this](int index) { folders_->SetFolder(drives_->itemData(index).toString()); });
  connect(folders_, &FolderList::FolderChanged, files_, &FileList::SetFolder);
  connect(files_, &QListWidget::itemSelectionChanged, this, &FilePanel::ShowFileSize);
  connect(files_, &QListWidget::itemDoubleClicked, this, [this] {
    if (QGuiApplication::keyboardModifiers() & Qt::ControlModifier) {
      emit FileActivatedInNewTab();
    } else {
      emit FileActivated();
    }
  });
  BuildFileMenu();
  for (QWidget* w : {static_cast<QWidget*>(files_), static_cast<QWidget*>(folders_),
                     static_cast<QWidget*>(drives_)}) {
    w->installEventFilter(this);
  }
  files_->viewport()->installEventFilter(this);
  SetFolder(QDir::currentPath());
}

// The file list's own menu, for the file under the mouse; its items come from the window.
void FilePanel::BuildFileMenu() {
  file_menu_ = new QMenu(this);
  file_menu_->setObjectName(QStringLiteral("FileListMenu"));
  files_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(files_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    QListWidgetItem* item = files_->itemAt(pos);
    if (item == nullptr) return;
    files_->setCurrentItem(item);
    file_menu_->popup(files_->viewport()->mapToGlobal(pos));
  });
}

QString FilePanel::Folder() const { return folders_->Folder(); }

void FilePanel::SetFolder(const QString& folder) {
  // A new folder reaches the file list through FolderChanged; the same one is read again.
  if (!folders_->SetFolder(folder)) files_->Reread();
  drives_->ShowVolumeOf(folders_->Folder());
}

QString FilePanel::SelectedFilePath() const { return files_->SelectedPath(); }

namespace {

QString SizeText(qint64 size) { return QString::number(size) + Tr(Text::kBytes); }

}  // namespace

void FilePanel::ShowDocumentFile(const QString& path) {
  const QFileInfo info(path);
  if (!info.isFile()) return;
  // The list follows the folder on disk (and is read again after Save As), so a page of
  // this folder that matches the mask stands there already.
  if (QFileInfo(files_->Folder()) == QFileInfo(info.absolutePath())) {
    const QList<QListWidgetItem*> found = files_->findItems(info.fileName(), Qt::MatchExactly);
    if (!found.isEmpty()) files_->setCurrentItem(found.first());
  }
  size_label_->setText(SizeText(info.size()));
}

void FilePanel::ShowFileSize() {
  const QString path = files_->SelectedPath();
  if (path.isEmpty()) return;
  const QFileInfo info(path);
  size_label_->setText(SizeText(info.exists() ? info.size() : -1));
}

bool FilePanel::eventFilter(QObject* watched, QEvent* event) {
  // A double click where no file stands asks for one with the Open dialog.
  if (watched == files_->viewport() && event->type() == QEvent::MouseButtonDblClick &&
      files_->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint()) == nullptr) {
    files_->clearSelection();
    emit FileActivated();
    return true;
  }
  // A middle click opens the file under the mouse in a new tab.
  if (watched == files_->viewport() && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton) {
    if (QListWidgetItem* item =
            files_->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint())) {
      files_->setCurrentItem(item);
      emit FileActivatedInNewTab();
      return true;
    }
  }
  if (event->type() == QEvent::KeyPress) emit KeyPressed();
  return QFrame::eventFilter(watched, event);
}
