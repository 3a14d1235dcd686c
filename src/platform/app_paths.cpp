#include "platform/app_paths.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString OrHome(QString folder, const char* fallback) {
  if (!folder.isEmpty()) return folder;
  return QDir::homePath() + u'/' + QString::fromLatin1(fallback);
}

bool HoldsLanguageFiles(const QString& folder) {
  return !QDir(folder).entryList({QStringLiteral("*.lng")}, QDir::Files).isEmpty();
}

}  // namespace

QString UserFolder(const char* variable, const char* fallback) {
  return OrHome(qEnvironmentVariable(variable), fallback);
}

AppPaths AppPaths::ForExecutable(const QString& executable_folder, QString config_home,
                                 QString data_home, QString cache_home) {
  AppPaths paths;
  paths.program_folder = executable_folder;
  const QDir bin(executable_folder);
  const QString shipped = QDir::cleanPath(bin.filePath(QStringLiteral("../share/brindlemark")));
  const bool installed = !HoldsLanguageFiles(executable_folder) && bin.dirName() == u"bin" &&
                         QFileInfo(shipped + QStringLiteral("/lng")).isDir();
  if (!installed) return paths;
  config_home = OrHome(config_home, ".config");
  data_home = OrHome(data_home, ".local/share");
  cache_home = OrHome(cache_home, ".cache");
  paths.installed = true;
  paths.settings_folder = config_home + QStringLiteral("/brindlemark");
  paths.language_folders = {data_home + QStringLiteral("/brindlemark/lng"),
                            shipped + QStringLiteral("/lng")};
  paths.manual_folder = shipped + QStringLiteral("/manual");
  paths.script_folder = shipped + QStringLiteral("/scripts");
  paths.scratch_folder = cache_home + QStringLiteral("/brindlemark");
  return paths;
}

QString AppPaths::SettingsFolder() const {
  return settings_folder.isEmpty() ? program_folder : settings_folder;
}

QStringList AppPaths::LanguageFolders() const {
  return language_folders.isEmpty() ? QStringList{program_folder} : language_folders;
}

QString AppPaths::ManualFolder() const {
  return manual_folder.isEmpty() ? program_folder + QStringLiteral("/manual") : manual_folder;
}

QString AppPaths::ScriptFolder() const {
  return script_folder.isEmpty() ? program_folder + QStringLiteral("/scripts") : script_folder;
}

QString AppPaths::ScratchFolder() const {
  return scratch_folder.isEmpty() ? program_folder : scratch_folder;
}

QString AppPaths::LanguageFile(const QString& name) const {
  const QStringList folders = LanguageFolders();
  for (const QString& folder : folders) {
    const QString path = folder + u'/' + name;
    if (QFileInfo(path).isFile()) return path;
  }
  return folders.last() + u'/' + name;
}

QStringList AppPaths::LanguageNames() const {
  QStringList names;
  for (const QString& folder : LanguageFolders()) {
    names += QDir(folder).entryList({QStringLiteral("*.lng")}, QDir::Files);
  }
  names.removeDuplicates();
  names.sort(Qt::CaseInsensitive);
  return names;
}
