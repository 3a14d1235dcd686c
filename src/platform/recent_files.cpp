#include "platform/recent_files.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

constexpr int kEntryCount = 4;
// Four paths fit in a few kilobytes; a larger store is damaged and is not parsed.
constexpr qint64 kMaxStoreBytes = 64 * 1024;
constexpr qsizetype kMaxPathLength = 4096;

bool StoreTooLarge(const QString& path) { return QFileInfo(path).size() > kMaxStoreBytes; }

QString KeyOf(int n) { return QStringLiteral("Software/brindlemark/%1").arg(n); }

QStringList ReadEntries(QSettings& settings) {
  QStringList entries;
  for (int n = 1; n <= kEntryCount; ++n) {
    const QVariant value = settings.value(KeyOf(n));
    QString entry = value.canConvert<QString>() ? value.toString() : QString();
    // Longer than any path can be: not a file to offer.
    if (entry.size() > kMaxPathLength) entry.clear();
    entries.append(entry);
  }
  return entries;
}

void WriteEntries(QSettings& settings, const QStringList& entries) {
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
  if (StoreTooLarge(file_path_)) return QStringList(kEntryCount, QString());
  QSettings settings(file_path_, QSettings::IniFormat);
  const QStringList entries = ReadEntries(settings);
  if (!settings.contains(KeyOf(1))) WriteEntries(settings, entries);
  return entries;
}

void RecentFilesStore::Push(const QString& path) {
  if (StoreTooLarge(file_path_)) QFile::remove(file_path_);
  QSettings settings(file_path_, QSettings::IniFormat);
  QStringList entries = ReadEntries(settings);
  // A page opened again moves to the top instead of filling a second slot.
  entries.removeAll(path);
  entries.prepend(path);
  entries.resize(kEntryCount);
  WriteEntries(settings, entries);
}

RecentFilesStore::WindowState RecentFilesStore::LoadWindowState() const {
  WindowState state;
  if (StoreTooLarge(file_path_)) return state;
  QSettings settings(file_path_, QSettings::IniFormat);
  const int width = settings.value(QStringLiteral("Window/width")).toInt();
  const int height = settings.value(QStringLiteral("Window/height")).toInt();
  if (width > 0 && height > 0 && width < 100000 && height < 100000)
    state.size = QSize(width, height);
  state.maximized = settings.value(QStringLiteral("Window/maximized")).toBool();
  return state;
}

void RecentFilesStore::SaveWindowState(const WindowState& state) {
  if (StoreTooLarge(file_path_)) QFile::remove(file_path_);
  QSettings settings(file_path_, QSettings::IniFormat);
  settings.setValue(QStringLiteral("Window/width"), state.size.width());
  settings.setValue(QStringLiteral("Window/height"), state.size.height());
  settings.setValue(QStringLiteral("Window/maximized"), state.maximized);
  settings.sync();
}

QVariant RecentFilesStore::Value(const QString& key, const QVariant& fallback) const {
  if (StoreTooLarge(file_path_)) return fallback;
  QSettings settings(file_path_, QSettings::IniFormat);
  return settings.value(key, fallback);
}

void RecentFilesStore::SetValue(const QString& key, const QVariant& value) {
  if (StoreTooLarge(file_path_)) QFile::remove(file_path_);
  QSettings settings(file_path_, QSettings::IniFormat);
  settings.setValue(key, value);
  settings.sync();
}
