#pragma once

#include <QString>
#include <QStringList>

// A user's folder from the environment: $variable, else fallback under the home folder
// ("XDG_STATE_HOME", ".local/state").
QString UserFolder(const char* variable, const char* fallback);

// Where the program finds and keeps its files. Run from its own folder (a build folder, an
// unpacked copy) everything lives beside the executable. Installed (the executable in
// PREFIX/bin beside PREFIX/share/brindlemark/lng) the shipped files are read from PREFIX,
// and what the program writes goes to the user's folders: nothing is written under PREFIX.
struct AppPaths {
  QString program_folder;
  QString config_folder;         // the program's own INI; empty: the user's configuration folder
  QString settings_folder;       // "htmled.ini"; empty: program_folder
  QStringList language_folders;  // searched in order, the user's first; empty: program_folder
  QString manual_folder;         // empty: program_folder + "/manual"
  QString script_folder;         // script libraries; empty: program_folder + "/scripts"
  QString scratch_folder;        // previews of untitled pages; empty: program_folder
  bool installed = false;

  // Decides for the executable's folder; config_home and data_home as $XDG_CONFIG_HOME and
  // $XDG_DATA_HOME (their defaults when empty), cache_home as $XDG_CACHE_HOME.
  static AppPaths ForExecutable(const QString& executable_folder, QString config_home = {},
                                QString data_home = {}, QString cache_home = {});

  // Everything in folder, as a program run from its own folder.
  static AppPaths InFolder(const QString& folder) {
    AppPaths paths;
    paths.program_folder = folder;
    return paths;
  }

  QString SettingsFolder() const;
  QStringList LanguageFolders() const;
  QString ManualFolder() const;
  QString ScriptFolder() const;
  QString ScratchFolder() const;
  // The language file of that name: the first folder holding it, else the shipped folder.
  QString LanguageFile(const QString& name) const;
  // Every language file name found, sorted, each once.
  QStringList LanguageNames() const;
};
