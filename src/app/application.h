#pragma once

#include "platform/app_paths.h"

#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

#include "app/recovery_keeper.h"
#include "platform/recent_files.h"
#include "settings/settings_record.h"

class AboutWindow;
class ColourPickerWindow;
class NewPageWindow;
class PreviewCommands;
class PreviewWindow;
class RecoveryWindow;
class Desktop;
class LanguageApplier;
class MainWindow;
class MoveWindow;
class SiteCheckWindow;
class OptionsWindow;
class SavePromptWindow;
class QWidget;

// Creates every window once, in a fixed order with the main window first, keeps them in one
// registry and binds the command table.
class Application {
 public:
  Application(Desktop& desktop, AppPaths paths);
  ~Application();

  MainWindow& Main() { return *main_window_; }
  SavePromptWindow& SavePrompt() { return *save_prompt_; }
  RecoveryKeeper& Recovery() { return *recovery_; }
  OptionsWindow& Options() { return *options_; }
  AboutWindow& About() { return *about_; }
  NewPageWindow& NewPage() { return *new_page_; }
  ColourPickerWindow& Picker() { return *picker_; }
  PreviewWindow& Preview() { return *preview_window_; }
  PreviewCommands& Previews() { return *previews_; }
  LanguageApplier& Language() { return *language_; }
  // The windows in creation order, the main window first.
  const std::vector<QWidget*>& Windows() const { return windows_; }
  // The registered window with this object name, or null.
  QWidget* Window(const QString& name) const;
  // The registered window of class W.
  template <class W>
  W* Window() const {
    return qobject_cast<W*>(Window(W::kName.toString()));
  }

  // Shows the main window and runs the start-up steps: settings, language file, then the
  // command-line file or a new page; further files open in tabs of their own.
  void Start(const QStringList& files);
  void Start(const QString& argument) {
    Start(argument.isEmpty() ? QStringList() : QStringList{argument});
  }

 private:
  template <class W>
  W* Register(W* window);
  void CreateWindows();
  // Moves and site checks reach the pages; previews and the problems panel follow them.
  void WireSiteWindows(SiteCheckWindow& site_check, MoveWindow& move);
  void WirePreviewsAndProblems();
  void WireCommands();
  void RememberAtClose();
  // Shows a tool window in front, offering it the page's folder.
  void ShowToolWindow(QStringView name);
  // View > Preview beside the page: the preview in a dock at the page's right, or free.
  void DockPreviewOnRequest();
  void UndoLastBatchRun();
  // Help > Help: the manual shipped with the program, in the preview window.
  void ShowManual();
  void WireEditorChoices();
  // The recovery window, when a program that did not end normally left copies: the ones the
  // user chose to restore.
  QList<FoundCopy> OfferRecovery();

  Desktop& desktop_;
  AppPaths paths_;
  RecentFilesStore recent_files_;
  SettingsRecord settings_;
  QTimer live_preview_timer_;
  std::unique_ptr<LanguageApplier> language_;
  RecoveryStore recovery_store_;
  std::unique_ptr<RecoveryKeeper> recovery_;
  std::unique_ptr<MainWindow> main_window_;
  std::unique_ptr<PreviewCommands> previews_;
  RecoveryWindow* recovery_window_ = nullptr;
  std::vector<QWidget*> windows_;
  NewPageWindow* new_page_ = nullptr;
  ColourPickerWindow* picker_ = nullptr;
  SavePromptWindow* save_prompt_ = nullptr;
  PreviewWindow* preview_window_ = nullptr;
  PreviewWindow* help_window_ = nullptr;
  OptionsWindow* options_ = nullptr;
  AboutWindow* about_ = nullptr;
};
