#pragma once

#include <QString>

class EditorModel;

// What a generator or tool window may do to the open document: edit its lines through the
// editor model, put a snippet at the caret (recording where it went), write a status panel
// of the main window and hand the keyboard focus back to the editor.
class EditorTarget {
 public:
  virtual ~EditorTarget() = default;
  virtual EditorModel& Editor() = 0;
  virtual void InsertAtCaret(const QString& text) = 0;
  virtual void SetStatusPanel(int panel, const QString& text) = 0;
  virtual void SetCaretLine(int line) = 0;
  virtual void FocusEditor() = 0;
  // The folder of the page on disk; empty for an untitled page.
  virtual QString DocumentFolder() const = 0;
};
