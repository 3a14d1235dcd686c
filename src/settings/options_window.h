#pragma once

#include "names/window_names.h"
#include "platform/app_paths.h"

#include <QDialog>
#include <QString>

class Desktop;
class LanguageApplier;
class SettingsTarget;
class QCheckBox;
class QComboBox;
class QPushButton;
class QTabWidget;
struct SettingsRecord;

// The options window "Form6": preview options, editor font and colour, language file, and
// the edit verbs of the file manager. It also reads and writes the settings file.
class OptionsWindow : public QDialog {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kOptions;

  OptionsWindow(Desktop& desktop, SettingsRecord& settings, SettingsTarget& main_window,
                LanguageApplier& language, const AppPaths& paths, QWidget* parent = nullptr);

  QString SettingsPath() const;
  // The path of the language file to apply.
  QString LanguagePath() const { return language_path_; }
  // The settings named a language file with a path in it: it is not read.
  bool LanguageRefused() const { return language_refused_; }
  quint32 DialogColour() const { return dialog_colour_; }

  // Reads the settings file and applies it. At start-up a missing file means a first start
  // (defaults, no message) and an unreadable or short one shows its error and then goes on
  // with the defaults. Returns false when the file could not be read.
  bool LoadSettings(bool at_start_up);
  // Takes the options into the record and writes the settings file; false (with a message)
  // when it could not be written.
  bool SaveSettings();
  void ChooseLanguageFile();
  void UseLanguageFile(const QString& path);
  void RegisterVerb(const QString& file_type, const QString& caption);
  // Shows the stored choice of the option "ExpandWithTab".
  void SetExpandWithTab(bool on);

 signals:
  // The user chose a font for the editor with the font button.
  void EditorFontChosen(const QFont& font);
  // The user turned Tab's expansion of abbreviations on or off.
  void ExpandWithTabChanged(bool on);

 private:
  QWidget* MainPage();
  QWidget* EditorPage();
  QWidget* LanguagePage();
  void Apply(const SettingsRecord& record);

  Desktop& desktop_;
  SettingsRecord& settings_;
  SettingsTarget& main_window_;
  LanguageApplier& language_;
  const AppPaths& paths_;
  QComboBox* languages_ = nullptr;
  QString language_path_;
  bool language_refused_ = false;
  quint32 dialog_colour_ = 0;

  QTabWidget* pages_;
  QCheckBox* save_before_preview_;
  QCheckBox* built_in_preview_;
  QCheckBox* expand_with_tab_ = nullptr;
};
