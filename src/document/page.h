#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

#include "platform/text_file.h"
#include "platform/text_format.h"

// What the editing component keeps of a page's text while another page is shown. The page
// owns it; only the component knows what is inside.
class PageText {
 public:
  virtual ~PageText() = default;
};

// One open page: its file, its flags and format, and its text. Whatever shows a page (the
// caption, the tab, the status bar) listens to its signals, which fire on every set.
class Page : public QObject {
  Q_OBJECT
 public:
  explicit Page(int id, QObject* parent = nullptr);
  ~Page() override;

  // Stable for the page's life: recovery copies and tabs are keyed by it.
  int Id() const { return id_; }

  const QString& FileName() const { return file_name_; }
  void SetFileName(const QString& name);
  bool Modified() const { return modified_; }
  void SetModified(bool modified);
  const TextFormat& Format() const { return format_; }
  void SetFormat(const TextFormat& format);
  const QString& Title() const { return title_; }
  void SetTitle(const QString& title);
  // The longest line in bytes, as read: a minified page is one line of megabytes, which a
  // view lays out differently. Set before the text is shown.
  qsizetype LongestLine() const { return longest_line_; }
  void SetLongestLine(qsizetype bytes);

  // Saved since the last open or edit.
  bool Saved() const { return saved_; }
  void SetSaved(bool saved) { saved_ = saved; }
  // The page as read, written back while the text is at the save point of that read.
  const QByteArray& PristineBytes() const { return pristine_bytes_; }
  void SetPristineBytes(const QByteArray& bytes) { pristine_bytes_ = bytes; }
  // The named page's file as last read or written.
  const FileStamp& DiskState() const { return disk_state_; }
  void SetDiskState(const FileStamp& stamp) { disk_state_ = stamp; }
  // A version on disk the user chose not to reload: not asked about again, yet a save over
  // it still asks, since the disk state stays the one the text came from.
  const FileStamp& KeptOver() const { return kept_over_; }
  void SetKeptOver(const FileStamp& stamp) { kept_over_ = stamp; }
  // The text was recovered, not read: the editor's save point is not the file's text.
  bool Recovered() const { return recovered_; }
  void SetRecovered(bool recovered) { recovered_ = recovered; }

  // The file's state when it was changed on disk since it was read or saved, in a way the
  // disk check asks about or reloads; nothing otherwise.
  std::optional<FileStamp> ChangedOnDisk() const;

  PageText* Text() const { return text_.get(); }
  void SetText(std::unique_ptr<PageText> text) { text_ = std::move(text); }

 signals:
  void NameChanged(const QString& name);
  void ModifiedChanged(bool modified);
  void FormatChanged(const TextFormat& format);
  void TitleChanged(const QString& title);
  void LongestLineChanged(qsizetype bytes);

 private:
  friend class PageList;  // renames untitled pages quietly

  const int id_;
  QString file_name_;
  bool modified_ = false;
  TextFormat format_;
  QString title_;
  qsizetype longest_line_ = 0;
  bool saved_ = false;
  QByteArray pristine_bytes_;
  FileStamp disk_state_;
  FileStamp kept_over_;
  bool recovered_ = false;
  std::unique_ptr<PageText> text_;
};
