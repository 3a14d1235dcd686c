// The document commands of the main window: open, save, close, recent files, new page.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QToolButton>

#include "app/document.h"
#include "app/file_panel.h"
#include "app/main_window.h"
#include "app/save_prompt_window.h"
#include "app/text_helpers.h"
#include "platform/desktop.h"
#include "platform/recent_files.h"
#include "platform/text_file.h"

namespace {

const char16_t* const kRecentItems[] = {u"N66", u"N67", u"N68", u"N69"};

}  // namespace

void MainWindow::OpenSelectedOrAsk() {
  OpenDocument(file_panel_->SelectedFilePath().isEmpty() ? Source::kDialog : Source::kFilePanel);
}

void MainWindow::DeleteScratchFiles() {
  // Only files the preview wrote: a page's own "temp.htm" is the user's.
  for (const QString& path : std::as_const(scratch_files_)) QFile::remove(path);
  scratch_files_.clear();
}

void MainWindow::LoadRecentFiles() {
  const QStringList entries = recent_files_.Load();
  for (int i = 0; i < 4; ++i) {
    QAction* item = menu_items_[QString::fromUtf16(kRecentItems[i])];
    const QString path = entries.value(i);
    item->setData(path);
    // A "&" in a path is shown, not taken as an accelerator.
    item->setText(QString(path).replace(u'&', QStringLiteral("&&")));
  }
}

bool MainWindow::LoadFile(const QString& path, QString* error, QString* title) {
  const ReadOutcome read = ReadWholeFile(path);
  if (!read.ok) {
    *error = read.error;
    return false;
  }
  format_ = DetectTextFormat(read.bytes);
  ShowFormat();
  const QString text = DecodeText(read.bytes, format_);
  if (title != nullptr) *title = PageTitleOfText(text);
  loading_ = true;
  model_.LoadText(text);
  loading_ = false;
  return true;
}

bool MainWindow::WriteDocument(const QString& path) {
  qsizetype replaced = 0;
  const QByteArray bytes = EncodeText(model_.Text(), format_, &replaced);
  const QString error = WriteWholeFile(path, bytes);
  if (!error.isEmpty()) {
    desktop_.ShowError(this, error);
    return false;
  }
  if (replaced > 0) {
    desktop_.ShowMessage(
        this,
        QStringLiteral("Символов, которых нет в кодировке Windows-1251: %1. Они записаны как &#N;.")
            .arg(replaced));
  }
  return true;
}

void MainWindow::OpenDocument(Source source, int recent_item) {
  DeleteScratchFiles();
  QString path;
  switch (source) {
    case Source::kFilePanel:
      path = file_panel_->SelectedFilePath();
      break;
    case Source::kRecent:
      if (recent_item >= 1 && recent_item <= 4) {
        path = menu_items_[QString::fromUtf16(kRecentItems[recent_item - 1])]->data().toString();
      }
      break;
    case Source::kDialog: {
      const auto choice =
          desktop_.AskOpenPath(this, DocumentFilters(), open_filter_index_, open_dialog_path_);
      if (!choice) return;
      path = choice->path;
      open_filter_index_ = choice->filter_index;
      break;
    }
  }
  if (path.isEmpty()) return;
  open_dialog_path_ = path;
  if (!saved_ && !CloseDocument()) return;
  path = CompleteExtension(path, open_filter_index_);
  QString error;
  QString title;
  if (!LoadFile(path, &error, &title)) {
    desktop_.ShowMessage(this,
                         QStringLiteral("Ошибка открытия файла ") + path + QStringLiteral("."));
    return;
  }
  recent_files_.Push(path);
  LoadRecentFiles();
  current_folder_ = FolderOf(path);
  if (!current_folder_.isEmpty()) file_panel_->SetFolder(current_folder_);
  SetDocumentName(path);
  modified_ = false;
  buttons_[QStringLiteral("SpeedButton2")]->setToolTip(title);
}

bool MainWindow::SaveDocument() {
  if (file_name_ == untitled_name_) return SaveDocumentAs();
  if (!WriteDocument(file_name_)) return false;
  SetStatusPanel(0, QString());
  saved_ = true;
  modified_ = false;
  return true;
}

bool MainWindow::SaveDocumentAs() {
  DeleteScratchFiles();
  const auto choice =
      desktop_.AskSavePath(this, DocumentFilters(), save_filter_index_, save_dialog_path_);
  if (!choice || choice->path.trimmed().isEmpty()) return false;
  save_filter_index_ = choice->filter_index;
  save_dialog_path_ = choice->path;
  const QString name = CompleteExtension(choice->path, save_filter_index_);
  // A failed write leaves the name and the flags as they were.
  if (!WriteDocument(name)) return false;
  SetDocumentName(name);
  modified_ = false;
  SetStatusPanel(0, QString());
  saved_ = true;
  current_folder_ = FolderOf(name);
  // The panel is read again so that the new file is listed.
  file_panel_->SetFolder(current_folder_.isEmpty() ? file_panel_->Folder() : current_folder_);
  return true;
}

bool MainWindow::CloseDocument() {
  if (modified_) {
    if (prompt_ != nullptr) {
      desktop_.RunModal(prompt_);
      const auto answer = prompt_->TakeAnswer();
      // A prompt dismissed by its frame answers nothing: keep the document.
      if (!answer) return false;
      prompt_answer_ = *answer;
    }
    if (prompt_answer_ == u"c") return false;
    // The text goes only once it is safe: a save that was cancelled or failed keeps it.
    if (prompt_answer_ == u"y" && !SaveDocument()) return false;
  }
  SetDocumentName(QString());
  modified_ = false;
  loading_ = true;
  model_.LoadText(QString());
  loading_ = false;
  return true;
}

bool MainWindow::GenerateNewPage() {
  if (modified_ && !CloseDocument()) return false;
  SetDocumentName(untitled_name_);
  const NewPageFields fields = new_page_fields_ ? new_page_fields_() : NewPageFields{};
  model_.LoadText(NewPageLines(fields).join(u'\n'));
  format_ = TextFormat{};
  ShowFormat();
  editor_->setFocus();
  modified_ = false;
  SetStatusPanel(0, QString());
  return true;
}

void MainWindow::StartUp(const QString& argument) {
  modified_ = false;
  SetDocumentName(untitled_name_);
  bool loaded = false;
  if (!argument.isEmpty()) {
    QString error;
    loaded = LoadFile(argument, &error);
    if (loaded) {
      recent_files_.Push(argument);
      SetDocumentName(argument);
      modified_ = false;
    } else {
      desktop_.ShowError(this, QStringLiteral("Cannot open file %1. %2").arg(argument, error));
    }
  }
  if (!loaded) GenerateNewPage();
  editor_->setFocus();
}
