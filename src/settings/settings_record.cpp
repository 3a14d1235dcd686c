#include "settings/settings_record.h"
#include "names/texts.h"

#include <QFileInfo>
#include <QtEndian>

#include "platform/codec.h"
#include "platform/file_write.h"

namespace {

template <size_t N>
void CopyOut(const std::array<quint8, N>& from, char* to) {
  std::copy(from.begin(), from.end(), reinterpret_cast<quint8*>(to));
}

template <size_t N>
void CopyIn(const char* from, std::array<quint8, N>& to) {
  std::copy_n(reinterpret_cast<const quint8*>(from), N, to.begin());
}

}  // namespace

std::optional<SettingsRecord> SettingsRecord::FromBytes(QByteArrayView bytes) {
  if (bytes.size() < kSize) return std::nullopt;
  const char* data = bytes.data();
  SettingsRecord record;
  record.save_before_preview = quint8(data[0]);
  CopyIn(data + 1, record.reserved1);
  record.editor_colour = qFromLittleEndian<quint32>(data + 4);
  record.file_panel_shown = quint8(data[8]);
  record.word_wrap_on = quint8(data[9]);
  CopyIn(data + 10, record.reserved2);
  record.window_left = qFromLittleEndian<qint32>(data + 14);
  record.window_top = qFromLittleEndian<qint32>(data + 18);
  CopyIn(data + 22, record.language_file_name);
  record.preview_in_built_in_window = quint8(data[43]);
  return record;
}

QByteArray SettingsRecord::ToBytes() const {
  QByteArray bytes(kSize, '\0');
  char* data = bytes.data();
  data[0] = char(save_before_preview);
  CopyOut(reserved1, data + 1);
  qToLittleEndian<quint32>(editor_colour, data + 4);
  data[8] = char(file_panel_shown);
  data[9] = char(word_wrap_on);
  CopyOut(reserved2, data + 10);
  qToLittleEndian<qint32>(window_left, data + 14);
  qToLittleEndian<qint32>(window_top, data + 18);
  CopyOut(language_file_name, data + 22);
  data[43] = char(preview_in_built_in_window);
  return bytes;
}

SettingsRecord SettingsRecord::Defaults() {
  SettingsRecord record;
  record.editor_colour = 0x00FFFFFF;
  record.file_panel_shown = 1;
  record.window_left = 23;
  record.window_top = 57;
  record.SetLanguageFileName(QStringLiteral("english.lng"));
  record.preview_in_built_in_window = 1;
  return record;
}

QString SettingsRecord::LanguageFileName() const {
  const int length = qMin<int>(language_file_name[0], kMaxLanguageNameLength);
  return DecodeCp1251(
      QByteArrayView(reinterpret_cast<const char*>(language_file_name.data()) + 1, length));
}

bool SettingsRecord::SetLanguageFileName(const QString& name) {
  if (name.size() > kMaxLanguageNameLength || !FitsCp1251(name)) return false;
  const QByteArray bytes = EncodeCp1251(name);
  language_file_name[0] = quint8(bytes.size());
  std::copy(bytes.begin(), bytes.end(), language_file_name.begin() + 1);
  return true;
}

int PlaceWindowLeft(int stored_left, int screen_width) {
  return stored_left < screen_width ? stored_left : screen_width - 112;
}

int PlaceWindowTop(int stored_top, int screen_height) {
  return stored_top < screen_height ? stored_top : screen_height - 478;
}

QPoint KeepOnScreens(QPoint position, const QList<QRect>& screens, const QRect& primary) {
  // The part of the title bar one grabs to move the window.
  const QRect title_bar(position + QPoint(8, 4), QSize(64, 16));
  for (const QRect& screen : screens) {
    if (screen.contains(title_bar)) return position;
  }
  return primary.topLeft();
}

SettingsRead ReadSettingsFile(const QString& path) {
  SettingsRead read;
  const ReadOutcome outcome = ReadWholeFile(path, kSettingsCap);
  if (!outcome.ok()) {
    read.error = outcome.error;
    return read;
  }
  read.record = SettingsRecord::FromBytes(outcome.bytes);
  if (!read.record) {
    read.error = IoError{FileError::kUnreadable, Tr(Text::kReadBeyondEnd).arg(path)};
  }
  return read;
}

std::optional<IoError> WriteSettingsFile(const QString& path, const SettingsRecord& record) {
  return WriteWholeFile(path, record.ToBytes());
}
