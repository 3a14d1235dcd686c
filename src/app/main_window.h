#pragma once

#include <QHash>
#include <QMainWindow>
#include <QSet>
#include <array>
#include <functional>
#include <map>

#include "app/command_table.h"
#include "document/document_session.h"
#include "document/editor_model.h"
#include "document/editor_target.h"
#include "document/new_page.h"
#include "editor/code_editor.h"
#include "editor/scintilla_model.h"
#include "names/window_names.h"
#include "platform/text_format.h"
#include "settings/settings_record.h"
#include "settings/settings_target.h"

class Desktop;
class FindBar;
class FilePanel;
class ProblemsPanel;
class SearchPanel;
class Speller;
class QAction;
class QLabel;
class QMenu;
class QColor;
class QSplitter;
class QTabBar;
class QToolButton;
class RecentFilesStore;
class RecoveryKeeper;
struct RecoveryCopy;
class SavePromptWindow;

// The main window "form1": the editor, the file panel, the tool buttons, the menus and the
// status bar, and the current document with its flags.
class MainWindow : public QMainWindow,
                   public EditorTarget,
                   public DocumentView,
                   public SettingsTarget {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kMain;

  MainWindow(Desktop& desktop, RecentFilesStore& recent_files, SettingsRecord& settings,
             RecoveryKeeper& recovery, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Windows created after this one that the document commands use.
  void SetSavePrompt(SavePromptWindow* prompt) { prompt_ = prompt; }
  // Where the new page takes its fields from (the new page wizard, when it exists).
  void SetNewPageFields(std::function<NewPageFields()> fields) {
    new_page_fields_ = std::move(fields);
  }
  // Run by the new page commands; without one, the page is generated at once.
  void SetNewPageCommand(std::function<void()> command) { new_page_command_ = std::move(command); }

  // The start-up steps that follow the settings and the language file: name the document,
  // then load the command-line file or make a new page, and focus the editor.
  void StartUp(const QString& argument);

  // The document, kept by the session this window shows.
  DocumentSession& Document() { return session_; }
  QString FileName() const { return session_.FileName(); }
  QString UntitledName() const { return session_.UntitledName(); }
  // Every untitled page takes the new name and stays untitled.
  void SetUntitledName(const QString& name);
  QString CurrentFolder() const { return session_.CurrentFolder(); }
  bool Modified() const { return session_.Modified(); }
  bool Saved() const { return session_.Saved(); }
  bool FilePanelShown() const { return settings_.file_panel_shown != 0; }
  // The settings record; the main window keeps its panel and wrap flags in it.
  SettingsRecord& Settings() { return settings_; }
  void SetEditorColour(const QColor& colour) override;
  // The window's inside stands at position: the frame's size is not known for sure before
  // the window manager has drawn it, and mixing the two moved the window at every start.
  void MoveWindow(QPoint position) override { setGeometry(QRect(position, geometry().size())); }
  QFont EditorFont() const override;
  void SetEditorFont(const QFont& font) override;
  QToolButton* Button(const QString& name) const { return buttons_.value(name); }
  QAction* MenuItem(const QString& name) const { return menu_items_.value(name); }
  QToolButton* ButtonOf(Command command) const;
  QAction* MenuItemOf(Command command) const;
  // Runs run from the command's tool button, main menu item, key action and pop-up item.
  void BindCommand(Command command, const std::function<void()>& run);
  // A view toggle's item runs set with its state, also when the state is restored.
  void BindToggle(Command command, const std::function<void(bool)>& set);
  // What the command's controls run.
  void RunCommand(Command command);
  // The commands bound to no handler or to more than one; none once the program has started.
  QList<Command> CommandsNotBoundOnce() const;

  EditorModel& Editor() override { return model_; }
  DocumentSession& Session() { return session_; }
  QString DocumentFolder() const override;
  const TextFormat& DocumentFormat() const { return session_.Format(); }
  void FocusEditor() override;
  CodeEditor* EditorWidget() const;
  CodeEditor* Code() const { return editor_; }
  FindBar* Find() const { return find_bar_; }
  FilePanel* Files() const { return file_panel_; }
  ProblemsPanel* Problems() const { return problems_; }
  SearchPanel* Search() const { return search_; }
  void SetStatusPanel(int panel, const QString& text) override;
  QString StatusPanel(int panel) const;

  // The open pages, one tab each; the session and the editor hold the current one's.
  QTabBar* PageTabs() const { return tabs_; }
  int PageCount() const;
  int CurrentPageIndex() const;
  // A new tab with the start-up page, made current.
  void NewTab();
  // Opens path in a tab of its own (or brings the tab that holds it to front); false when
  // it could not be read.
  bool OpenInNewTab(const QString& path);
  // Files were moved (from and to absolute and clean): open pages under from take their
  // new names, and pages changed on disk are offered again.
  void FollowMove(const QString& from, const QString& to);
  // Puts the caret at a line and column (from 1) of the current page, in view.
  void GoToPosition(int line, int column);
  void ShowPageAt(int index);
  // Runs the close prompt of that page only; the last page stays, emptied.
  bool ClosePageAt(int index);
  // The close query: every modified page asks in turn, shown as it asks; false on Cancel,
  // that page left in front.
  bool CloseAllPages();
  // Every page changed on disk by another program, the current one first.
  void CheckAllDiskChanges();
  bool OpenInNewTabsOn() const;
  // A recovered page, in a tab of its own (or in an untouched new page), modified.
  // Lays the page out again (block elements one per line, indented), one undo step; a page
  // that cannot be formatted safely is left with a note.
  void FormatPage();
  // Adds a <meta charset> of the encoding the page is saved in, when it declares none.
  void DeclareEncoding();
  // Returns the page it restored into.
  int RestorePage(const RecoveryCopy& copy, bool changed_on_disk);
  // The second view of the split; it shares the current page's text when shown.
  CodeEditor* SplitEditor() const { return split_; }
  void SetSplitView(bool on);

  // Commands.
  using Source = DocumentSession::Source;
  void OpenDocument(Source source, int recent_item = 0) {
    session_.OpenDocument(source, recent_item);
  }
  bool SaveDocument() { return session_.SaveDocument(); }
  bool SaveDocumentAs() { return session_.SaveDocumentAs(); }
  bool CloseDocument() { return session_.CloseDocument(); }
  void DeleteScratchFiles() { session_.DeleteScratchFiles(); }
  void HideFilePanel() override;
  void ShowFilePanel();
  // Replaces the text by the page skeleton; false when the save-changes prompt cancelled.
  bool GenerateNewPage();
  // Editor behaviours.
  void UpdateCaretStatus();
  void ToggleWordWrap();
  bool WordWrapOn() const { return settings_.word_wrap_on != 0; }
  void SetWordWrap(bool on) override;
  void ClearText();
  // Rewrites the editor's lines through a whole-text transform, as one undo step.
  void ApplyTransform(Utf8LineTransform transform);
  // Puts text into the caret's line at the caret and records the insertion point.
  void InsertAtCaret(const QString& text) override;
  // Runs the pop-up menu item of the tag catalogue named name.
  void RunTagCommand(const QString& name);
  QMenu* PopupMenu() const { return popup_menu_; }
  int CaretLine() const { return caret_line_; }
  int CaretColumn() const { return caret_column_; }
  void SetCaretLine(int line) override { caret_line_ = line; }

  // The file the preview wrote last; deleted by the exit command.
  void AddScratchFile(const QString& path) { session_.AddScratchFile(path); }
  const QStringList& ScratchFiles() const { return session_.ScratchFiles(); }
  void SetCurrentFolder(const QString& folder) { session_.SetCurrentFolder(folder); }

  // The document's view.
  void ShowDocumentName(const QString& name) override;
  void ShowModifiedMark(bool modified) override;
  void ShowFormat(const TextFormat& format) override;
  void ShowRecentFiles(const QStringList& paths) override;
  void ShowPageTitle(const QString& title) override;
  void ShowFolder(const QString& folder) override;
  QString SelectedFilePath() const override;
  std::optional<QString> AskSaveChanges() override;
  QWidget* DialogParent() override { return this; }
  void PrepareForLongLines(qsizetype longest_line) override;
  void ShowStatusNote(const QString& text) override;

 signals:
  // The close query let the window close; the window position is stored already.
  void Closing();
  // Another page became the current one.
  void PageShown();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void BuildEditor();
  void BindOwnCommands();
  void BuildCentralWidget();
  void WireEditMenu();
  void WireViewMenu();
  void GoToLine();
  void BuildTopBar();
  void BuildToolPanel();
  void BuildMenu();
  void BuildActions();
  void BuildStatusBar();
  void ShowFormatMenu();
  void BuildPopupMenu();
  void WatchEditor();
  bool eventFilter(QObject* watched, QEvent* event) override;
  QToolButton* AddButton(Command command, QWidget* parent);
  QAction* AddMenuItem(QMenu* menu, const QString& name);
  void AddMenuEntry(QMenu* menu, const CommandRow& row);
  void OpenSelectedOrAsk();
  void SetFilePanelShown(bool shown, int width);
  void OnTextChanged(long position);
  void ShowCaretAfterEdit();
  void ShowCaretField();  // the caret's column and line
  void OpenMenuByMnemonic(QChar letter);
  void Exit();
  // Pages.
  struct StoredPage {
    DocumentSession::Page state;
    QsciDocument text;
    CodeEditor::ViewState view;
  };
  void BuildPageViews();  // the tab bar and the two views
  void BuildPages();
  void BindPageCommands();
  QList<CodeEditor*> Views() const { return {primary_, split_}; }
  void WatchView(CodeEditor* view);
  void SetActiveView(CodeEditor* view);
  int AddPage();
  void ShowPage(int id);
  int PageAt(int index) const;
  int IndexOfPage(int id) const;
  int PageOfPath(const QString& path) const;
  void RemovePage(int id);
  void UpdateCurrentTab();
  // Where a chosen path goes when pages open in new tabs: see DocumentSession.
  bool OpenElsewhere(const QString& path);
  void OpenDropped(const QStringList& paths);
  void BuildProblemsPanel();
  void BuildSearchPanel();
  // Checks the current page for what is asked (HTML while the panel shows, spelling while
  // it is on): now, or after typing stops.
  void CheckProblems(bool now);
  // The unknown word at pos of view offers its suggestions, "Add to dictionary" and
  // "Ignore in this page" at the top of the page's menu; other places show the menu as is.
  void OfferSpelling(CodeEditor* view, const QPoint& pos);
  // Opens the page a local link at pos (in the view's coordinates) leads to, at its
  // fragment; false when no link stands there.
  bool FollowLinkAt(const QPoint& pos);
  // The current page's recovery copy, when it has unsaved edits.
  void KeepRecoveryCopy(int page);

  Desktop& desktop_;
  RecentFilesStore& recent_files_;
  SettingsRecord& settings_;
  RecoveryKeeper& recovery_;
  SavePromptWindow* prompt_ = nullptr;
  std::function<NewPageFields()> new_page_fields_;
  std::function<void()> new_page_command_;

  CodeEditor* editor_ = nullptr;  // the view with the focus, named memo1
  CodeEditor* primary_ = nullptr;
  CodeEditor* split_ = nullptr;
  FindBar* find_bar_ = nullptr;
  ScintillaModel page_model_;  // over editor_
  EditorModel& model_;
  bool caret_status_due_ = false;
  DocumentSession session_;
  FilePanel* file_panel_ = nullptr;
  QHash<QString, QToolButton*> buttons_;
  QHash<QString, QAction*> menu_items_;
  std::array<QAction*, kCommandCount> key_actions_ = {};
  std::array<int, kCommandCount> bindings_ = {};
  QLabel* status_panels_[3] = {nullptr, nullptr, nullptr};
  QMenu* popup_menu_ = nullptr;
  std::array<std::function<void()>, kCommandCount> handlers_ = {};

  int caret_line_ = 0;
  int caret_column_ = 0;
  QLabel* format_field_ = nullptr;
  QLabel* note_field_ = nullptr;

  bool closing_ = false;  // the window is closing: the save prompt says "Exit"
  ProblemsPanel* problems_ = nullptr;
  SearchPanel* search_ = nullptr;
  QLabel* problems_field_ = nullptr;
  std::shared_ptr<Speller> speller_;
  QHash<QString, QSet<QString>> ignored_words_;  // by page name, for this session
  QList<QAction*> spelling_actions_;             // now at the top of the page's menu
  QTabBar* tabs_ = nullptr;
  QSplitter* splitter_ = nullptr;
  std::map<int, StoredPage> pages_;  // by id, the tab's data; the current one's is stale
  int current_page_ = 0;
  int next_page_ = 1;
  bool switching_ = false;
  bool checking_pages_ = false;
};
