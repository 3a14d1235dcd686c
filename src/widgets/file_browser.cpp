#include "widgets/file_browser.h"
#include "names/texts.h"

#include <QCheckBox>

#include <QBoxLayout>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QStorageInfo>
#include <QStyle>
#include <algorithm>

#include "platform/file_write.h"
#include "platform/folder_listing.h"
#include "widgets/form_helpers.h"

namespace {

constexpr int kPathRole = Qt::UserRole;

}  // namespace

FolderList::FolderList(QWidget* parent, const QString& name) : QListWidget(parent) {
  setObjectName(name);
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    chosen_ = true;
    SetFolder(item->data(kPathRole).toString());
  });
}

void FolderList::SetFolderProperty(const QString& folder) {
  chosen_ = true;
  SetFolder(folder);
}

QSize FolderList::sizeHint() const {
  QSize size = QListWidget::sizeHint();
  if (shown_rows_ > 0) {
    const int row = std::max(fontMetrics().height(), iconSize().height()) + 2;
    size.setHeight(std::max(size.height(), shown_rows_ * row + 2 * frameWidth()));
  }
  return size;
}

void FolderList::OfferFolder(const QString& folder) {
  if (!chosen_ && !folder.isEmpty()) SetFolder(folder);
}

DialogFolder::DialogFolder(QObject* window) : QObject(window) {
  setObjectName(QStringLiteral("DialogFolder"));
}

void DialogFolder::Offer(const QString& folder) {
  if (!chosen_ && !folder.isEmpty()) folder_ = folder;
}

void DialogFolder::Chose(const QString& path) {
  if (path.isEmpty()) return;
  chosen_ = true;
  folder_ = QFileInfo(path).absolutePath();
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
    const QString entry = depth == 0 ? ancestor : QFileInfo(ancestor).fileName();
    auto* item = new QListWidgetItem(open_icon, QString(depth * 2, u' ') + entry, this);
    item->setData(kPathRole, ancestor);
    ++depth;
  }
  setCurrentRow(count() - 1);
  const QStringList subfolders =
      dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& sub : subfolders) {
    auto* item = new QListWidgetItem(closed_icon, QString(depth * 2, u' ') + sub, this);
    item->setData(kPathRole, dir.filePath(sub));
  }
  if (changed) emit FolderChanged(folder_);
  return changed;
}

void FolderList::Rebuild() {
  const QString folder = folder_;
  folder_.clear();
  SetFolder(folder);
}

FileList::FileList(const QString& mask, QWidget* parent, const QString& name)
    : QListWidget(parent), mask_(mask), watcher_(new QFileSystemWatcher(this)) {
  setObjectName(name);
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
    // Keep the selection by name across the re-read.
    const QListWidgetItem* current = currentItem();
    const QString name_before = current != nullptr ? current->text() : QString();
    Reread();
    if (!name_before.isEmpty()) {
      const QList<QListWidgetItem*> found = findItems(name_before, Qt::MatchExactly);
      if (!found.isEmpty()) setCurrentItem(found.first());
    }
  });
}

void FileList::SetFolder(const QString& folder) {
  if (folder != folder_) {
    if (!watcher_->directories().isEmpty()) watcher_->removePaths(watcher_->directories());
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
      watcher_->addPath(folder);
      // What a killed save or batch run left half-done goes when its folder is opened.
      RemoveLeftoverWrites(folder);
    }
  }
  folder_ = folder;
  clear();
  const QStringList names = ListFolderFiles(folder, mask_);
  for (const QString& name : names) {
    auto* item = new QListWidgetItem(name, this);
    item->setData(kPathRole, JoinPath(folder, name));
  }
}

void FileList::SetMask(const QString& mask) {
  mask_ = mask;
  Reread();
}

QString FileList::SelectedPath() const {
  const QListWidgetItem* item = currentItem();
  if (item == nullptr || !item->isSelected()) return QString();
  return item->data(kPathRole).toString();
}

QStringList FileList::FilePaths() const {
  QStringList paths;
  paths.reserve(count());
  for (int i = 0; i < count(); ++i) paths.append(item(i)->data(kPathRole).toString());
  return paths;
}

QStringList FileList::Names() const {
  QStringList names;
  names.reserve(count());
  for (int i = 0; i < count(); ++i) names.append(item(i)->text());
  return names;
}

void FileList::ShowPaths(const QStringList& paths) {
  clear();
  for (const QString& path : paths) {
    auto* item = new QListWidgetItem(path, this);
    item->setData(kPathRole, path);
  }
}

DriveBox::DriveBox(QWidget* parent, const QString& name) : QComboBox(parent) {
  setObjectName(name);
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
  for (const QString& root : roots) addItem(icon, root, root);
}

void DriveBox::ShowVolumeOf(const QString& folder) {
  const int index = findData(QStorageInfo(folder).rootPath());
  if (index >= 0) setCurrentIndex(index);
}

FileBrowser::FileBrowser(QWidget* parent, const QString& mask, const QString& drive_name,
                         const QString& folder_name, const QString& file_name)
    : drives(new DriveBox(parent, drive_name)),
      folders(new FolderList(parent, folder_name)),
      files(file_name.isEmpty() ? nullptr : new FileList(mask, parent, file_name)) {
  // Twelve rows of folders where the window has room: a deep path and its subfolders stay
  // in sight.
  folders->SetShownRows(12);
  QObject::connect(drives, &QComboBox::activated, folders, [this](int index) {
    folders->SetFolderProperty(drives->itemData(index).toString());
  });
  QObject::connect(folders, &FolderList::FolderChanged, drives,
                   [this](const QString& folder) { drives->ShowVolumeOf(folder); });
  if (files != nullptr) {
    QObject::connect(folders, &FolderList::FolderChanged, files, &FileList::SetFolder);
  }
}

void FileBrowser::SetFolder(const QString& folder) {
  if (!folders->SetFolder(folder) && files != nullptr) files->Reread();
}

void FileBrowser::Refresh() { folders->Rebuild(); }

void FileBrowser::AddTo(QBoxLayout* layout) const {
  layout->addWidget(drives);
  layout->addWidget(folders);
  if (files != nullptr) layout->addWidget(files);
  if (subfolders != nullptr) layout->addWidget(subfolders);
}

void FileBrowser::AddSubfolderChoice(QWidget* parent) {
  subfolders = new QCheckBox(parent);
  ShowText(subfolders, &QCheckBox::setText, Text::kIncludeSubfolders);
  subfolders->setObjectName(QStringLiteral("IncludeSubfolders"));
}

QStringList FileBrowser::JobNames() const {
  if (subfolders == nullptr || !subfolders->isChecked()) return files->Names();
  return ScanFolder(Folder(), files->Mask(), true).files;
}

QStringList FileBrowser::JobPaths() const {
  if (subfolders == nullptr || !subfolders->isChecked()) return files->FilePaths();
  QStringList paths;
  for (const QString& name : JobNames()) paths.append(JoinPath(Folder(), name));
  return paths;
}

void WireGatherButtons(const GatherButtons& buttons, FileList* files, QListWidget* gathered) {
  auto add = [files, gathered] {
    const QString path = files->SelectedPath();
    if (!path.isEmpty()) gathered->addItem(path);
  };
  auto remove = [gathered] { RemoveSelectedEntry(gathered); };
  QObject::connect(buttons.add, &QAbstractButton::clicked, gathered, add);
  QObject::connect(buttons.remove, &QAbstractButton::clicked, gathered, remove);
  QObject::connect(buttons.clear, &QAbstractButton::clicked, gathered, &QListWidget::clear);
  if (buttons.double_click_adds) {
    QObject::connect(files, &QListWidget::itemDoubleClicked, gathered, add);
  }
  if (buttons.double_click_removes) {
    QObject::connect(gathered, &QListWidget::itemDoubleClicked, gathered, remove);
  }
}
