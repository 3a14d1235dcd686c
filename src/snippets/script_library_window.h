#pragma once

#include "names/window_names.h"
#include "widgets/form_helpers.h"

// The script library window "Form16": created with the others and given its language texts;
// no command shows it.
class ScriptLibraryWindow : public ToolWindow {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kScriptLibrary;

  explicit ScriptLibraryWindow(QWidget* parent = nullptr);
};
