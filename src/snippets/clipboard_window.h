#pragma once

#include "names/window_names.h"
#include "widgets/form_helpers.h"

class Desktop;

// The clipboard manager "Form17": a small tool window on top with a list of snippets; a
// double click puts one on the system clipboard.
class ClipboardWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kClipboard;

  explicit ClipboardWindow(Desktop& desktop, QWidget* parent = nullptr);
  void Toggle();
  bool LoadSnippets(const QString& path);
  bool SaveSnippets(const QString& path);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Desktop& desktop_;
  QFrame* top_panel_;
  QLineEdit* entry_;
  QListWidget* list_;
  bool stepped_down_ = false;  // not on top while a modal dialog is open
};
