#pragma once

#include <QFrame>
#include <QListWidget>
#include <QStringList>

class QComboBox;
class QLabel;

// A folder list: the folder's ancestors from the root down, then its subfolders. Activating
// an entry (double-click or Enter) moves to that folder.
class FolderList : public QListWidget {
  Q_OBJECT
 public:
  explicit FolderList(QWidget* parent = nullptr);
  QString Folder() const { return folder_; }
  // Lists folder (the home folder when empty, the root when missing); true when it differs
  // from the folder shown before, which is then announced by FolderChanged.
  bool SetFolder(const QString& folder);

 signals:
  void FolderChanged(const QString& folder);

 private:
  QString folder_;
};

// The files of one folder that match a mask such as "*.htm;*.shtm;*.txt" (any letter case).
class FileList : public QListWidget {
  Q_OBJECT
 public:
  explicit FileList(const QString& mask, QWidget* parent = nullptr);
  void SetFolder(const QString& folder);
  void Reread() { SetFolder(folder_); }
  // Full path of the selected file; empty when none is selected.
  QString SelectedPath() const;
  QStringList FilePaths() const;

 private:
  QString folder_;
  QStringList patterns_;
};

// The main window's file panel: file list, folder list, drive box and file size label,
// chained so that the drive drives the folders and the folder drives the files.
class FilePanel : public QFrame {
  Q_OBJECT
 public:
  explicit FilePanel(QWidget* parent = nullptr);

  QString Folder() const;
  // Moves the panel to folder; both lists are read again, so new files show.
  void SetFolder(const QString& folder);
  QString SelectedFilePath() const;
  FileList* Files() const { return files_; }
  QLabel* SizeLabel() const { return size_label_; }

 signals:
  void FileActivated();
  // A key went down in one of the panel's lists or in the drive box.
  void KeyPressed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowFileSize();
  void FillDrives();

  FileList* files_;
  FolderList* folders_;
  QComboBox* drives_;
  QLabel* size_label_;
};
