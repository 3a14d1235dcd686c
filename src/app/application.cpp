#include "app/application.h"

#include <QAction>
#include <QToolButton>

#include "app/main_window.h"
#include "app/save_prompt_window.h"
#include "app/widget_helpers.h"
#include "generators/colour_picker_window.h"
#include "platform/desktop.h"
#include "settings/about_window.h"
#include "settings/language_applier.h"
#include "settings/new_page_window.h"
#include "settings/options_window.h"
#include "settings/preview_window.h"

namespace {

constexpr const char* kNewVersionAddress = "https://brindlemark.example/newversion.htm";

}  // namespace

Application::Application(Desktop& desktop, AppPaths paths)
    : desktop_(desktop),
      paths_(std::move(paths)),
      recent_files_(paths_.config_folder),
      language_(std::make_unique<LanguageApplier>(desktop_)) {
  main_window_ = std::make_unique<MainWindow>(desktop_, recent_files_);
  MainWindow* main = main_window_.get();
  // The wizard takes its colours from the picker, so the picker is made first.
  picker_ = new ColourPickerWindow(desktop_, *main, main);
  new_page_ = new NewPageWindow(*picker_, *main, main);
  save_prompt_ = new SavePromptWindow(main);
  preview_window_ = new PreviewWindow(main);
  options_ = new OptionsWindow(desktop_, *main, *language_, paths_.program_folder, main);
  about_ = new AboutWindow(desktop_, main);
  previews_ =
      std::make_unique<PreviewCommands>(desktop_, *main, *preview_window_, paths_.program_folder);
  main->SetSavePrompt(save_prompt_);
  for (QWidget* window : std::initializer_list<QWidget*>{main, new_page_, picker_, save_prompt_,
                                                         preview_window_, options_, about_}) {
    language_->AddWindow(window);
  }
  language_->SetUntitledNameSink([main](const QString& name) { main->SetUntitledName(name); });
  WireCommands();
}

Application::~Application() = default;

void Application::WireCommands() {
  MainWindow* main = main_window_.get();
  main->SetNewPageFields([this] { return new_page_->Fields(); });
  // The wizard has no cancel; the save-changes prompt comes after it closes.
  main->SetNewPageCommand([this, main] {
    desktop_.RunModal(new_page_);
    main->GenerateNewPage();
  });
  auto show_picker = [this] { picker_->ShowFreeStanding(); };
  QObject::connect(main->Button(QStringLiteral("SpeedButton33")), &QToolButton::clicked, main,
                   show_picker);
  QObject::connect(main->MenuItem(QStringLiteral("N87")), &QAction::triggered, main, show_picker);
  auto preview = [this] { previews_->PreviewDocument(); };
  QObject::connect(main->Button(QStringLiteral("SpeedButton16")), &QToolButton::clicked, main,
                   preview);
  QObject::connect(main->MenuItem(QStringLiteral("N79")), &QAction::triggered, main, preview);
  QObject::connect(main->findChild<QAction*>(QStringLiteral("Run")), &QAction::triggered, main,
                   preview);
  QObject::connect(main->Button(QStringLiteral("SpeedButton3")), &QToolButton::clicked, main,
                   [this] { previews_->PreviewSelectedFile(); });
  QObject::connect(main->Button(QStringLiteral("SpeedButton19")), &QToolButton::clicked, main,
                   [this] { desktop_.RunModal(options_); });
  auto show_about = [this] { ShowInFront(about_); };
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
    // Closing the main window ends the program: no other window stays open.
    for (QWidget* window : std::initializer_list<QWidget*>{new_page_, picker_, save_prompt_,
                                                           preview_window_, options_, about_}) {
      window->close();
    }
  });
}

void Application::Start(const QString& argument) {
  main_window_->show();
  options_->LoadSettings(true);
  language_->ApplyFile(options_->LanguagePath());
  main_window_->StartUp(argument);
}
