#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "document/new_page.h"
#include "platform/text_file.h"
#include "platform/text_format.h"

class Desktop;
class EditorModel;
class RecentFilesStore;
class QWidget;

// What the document session asks of the window that shows it.
class DocumentView {
 public:
  virtual ~DocumentView() = default;
  virtual void ShowDocumentName(const QString& name) = 0;
  virtual void ShowModifiedMark(bool modified) = 0;
  virtual void ShowFormat(const TextFormat& format) = 0;
  virtual void ShowRecentFiles(const QStringList& paths) = 0;
  virtual void ShowPageTitle(const QString& title) = 0;
  // Moves the file panel to folder (read again, so new files show).
  virtual void ShowFolder(const QString& folder) = 0;
  virtual QString SelectedFilePath() const = 0;
  // The save-changes prompt: "y", "n" or "c"; nothing when dismissed by its frame.
  virtual std::optional<QString> AskSaveChanges() = 0;
  virtual void FocusEditor() = 0;
  // Told before a text is shown how long its longest line is, in bytes: a minified page is
  // one line of megabytes, which the view shows differently.
  virtual void PrepareForLongLines(qsizetype longest_line) = 0;
  // The window dialogs and messages belong to.
  virtual QWidget* DialogParent() = 0;
  // A passing note in the status bar.
  virtual void ShowStatusNote(const QString& text) = 0;
};

// The current document: its name, flags, encoding, folder and the open, save, close and
// new-page flows, over the editor model. What belongs to one page is a Page; a window with
// several pages keeps the others' and exchanges them with the current one, while the
// folder, the recent files, the dialogs' paths and the scratch files stay the window's.
class DocumentSession {
 public:
  struct Page {
    QString file_name;
    bool modified = false;
    bool saved = false;
    TextFormat format;
    // The page as read, written back while the text is at the save point of that read.
    QByteArray pristine_bytes;
    FileStamp disk_state;  // the named page as last read or written
    // A version on disk the user chose not to reload: not asked about again, yet a save
    // over it still asks, since disk_state stays the one the text came from.
    FileStamp kept_over;
    qsizetype longest_line = 0;  // in bytes, as read
    QString title;
    // The text was recovered, not read: the editor's save point is not the file's text.
    bool recovered = false;
  };
  DocumentSession(EditorModel& editor, Desktop& desktop, RecentFilesStore& recent_files,
                  DocumentView& view);

  enum class Source { kDialog, kFilePanel, kRecent };
  void OpenDocument(Source source, int recent_item = 0);
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

  // Makes page the current one and returns the page it replaces; the view shows the new
  // page's name, flags and format. The editor is to show that page's text already.
  Page ExchangePage(Page page);
  const Page& CurrentPage() const { return page_; }
  // The file's state when a page was changed on disk since it was read or saved, in a way
  // CheckDiskChanges would ask about or reload; nothing otherwise.
  static std::optional<FileStamp> ChangedOnDisk(const Page& page);

  EditorModel& Editor() { return editor_; }
  DocumentView& View() { return view_; }
  QString FileName() const { return page_.file_name; }
  void SetDocumentName(const QString& name);
  QString UntitledName() const { return untitled_name_; }
  // An untitled page carries the name of the interface's language and stays untitled.
  void SetUntitledName(const QString& name);
  QString CurrentFolder() const { return current_folder_; }
  void SetCurrentFolder(const QString& folder) { current_folder_ = folder; }
  bool Modified() const { return page_.modified; }
  bool Saved() const { return page_.saved; }
  QString RecentFile(int item) const { return recent_.value(item - 1); }

  const TextFormat& Format() const { return page_.format; }
  // Converts the document to another encoding or line-end style; counts as an edit.
  void SetFormat(const TextFormat& format);
  // Reads the page again from its file as encoding (asking first when it was edited).
  void ReopenWithEncoding(TextEncoding encoding);
  bool IsNamed() const { return !page_.file_name.isEmpty() && page_.file_name != untitled_name_; }

  // Scratch files the preview wrote; only these are ever deleted.
  void AddScratchFile(const QString& path);
  const QStringList& ScratchFiles() const { return scratch_files_; }

  // Runs after every successful save (the preview follows the document).
  std::function<void()> on_saved;
  // Asked before a chosen path is opened into the current page: true when the window opened
  // it in another page instead (or brought that page to front).
  std::function<bool(const QString& path)> open_elsewhere;

 private:
  bool OpenPath(QString path);
  bool LoadFile(const QString& path, QString* error, QString* title = nullptr,
                std::optional<TextEncoding> encoding = std::nullopt);
  // Shows bytes in the page's format as the editor's text, the view prepared for its lines.
  void ShowBytes(const QByteArray& bytes);
  bool WriteDocument(const QString& path);
  // Before overwriting the named page: false when it is read-only or changed on disk and
  // the user does not want it overwritten (a read-only page may go to Save As).
  bool MayOverwrite(bool* save_as);
  void RememberDiskState();
  void SetModified(bool modified);

  EditorModel& editor_;
  Desktop& desktop_;
  RecentFilesStore& recent_files_;
  DocumentView& view_;

  Page page_;
  QString untitled_name_;
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
