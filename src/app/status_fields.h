#pragma once

#include <QObject>

#include "platform/text_format.h"

class QLabel;
class QStatusBar;

// The main window's status bar: panel 0 (the modified mark), 1 (the caret's column and
// line) and 2 (its offset), a field for passing notes, the problem counts and the page's
// format, which opens the format menu when clicked.
class StatusFields : public QObject {
  Q_OBJECT
 public:
  explicit StatusFields(QStatusBar& bar);

  void SetPanel(int panel, const QString& text);
  QString Panel(int panel) const;
  // A note that goes by itself after a while.
  void ShowNote(const QString& text);
  void ShowFormat(const TextFormat& format);
  void ShowProblemCounts(const QString& counts);
  QLabel* FormatField() const { return format_field_; }

 signals:
  void FormatClicked();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* panels_[3] = {nullptr, nullptr, nullptr};
  QLabel* note_field_ = nullptr;
  QLabel* problems_field_ = nullptr;
  QLabel* format_field_ = nullptr;
};
