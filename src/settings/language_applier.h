#pragma once

#include <QHash>
#include <QString>
#include <functional>

#include "settings/language.h"

class Desktop;
class QMenuBar;
class QWidget;

// Puts the texts of a language file into the windows registered with it. Windows that are
// not registered (not built yet) are passed over.
class LanguageApplier {
 public:
  explicit LanguageApplier(Desktop& desktop) : desktop_(desktop) {}

  void AddWindow(QWidget* window);
  void SetUntitledNameSink(std::function<void(const QString&)> sink) {
    untitled_sink_ = std::move(sink);
  }

  // Reads the file and sets every text up to the first missing line. Shows the error and
  // returns false when the file cannot be read or is too short. A refused file is treated as
  // a missing one without being opened.
  bool ApplyFile(const QString& path, bool refused = false);
  void Apply(const LanguageTexts& texts);

 private:
  void Place(const LanguageText& text);

  Desktop& desktop_;
  QHash<QString, QWidget*> windows_;
  std::function<void(const QString&)> untitled_sink_;
};

// The letter marked with '&' in a caption ("&&" is a plain ampersand), or none.
QChar MarkedLetter(const QString& text);
// Marks a letter of every menu caption of bar that has none ("&File"), each menu its own,
// so that Alt with that letter, shown underlined, opens it.
void MarkMenuLetters(QMenuBar* bar);

// The control named name inside window, not looking into other windows parented to it.
QWidget* FindControl(QWidget* window, const QString& name);
