#include "app/application.h"

#include <QAction>
#include <QToolButton>

#include "app/main_window.h"
#include "app/save_prompt_window.h"
#include "platform/desktop.h"
#include "settings/about_window.h"
#include "settings/language_applier.h"
#include "settings/options_window.h"

namespace {

constexpr const char* kNewVersionAddress = "https://brindlemark.example/newversion.htm";

// Shows a non-modal window, or brings it to the front when it is open.
void ShowWindow(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace

Application::Application(Desktop& desktop, AppPaths paths)
    : desktop_(desktop),
      paths_(std::move(paths)),
      recent_files_(paths_.config_folder),
      language_(std::make_unique<LanguageApplier>(desktop_)) {
  main_window_ = std::make_unique<MainWindow>(desktop_, recent_files_);
  MainWindow* main = main_window_.get();
  save_prompt_ = new SavePromptWindow(main);
  options_ = new OptionsWindow(desktop_, *main, *language_, paths_.program_folder, main);
  about_ = new AboutWindow(desktop_, main);
  main->SetSavePrompt(save_prompt_);
  for (QWidget* window : std::initializer_list<QWidget*>{main, save_prompt_, options_, about_}) {
    language_->AddWindow(window);
  }
  language_->SetUntitledNameSink([main](const QString& name) { main->SetUntitledName(name); });
  WireCommands();
}

Application::~Application() = default;

void Application::WireCommands() {
  MainWindow* main = main_window_.get();
  QObject::connect(main->Button(QStringLiteral("SpeedButton19")), &QToolButton::clicked, main,
                   [this] { desktop_.RunModal(options_); });
  auto show_about = [this] { ShowWindow(about_); };
  QObject::connect(main->Button(QStringLiteral("SpeedButton20")), &QToolButton::clicked, main,
                   show_about);
  QObject::connect(main->MenuItem(QStringLiteral("N75")), &QAction::triggered, main, show_about);
  QObject::connect(main->MenuItem(QStringLiteral("N74")), &QAction::triggered, main, [this] {
    desktop_.OpenWithDefaultProgram(QString::fromLatin1(kNewVersionAddress));
  });
  QObject::connect(main, &MainWindow::Closing, main, [this, main] {
    main->Settings().window_left = main->x();
    main->Settings().window_top = main->y();
    options_->SaveSettings();
  });
}

void Application::Start(const QString& argument) {
  main_window_->show();
  options_->LoadSettings(true);
  language_->ApplyFile(options_->LanguagePath());
  main_window_->StartUp(argument);
}
