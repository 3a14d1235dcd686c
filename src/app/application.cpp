#include "app/application.h"

#include "app/main_window.h"
#include "app/save_prompt_window.h"

Application::Application(Desktop& desktop, AppPaths paths)
    : desktop_(desktop), paths_(std::move(paths)), recent_files_(paths_.config_folder) {
  main_window_ = std::make_unique<MainWindow>(desktop_, recent_files_);
  save_prompt_ = new SavePromptWindow(main_window_.get());
  main_window_->SetSavePrompt(save_prompt_);
}

Application::~Application() = default;

void Application::Start(const QString& argument) {
  main_window_->show();
  main_window_->StartUp(argument);
}
