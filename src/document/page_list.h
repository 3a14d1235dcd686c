#pragma once

#include <QObject>
#include <memory>
#include <vector>

#include "document/page.h"

// The open pages in tab order. The list owns them and always holds at least one; the
// current page, the one the editor shows, is an entry like any other.
class PageList : public QObject {
  Q_OBJECT
 public:
  // Starts with one page, current.
  explicit PageList(QObject* parent = nullptr);
  ~PageList() override;

  int Count() const { return int(pages_.size()); }
  Page* At(int index) const;            // nullptr out of range
  int IndexOf(const Page* page) const;  // -1 when not listed
  Page* ById(int id) const;
  Page* Current() const { return current_; }
  // Emits CurrentChanged when page is another listed page.
  void SetCurrent(Page* page);

  // A new untitled page at index (clamped to the list); not made current.
  Page* Insert(int index);
  // Takes page out and deletes it; the last page and the current one stay.
  bool Remove(Page* page);
  // Follows a tab dragged from one place to another.
  void Move(int from, int to);

  // The page holding the file at path (compared absolute and clean), or nullptr.
  Page* FindByPath(const QString& path) const;
  // Files were moved (from and to absolute and clean): pages of files under from take
  // their new names.
  void FollowMove(const QString& from, const QString& to);

  // The name an untitled page carries. Pages still untitled take a new one quietly: a
  // caption keeps the old name until its page is named again; UntitledNameChanged says so.
  const QString& UntitledName() const { return untitled_name_; }
  void SetUntitledName(const QString& name);
  bool IsNamed(const Page& page) const {
    return !page.FileName().isEmpty() && page.FileName() != untitled_name_;
  }

 signals:
  void Inserted(Page* page, int index);
  void Removed(Page* page);  // still alive while told
  void CurrentChanged(Page* current, Page* previous);
  void UntitledNameChanged(const QString& name);

 private:
  std::vector<std::unique_ptr<Page>> pages_;
  Page* current_ = nullptr;
  int next_id_ = 0;
  QString untitled_name_;
};
