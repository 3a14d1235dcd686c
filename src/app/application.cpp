#include "app/application.h"

#include "app/abbreviation_commands.h"
#include "batch/batch_panel.h"
#include "document/site.h"
#include "names/texts.h"

#include <QScreen>
#include <QUrl>

#include <QDir>
#include <QFileInfo>

#include "widgets/file_browser.h"

#include <QAction>
#include <QDialog>
#include <QDockWidget>
#include <QFontDatabase>

#include "app/command_table.h"
#include "app/file_panel.h"
#include "app/main_window.h"
#include "app/problems_panel.h"
#include "app/recovery_window.h"
#include "app/save_prompt_window.h"
#include "batch/apply_template_window.h"
#include "batch/batch_engine.h"
#include "batch/batch_replace_window.h"
#include "batch/converter_window.h"
#include "batch/index_page_window.h"
#include "batch/move_window.h"
#include "batch/renamer_window.h"
#include "batch/save_template_window.h"
#include "batch/series_window.h"
#include "batch/site_check_window.h"
#include "batch/tidy_window.h"
#include "editor/code_editor.h"
#include "generators/block_replace_window.h"
#include "generators/chart_window.h"
#include "generators/colour_picker_window.h"
#include "generators/image_map_window.h"
#include "generators/image_tag_window.h"
#include "generators/line_replace_window.h"
#include "generators/list_window.h"
#include "generators/rule_window.h"
#include "generators/style_sheet_window.h"
#include "generators/table_window.h"
#include "platform/desktop.h"
#include "settings/about_window.h"
#include "settings/language_applier.h"
#include "settings/new_page_window.h"
#include "settings/options_window.h"
#include "settings/preview_window.h"
#include "snippets/clipboard_window.h"
#include "snippets/script_library_window.h"
#include "widgets/widget_helpers.h"

namespace {

constexpr const char* kNewVersionAddress = BM_HOMEPAGE "/newversion.htm";

}  // namespace

Application::Application(Desktop& desktop, AppPaths paths)
    : desktop_(desktop),
      paths_(std::move(paths)),
      recent_files_(paths_.config_folder),
      language_(std::make_unique<LanguageApplier>(desktop_)),
      recovery_(std::make_unique<RecoveryKeeper>(recovery_store_)) {
  CreateWindows();
  WireCommands();
  WireEditorChoices();
  Q_ASSERT(main_window_->Commands().NotBoundOnce().isEmpty());
}

Application::~Application() = default;

template <class W>
W* Application::Register(W* window) {
  windows_.push_back(window);
  language_->AddWindow(window);
  return window;
}

QWidget* Application::Window(const QString& name) const {
  for (QWidget* window : windows_) {
    if (window->objectName() == name) return window;
  }
  return nullptr;
}

void Application::CreateWindows() {
  main_window_ = std::make_unique<MainWindow>(desktop_, recent_files_, settings_, *recovery_,
                                              paths_.ScriptFolder() + QStringLiteral("/emmet.cjs"));
  MainWindow* main = Register(main_window_.get());
  // The wizard takes its colours from the picker, so the picker is built first; the
  // registry keeps the program's creation order.
  picker_ = new ColourPickerWindow(desktop_, *main, main);
  new_page_ = Register(new NewPageWindow(*picker_, *main, main));
  Register(picker_);
  save_prompt_ = Register(new SavePromptWindow(main));
  Register(new ImageTagWindow(desktop_, *main, main));
  Register(new BlockReplaceWindow(*main, main));
  Register(new LineReplaceWindow(*main, main));
  preview_window_ = Register(new PreviewWindow(main));
  Register(new TableWindow(*main, *picker_, main));
  Register(new ListWindow(*main, main));
  Register(new ChartWindow(*main, *picker_, main));
  Register(new ImageMapWindow(desktop_, *main, main));
  Register(new BatchReplaceWindow(desktop_, main));
  Register(new RenamerWindow(desktop_, main));
  Register(new SeriesWindow(desktop_, main));
  Register(new TidyWindow(desktop_, main));
  Register(new StyleSheetWindow(desktop_, *picker_, QFontDatabase::families(), main));
  Register(new IndexPageWindow(desktop_, main));
  Register(new ConverterWindow(desktop_, main));
  Register(new ApplyTemplateWindow(desktop_, main));
  Register(new ClipboardWindow(desktop_, main));
  options_ = Register(new OptionsWindow(desktop_, settings_, *main, *language_, paths_, main));
  about_ = Register(new AboutWindow(desktop_, main));
  Register(new ScriptLibraryWindow(main));
  Register(new SaveTemplateWindow(desktop_, main->Editor(), main));
  Register(new RuleWindow(*main, *picker_, main));
  recovery_window_ = Register(new RecoveryWindow(desktop_, recovery_store_, main));
  auto* site_check = Register(new SiteCheckWindow(desktop_, main));
  auto* move = Register(new MoveWindow(desktop_, main));
  help_window_ = Register(new PreviewWindow(main, window_name::kHelp));
  ShowText(help_window_, &QWidget::setWindowTitle, Text::kHelpTitle);
  DockPreviewOnRequest();
  WireSiteWindows(*site_check, *move);
  WirePreviewsAndProblems();
}

void Application::WireSiteWindows(SiteCheckWindow& site_check, MoveWindow& move) {
  MainWindow* main = main_window_.get();
  QObject::connect(&move, &MoveWindow::Moved, main, &MainWindow::FollowMove);
  const auto offer_move = [&move](const QString& path) {
    move.SetSource(path);
    ShowInFront(&move);
  };
  main->BindCommand(Command::kRenameOrMove, [main, offer_move] {
    const QString path = main->Files()->SelectedFilePath();
    if (!path.isEmpty()) offer_move(path);
  });
  main->BindCommand(Command::kMoveWithLinks, [main, offer_move] {
    offer_move(main->Session().IsNamed() ? main->Session().FileName() : main->DocumentFolder());
  });
  QObject::connect(&site_check, &SiteCheckWindow::OpenAt, main,
                   [main](const QString& path, int line, int column) {
                     if (main->OpenInNewTab(path)) main->GoToPosition(line, column);
                   });
}

void Application::WirePreviewsAndProblems() {
  MainWindow* main = main_window_.get();
  previews_ =
      std::make_unique<PreviewCommands>(desktop_, main->Session(), settings_, *preview_window_,
                                        paths_.ScratchFolder(), [main] { main->showMinimized(); });
  main->SetSavePrompt(save_prompt_);
  QObject::connect(&main->Session(), &DocumentSession::DocumentSaved, main,
                   [this] { previews_->FollowDocument(); });
  QObject::connect(main, &MainWindow::PageShown, main, [this] { previews_->FollowPage(); });
  // The kinds of problems the user hid stay hidden.
  main->Problems()->SetHiddenKinds(
      recent_files_.Value(QStringLiteral("Problems/hidden")).toStringList());
  QObject::connect(main->Problems(), &ProblemsPanel::HiddenKindsChanged, main,
                   [this](const QStringList& kinds) {
                     recent_files_.SetValue(QStringLiteral("Problems/hidden"), kinds);
                   });
  language_->SetUntitledNameSink([main](const QString& name) { main->SetUntitledName(name); });
}

void Application::WireCommands() {
  MainWindow* main = main_window_.get();
  main->SetNewPageFields([this] { return new_page_->Fields(); });
  // The wizard has no cancel; the save-changes prompt comes after it closes.
  main->SetNewPageCommand([this, main] {
    desktop_.RunModal(new_page_);
    if (!new_page_->Cancelled()) main->GenerateNewPage();
  });
  for (const CommandRow& row : CommandRows()) {
    if (row.opening == Opening::kInFront) {
      main->BindCommand(row.command, [this, window = row.window] { ShowToolWindow(window); });
    } else if (row.opening == Opening::kModal) {
      main->BindCommand(row.command, [this, window = row.window] {
        desktop_.RunModal(qobject_cast<QDialog*>(Window(window.toString())));
      });
    }
  }
  main->BindCommand(Command::kColourPicker, [this] { picker_->ShowFreeStanding(); });
  main->BindCommand(Command::kPreview, [this] { previews_->PreviewDocument(); });
  main->BindCommand(Command::kPreviewFile, [this] { previews_->PreviewSelectedFile(); });
  main->BindCommand(Command::kHelp, [this] { ShowManual(); });
  main->BindCommand(Command::kNewVersion, [this] {
    const QString address = QString::fromLatin1(kNewVersionAddress);
    if (!desktop_.OpenWithDefaultProgram(address)) {
      desktop_.ShowMessage(main_window_.get(), Tr(Text::kNoBrowser).arg(address));
    }
  });
  auto* clipboard = Window<ClipboardWindow>();
  main->BindCommand(Command::kToggleClipboard, [clipboard] { clipboard->Toggle(); });
  main->BindCommand(Command::kUndoBatch, [this] { UndoLastBatchRun(); });

  auto* save_template = Window<SaveTemplateWindow>();
  main->BindCommand(Command::kSaveTemplate, [save_template] { save_template->SaveCommand(); });
  main->Commands().BindToggle(Command::kLivePreview, [this](bool on) {
    if (!on) live_preview_timer_.stop();
  });
  RememberAtClose();
}

void Application::DockPreviewOnRequest() {
  MainWindow* main = main_window_.get();
  auto* dock = new QDockWidget(main);
  dock->setObjectName(QStringLiteral("PreviewDock"));
  ShowText(dock, &QWidget::setWindowTitle, Text::kPreviewBeside);
  dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
  main->addDockWidget(Qt::RightDockWidgetArea, dock);
  dock->hide();
  const auto place = [this, main, dock](bool beside) {
    preview_window_->DockIn(beside ? dock : nullptr);
    // A page needs room: two fifths of the window.
    if (beside) main->resizeDocks({dock}, {main->width() * 2 / 5}, Qt::Horizontal);
  };
  main->Commands().BindToggle(Command::kPreviewBeside, place);
  place(main->Commands().MenuItemOf(Command::kPreviewBeside)->isChecked());
}

void Application::ShowToolWindow(QStringView name) {
  QWidget* window = Window(name.toString());
  // The page worked on: the one shown, else (an untitled page) the last one opened.
  const QString page =
      AbsolutePath(main_window_->Session().IsNamed() ? main_window_->Session().FileName()
                                                     : recent_files_.Load().value(0));
  const QString folder = page.isEmpty() ? QString() : QFileInfo(page).absolutePath();
  // Tool windows and their file dialogs start in the page's folder until the user picks one
  // there; the folder the window reads from, while a target folder (the renamer's second
  // tree) stays.
  if (auto* list = window->findChild<FolderList*>(QStringLiteral("DirectoryListBox1"))) {
    list->OfferFolder(folder);
  }
  for (auto* dialogs : window->findChildren<DialogFolder*>()) dialogs->Offer(folder);
  // A site is checked from its root.
  if (auto* site_check = qobject_cast<SiteCheckWindow*>(window)) {
    if (!page.isEmpty()) site_check->OfferFolder(SiteRootOf(page));
  }
  ShowInFront(window);
}

// When the main window closes: its place and size, and the settings; then every other
// window closes too.
void Application::RememberAtClose() {
  MainWindow* main = main_window_.get();
  QObject::connect(main, &MainWindow::Closing, main, [this, main] {
    // The inside's position, which MoveWindow restores; the normal one when maximized.
    const QRect normal = main->isMaximized() ? main->normalGeometry() : main->geometry();
    settings_.window_left = normal.x();
    settings_.window_top = normal.y();
    recent_files_.SaveWindowState(
        {main->isMaximized() ? main->normalGeometry().size() : main->size(), main->isMaximized()});
    options_->SaveSettings();
    // Closing the main window ends the program: no other window stays open.
    for (QWidget* window : windows_) {
      if (window != main) window->close();
    }
  });
}

void Application::ShowManual() {
  const QString page = paths_.ManualFolder() + QStringLiteral("/index.html");
  if (!QFileInfo(page).isFile()) {
    desktop_.ShowError(main_window_.get(), Tr(Text::kManualMissing).arg(page));
    return;
  }
  // In a window of its own: the page's preview stays where it was.
  help_window_->Navigate(QUrl::fromLocalFile(page).toString());
  ShowInFront(help_window_);
}

void Application::UndoLastBatchRun() {
  MainWindow* main = main_window_.get();
  UndoReport undo;
  {
    FileProgress progress(main, Tr(Text::kUndoingLastRun), FileProgress::Stop::kNever);
    undo = UndoLastRun(QString(), QString(), false, progress.Sink());
  }
  if (undo.nothing) {
    desktop_.ShowMessage(main, Tr(Text::kNoRunToUndo));
    return;
  }
  QString text = Tr(Text::kRunUndone).arg(undo.restored);
  if (!undo.conflicts.isEmpty()) {
    text += Tr(Text::kChangedSinceRunList) + undo.conflicts.join(u'\n');
  }
  if (!undo.failed.isEmpty()) {
    text += Tr(Text::kCouldNotRestoreList) + undo.failed.join(u'\n');
  }
  if (undo.kept) {
    text += Tr(Text::kNotFullyUndone).arg(undo.journal);
  }
  if (undo.failed.isEmpty()) {
    desktop_.ShowMessage(main, text);
  } else {
    desktop_.ShowError(main, text);
  }
}

void Application::WireEditorChoices() {
  MainWindow* main = main_window_.get();
  // The view choices and the editor font are the program's own and outlive a session.
  for (const CommandRow& row : CommandRows()) {
    if (row.toggle == Toggle::kNone) continue;
    const QString key = QStringLiteral("View/") + row.menu_item.toString();
    QAction* toggle = main->Commands().MenuItemOf(row.command);
    toggle->setChecked(recent_files_.Value(key, row.toggle == Toggle::kOn).toBool());
    QObject::connect(toggle, &QAction::toggled, main,
                     [this, key](bool on) { recent_files_.SetValue(key, on); });
  }
  QObject::connect(options_, &OptionsWindow::EditorFontChosen, main, [this](const QFont& font) {
    recent_files_.SetValue(QStringLiteral("Editor/font"), font.toString());
  });
  const bool expand_with_tab =
      recent_files_.Value(QStringLiteral("Editor/expandWithTab"), true).toBool();
  options_->SetExpandWithTab(expand_with_tab);
  main->Abbreviations()->SetTabExpands(expand_with_tab);
  QObject::connect(options_, &OptionsWindow::ExpandWithTabChanged, main, [this, main](bool on) {
    main->Abbreviations()->SetTabExpands(on);
    recent_files_.SetValue(QStringLiteral("Editor/expandWithTab"), on);
  });
  // After a pause in typing the open preview follows the text.
  live_preview_timer_.setSingleShot(true);
  live_preview_timer_.setInterval(700);
  QObject::connect(&live_preview_timer_, &QTimer::timeout, main,
                   [this] { previews_->FollowDocument(); });
  QObject::connect(main->EditorWidget(), &CodeEditor::Edited, main, [this, main] {
    if (main->Commands().MenuItemOf(Command::kLivePreview)->isChecked() &&
        preview_window_->Shown()) {
      live_preview_timer_.start();
    }
  });
}

void Application::Start(const QStringList& files) {
  const QString font = recent_files_.Value(QStringLiteral("Editor/font")).toString();
  QFont editor_font;
  if (!font.isEmpty() && editor_font.fromString(font)) main_window_->SetEditorFont(editor_font);
  const RecentFilesStore::WindowState state = recent_files_.LoadWindowState();
  if (state.size.isValid()) main_window_->resize(state.size);
  // Placed before it is shown, so a maximized window keeps its normal place beneath.
  options_->LoadSettings(true);
  if (!state.size.isValid()) {
    // A first start: the window's own size is its smallest; a large screen gets a fair share.
    if (const QScreen* screen = main_window_->screen()) {
      const QRect area = screen->availableGeometry();
      const QPoint at = main_window_->pos();
      const QSize share(std::min(area.width() * 3 / 4, area.right() - at.x()),
                        std::min(area.height() * 3 / 4, area.bottom() - at.y()));
      main_window_->resize(main_window_->size().expandedTo(share));
    }
  }
  if (state.maximized) {
    main_window_->showMaximized();
  } else {
    main_window_->show();
  }
  language_->ApplyFile(options_->LanguagePath(), options_->LanguageRefused());
  QString recovery_error;
  const bool keeping = recovery_store_.Open(&recovery_error);
  const QList<FoundCopy> restore = OfferRecovery();
  main_window_->StartUp(files.value(0));
  for (const QString& file : files.mid(1)) main_window_->OpenInNewTab(file);
  for (FoundCopy found : restore) {
    QString error;
    if (!LoadText(found, &error)) {
      main_window_->ShowStatusNote(
          Tr(Text::kRecoveryNotRestored).arg(QDir::toNativeSeparators(found.file), error));
      continue;
    }
    const int page = main_window_->RestorePage(*found.copy, found.changed_on_disk);
    recovery_->WaitIdle();
    // The old copy goes only once this program holds a whole copy of its own.
    if (recovery_->Written(page)) recovery_store_.Discard(found);
  }
  recovery_store_.ReleaseOrphans();
  if (!keeping) {
    main_window_->ShowStatusNote(Tr(Text::kRecoveryCannotWrite).arg(recovery_error));
  }
}

QList<FoundCopy> Application::OfferRecovery() {
  const QList<FoundCopy> found = recovery_store_.Orphans();
  if (found.isEmpty()) return {};
  recovery_window_->SetCopies(found);
  desktop_.RunModal(recovery_window_);
  return recovery_window_->TakeChosen();
}
