#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

#include "document/new_page.h"
#include "document/page_list.h"
#include "platform/text_file.h"
#include "platform/text_format.h"

class Desktop;
class EditorModel;
class RecentFilesStore;
class QWidget;

// The questions the document flows put to the user, and the window they are asked over.
class DocumentView {
 public:
  virtual ~DocumentView() = default;
  virtual QString SelectedFilePath() const = 0;
  // The save-changes prompt: "y", "n" or "c"; nothing when dismissed by its frame.
  virtual std::optional<QString> AskSaveChanges() = 0;
  // The window dialogs and messages belong to.
  virtual QWidget* DialogParent() = 0;
};

// The open, save, close and new-page flows of the current page of a page list, over the
// editor model that shows it. The folder, the recent files, the dialogs' paths and the
// scratch files are the window's, kept here; what the user sees follows the pages' and
// the session's signals.
class DocumentSession : public QObject {
  Q_OBJECT
 public:
  DocumentSession(PageList& pages, EditorModel& editor, Desktop& desktop,
                  RecentFilesStore& recent_files, DocumentView& view);

  enum class Source { kDialog, kFilePanel, kRecent };
  void OpenDocument(Source source, int recent_item = 0);
  // The path the source gives (the dialog asked), absolute and completed as an open
  // completes it; empty when none was chosen.
  QString ChoosePath(Source source, int recent_item = 0);
  // path absolute, its extension completed as the open dialog's filter completes it; also
  // where the next open dialog starts.
  QString CompletedPath(const QString& path);
  // Opens path into the current page, asking first when it holds unsaved edits; false when
  // it was not opened.
  bool OpenPath(QString path);
  // Opens path as if chosen in the Open dialog (a file dropped on the window).
  // False when it was not opened (refused, or the save prompt cancelled).
  bool OpenFile(const QString& path);
  bool SaveDocument();
  bool SaveDocumentAs();
  bool CloseDocument();
  // The save-changes prompt of a modified page (and the save it asks for): false when the
  // page is to stay. The text stays either way.
  bool MayClose();
  // Empties the page without asking, as a close does once it may.
  void ClearPage();
  // Replaces the text by the page skeleton; false when the save-changes prompt cancelled.
  bool GenerateNewPage(const NewPageFields& fields);
  // Names the document, then loads the command-line file or makes a new page.
  void StartUp(const QString& argument, const NewPageFields& fields);
  void DeleteScratchFiles();
  void LoadRecentFiles();

  // Called when the window regains focus: a page changed on disk by another program is
  // reloaded (after asking, when it has unsaved edits).
  void CheckDiskChanges();

  // The editor's text changed (not by loading).
  void OnTextChanged();
  // Edits were undone back to the text on disk.
  void OnSavePointReached();
  bool Loading() const { return loading_; }

  // Shows a recovered text of the page at path (untitled when empty), in its own bytes, as
  // a modified page. disk is the file's state the text came from; a file changed since
  // keeps that state, so a save over the newer file asks first.
  void RestoreText(const QString& path, const TextFormat& format, const QByteArray& bytes,
                   const FileStamp& disk, bool changed_on_disk);

  Page& CurrentPage() const { return *pages_.Current(); }
  PageList& Pages() { return pages_; }

  EditorModel& Editor() { return editor_; }
  DocumentView& View() { return view_; }
  QString FileName() const { return CurrentPage().FileName(); }
  void SetDocumentName(const QString& name) { CurrentPage().SetFileName(name); }
  QString UntitledName() const { return pages_.UntitledName(); }
  // An untitled page carries the name of the interface's language and stays untitled.
  void SetUntitledName(const QString& name) { pages_.SetUntitledName(name); }
  QString CurrentFolder() const { return current_folder_; }
  void SetCurrentFolder(const QString& folder) { current_folder_ = folder; }
  bool Modified() const { return CurrentPage().Modified(); }
  bool Saved() const { return CurrentPage().Saved(); }
  QString RecentFile(int item) const { return recent_.value(item - 1); }

  const TextFormat& Format() const { return CurrentPage().Format(); }
  // Converts the document to another encoding or line-end style; counts as an edit.
  void SetFormat(const TextFormat& format);
  // Reads the page again from its file as encoding (asking first when it was edited).
  void ReopenWithEncoding(TextEncoding encoding);
  bool IsNamed() const { return pages_.IsNamed(CurrentPage()); }

  // Scratch files the preview wrote; only these are ever deleted.
  void AddScratchFile(const QString& path);
  const QStringList& ScratchFiles() const { return scratch_files_; }

 signals:
  // After every successful save (the preview follows the document).
  void DocumentSaved();
  void RecentFilesChanged(const QStringList& paths);
  // The file panel is to show folder, read again so that new files show.
  void FolderChanged(const QString& folder);
  // A page was opened or made: the keyboard goes to the editor.
  void EditorWanted();
  // A passing note for the status bar.
  void Note(const QString& text);

 private:
  bool LoadFile(const QString& path, QString* error, QString* title = nullptr,
                std::optional<TextEncoding> encoding = std::nullopt);
  // Shows bytes in the page's format as the editor's text, the view prepared for its lines.
  void ShowBytes(const QByteArray& bytes);
  bool WriteDocument(const QString& path);
  // Before overwriting the named page: false when it is read-only or changed on disk and
  // the user does not want it overwritten (a read-only page may go to Save As).
  bool MayOverwrite(bool* save_as);
  void RememberDiskState();
  // Empties the editor and loads text as a page without a save point of its own.
  void LoadEditorText(const QString& text);

  PageList& pages_;
  EditorModel& editor_;
  Desktop& desktop_;
  RecentFilesStore& recent_files_;
  DocumentView& view_;

  QString current_folder_;
  QString prompt_answer_;
  bool loading_ = false;
  int open_filter_index_ = 1;
  int save_filter_index_ = 1;
  QString open_dialog_path_;
  QString save_dialog_path_;
  QStringList scratch_files_;
  QStringList recent_;
  bool checking_disk_ = false;
};
