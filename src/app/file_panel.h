#pragma once

#include <QFrame>
#include <QStringList>

#include "widgets/file_browser.h"

class QLabel;
class QMenu;

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
  // Selects the page in the list when it stands there and shows its size as it is now.
  void ShowDocumentFile(const QString& path);
  FileList* Files() const { return files_; }
  QLabel* SizeLabel() const { return size_label_; }
  // The menu of a file in the list; the window fills it with its commands.
  QMenu* FileMenu() const { return file_menu_; }

 signals:
  void FileActivated();
  // The selected file is to open in a tab of its own.
  void FileActivatedInNewTab();
  // A key went down in one of the panel's lists or in the drive box.
  void KeyPressed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowFileSize();
  void BuildFileMenu();

  FileList* files_;
  FolderList* folders_;
  DriveBox* drives_;
  QLabel* size_label_;
  QMenu* file_menu_ = nullptr;
};
