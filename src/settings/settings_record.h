#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

#include "platform/text_file.h"

// The settings record stored in "htmled.ini": 44 bytes, little-endian, no header. Reserved
// bytes are kept exactly as read so that a record read and written back is unchanged.
struct SettingsRecord {
  static constexpr int kSize = 44;
  static constexpr int kMaxLanguageNameLength = 20;

  quint8 save_before_preview = 0;               // offset 0
  std::array<quint8, 3> reserved1{};            // 1..3
  quint32 editor_colour = 0;                    // 4: 0x00BBGGRR
  quint8 file_panel_shown = 0;                  // 8
  quint8 word_wrap_on = 0;                      // 9
  std::array<quint8, 4> reserved2{};            // 10..13
  qint32 window_left = 0;                       // 14
  qint32 window_top = 0;                        // 18
  std::array<quint8, 21> language_file_name{};  // 22: length byte and 20 bytes
  quint8 preview_in_built_in_window = 0;        // 43

  // The record of the first 44 bytes; nullopt when fewer bytes are given.
  static std::optional<SettingsRecord> FromBytes(QByteArrayView bytes);
  QByteArray ToBytes() const;

  // The settings of a first start: file panel shown, no wrap, white editor, the window at
  // its form position, "english.lng", preview in the built-in window.
  static SettingsRecord Defaults();

  // The name held by the short string; a length byte above 20 is read as 20.
  QString LanguageFileName() const;
  // Stores name when it fits (at most 20 Windows-1251 characters); bytes after the new
  // length keep what they held. Returns false and changes nothing otherwise.
  bool SetLanguageFileName(const QString& name);
};

// Where the main window goes for a stored position: a coordinate at or past the screen's
// extent is replaced by the extent minus 112 (left) or minus 478 (top).
int PlaceWindowLeft(int stored_left, int screen_width);
int PlaceWindowTop(int stored_top, int screen_height);
// A window's frame position that keeps its title bar on a screen: a position whose title
// bar lies off every screen moves to the primary screen's top left corner.
QPoint KeepOnScreens(QPoint position, const QList<QRect>& screens, const QRect& primary);

struct SettingsRead {
  std::optional<SettingsRecord> record;
  std::optional<IoError> error;  // kMissing: no file yet; else it is short or unreadable
  bool Missing() const { return error && error->kind == FileError::kMissing; }
};
// Reads the first record of the settings file at path.
SettingsRead ReadSettingsFile(const QString& path);
// Writes exactly one record; nothing on success, else the failure naming the file.
std::optional<IoError> WriteSettingsFile(const QString& path, const SettingsRecord& record);
