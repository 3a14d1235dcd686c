#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>

// The four most recently opened files, kept in an INI file in the user's configuration
// folder ($XDG_CONFIG_HOME, else ~/.config): brindlemark/brindlemark.ini, group
// "Software/brindlemark", keys "1" to "4"; "1" is the most recent. Store errors are silent:
// a value that cannot be read counts as empty, one that cannot be written is skipped.
class RecentFilesStore {
 public:
  // config_folder empty: the user's configuration folder.
  explicit RecentFilesStore(QString config_folder = QString());

  QString FilePath() const;

  // Creates the four empty entries when the store has none, then returns the four entries.
  QStringList Load();

  // Stores path as "1", the others shifting down (the old "4" is dropped); a path already
  // listed moves up from its place rather than being listed twice.
  void Push(const QString& path);

  // The main window's size and maximised state, kept beside the recent files (the settings
  // record has no room for them). An invalid size when none is stored.
  struct WindowState {
    QSize size;
    bool maximized = false;
  };
  WindowState LoadWindowState() const;
  // Other choices the program remembers (editor font, view options), by key.
  QVariant Value(const QString& key, const QVariant& fallback = QVariant()) const;
  void SetValue(const QString& key, const QVariant& value);
  void SaveWindowState(const WindowState& state);

 private:
  QString file_path_;
};
