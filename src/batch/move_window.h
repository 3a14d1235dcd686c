#pragma once

#include "names/window_names.h"
#include "widgets/form_helpers.h"

class BatchPanel;
class Desktop;

// "Move with links": a page, a picture or a folder renamed or moved inside its site, every
// link to it and in it following. "Preview changes" lists the pages and their line diffs;
// the run is journaled and "Undo this run" restores names and bytes. What it could not
// rewrite (a name in a script, an address built by code) is listed below.
class MoveWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kMove;

  MoveWindow(Desktop& desktop, QWidget* parent = nullptr);
  // What is to move, with its site's root; the new name starts as the old one.
  void SetSource(const QString& path);
  void Move();
  BatchPanel* Panel() const { return panel_; }

 signals:
  // A real move is done: open pages under from now stand under to.
  void Moved(const QString& from, const QString& to);

 private:
  Desktop& desktop_;
  QLineEdit* from_;
  QLineEdit* to_;
  QLineEdit* root_;
  QPlainTextEdit* left_alone_;
  BatchPanel* panel_;
};
