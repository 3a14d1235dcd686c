#include "document/page_list.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

QString CleanAbsolute(const QString& path) {
  return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

}  // namespace

PageList::PageList(QObject* parent) : QObject(parent) { current_ = Insert(0); }

PageList::~PageList() = default;

Page* PageList::At(int index) const {
  return index >= 0 && index < Count() ? pages_[size_t(index)].get() : nullptr;
}

int PageList::IndexOf(const Page* page) const {
  for (int i = 0; i < Count(); ++i) {
    if (pages_[size_t(i)].get() == page) return i;
  }
  return -1;
}

Page* PageList::ById(int id) const {
  for (const auto& page : pages_) {
    if (page->Id() == id) return page.get();
  }
  return nullptr;
}

void PageList::SetCurrent(Page* page) {
  if (page == current_ || IndexOf(page) < 0) return;
  Page* previous = current_;
  current_ = page;
  emit CurrentChanged(page, previous);
}

Page* PageList::Insert(int index) {
  index = std::clamp(index, 0, Count());
  auto page = std::make_unique<Page>(next_id_++);
  page->SetFileName(QString());
  Page* added = page.get();
  pages_.insert(pages_.begin() + index, std::move(page));
  emit Inserted(added, index);
  return added;
}

bool PageList::Remove(Page* page) {
  const int index = IndexOf(page);
  if (index < 0 || page == current_ || Count() == 1) return false;
  emit Removed(page);
  pages_.erase(pages_.begin() + index);
  return true;
}

void PageList::Move(int from, int to) {
  if (At(from) == nullptr || At(to) == nullptr || from == to) return;
  auto page = std::move(pages_[size_t(from)]);
  pages_.erase(pages_.begin() + from);
  pages_.insert(pages_.begin() + to, std::move(page));
}

Page* PageList::FindByPath(const QString& path) const {
  if (path.isEmpty()) return nullptr;
  const QString wanted = CleanAbsolute(path);
  for (const auto& page : pages_) {
    if (IsNamed(*page) && CleanAbsolute(page->FileName()) == wanted) return page.get();
  }
  return nullptr;
}

void PageList::FollowMove(const QString& from, const QString& to) {
  for (const auto& page : pages_) {
    if (!IsNamed(*page)) continue;
    const QString clean = CleanAbsolute(page->FileName());
    if (clean == from) {
      page->SetFileName(to);
    } else if (clean.startsWith(from + u'/')) {
      page->SetFileName(to + clean.sliced(from.size()));
    }
  }
}

void PageList::SetUntitledName(const QString& name) {
  for (const auto& page : pages_) {
    if (!page->FileName().isEmpty() && page->FileName() == untitled_name_) {
      page->file_name_ = name;
    }
  }
  untitled_name_ = name;
  emit UntitledNameChanged(name);
}
