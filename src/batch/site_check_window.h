#pragma once

#include <QDialog>

#include "checks/site_check.h"
#include "names/window_names.h"

class Desktop;
class FolderList;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QLabel;
class QPushButton;
class QTreeWidget;

// "Check site": the pages of a folder checked for broken links (and, when asked, HTML,
// spelling and files nothing links to), the results grouped by page with their counts,
// sorted by any column and filtered by severity and kind.
// A double-click opens the page at the line; the report saves as the command line prints it.
// Writes nothing else, but the site's own options file when asked.
class SiteCheckWindow : public QDialog {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kSiteCheck;

  explicit SiteCheckWindow(Desktop& desktop, QWidget* parent = nullptr);

  void Run();
  const SiteCheckResult& Result() const { return result_; }
  // Starts in folder (the site of the page last worked on) until the user chooses another.
  void OfferFolder(const QString& folder);

 signals:
  void OpenAt(const QString& path, int line, int column);

 private:
  void Show();
  void ChooseFolder();
  void FillKinds();
  void SaveReport();
  void SaveSiteFile();

  Desktop& desktop_;
  FolderList* folder_;
  QLineEdit* folder_field_;
  QComboBox* severity_filter_;
  QComboBox* kind_filter_;
  QCheckBox* subfolders_;
  QCheckBox* links_;
  QCheckBox* html_;
  QCheckBox* spelling_;
  QCheckBox* orphans_;
  QPushButton* save_report_;
  QTreeWidget* results_;
  QLabel* summary_;
  SiteCheckResult result_;
};
