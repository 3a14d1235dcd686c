#include "document/document_session.h"
#include "names/texts.h"

#include <QFile>

#include "document/document.h"
#include "document/editor_model.h"
#include "document/text_helpers.h"
#include "platform/desktop.h"
#include "platform/recent_files.h"
#include "platform/text_file.h"

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

DocumentSession::DocumentSession(EditorModel& editor, Desktop& desktop,
                                 RecentFilesStore& recent_files, DocumentView& view)
    : editor_(editor), desktop_(desktop), recent_files_(recent_files), view_(view) {}

void DocumentSession::SetDocumentName(const QString& name) {
  file_name_ = name;
  view_.ShowDocumentName(name);
}

void DocumentSession::SetModified(bool modified) {
  modified_ = modified;
  view_.ShowModifiedMark(modified);
}

void DocumentSession::OnTextChanged() {
  if (loading_) return;
  SetModified(true);
  saved_ = false;
}

void DocumentSession::OnSavePointReached() {
  if (!loading_) SetModified(false);
}

void DocumentSession::SetFormat(const TextFormat& format) {
  if (format.encoding != format_.encoding) {
    // The page's own declaration follows, or a browser reads the saved bytes wrongly.
    const QStringList lines = editor_.Lines();
    const QString charset = QString::fromLatin1(NameOf(format.encoding)).toLower();
    if (const std::optional<QStringList> declared = WithDeclaredCharset(lines, charset)) {
      editor_.ApplyLines(lines, *declared);
    }
  }
  editor_.SetLineEnds(format.line_end);
  format_ = format;
  format_.mixed_line_ends = false;
  pristine_bytes_ = QByteArray();
  view_.ShowFormat(format_);
  SetModified(true);
  saved_ = false;
}

void DocumentSession::SetUntitledName(const QString& name) {
  const bool untitled = !file_name_.isEmpty() && file_name_ == untitled_name_;
  untitled_name_ = name;
  // Still untitled, so a save asks for a name; the caption keeps the old name until the
  // document is named again.
  if (untitled) file_name_ = name;
}

void DocumentSession::ReopenWithEncoding(TextEncoding encoding) {
  if (!IsNamed()) return;
  if (modified_ &&
      !desktop_.AskYesNo(
          view_.DialogParent(),
          Tr(Text::kReopenLoses).arg(file_name_, QString::fromLatin1(NameOf(encoding))))) {
    return;
  }
  QString error;
  if (!LoadFile(file_name_, &error, nullptr, encoding)) {
    desktop_.ShowError(view_.DialogParent(), error);
    return;
  }
  SetModified(false);
  saved_ = false;
  RememberDiskState();
  view_.ShowDocumentName(file_name_);
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
  view_.ShowRecentFiles(recent_);
}

bool DocumentSession::LoadFile(const QString& path, QString* error, QString* title,
                               std::optional<TextEncoding> encoding) {
  const ReadOutcome read = ReadWholeFile(path, kPageCap);
  if (!read.ok()) {
    *error = read.message();
    return false;
  }
  format_ = DetectTextFormat(read.bytes);
  if (encoding && *encoding != format_.encoding) {
    format_.encoding = *encoding;
    // A mark is kept only where it is one: a UTF-8 page read in another encoding shows it.
    format_.bom = *encoding == TextEncoding::kUtf8 && read.bytes.startsWith("\xEF\xBB\xBF");
  }
  view_.ShowFormat(format_);
  // While the text is as read, saving writes exactly what was read (mixed line ends too).
  pristine_bytes_ = read.bytes;
  if (title != nullptr) *title = PageTitleOfFile(read.bytes, format_);
  view_.PrepareForLongLines(LongestLine(read.bytes));
  loading_ = true;
  editor_.LoadBuffer(EditorBytes(read.bytes, format_), format_.line_end);
  loading_ = false;
  return true;
}

bool DocumentSession::WriteDocument(const QString& path) {
  qsizetype replaced = 0;
  const QByteArray bytes = editor_.AtSavePoint() && !pristine_bytes_.isNull()
                               ? pristine_bytes_
                               : FileBytes(editor_.Buffer(), format_, &replaced);
  const std::optional<IoError> error = WriteWholeFile(path, bytes);
  if (error) {
    desktop_.ShowError(view_.DialogParent(), error->message);
    return false;
  }
  // The file now holds the text: undoing back to here clears the modified mark.
  pristine_bytes_ = QByteArray();
  editor_.MarkSaved();
  if (replaced > 0) {
    desktop_.ShowMessage(
        view_.DialogParent(),
        Tr(Text::kNotInEncoding).arg(QString::fromLatin1(NameOf(format_.encoding))).arg(replaced));
  }
  return true;
}

void DocumentSession::OpenDocument(Source source, int recent_item) {
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
      const auto choice = desktop_.AskOpenPath(view_.DialogParent(), DocumentFilters(),
                                               open_filter_index_, open_dialog_path_);
      if (!choice) return;
      path = choice->path;
      open_filter_index_ = choice->filter_index;
      break;
    }
  }
  OpenPath(path);
}

void DocumentSession::OpenFile(const QString& path) {
  DeleteScratchFiles();
  OpenPath(path);
}

void DocumentSession::OpenPath(QString path) {
  if (path.isEmpty()) return;
  open_dialog_path_ = path;
  if (!saved_ && !CloseDocument()) return;
  path = CompleteExtension(path, open_filter_index_);
  QString error;
  QString title;
  if (!LoadFile(path, &error, &title)) {
    desktop_.ShowMessage(view_.DialogParent(), Tr(Text::kOpenError).arg(path));
    return;
  }
  recent_files_.Push(path);
  LoadRecentFiles();
  current_folder_ = FolderOf(path);
  if (!current_folder_.isEmpty()) view_.ShowFolder(current_folder_);
  SetDocumentName(path);
  RememberDiskState();
  modified_ = false;
  view_.ShowPageTitle(title);
  view_.FocusEditor();
}

void DocumentSession::RememberDiskState() {
  disk_state_ =
      file_name_.isEmpty() || file_name_ == untitled_name_ ? FileStamp{} : StampOf(file_name_);
}

bool DocumentSession::MayOverwrite(bool* save_as) {
  *save_as = false;
  if (IsReadOnlyFile(file_name_)) {
    *save_as = desktop_.AskYesNo(view_.DialogParent(), Tr(Text::kReadOnlySaveAs).arg(file_name_));
    return false;
  }
  const FileStamp now = StampOf(file_name_);
  if (disk_state_.exists && now != disk_state_) {
    return desktop_.AskYesNo(view_.DialogParent(),
                             Tr(Text::kChangedOnDiskOverwrite).arg(file_name_));
  }
  return true;
}

void DocumentSession::CheckDiskChanges() {
  if (checking_disk_ || !disk_state_.exists) return;
  const FileStamp now = StampOf(file_name_);
  if (!now.exists || now == disk_state_ || now == kept_over_) return;
  // The questions below take the focus away and back; one check at a time.
  checking_disk_ = true;
  kept_over_ = now;  // asked once per change
  const bool reload =
      !modified_ ||
      desktop_.AskYesNo(view_.DialogParent(), Tr(Text::kChangedOnDiskReload).arg(file_name_));
  if (reload) {
    QString error;
    if (LoadFile(file_name_, &error)) {
      SetModified(false);
      saved_ = false;
      RememberDiskState();
      view_.ShowDocumentName(file_name_);  // the size and caret fields follow
      view_.ShowStatusNote(Tr(Text::kReloaded).arg(file_name_));
    } else {
      desktop_.ShowError(view_.DialogParent(), error);
    }
  }
  checking_disk_ = false;
}

bool DocumentSession::SaveDocument() {
  if (file_name_ == untitled_name_) return SaveDocumentAs();
  bool save_as = false;
  if (!MayOverwrite(&save_as)) return save_as && SaveDocumentAs();
  if (!WriteDocument(file_name_)) return false;
  RememberDiskState();
  view_.ShowDocumentName(file_name_);
  SetModified(false);
  saved_ = true;
  if (on_saved) on_saved();
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
  SetDocumentName(name);
  RememberDiskState();
  SetModified(false);
  saved_ = true;
  current_folder_ = FolderOf(name);
  // The panel is read again so that the new file is listed.
  view_.ShowFolder(current_folder_);
  if (on_saved) on_saved();
  return true;
}

bool DocumentSession::CloseDocument() {
  if (modified_) {
    if (const std::optional<QString> answer = view_.AskSaveChanges()) {
      prompt_answer_ = *answer;
    } else {
      // A prompt dismissed by its frame answers nothing: keep the document.
      return false;
    }
    if (prompt_answer_ == u"c") return false;
    // The text goes only once it is safe: a save that was cancelled or failed keeps it.
    if (prompt_answer_ == u"y" && !SaveDocument()) return false;
  }
  SetDocumentName(QString());
  RememberDiskState();
  pristine_bytes_ = QByteArray();
  modified_ = false;
  loading_ = true;
  editor_.LoadText(QString(), format_.line_end);
  loading_ = false;
  return true;
}

bool DocumentSession::GenerateNewPage(const NewPageFields& fields) {
  if (modified_ && !CloseDocument()) return false;
  pristine_bytes_ = QByteArray();
  view_.PrepareForLongLines(0);
  format_ = TextFormat{};
  loading_ = true;
  editor_.LoadText(NewPageLines(fields).join(u'\n'), format_.line_end);
  loading_ = false;
  SetDocumentName(untitled_name_);
  RememberDiskState();
  view_.ShowFormat(format_);
  view_.FocusEditor();
  SetModified(false);
  return true;
}

void DocumentSession::StartUp(const QString& argument, const NewPageFields& fields) {
  modified_ = false;
  SetDocumentName(untitled_name_);
  bool loaded = false;
  if (!argument.isEmpty()) {
    QString error;
    loaded = LoadFile(argument, &error);
    if (loaded) {
      recent_files_.Push(argument);
      SetDocumentName(argument);
      RememberDiskState();
      modified_ = false;
    } else {
      desktop_.ShowError(view_.DialogParent(), error);
    }
  }
  if (!loaded) GenerateNewPage(fields);
  view_.FocusEditor();
}
