#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>

// What applying the settings changes in the main window.
class SettingsTarget {
 public:
  virtual ~SettingsTarget() = default;
  virtual void HideFilePanel() = 0;
  virtual void SetWordWrap(bool on) = 0;
  // The frame's position, as stored.
  virtual void MoveWindow(QPoint position) = 0;
  virtual void SetEditorColour(const QColor& colour) = 0;
  virtual QFont EditorFont() const = 0;
  virtual void SetEditorFont(const QFont& font) = 0;
};
