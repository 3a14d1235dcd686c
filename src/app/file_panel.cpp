#include "app/file_panel.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QStorageInfo>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int kPathRole = Qt::UserRole;

}  // namespace

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
  setObjectName(QStringLiteral("DirectoryListBox1"));
  connect(this, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { SetFolder(item->data(kPathRole).toString()); });
}

bool FolderList::SetFolder(const QString& folder) {
  QDir dir(folder.isEmpty() ? QDir::homePath() : folder);
  if (!dir.exists()) dir = QDir::root();
  const QString path = dir.absolutePath();
  const bool changed = path != folder_;
  folder_ = path;

  clear();
  const QIcon closed_icon = style()->standardIcon(QStyle::SP_DirClosedIcon);
  const QIcon open_icon = style()->standardIcon(QStyle::SP_DirOpenIcon);
  QStringList chain;
  for (QDir up = dir;;) {
    chain.prepend(up.absolutePath());
    if (up.isRoot() || !up.cdUp()) break;
  }
  int depth = 0;
  for (const QString& ancestor : chain) {
    const QString name = depth == 0 ? ancestor : QFileInfo(ancestor).fileName();
    auto* item = new QListWidgetItem(open_icon, QString(depth * 2, u' ') + name, this);
    item->setData(kPathRole, ancestor);
    ++depth;
  }
  setCurrentRow(count() - 1);
  const QStringList subfolders =
      dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& name : subfolders) {
    auto* item = new QListWidgetItem(closed_icon, QString(depth * 2, u' ') + name, this);
    item->setData(kPathRole, dir.filePath(name));
  }
  if (changed) emit FolderChanged(folder_);
  return changed;
}

FileList::FileList(const QString& mask, QWidget* parent)
    : QListWidget(parent), patterns_(mask.split(u';', Qt::SkipEmptyParts)) {
  setObjectName(QStringLiteral("FileListBox1"));
}

void FileList::SetFolder(const QString& folder) {
  folder_ = folder;
  clear();
  QDir dir(folder);
  dir.setNameFilters(patterns_);
  dir.setFilter(QDir::Files | QDir::Hidden);
  dir.setSorting(QDir::Name | QDir::IgnoreCase);
  const QStringList names = dir.entryList();
  for (const QString& name : names) {
    auto* item = new QListWidgetItem(name, this);
    item->setData(kPathRole, dir.filePath(name));
  }
}

QString FileList::SelectedPath() const {
  const QListWidgetItem* item = currentItem();
  if (item == nullptr || !item->isSelected()) return QString();
  return item->data(kPathRole).toString();
}

QStringList FileList::FilePaths() const {
  QStringList paths;
  for (int i = 0; i < count(); ++i) paths.append(item(i)->data(kPathRole).toString());
  return paths;
}

FilePanel::FilePanel(QWidget* parent)
    : QFrame(parent),
      files_(new FileList(QStringLiteral("*.htm;*.shtm;*.txt"), this)),
      folders_(new FolderList(this)),
      drives_(new QComboBox(this)),
      size_label_(new QLabel(this)) {
  setObjectName(QStringLiteral("Panel1"));
  drives_->setObjectName(QStringLiteral("DriveComboBox1"));
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

  FillDrives();
  connect(drives_, &QComboBox::activated, this,
          [this](int index) { folders_->SetFolder(drives_->itemData(index).toString()); });
  connect(folders_, &FolderList::FolderChanged, files_, &FileList::SetFolder);
  connect(files_, &QListWidget::itemSelectionChanged, this, &FilePanel::ShowFileSize);
  connect(files_, &QListWidget::itemDoubleClicked, this, [this] { emit FileActivated(); });
  for (QWidget* w : {static_cast<QWidget*>(files_), static_cast<QWidget*>(folders_),
                     static_cast<QWidget*>(drives_)}) {
    w->installEventFilter(this);
  }
  SetFolder(QDir::currentPath());
}

void FilePanel::FillDrives() {
  drives_->clear();
  QStringList roots;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (!volume.isValid() || !volume.isReady()) continue;
    const QString root = volume.rootPath();
    if (root.startsWith(QStringLiteral("/proc")) || root.startsWith(QStringLiteral("/sys")) ||
        root.startsWith(QStringLiteral("/dev")) || root.startsWith(QStringLiteral("/run"))) {
      continue;
    }
    if (!roots.contains(root)) roots.append(root);
  }
  if (!roots.contains(QStringLiteral("/"))) roots.prepend(QStringLiteral("/"));
  roots.sort();
  const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
  for (const QString& root : roots) drives_->addItem(icon, root, root);
}

QString FilePanel::Folder() const { return folders_->Folder(); }

void FilePanel::SetFolder(const QString& folder) {
  // A new folder reaches the file list through FolderChanged; the same one is read again.
  if (!folders_->SetFolder(folder)) files_->Reread();
  // The drive box shows the volume that holds the folder.
  const QString root = QStorageInfo(folders_->Folder()).rootPath();
  const int index = drives_->findData(root);
  if (index >= 0) drives_->setCurrentIndex(index);
}

QString FilePanel::SelectedFilePath() const { return files_->SelectedPath(); }

void FilePanel::ShowFileSize() {
  const QString path = files_->SelectedPath();
  if (path.isEmpty()) return;
  const QFileInfo info(path);
  const qint64 size = info.exists() ? info.size() : -1;
  size_label_->setText(QString::number(size) + QStringLiteral(" Байт"));
}

bool FilePanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) emit KeyPressed();
  return QFrame::eventFilter(watched, event);
}
