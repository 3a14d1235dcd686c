#pragma once

#include "platform/desktop.h"

// The desktop services of the running program, through Qt.
class QtDesktop : public Desktop {
 public:
  std::optional<FileChoice> AskOpenPath(QWidget* parent, const QStringList& filters,
                                        int filter_index, const QString& initial_path) override;
  std::optional<FileChoice> AskSavePath(QWidget* parent, const QStringList& filters,
                                        int filter_index, const QString& initial_path) override;
  std::optional<QString> AskFolder(QWidget* parent, const QString& start) override;
  void ShowMessage(QWidget* parent, const QString& text) override;
  void ShowError(QWidget* parent, const QString& text) override;
  bool AskYesNo(QWidget* parent, const QString& text) override;
  bool OpenWithDefaultProgram(const QString& path_or_address) override;
  void SetClipboardText(const QString& text) override;
  int RunModal(QDialog* window) override;
  std::optional<QFont> PickFont(QWidget* parent, const QFont& initial) override;
  std::optional<int> AskNumber(QWidget* parent, const QString& title, const QString& label,
                               int value, int minimum, int maximum) override;
  std::optional<QColor> PickSystemColour(QWidget* parent, const QColor& initial) override;
  QString ShortDateText() override;
  QString LongTimeText() override;
};
