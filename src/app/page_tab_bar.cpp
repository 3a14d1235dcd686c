#include "app/page_tab_bar.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QSignalBlocker>

#include "document/page_list.h"
#include "names/texts.h"

PageTabBar::PageTabBar(PageList& pages, QWidget* parent) : QTabBar(parent), pages_(pages) {
  setObjectName(QStringLiteral("PageTabs"));
  setTabsClosable(true);
  setMovable(true);
  setExpanding(false);
  setDocumentMode(true);
  setElideMode(Qt::ElideMiddle);
  setUsesScrollButtons(true);
  setFocusPolicy(Qt::NoFocus);
  for (int i = 0; i < pages.Count(); ++i) Add(pages.At(i), i);
  connect(&pages, &PageList::Inserted, this, &PageTabBar::Add);
  connect(&pages, &PageList::Removed, this, [this](Page* page) {
    const QSignalBlocker quiet(this);
    removeTab(pages_.IndexOf(page));
  });
  connect(&pages, &PageList::CurrentChanged, this, [this](Page* page) {
    const QSignalBlocker quiet(this);
    setCurrentIndex(pages_.IndexOf(page));
  });
  connect(&pages, &PageList::UntitledNameChanged, this, [this] {
    for (int i = 0; i < pages_.Count(); ++i) ShowTab(pages_.At(i));
  });
  connect(this, &QTabBar::tabMoved, &pages, &PageList::Move);
  connect(this, &QTabBar::currentChanged, this, [this](int index) {
    if (Page* page = pages_.At(index)) emit PageChosen(page);
  });
}

void PageTabBar::Add(Page* page, int index) {
  {
    const QSignalBlocker quiet(this);
    insertTab(index, QString());
  }
  ShowTab(page);
  connect(page, &Page::NameChanged, this, [this, page] { ShowTab(page); });
  connect(page, &Page::ModifiedChanged, this, [this, page] { ShowTab(page); });
}

void PageTabBar::ShowTab(const Page* page) {
  const int index = pages_.IndexOf(page);
  if (index < 0 || index >= count()) return;
  const QString& untitled = pages_.UntitledName();
  const QString shown = pages_.IsNamed(*page) ? page->FileName() : untitled;
  const QString file = QFileInfo(shown).fileName();
  setTabText(index, (file.isEmpty() ? shown : file) +
                        (page->Modified() ? QStringLiteral("*") : QString()));
  setTabToolTip(index, shown);
  // The tab bar's own button speaks the toolkit's language, not the page's.
  if (QWidget* close = tabButton(index, QTabBar::RightSide)) {
    close->setToolTip(Tr(Text::kCloseTab));
    close->setAccessibleName(Tr(Text::kCloseTab));
  }
}

void PageTabBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton) {
    const int index = tabAt(event->position().toPoint());
    if (index >= 0) emit tabCloseRequested(index);
    return;
  }
  QTabBar::mouseReleaseEvent(event);
}

QSize PageTabBar::minimumTabSizeHint(int index) const {
  const QSize full = tabSizeHint(index);
  const int text = fontMetrics().horizontalAdvance(tabText(index));
  const int kept = fontMetrics().averageCharWidth() * kKeptLetters;
  return {full.width() - std::max(0, text - kept), full.height()};
}
