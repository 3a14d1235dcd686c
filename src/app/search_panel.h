#pragma once

#include <QDockWidget>
#include <QMap>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "document/find_in_files.h"

class BatchPanel;
class Desktop;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "Find in files": a text or a regular expression looked for in every page of a folder (its
// subfolders too, the site's ignore= left out), each page read in its own encoding off the GUI
// thread. Hits stream in grouped by page; Enter or a double-click opens the page at the hit,
// and the next and previous hit are a key away.
class SearchPanel : public QDockWidget {
  Q_OBJECT
 public:
  SearchPanel(Desktop& desktop, QWidget* parent = nullptr);
  ~SearchPanel() override;

  // Shows the panel ready to search from folder (the page's), the site root a click away.
  void Offer(const QString& folder, const QString& site_root, const QString& selected_text);
  void Start();
  void Stop();
  bool Running() const { return worker_.joinable() && !finished_; }
  // Waits until a search under way has ended (for tests and the end of the program).
  void WaitIdle();
  // The hit after (or before) the current one, round the list; false when there is none.
  bool Step(bool backward);
  const FindSummary& Summary() const { return summary_; }
  // "Replace these": every match on the lines of the ticked hits, through the batch engine
  // (its preview, journal and undo are the panel's below the list).
  void ReplaceTicked();

 signals:
  void OpenAt(const QString& path, int line, int column, int length);

 private:
  void Receive(quint64 generation, const FileHits& page);
  void Finish(quint64 generation, const FindSummary& summary);
  void ShowCount();
  void Activate(QTreeWidgetItem* item);
  QStringList FilesToSearch() const;
  // The ticked hits' lines, by page.
  QMap<QString, QList<int>> TickedLines() const;

  Desktop& desktop_;
  QLineEdit* text_;
  QCheckBox* regex_;
  QCheckBox* match_case_;
  QCheckBox* whole_word_;
  QCheckBox* subfolders_;
  QLineEdit* folder_;
  QLineEdit* patterns_;
  QPushButton* find_;
  QPushButton* stop_;
  QLabel* count_;
  QTreeWidget* hits_;
  QLineEdit* replacement_;
  BatchPanel* batch_;
  std::optional<QRegularExpression> expression_;  // of the search listed
  bool regex_searched_ = false;
  QString site_root_;
  QString searched_folder_;
  FindSummary summary_;
  std::thread worker_;
  std::atomic<bool> cancelled_ = false;
  std::atomic<bool> finished_ = true;
  quint64 generation_ = 0;
};
