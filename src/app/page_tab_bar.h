#pragma once

#include <QTabBar>

class Page;
class PageList;

// The tab bar of a page list: a tab per page in the list's order, showing the page's file
// name (the untitled name for a page without one) and "*" while it is modified. Tabs
// dragged elsewhere reorder the list; a middle click asks to close a tab, as in browsers.
class PageTabBar : public QTabBar {
  Q_OBJECT
 public:
  PageTabBar(PageList& pages, QWidget* parent = nullptr);

 signals:
  // The user chose the tab of page.
  void PageChosen(Page* page);

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  // A tab gives up at most the part of its name beyond some twenty letters, cut in the
  // middle: "indent-a.html" and "indent-b.html" stay told apart, and the bar scrolls instead.
  QSize minimumTabSizeHint(int index) const override;

 private:
  void Add(Page* page, int index);
  void ShowTab(const Page* page);

  static constexpr int kKeptLetters = 22;
  PageList& pages_;
};
