#include "document/document_session.h"
#include "names/texts.h"

#include <QFile>

#include "document/document.h"
#include "document/editor_model.h"
#include "document/text_helpers.h"
#include "platform/desktop.h"
#include "platform/file_write.h"
#include "platform/recent_files.h"

namespace {

// In bytes: close enough to characters for choosing how to lay lines out.
qsizetype LongestLine(QByteArrayView bytes) {
  qsizetype longest = 0;
  qsizetype start = 0;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n' || bytes[i] == '\r') {
      longest = std::max(longest, i - start);
      start = i + 1;
    }
  }
  return std::max(longest, bytes.size() - start);
}

}  // namespace

DocumentSession::DocumentSession(PageList& pages, EditorModel& editor, Desktop& desktop,
                                 RecentFilesStore& recent_files, DocumentView& view)
    : pages_(pages), editor_(editor), desktop_(desktop), recent_files_(recent_files), view_(view) {}

void DocumentSession::OnTextChanged() {
  if (loading_) return;
  CurrentPage().SetModified(true);
  CurrentPage().SetSaved(false);
}

void DocumentSession::OnSavePointReached() {
  if (!loading_ && !CurrentPage().Recovered()) CurrentPage().SetModified(false);
}

void DocumentSession::RestoreText(const QString& path, const TextFormat& format,
                                  const QByteArray& bytes, const FileStamp& disk,
                                  bool changed_on_disk) {
  Page& page = CurrentPage();
  page.SetFormat(format);
  page.SetRecovered(true);
  page.SetSaved(false);
  page.SetPristineBytes(QByteArray());
  page.SetTitle(QString());
  page.SetKeptOver(FileStamp{});
  page.SetDiskState(FileStamp{});
  ShowBytes(bytes);
  SetDocumentName(path.isEmpty() ? UntitledName() : path);
  if (!path.isEmpty()) {
    const FileStamp now = StampOf(path);
    page.SetDiskState(changed_on_disk ? disk : now);
    // The recovery window told of the newer file: not asked again until it changes anew.
    if (changed_on_disk) page.SetKeptOver(now);
  }
  page.SetModified(true);
}

void DocumentSession::SetFormat(const TextFormat& format) {
  Page& page = CurrentPage();
  if (format.encoding != page.Format().encoding) {
    // The page's own declaration follows, or a browser reads the saved bytes wrongly.
    const QStringList lines = editor_.Lines();
    const QString charset = QString::fromLatin1(NameOf(format.encoding)).toLower();
    if (const std::optional<QStringList> declared = WithDeclaredCharset(lines, charset)) {
      editor_.ApplyLines(lines, *declared);
    }
  }
  editor_.SetLineEnds(format.line_end);
  TextFormat converted = format;
  converted.mixed_line_ends = false;
  page.SetFormat(converted);
  page.SetPristineBytes(QByteArray());
  page.SetModified(true);
  page.SetSaved(false);
}

void DocumentSession::ReopenWithEncoding(TextEncoding encoding) {
  if (!IsNamed()) return;
  Page& page = CurrentPage();
  if (page.Modified() &&
      !desktop_.AskYesNo(
          view_.DialogParent(),
          Tr(Text::kReopenLoses).arg(page.FileName(), QString::fromLatin1(NameOf(encoding))))) {
    return;
  }
  QString error;
  if (!LoadFile(page.FileName(), &error, nullptr, encoding)) {
    desktop_.ShowError(view_.DialogParent(), error);
    return;
  }
  page.SetModified(false);
  page.SetSaved(false);
  RememberDiskState();
  page.SetFileName(page.FileName());
}

void DocumentSession::AddScratchFile(const QString& path) {
  if (!scratch_files_.contains(path)) scratch_files_.append(path);
}

void DocumentSession::DeleteScratchFiles() {
  // Only files the preview wrote: a page's own "temp.htm" is the user's.
  for (const QString& path : std::as_const(scratch_files_)) QFile::remove(path);
  scratch_files_.clear();
}

void DocumentSession::LoadRecentFiles() {
  recent_ = recent_files_.Load();
  emit RecentFilesChanged(recent_);
}

bool DocumentSession::LoadFile(const QString& path, QString* error, QString* title,
                               std::optional<TextEncoding> encoding) {
  const ReadOutcome read = ReadWholeFile(path, kPageCap);
  if (!read.ok()) {
    *error = read.message();
    return false;
  }
  TextFormat format = DetectTextFormat(read.bytes);
  if (encoding && *encoding != format.encoding) {
    format.encoding = *encoding;
    // A mark is kept only where it is one: a UTF-8 page read in another encoding shows it.
    format.bom = *encoding == TextEncoding::kUtf8 && read.bytes.startsWith("\xEF\xBB\xBF");
  }
  Page& page = CurrentPage();
  page.SetFormat(format);
  // While the text is as read, saving writes exactly what was read (mixed line ends too).
  page.SetPristineBytes(read.bytes);
  page.SetRecovered(false);
  if (title != nullptr) *title = PageTitleOfFile(read.bytes, format);
  ShowBytes(read.bytes);
  return true;
}

void DocumentSession::ShowBytes(const QByteArray& bytes) {
  Page& page = CurrentPage();
  page.SetLongestLine(LongestLine(bytes));
  loading_ = true;
  editor_.LoadBuffer(EditorBytes(bytes, page.Format()), page.Format().line_end);
  loading_ = false;
}

bool DocumentSession::WriteDocument(const QString& path) {
  Page& page = CurrentPage();
  qsizetype replaced = 0;
  const QByteArray bytes = editor_.AtSavePoint() && !page.PristineBytes().isNull()
                               ? page.PristineBytes()
                               : FileBytes(editor_.Buffer(), page.Format(), &replaced);
  const std::optional<IoError> error = WriteWholeFile(path, bytes);
  if (error) {
    desktop_.ShowError(view_.DialogParent(), error->message);
    return false;
  }
  // The file now holds the text: undoing back to here clears the modified mark.
  page.SetPristineBytes(QByteArray());
  page.SetRecovered(false);
  editor_.MarkSaved();
  if (replaced > 0) {
    desktop_.ShowMessage(view_.DialogParent(),
                         Tr(Text::kNotInEncoding)
                             .arg(QString::fromLatin1(NameOf(page.Format().encoding)))
                             .arg(replaced));
  }
  return true;
}

void DocumentSession::OpenDocument(Source source, int recent_item) {
  OpenPath(ChoosePath(source, recent_item));
}

QString DocumentSession::ChoosePath(Source source, int recent_item) {
  DeleteScratchFiles();
  QString path;
  switch (source) {
    case Source::kFilePanel:
      path = view_.SelectedFilePath();
      break;
    case Source::kRecent:
      if (recent_item >= 1 && recent_item <= 4) path = recent_.value(recent_item - 1);
      break;
    case Source::kDialog: {
      // The dialog starts beside the page shown; an untitled page, where the last one was.
      const auto choice =
          desktop_.AskOpenPath(view_.DialogParent(), DocumentFilters(), open_filter_index_,
                               IsNamed() ? FileName() : open_dialog_path_);
      if (!choice) return QString();
      path = choice->path;
      open_filter_index_ = choice->filter_index;
      break;
    }
  }
  return CompletedPath(path);
}

QString DocumentSession::CompletedPath(const QString& path) {
  if (path.isEmpty()) return QString();
  // The extension is completed on the name as given (a dot in a folder of the full path
  // must not count), once: the completed name always holds a dot.
  open_dialog_path_ = AbsolutePath(CompleteExtension(path, open_filter_index_));
  return open_dialog_path_;
}

bool DocumentSession::OpenFile(const QString& path) {
  DeleteScratchFiles();
  return OpenPath(CompletedPath(path));
}

bool DocumentSession::OpenPath(QString path) {
  if (path.isEmpty()) return false;
  if (!Saved() && !CloseDocument()) return false;
  QString error;
  QString title;
  if (!LoadFile(path, &error, &title)) {
    desktop_.ShowMessage(view_.DialogParent(), Tr(Text::kOpenError).arg(path));
    return false;
  }
  recent_files_.Push(path);
  LoadRecentFiles();
  current_folder_ = FolderOf(path);
  if (!current_folder_.isEmpty()) emit FolderChanged(current_folder_);
  Page& page = CurrentPage();
  page.SetModified(false);
  SetDocumentName(path);
  RememberDiskState();
  page.SetTitle(title);
  emit EditorWanted();
  return true;
}

void DocumentSession::RememberDiskState() {
  CurrentPage().SetDiskState(IsNamed() ? StampOf(FileName()) : FileStamp{});
}

bool DocumentSession::MayOverwrite(bool* save_as) {
  *save_as = false;
  const Page& page = CurrentPage();
  if (IsReadOnlyFile(page.FileName())) {
    *save_as =
        desktop_.AskYesNo(view_.DialogParent(), Tr(Text::kReadOnlySaveAs).arg(page.FileName()));
    return false;
  }
  const FileStamp now = StampOf(page.FileName());
  if (page.DiskState().exists && now != page.DiskState()) {
    return desktop_.AskYesNo(view_.DialogParent(),
                             Tr(Text::kChangedOnDiskOverwrite).arg(page.FileName()));
  }
  return true;
}

void DocumentSession::CheckDiskChanges() {
  if (checking_disk_) return;
  Page& page = CurrentPage();
  const std::optional<FileStamp> now = page.ChangedOnDisk();
  if (!now) return;
  // The questions below take the focus away and back; one check at a time.
  checking_disk_ = true;
  page.SetKeptOver(*now);  // asked once per change
  const bool reload =
      !page.Modified() ||
      desktop_.AskYesNo(view_.DialogParent(), Tr(Text::kChangedOnDiskReload).arg(page.FileName()));
  if (reload) {
    QString error;
    if (LoadFile(page.FileName(), &error)) {
      page.SetModified(false);
      page.SetSaved(false);
      RememberDiskState();
      page.SetFileName(page.FileName());  // the size and caret fields follow
      emit Note(Tr(Text::kReloaded).arg(page.FileName()));
    } else {
      desktop_.ShowError(view_.DialogParent(), error);
    }
  }
  checking_disk_ = false;
}

bool DocumentSession::SaveDocument() {
  Page& page = CurrentPage();
  if (page.FileName() == UntitledName()) return SaveDocumentAs();
  bool save_as = false;
  if (!MayOverwrite(&save_as)) return save_as && SaveDocumentAs();
  if (!WriteDocument(page.FileName())) return false;
  RememberDiskState();
  page.SetFileName(page.FileName());
  page.SetModified(false);
  page.SetSaved(true);
  emit DocumentSaved();
  return true;
}

bool DocumentSession::SaveDocumentAs() {
  DeleteScratchFiles();
  const auto choice = desktop_.AskSavePath(view_.DialogParent(), DocumentFilters(),
                                           save_filter_index_, save_dialog_path_);
  if (!choice || choice->path.trimmed().isEmpty()) return false;
  save_filter_index_ = choice->filter_index;
  save_dialog_path_ = choice->path;
  const QString name = CompleteExtension(choice->path, save_filter_index_);
  // A failed write leaves the name and the flags as they were.
  if (!WriteDocument(name)) return false;
  Page& page = CurrentPage();
  SetDocumentName(name);
  RememberDiskState();
  page.SetModified(false);
  page.SetSaved(true);
  current_folder_ = FolderOf(name);
  // The panel is read again so that the new file is listed.
  emit FolderChanged(current_folder_);
  emit DocumentSaved();
  return true;
}

bool DocumentSession::MayClose() {
  if (!Modified()) return true;
  if (const std::optional<QString> answer = view_.AskSaveChanges()) {
    prompt_answer_ = *answer;
  } else {
    // A prompt dismissed by its frame answers nothing: keep the document.
    return false;
  }
  if (prompt_answer_ == u"c") return false;
  // The text goes only once it is safe: a save that was cancelled or failed keeps it.
  return prompt_answer_ != u"y" || SaveDocument();
}

bool DocumentSession::CloseDocument() {
  if (!MayClose()) return false;
  ClearPage();
  return true;
}

void DocumentSession::LoadEditorText(const QString& text) {
  Page& page = CurrentPage();
  page.SetPristineBytes(QByteArray());
  page.SetRecovered(false);
  loading_ = true;
  editor_.LoadText(text, page.Format().line_end);
  loading_ = false;
}

void DocumentSession::ClearPage() {
  SetDocumentName(QString());
  RememberDiskState();
  CurrentPage().SetModified(false);
  LoadEditorText(QString());
}

bool DocumentSession::GenerateNewPage(const NewPageFields& fields) {
  if (Modified() && !CloseDocument()) return false;
  Page& page = CurrentPage();
  page.SetTitle(QString());
  page.SetLongestLine(0);
  page.SetFormat(TextFormat{});
  LoadEditorText(NewPageLines(fields).join(u'\n'));
  SetDocumentName(UntitledName());
  RememberDiskState();
  emit EditorWanted();
  page.SetModified(false);
  return true;
}

void DocumentSession::StartUp(const QString& given, const NewPageFields& fields) {
  CurrentPage().SetModified(false);
  SetDocumentName(UntitledName());
  bool loaded = false;
  // "site/page.htm" from the command line is kept as the full path, as every open keeps it.
  const QString argument = AbsolutePath(given);
  if (!argument.isEmpty()) {
    QString error;
    loaded = LoadFile(argument, &error);
    if (loaded) {
      recent_files_.Push(argument);
      SetDocumentName(argument);
      RememberDiskState();
      CurrentPage().SetModified(false);
    } else {
      desktop_.ShowError(view_.DialogParent(), error);
    }
  }
  if (!loaded) GenerateNewPage(fields);
  emit EditorWanted();
}
