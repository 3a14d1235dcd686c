#include "platform/recent_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

constexpr int kEntryCount = 4;

QString KeyOf(int n) { return QStringLiteral("Software/brindlemark/%1").arg(n); }

QStringList ReadEntries(QSettings& settings) {
  QStringList entries;
  for (int n = 1; n <= kEntryCount; ++n) {
    const QVariant value = settings.value(KeyOf(n));
    entries.append(value.canConvert<QString>() ? value.toString() : QString());
  }
  return entries;
}

// A store QSettings cannot parse is replaced: its entries already read as empty.
void WriteEntries(const QString& file_path, const QStringList& entries) {
  QDir().mkpath(QFileInfo(file_path).absolutePath());
  {
    QSettings probe(file_path, QSettings::IniFormat);
    if (probe.status() == QSettings::FormatError) QFile::remove(file_path);
  }
  QSettings settings(file_path, QSettings::IniFormat);
  for (int n = 1; n <= kEntryCount; ++n) settings.setValue(KeyOf(n), entries.value(n - 1));
  settings.sync();
}

}  // namespace

RecentFilesStore::RecentFilesStore(QString config_folder) {
  if (config_folder.isEmpty()) {
    config_folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  }
  file_path_ = config_folder + QStringLiteral("/brindlemark/brindlemark.ini");
}

QString RecentFilesStore::FilePath() const { return file_path_; }

QStringList RecentFilesStore::Load() {
  QSettings settings(file_path_, QSettings::IniFormat);
  const bool present = settings.status() == QSettings::NoError &&
                       settings.childGroups().contains(QStringLiteral("Software")) &&
                       settings.contains(KeyOf(1));
  QStringList entries = ReadEntries(settings);
  if (!present) WriteEntries(file_path_, entries);
  return entries;
}

void RecentFilesStore::Push(const QString& path) {
  QStringList entries;
  {
    QSettings settings(file_path_, QSettings::IniFormat);
    entries = ReadEntries(settings);
  }
  entries.prepend(path);
  entries.resize(kEntryCount);
  WriteEntries(file_path_, entries);
}
