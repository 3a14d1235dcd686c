#pragma once

#include <QHash>
#include <QMainWindow>
#include <QSet>
#include <functional>

#include "app/command_controls.h"
#include "document/document_session.h"
#include "document/editor_target.h"
#include "document/new_page.h"
#include "document/page_list.h"
#include "editor/code_editor.h"
#include "editor/scintilla_model.h"
#include "names/window_names.h"
#include "settings/settings_record.h"
#include "settings/settings_target.h"

class Desktop;
class FindBar;
class FilePanel;
class AbbreviationCommands;
class CheckRunner;
class PageMenu;
class PageTabBar;
class ProblemsPanel;
class SearchPanel;
class Speller;
class StatusFields;
class QSplitter;
class QTabBar;
class RecentFilesStore;
class RecoveryKeeper;
struct RecoveryCopy;
class SavePromptWindow;

// The main window "form1": the editor with a tab per open page, the file panel, the tool
// buttons, the menus and the status bar. The pages are a page list; the session runs the
// document flows on the current one, and the window shows whatever page is current.
class MainWindow : public QMainWindow,
                   public EditorTarget,
                   public DocumentView,
                   public SettingsTarget {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kMain;

  // abbreviation_library: the abbreviation library's file, read on first use.
  MainWindow(Desktop& desktop, RecentFilesStore& recent_files, SettingsRecord& settings,
             RecoveryKeeper& recovery, const QString& abbreviation_library,
             QWidget* parent = nullptr);
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

  // The document flows of the current page.
  DocumentSession& Session() { return session_; }
  PageList& Pages() { return pages_; }
  CommandControls& Commands() { return commands_; }
  // Every untitled page takes the new name and stays untitled.
  void SetUntitledName(const QString& name) { pages_.SetUntitledName(name); }
  bool FilePanelShown() const { return settings_.file_panel_shown != 0; }
  // The settings record; the main window keeps its panel and wrap flags in it.
  SettingsRecord& Settings() { return settings_; }
  void SetEditorColour(const QColor& colour) override;
  // The window's inside stands at position: the frame's size is not known for sure before
  // the window manager has drawn it, and mixing the two moved the window at every start.
  void MoveWindow(QPoint position) override { setGeometry(QRect(position, geometry().size())); }
  QFont EditorFont() const override;
  void SetEditorFont(const QFont& font) override;
  // Runs run from the command's tool button, main menu item, key action and pop-up item.
  void BindCommand(Command command, const std::function<void()>& run) {
    commands_.Bind(command, run);
  }

  EditorModel& Editor() override { return model_; }
  QString DocumentFolder() const override;
  void FocusEditor() override;
  // The view with the focus, named memo1.
  CodeEditor* EditorWidget() const { return editor_; }
  FindBar* Find() const { return find_bar_; }
  FilePanel* Files() const { return file_panel_; }
  ProblemsPanel* Problems() const { return problems_; }
  SearchPanel* Search() const { return search_; }
  AbbreviationCommands* Abbreviations() const { return abbreviations_; }
  QMenu* PopupMenu() const;
  void SetStatusPanel(int panel, const QString& text) override;
  QString StatusPanel(int panel) const;

  // The open pages, one tab each, in the list's order.
  QTabBar* PageTabs() const;
  int PageCount() const { return pages_.Count(); }
  int CurrentPageIndex() const { return pages_.IndexOf(pages_.Current()); }
  // A new tab with the start-up page, made current.
  void NewTab();
  // Opens a chosen file into the current page, or into a tab of its own when pages open
  // in new tabs.
  void OpenDocument(DocumentSession::Source source, int recent_item = 0);
  // Opens path as if chosen in the Open dialog (a file dropped on the window).
  bool OpenFile(const QString& path);
  // Opens path in a tab of its own (or brings the tab that holds it to front); false when
  // it could not be read.
  bool OpenInNewTab(const QString& path);
  // Files were moved (from and to absolute and clean): open pages under from take their
  // new names, and pages changed on disk are offered again.
  void FollowMove(const QString& from, const QString& to);
  // Puts the caret at a line and column (from 1) of the current page, in view.
  void GoToPosition(int line, int column);
  void ShowPageAt(int index) { ShowPage(pages_.At(index)); }
  // Runs the close prompt of that page only; the last page stays, emptied.
  bool ClosePageAt(int index);
  // The close query: every modified page asks in turn, shown as it asks; false on Cancel,
  // that page left in front.
  bool CloseAllPages();
  // Every page changed on disk by another program, the current one first.
  void CheckAllDiskChanges();
  // A recovered page, in a tab of its own (or in an untouched new page), modified.
  // Returns the id of the page it restored into.
  int RestorePage(const RecoveryCopy& copy, bool changed_on_disk);
  // Lays the page out again (block elements one per line, indented), one undo step; a page
  // that cannot be formatted safely is left with a note.
  void FormatPage();
  // Adds a <meta charset> of the encoding the page is saved in, when it declares none.
  void DeclareEncoding();
  // The second view of the split; it shares the current page's text when shown.
  CodeEditor* SplitEditor() const { return split_; }

  void HideFilePanel() override;
  void ShowFilePanel();
  // Replaces the text by the page skeleton; false when the save-changes prompt cancelled.
  bool GenerateNewPage();
  void UpdateCaretStatus();
  bool WordWrapOn() const { return settings_.word_wrap_on != 0; }
  void SetWordWrap(bool on) override;
  // Puts text into the caret's line at the caret and records the insertion point.
  void InsertAtCaret(const QString& text) override;
  // Runs the pop-up menu item of the tag catalogue named name.
  void RunTagCommand(const QString& name);
  int CaretLine() const { return caret_line_; }
  int CaretColumn() const { return caret_column_; }
  void SetCaretLine(int line) override { caret_line_ = line; }

  // A passing note in the status bar.
  void ShowStatusNote(const QString& text);

  // The session's questions.
  QString SelectedFilePath() const override;
  std::optional<QString> AskSaveChanges() override;
  QWidget* DialogParent() override { return this; }

 signals:
  // The close query let the window close; the window position is stored already.
  void Closing();
  // Another page became the current one.
  void PageShown();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Building.
  void BuildEditor();
  void BuildCentralWidget();
  void BuildPopupMenu();
  void BindOwnCommands();
  void BindEditCommands();
  void BindViewCommands();
  void BindPageCommands();
  void BuildProblemsPanel();
  void BuildSearchPanel();
  void BuildAbbreviations(const QString& library);
  void ListenToPages();
  void ListenToPage(Page* page);
  void ListenToSession();

  // What the window shows of the current page.
  void ShowDocumentName(const QString& name);
  void ShowModifiedMark(bool modified);
  void ShowPageTitle(const QString& title);
  void ShowFolder(const QString& folder);
  void PrepareForLongLines(qsizetype longest_line);

  // Editing.
  void GoToLine();
  void OnTextChanged(long position);
  void ShowCaretAfterEdit();
  void ShowCaretField();  // the caret's column and line
  void SetFilePanelShown(bool shown, int width);
  void OpenSelectedOrAsk();
  // Opens the page a local link at pos (in the view's coordinates) leads to, at its
  // fragment; false when no link stands there.
  bool FollowLinkAt(const QPoint& pos);
  void Exit();

  // Pages.
  QList<CodeEditor*> Views() const { return {primary_, split_}; }
  void SetActiveView(CodeEditor* view);
  void SetSplitView(bool on);
  Page* AddPage();  // after the current one, not shown yet
  void ShowPage(Page* page);
  // Opens a completed path: in another tab when pages open in new tabs, else here.
  bool OpenCompletedPath(const QString& path);
  // Where a chosen path goes when pages open in new tabs: true when it went to a tab.
  bool OpenElsewhere(const QString& path);
  void OpenDropped(const QStringList& paths);
  // Checks the current page for what is asked (HTML while the panel shows, spelling while
  // it is on): now, or after typing stops.
  void CheckProblems(bool now);
  // The unknown word at pos of view offers its suggestions, "Add to dictionary" and
  // "Ignore in this page" at the top of the page's menu; other places show the menu as is.
  void OfferSpelling(CodeEditor* view, const QPoint& pos);
  void ListenToSpellingOffer();
  // The current page's recovery copy, when it has unsaved edits.
  void KeepRecoveryCopy(int page);

  Desktop& desktop_;
  SettingsRecord& settings_;
  RecoveryKeeper& recovery_;
  SavePromptWindow* prompt_ = nullptr;
  std::function<NewPageFields()> new_page_fields_;
  std::function<void()> new_page_command_;

  CommandControls commands_;
  CodeEditor* editor_ = nullptr;  // the view with the focus, named memo1
  CodeEditor* primary_ = nullptr;
  CodeEditor* split_ = nullptr;
  FindBar* find_bar_ = nullptr;
  ScintillaModel page_model_;  // over editor_
  EditorModel& model_;
  bool caret_status_due_ = false;
  PageList pages_;
  DocumentSession session_;
  FilePanel* file_panel_ = nullptr;
  StatusFields* status_ = nullptr;
  PageMenu* popup_menu_ = nullptr;

  int caret_line_ = 0;
  int caret_column_ = 0;

  bool closing_ = false;  // the window is closing: the save prompt says "Exit"
  CheckRunner* checks_ = nullptr;
  ProblemsPanel* problems_ = nullptr;
  SearchPanel* search_ = nullptr;
  AbbreviationCommands* abbreviations_ = nullptr;
  std::shared_ptr<Speller> speller_;
  QHash<QString, QSet<QString>> ignored_words_;  // by page name, for this session
  // The word the page's menu offers suggestions for, as it stood when offered.
  struct OfferedWord {
    CodeEditor* view = nullptr;
    long from = 0;
    long to = 0;
    QString word;
    QByteArray bytes;
  } offered_;
  PageTabBar* tabs_ = nullptr;
  QSplitter* splitter_ = nullptr;
  bool switching_ = false;
  bool checking_pages_ = false;
};
