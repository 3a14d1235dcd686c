#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class QDialog;
class QWidget;

// Everything the program asks of the desktop: dialogs, messages, the shell, the clipboard,
// the clock. Windows receive it through their constructors so that tests can script it.
class Desktop {
 public:
  virtual ~Desktop() = default;

  struct FileChoice {
    QString path;
    int filter_index = 1;  // the chosen filter, counted from 1
  };

  // filters are Qt filter texts ("*.htm (*.htm *.html)"); filter_index counts from 1.
  virtual std::optional<FileChoice> AskOpenPath(QWidget* parent, const QStringList& filters,
                                                int filter_index, const QString& initial_path) = 0;
  virtual std::optional<FileChoice> AskSavePath(QWidget* parent, const QStringList& filters,
                                                int filter_index, const QString& initial_path) = 0;
  // A folder, starting in start; nothing when cancelled.
  virtual std::optional<QString> AskFolder(QWidget* parent, const QString& start) = 0;
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
  virtual void ShowError(QWidget* parent, const QString& text) = 0;
  // A question with Yes and No; true for Yes.
  virtual bool AskYesNo(QWidget* parent, const QString& text) = 0;
  // Opens a file path or an address with the system's default program.
  // False when no program could be started for it.
  virtual bool OpenWithDefaultProgram(const QString& path_or_address) = 0;
  virtual void SetClipboardText(const QString& text) = 0;
  // Shows window modally and returns when it closes; returns the dialog's result code.
  virtual int RunModal(QDialog* window) = 0;
  virtual std::optional<QFont> PickFont(QWidget* parent, const QFont& initial) = 0;
  // Asks for a whole number between minimum and maximum; nothing when cancelled.
  virtual std::optional<int> AskNumber(QWidget* parent, const QString& title, const QString& label,
                                       int value, int minimum, int maximum) = 0;
  virtual std::optional<QColor> PickSystemColour(QWidget* parent, const QColor& initial) = 0;
  // The current date and time in the system's short date and long time formats.
  virtual QString ShortDateText() = 0;
  virtual QString LongTimeText() = 0;
};
