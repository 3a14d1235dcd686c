#include "document/page.h"

Page::Page(int id, QObject* parent) : QObject(parent), id_(id) {}

Page::~Page() = default;

void Page::SetFileName(const QString& name) {
  file_name_ = name;
  emit NameChanged(name);
}

void Page::SetModified(bool modified) {
  modified_ = modified;
  emit ModifiedChanged(modified);
}

void Page::SetFormat(const TextFormat& format) {
  format_ = format;
  emit FormatChanged(format_);
}

void Page::SetTitle(const QString& title) {
  title_ = title;
  emit TitleChanged(title);
}

void Page::SetLongestLine(qsizetype bytes) {
  longest_line_ = bytes;
  emit LongestLineChanged(bytes);
}

std::optional<FileStamp> Page::ChangedOnDisk() const {
  if (!disk_state_.exists) return std::nullopt;
  const FileStamp now = StampOf(file_name_);
  if (!now.exists || now == disk_state_ || now == kept_over_) return std::nullopt;
  return now;
}
