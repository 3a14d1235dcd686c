#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QStringList>

class QAbstractButton;

class QBoxLayout;
class QCheckBox;
class QFileSystemWatcher;

// A folder list: the folder's ancestors from the root down, then its subfolders. Activating
// an entry (double-click or Enter) moves to that folder. The folder can be set by name
// through the "folder" property.
class FolderList : public QListWidget {
  Q_OBJECT
  Q_PROPERTY(QString folder READ Folder WRITE SetFolderProperty NOTIFY FolderChanged)
 public:
  explicit FolderList(QWidget* parent = nullptr,
                      const QString& name = QStringLiteral("DirectoryListBox1"));
  QString Folder() const { return folder_; }
  // Lists folder (the home folder when empty, the root when missing); true when it differs
  // from the folder shown before, which is then announced by FolderChanged.
  bool SetFolder(const QString& folder);
  // Lists the folder again (new subfolders show) and announces it, so linked lists re-read.
  void Rebuild();
  // Moves to folder unless the user has chosen a folder in this list (the page's folder,
  // offered when a window opens).
  void OfferFolder(const QString& folder);
  // A folder chosen as the user would choose it.
  void SetFolderProperty(const QString& folder);
  // The rows the list asks room for.
  void SetShownRows(int rows) {
    shown_rows_ = rows;
    updateGeometry();
  }
  QSize sizeHint() const override;

 signals:
  void FolderChanged(const QString& folder);

 private:
  QString folder_;
  bool chosen_ = false;
  int shown_rows_ = 0;
};

// Where a window's file dialogs start: the page's folder, offered each time the window opens,
// until the user picks a file with one of them; from then on that file's folder.
class DialogFolder : public QObject {
  Q_OBJECT
 public:
  explicit DialogFolder(QObject* window);
  void Offer(const QString& folder);
  // The folder a dialog starts in (empty: the dialog's own choice).
  QString Start() const { return folder_; }
  void Chose(const QString& path);

 private:
  QString folder_;
  bool chosen_ = false;
};

// The files of one folder that match a mask such as "*.htm;*.shtm;*.txt", in the mask's
// Windows meaning, sorted ignoring case. It follows changes of the folder on disk.
class FileList : public QListWidget {
  Q_OBJECT
 public:
  explicit FileList(const QString& mask, QWidget* parent = nullptr,
                    const QString& name = QStringLiteral("FileListBox1"));
  void SetFolder(const QString& folder);
  QString Folder() const { return folder_; }
  void SetMask(const QString& mask);
  QString Mask() const { return mask_; }
  void Reread() { SetFolder(folder_); }
  // Full path of the selected file; empty when none is selected.
  QString SelectedPath() const;
  QStringList FilePaths() const;
  QStringList Names() const;
  // Shows these full paths instead of the folder's files, until the next re-read.
  void ShowPaths(const QStringList& paths);

 private:
  QString folder_;
  QString mask_;
  QFileSystemWatcher* watcher_;
};

// The buttons of a gathered list of files, and what a double click does in the two lists.
struct GatherButtons {
  QAbstractButton* add;
  QAbstractButton* remove;
  QAbstractButton* clear;
  bool double_click_adds = false;     // on a file of the folder's list
  bool double_click_removes = false;  // on an entry of the gathered list
};

// Add puts the file list's selected path into the gathered list, remove takes the gathered
// list's selected entry out, clear empties it.
void WireGatherButtons(const GatherButtons& buttons, FileList* files, QListWidget* gathered);

// The drive box: the mounted volumes.
class DriveBox : public QComboBox {
  Q_OBJECT
 public:
  explicit DriveBox(QWidget* parent = nullptr,
                    const QString& name = QStringLiteral("DriveComboBox1"));
  // Shows the volume that holds folder.
  void ShowVolumeOf(const QString& folder);
};

// Drive box, folder list and file list linked: the drive drives the folders and the folder
// drives the files. The widgets are children of parent, for the window to lay out.
struct FileBrowser {
  FileBrowser(QWidget* parent, const QString& mask,
              const QString& drive_name = QStringLiteral("DriveComboBox1"),
              const QString& folder_name = QStringLiteral("DirectoryListBox1"),
              const QString& file_name = QStringLiteral("FileListBox1"));
  // Moves to folder; both lists are read again.
  void SetFolder(const QString& folder);
  QString Folder() const { return folders->Folder(); }
  // Lists the folder again, as after a run that changed files.
  void Refresh();
  // Puts the drive box, the folder list, the file list and the subfolder choice into
  // layout, in that order.
  void AddTo(QBoxLayout* layout) const;
  // Adds the "Include subfolders" check box (off), for windows that run over the files.
  void AddSubfolderChoice(QWidget* parent);
  // The files a run takes: the listed ones, or with subfolders every matching file below
  // the folder (folder by folder, names sorted, links to folders not followed).
  QStringList JobPaths() const;
  // The same as paths relative to the folder ("sub/page.htm").
  QStringList JobNames() const;

  DriveBox* drives;
  FolderList* folders;
  FileList* files;  // null when made without a file list (empty file_name)
  QCheckBox* subfolders = nullptr;
};
