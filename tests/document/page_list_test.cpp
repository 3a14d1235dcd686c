#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "document/document_session.h"
#include "document/memory_editor_model.h"
#include "document/page_list.h"
#include "platform/recent_files.h"
#include "support/files.h"
#include "support/scripted_desktop.h"

namespace {

class NoQuestions : public DocumentView {
 public:
  QString SelectedFilePath() const override { return QString(); }
  std::optional<QString> AskSaveChanges() override { return QStringLiteral("n"); }
  QWidget* DialogParent() override { return nullptr; }
};

QList<int> Ids(const PageList& pages) {
  QList<int> ids;
  for (int i = 0; i < pages.Count(); ++i) ids.append(pages.At(i)->Id());
  return ids;
}

}  // namespace

// The open pages as a list, without a window.
class PageListTest : public QObject {
  Q_OBJECT

 private slots:
  void InsertRemoveAndReorder() {
    PageList pages;
    QSignalSpy removed(&pages, &PageList::Removed);
    Page* first = pages.Current();
    Page* second = pages.Insert(1);
    Page* middle = pages.Insert(1);
    QCOMPARE(Ids(pages), (QList<int>{first->Id(), middle->Id(), second->Id()}));
    QCOMPARE(pages.Current(), first);  // inserting does not show
    // The current page and the last one stay.
    QVERIFY(!pages.Remove(first));
    pages.Move(2, 0);  // a tab dragged to the front
    QCOMPARE(Ids(pages), (QList<int>{second->Id(), first->Id(), middle->Id()}));
    QCOMPARE(pages.ById(middle->Id()), middle);
    QVERIFY(pages.Remove(middle));
    QCOMPARE(removed.size(), 1);
    QVERIFY(pages.Remove(second));
    QVERIFY(!pages.Remove(first));
    QCOMPARE(pages.Count(), 1);
    QCOMPARE(pages.IndexOf(first), 0);
    pages.Move(0, 5);  // out of range: nothing moves
    QCOMPARE(pages.At(0), first);
  }

  void CurrentChangesOnlyToAListedPage() {
    PageList pages;
    QSignalSpy changed(&pages, &PageList::CurrentChanged);
    Page* other = pages.Insert(1);
    pages.SetCurrent(pages.Current());
    QCOMPARE(changed.size(), 0);
    Page stranger(99);
    pages.SetCurrent(&stranger);
    QCOMPARE(changed.size(), 0);
    pages.SetCurrent(other);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(pages.Current(), other);
  }

  // A page is found by its file however the path is written; untitled pages never are.
  void FindByPath() {
    QTemporaryDir dir;
    PageList pages;
    pages.SetUntitledName("Untitled");
    pages.Current()->SetFileName("Untitled");
    Page* page = pages.Insert(1);
    page->SetFileName(dir.filePath("site/page.htm"));
    QCOMPARE(pages.FindByPath(dir.filePath("site/./sub/../page.htm")), page);
    QCOMPARE(pages.FindByPath(dir.filePath("site/other.htm")), nullptr);
    QCOMPARE(pages.FindByPath("Untitled"), nullptr);
    QCOMPARE(pages.FindByPath(QString()), nullptr);
  }

  // A move renames the pages of the moved file or of files under the moved folder.
  void RenameOnMove_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("names");
    QTest::addRow("the file") << "/s/a.htm"
                              << "/s/b.htm"
                              << QStringList{"/s/b.htm", "/s/ab.htm", "/s/d/c.htm", "/s2/a.htm"};
    QTest::addRow("a folder") << "/s/d"
                              << "/s/e"
                              << QStringList{"/s/a.htm", "/s/ab.htm", "/s/e/c.htm", "/s2/a.htm"};
    QTest::addRow("the site") << "/s"
                              << "/t"
                              << QStringList{"/t/a.htm", "/t/ab.htm", "/t/d/c.htm", "/s2/a.htm"};
  }
  void RenameOnMove() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, names);
    PageList pages;
    pages.SetUntitledName("Untitled");
    const QStringList open{"/s/a.htm", "/s/ab.htm", "/s/d/c.htm", "/s2/a.htm"};
    pages.Current()->SetFileName(open[0]);
    for (qsizetype i = 1; i < open.size(); ++i) pages.Insert(int(i))->SetFileName(open[i]);
    Page* untitled = pages.Insert(pages.Count());
    untitled->SetFileName("Untitled");
    QSignalSpy renamed(pages.At(0), &Page::NameChanged);
    pages.FollowMove(from, to);
    QStringList now;
    for (int i = 0; i < int(open.size()); ++i) now.append(pages.At(i)->FileName());
    QCOMPARE(now, names);
    QCOMPARE(untitled->FileName(), QString("Untitled"));
    QCOMPARE(renamed.size(), names[0] == open[0] ? 0 : 1);
  }

  // Untitled pages take the interface's new name without announcing it.
  void UntitledPagesTakeTheNewName() {
    PageList pages;
    pages.SetUntitledName("Untitled");
    pages.Current()->SetFileName("Untitled");
    Page* named = pages.Insert(1);
    named->SetFileName("/s/Untitled");
    QSignalSpy renamed(pages.Current(), &Page::NameChanged);
    QSignalSpy told(&pages, &PageList::UntitledNameChanged);
    pages.SetUntitledName(QString::fromUtf8("Без имени"));
    QCOMPARE(pages.Current()->FileName(), QString::fromUtf8("Без имени"));
    QCOMPARE(named->FileName(), QString("/s/Untitled"));
    QCOMPARE(renamed.size(), 0);
    QCOMPARE(told.size(), 1);
    QVERIFY(!pages.IsNamed(*pages.Current()));
  }

  // The session acts on whichever page is current; the others keep their own state.
  void SessionOpensIntoTheCurrentPageOnly() {
    QTemporaryDir dir;
    QVERIFY(WriteBytesTo(dir.filePath("a.htm"), "<p>a\r\n"));
    QVERIFY(WriteBytesTo(dir.filePath("b.htm"), "<p>b\n"));
    RecentFilesStore store(dir.filePath("config"));
    MemoryEditorModel editor;
    ScriptedDesktop desktop;
    NoQuestions questions;
    PageList pages;
    DocumentSession session(pages, editor, desktop, store, questions);
    session.StartUp(QString(), NewPageFields{});
    Page* first = pages.Current();
    QVERIFY(session.OpenFile(dir.filePath("a.htm")));
    editor.SetLine(0, "<p>edited");
    session.OnTextChanged();
    Page* second = pages.Insert(1);
    pages.SetCurrent(second);
    QVERIFY(session.OpenFile(dir.filePath("b.htm")));
    QCOMPARE(second->FileName(), dir.filePath("b.htm"));
    QCOMPARE(second->Format().line_end, LineEnd::kLf);
    QVERIFY(!second->Modified());
    QCOMPARE(first->FileName(), dir.filePath("a.htm"));
    QCOMPARE(first->Format().line_end, LineEnd::kCrLf);
    QVERIFY(first->Modified());
    QCOMPARE(pages.FindByPath(dir.filePath("a.htm")), first);
  }
};

QTEST_GUILESS_MAIN(PageListTest)
#include "page_list_test.moc"
