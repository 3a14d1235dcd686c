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
  page_.file_name = name;
  view_.ShowDocumentName(name);
}

void DocumentSession::SetModified(bool modified) {
  page_.modified = modified;
  view_.ShowModifiedMark(modified);
}

void DocumentSession::OnTextChanged() {
  if (loading_) return;
  SetModified(true);
  page_.saved = false;
}

void DocumentSession::OnSavePointReached() {
  if (!loading_ && !page_.recovered) SetModified(false);
}

void DocumentSession::RestoreText(const QString& path, const TextFormat& format,
                                  const QByteArray& bytes, const FileStamp& disk,
                                  bool changed_on_disk) {
  page_ = Page{};
  page_.format = format;
  page_.recovered = true;
  ShowBytes(bytes);
  SetDocumentName(path.isEmpty() ? untitled_name_ : path);
  if (!path.isEmpty()) {
    const FileStamp now = StampOf(path);
    page_.disk_state = changed_on_disk ? disk : now;
    // The recovery window told of the newer file: not asked again until it changes anew.
    if (changed_on_disk) page_.kept_over = now;
  }
  SetModified(true);
}

void DocumentSession::SetFormat(const TextFormat& format) {
  if (format.encoding != page_.format.encoding) {
    // The page's own declaration follows, or a browser reads the saved bytes wrongly.
    const QStringList lines = editor_.Lines();
    const QString charset = QString::fromLatin1(NameOf(format.encoding)).toLower();
    if (const std::optional<QStringList> declared = WithDeclaredCharset(lines, charset)) {
      editor_.ApplyLines(lines, *declared);
    }
  }
  editor_.SetLineEnds(format.line_end);
  page_.format = format;
  page_.format.mixed_line_ends = false;
  page_.pristine_bytes = QByteArray();
  view_.ShowFormat(page_.format);
  SetModified(true);
  page_.saved = false;
}

void DocumentSession::SetUntitledName(const QString& name) {
  const bool untitled = !page_.file_name.isEmpty() && page_.file_name == untitled_name_;
  untitled_name_ = name;
  // Still untitled, so a save asks for a name; the caption keeps the old name until the
  // document is named again.
  if (untitled) page_.file_name = name;
}

void DocumentSession::ReopenWithEncoding(TextEncoding encoding) {
  if (!IsNamed()) return;
  if (page_.modified &&
      !desktop_.AskYesNo(
          view_.DialogParent(),
          Tr(Text::kReopenLoses).arg(page_.file_name, QString::fromLatin1(NameOf(encoding))))) {
    return;
  }
  QString error;
  if (!LoadFile(page_.file_name, &error, nullptr, encoding)) {
    desktop_.ShowError(view_.DialogParent(), error);
    return;
  }
  SetModified(false);
  page_.saved = false;
  RememberDiskState();
  view_.ShowDocumentName(page_.file_name);
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
  page_.format = DetectTextFormat(read.bytes);
  if (encoding && *encoding != page_.format.encoding) {
    page_.format.encoding = *encoding;
    // A mark is kept only where it is one: a UTF-8 page read in another encoding shows it.
    page_.format.bom = *encoding == TextEncoding::kUtf8 && read.bytes.startsWith("\xEF\xBB\xBF");
  }
  // While the text is as read, saving writes exactly what was read (mixed line ends too).
  page_.pristine_bytes = read.bytes;
  page_.recovered = false;
  if (title != nullptr) *title = PageTitleOfFile(read.bytes, page_.format);
  ShowBytes(read.bytes);
  return true;
}

void DocumentSession::ShowBytes(const QByteArray& bytes) {
  view_.ShowFormat(page_.format);
  page_.longest_line = LongestLine(bytes);
  view_.PrepareForLongLines(page_.longest_line);
  loading_ = true;
  editor_.LoadBuffer(EditorBytes(bytes, page_.format), page_.format.line_end);
  loading_ = false;
}

bool DocumentSession::WriteDocument(const QString& path) {
  qsizetype replaced = 0;
  const QByteArray bytes = editor_.AtSavePoint() && !page_.pristine_bytes.isNull()
                               ? page_.pristine_bytes
                               : FileBytes(editor_.Buffer(), page_.format, &replaced);
  const std::optional<IoError> error = WriteWholeFile(path, bytes);
  if (error) {
    desktop_.ShowError(view_.DialogParent(), error->message);
    return false;
  }
  // The file now holds the text: undoing back to here clears the modified mark.
  page_.pristine_bytes = QByteArray();
  page_.recovered = false;
  editor_.MarkSaved();
  if (replaced > 0) {
    desktop_.ShowMessage(view_.DialogParent(),
                         Tr(Text::kNotInEncoding)
                             .arg(QString::fromLatin1(NameOf(page_.format.encoding)))
                             .arg(replaced));
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
      // The dialog starts beside the page shown; an untitled page, where the last one was.
      const auto choice =
          desktop_.AskOpenPath(view_.DialogParent(), DocumentFilters(), open_filter_index_,
                               IsNamed() ? page_.file_name : open_dialog_path_);
      if (!choice) return;
      path = choice->path;
      open_filter_index_ = choice->filter_index;
      break;
    }
  }
  OpenPath(path);
}

bool DocumentSession::OpenFile(const QString& path) {
  DeleteScratchFiles();
  return OpenPath(path);
}

bool DocumentSession::OpenPath(QString path) {
  if (path.isEmpty()) return false;
  // The extension is completed on the name as given (a dot in a folder of the full path
  // must not count), once: the completed name always holds a dot.
  path = AbsolutePath(CompleteExtension(path, open_filter_index_));
  open_dialog_path_ = path;
  if (open_elsewhere && open_elsewhere(path)) return true;
  if (!page_.saved && !CloseDocument()) return false;
  QString error;
  QString title;
  if (!LoadFile(path, &error, &title)) {
    desktop_.ShowMessage(view_.DialogParent(), Tr(Text::kOpenError).arg(path));
    return false;
  }
  recent_files_.Push(path);
  LoadRecentFiles();
  current_folder_ = FolderOf(path);
  if (!current_folder_.isEmpty()) view_.ShowFolder(current_folder_);
  SetDocumentName(path);
  RememberDiskState();
  page_.modified = false;
  page_.title = title;
  view_.ShowPageTitle(title);
  view_.FocusEditor();
  return true;
}

DocumentSession::Page DocumentSession::ExchangePage(Page page) {
  std::swap(page, page_);
  view_.PrepareForLongLines(page_.longest_line);
  view_.ShowFormat(page_.format);
  view_.ShowModifiedMark(page_.modified);
  view_.ShowPageTitle(page_.title);
  view_.ShowDocumentName(page_.file_name);
  return page;
}

std::optional<FileStamp> DocumentSession::ChangedOnDisk(const Page& page) {
  if (!page.disk_state.exists) return std::nullopt;
  const FileStamp now = StampOf(page.file_name);
  if (!now.exists || now == page.disk_state || now == page.kept_over) return std::nullopt;
  return now;
}

void DocumentSession::RememberDiskState() {
  page_.disk_state = page_.file_name.isEmpty() || page_.file_name == untitled_name_
                         ? FileStamp{}
                         : StampOf(page_.file_name);
}

bool DocumentSession::MayOverwrite(bool* save_as) {
  *save_as = false;
  if (IsReadOnlyFile(page_.file_name)) {
    *save_as =
        desktop_.AskYesNo(view_.DialogParent(), Tr(Text::kReadOnlySaveAs).arg(page_.file_name));
    return false;
  }
  const FileStamp now = StampOf(page_.file_name);
  if (page_.disk_state.exists && now != page_.disk_state) {
    return desktop_.AskYesNo(view_.DialogParent(),
                             Tr(Text::kChangedOnDiskOverwrite).arg(page_.file_name));
  }
  return true;
}

void DocumentSession::CheckDiskChanges() {
  if (checking_disk_) return;
  const std::optional<FileStamp> now = ChangedOnDisk(page_);
  if (!now) return;
  // The questions below take the focus away and back; one check at a time.
  checking_disk_ = true;
  page_.kept_over = *now;  // asked once per change
  const bool reload =
      !page_.modified ||
      desktop_.AskYesNo(view_.DialogParent(), Tr(Text::kChangedOnDiskReload).arg(page_.file_name));
  if (reload) {
    QString error;
    if (LoadFile(page_.file_name, &error)) {
      SetModified(false);
      page_.saved = false;
      RememberDiskState();
      view_.ShowDocumentName(page_.file_name);  // the size and caret fields follow
      view_.ShowStatusNote(Tr(Text::kReloaded).arg(page_.file_name));
    } else {
      desktop_.ShowError(view_.DialogParent(), error);
    }
  }
  checking_disk_ = false;
}

bool DocumentSession::SaveDocument() {
  if (page_.file_name == untitled_name_) return SaveDocumentAs();
  bool save_as = false;
  if (!MayOverwrite(&save_as)) return save_as && SaveDocumentAs();
  if (!WriteDocument(page_.file_name)) return false;
  RememberDiskState();
  view_.ShowDocumentName(page_.file_name);
  SetModified(false);
  page_.saved = true;
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
  page_.saved = true;
  current_folder_ = FolderOf(name);
  // The panel is read again so that the new file is listed.
  view_.ShowFolder(current_folder_);
  if (on_saved) on_saved();
  return true;
}

bool DocumentSession::MayClose() {
  if (!page_.modified) return true;
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

void DocumentSession::ClearPage() {
  page_.recovered = false;
  SetDocumentName(QString());
  RememberDiskState();
  page_.pristine_bytes = QByteArray();
  page_.modified = false;
  loading_ = true;
  editor_.LoadText(QString(), page_.format.line_end);
  loading_ = false;
}

bool DocumentSession::GenerateNewPage(const NewPageFields& fields) {
  if (page_.modified && !CloseDocument()) return false;
  page_.pristine_bytes = QByteArray();
  page_.longest_line = 0;
  page_.title.clear();
  page_.recovered = false;
  view_.PrepareForLongLines(0);
  page_.format = TextFormat{};
  loading_ = true;
  editor_.LoadText(NewPageLines(fields).join(u'\n'), page_.format.line_end);
  loading_ = false;
  SetDocumentName(untitled_name_);
  RememberDiskState();
  view_.ShowFormat(page_.format);
  view_.FocusEditor();
  SetModified(false);
  return true;
}

void DocumentSession::StartUp(const QString& given, const NewPageFields& fields) {
  page_.modified = false;
  SetDocumentName(untitled_name_);
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
      page_.modified = false;
    } else {
      desktop_.ShowError(view_.DialogParent(), error);
    }
  }
  if (!loaded) GenerateNewPage(fields);
  view_.FocusEditor();
}
