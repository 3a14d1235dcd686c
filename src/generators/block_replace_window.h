#pragma once

#include "names/window_names.h"
#include "widgets/form_helpers.h"

class ColourPickerWindow;
class EditorTarget;
class QGroupBox;

// Block replace "Form15": every block of whole lines replaced, from the end of the document.
class BlockReplaceWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kBlockReplace;

  BlockReplaceWindow(EditorTarget& target, QWidget* parent = nullptr);
  void Replace();

 private:
  EditorTarget& target_;
  QPlainTextEdit* find_;
  QPlainTextEdit* replacement_;
};
