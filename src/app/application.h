#pragma once

#include <QString>
#include <memory>

#include "platform/recent_files.h"

class AboutWindow;
class ColourPickerWindow;
class NewPageWindow;
class PreviewCommands;
class PreviewWindow;
class Desktop;
class LanguageApplier;
class MainWindow;
class OptionsWindow;
class SavePromptWindow;

// Where the program keeps its files: the settings file and the language files live in the
// program folder; the recent-files store in the configuration folder.
struct AppPaths {
  QString program_folder;
  QString config_folder;  // empty: the user's configuration folder
};

// Creates every window once, in a fixed order with the main window first, and owns them.
class Application {
 public:
  Application(Desktop& desktop, AppPaths paths);
  ~Application();

  MainWindow& Main() { return *main_window_; }
  SavePromptWindow& SavePrompt() { return *save_prompt_; }
  OptionsWindow& Options() { return *options_; }
  AboutWindow& About() { return *about_; }
  NewPageWindow& NewPage() { return *new_page_; }
  ColourPickerWindow& Picker() { return *picker_; }
  PreviewWindow& Preview() { return *preview_window_; }
  PreviewCommands& Previews() { return *previews_; }
  LanguageApplier& Language() { return *language_; }

  // Shows the main window and runs the start-up steps: settings, language file, then the
  // command-line file or a new page.
  void Start(const QString& argument);

 private:
  void WireCommands();

  Desktop& desktop_;
  AppPaths paths_;
  RecentFilesStore recent_files_;
  std::unique_ptr<LanguageApplier> language_;
  std::unique_ptr<MainWindow> main_window_;
  std::unique_ptr<PreviewCommands> previews_;
  NewPageWindow* new_page_ = nullptr;
  ColourPickerWindow* picker_ = nullptr;
  SavePromptWindow* save_prompt_ = nullptr;
  PreviewWindow* preview_window_ = nullptr;
  OptionsWindow* options_ = nullptr;
  AboutWindow* about_ = nullptr;
};
