#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <deque>

#include "document/document_session.h"
#include "document/memory_editor_model.h"
#include "platform/recent_files.h"
#include "support/files.h"
#include "support/scripted_desktop.h"

namespace {

// Answers the session's questions; what the window would show is read off the page.
class RecordingView : public DocumentView {
 public:
  std::deque<std::optional<QString>> prompt_answers;

  QString SelectedFilePath() const override { return QString(); }
  std::optional<QString> AskSaveChanges() override { return TakeAnswer(prompt_answers); }
  QWidget* DialogParent() override { return nullptr; }
};

}  // namespace

// The document flows over the in-memory editor model: no window needed.
class DocumentSessionTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", dir_->filePath("config").toUtf8());
    store_ = std::make_unique<RecentFilesStore>(dir_->filePath("config"));
    pages_ = std::make_unique<PageList>();
    session_ = std::make_unique<DocumentSession>(*pages_, editor_, desktop_, *store_, view_);
    marks_.clear();
    connect(pages_->Current(), &Page::ModifiedChanged, this,
            [this](bool modified) { marks_.append(modified); });
    session_->StartUp(QString(), NewPageFields{});
  }

  void OpenEditSave() {
    QVERIFY(WriteBytesTo(Path("page.htm"), "<p>one\r\n<p>two\r\n"));
    desktop_.open_answers.push_back(Desktop::FileChoice{Path("page.htm"), 1});
    session_->OpenDocument(DocumentSession::Source::kDialog);
    QCOMPARE(session_->FileName(), Path("page.htm"));
    QCOMPARE(editor_.Line(1), QString("<p>two"));
    Edit([&] { editor_.SetLine(0, "<p>first"); });
    QCOMPARE(marks_.value(marks_.size() - 1), true);
    QVERIFY(session_->SaveDocument());
    QCOMPARE(ReadBytes(Path("page.htm")), QByteArray("<p>first\r\n<p>two\r\n"));
    QCOMPARE(marks_.value(marks_.size() - 1), false);
    QVERIFY(session_->Saved());
  }

  void SaveAsNamesTheNewPage() {
    QCOMPARE(session_->FileName(), session_->UntitledName());
    desktop_.save_answers.push_back(Desktop::FileChoice{Path("new"), 1});
    QVERIFY(session_->SaveDocument());  // an untitled page asks for a name
    QCOMPARE(session_->FileName(), Path("new.htm"));
    QVERIFY(QFile::exists(Path("new.htm")));
    QVERIFY(!session_->Modified());
  }

  // The save-changes prompt before closing an edited page: Cancel keeps everything, No
  // drops the edits, Yes saves them first.
  void CloseAsksAboutChanges_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QByteArray>("on_disk");
    QTest::addRow("cancel") << "c" << false << QByteArray("<p>\r\n");
    QTest::addRow("no") << "n" << true << QByteArray("<p>\r\n");
    QTest::addRow("yes") << "y" << true << QByteArray("x<p>\r\n");
  }
  void CloseAsksAboutChanges() {
    QFETCH(QString, answer);
    QFETCH(bool, closed);
    QFETCH(QByteArray, on_disk);
    QVERIFY(WriteBytesTo(Path("page.htm"), "<p>\r\n"));
    desktop_.open_answers.push_back(Desktop::FileChoice{Path("page.htm"), 1});
    session_->OpenDocument(DocumentSession::Source::kDialog);
    Edit([&] { editor_.SetLine(0, "x<p>"); });
    view_.prompt_answers.push_back(answer);
    QCOMPARE(session_->CloseDocument(), closed);
    QCOMPARE(ReadBytes(Path("page.htm")), on_disk);
    QCOMPARE(session_->FileName() == Path("page.htm"), !closed);
  }

  // Another program's version: reloaded when nothing was edited; kept edits still may not
  // overwrite it without a question.
  void ChangedOnDisk() {
    QVERIFY(WriteBytesTo(Path("page.htm"), "<p>one"));
    desktop_.open_answers.push_back(Desktop::FileChoice{Path("page.htm"), 1});
    session_->OpenDocument(DocumentSession::Source::kDialog);
    QVERIFY(WriteBytesTo(Path("page.htm"), "<p>elsewhere, longer"));
    session_->CheckDiskChanges();
    QCOMPARE(editor_.Text(), QString("<p>elsewhere, longer"));
    Edit([&] { editor_.SetLine(0, "mine"); });
    QVERIFY(WriteBytesTo(Path("page.htm"), "<p>third version, longer still"));
    session_->CheckDiskChanges();  // answered No: the edits stay
    QCOMPARE(editor_.Text(), QString("mine"));
    QVERIFY(!session_->SaveDocument());  // asked, answered No
    QCOMPARE(ReadBytes(Path("page.htm")), QByteArray("<p>third version, longer still"));
    desktop_.yes_no_answers.push_back(true);
    QVERIFY(session_->SaveDocument());
    QCOMPARE(ReadBytes(Path("page.htm")), QByteArray("mine"));
  }

 private:
  QString Path(const QString& name) const { return dir_->filePath(name); }
  // An edit as the window reports it.
  template <typename F>
  void Edit(F edit) {
    edit();
    session_->OnTextChanged();
  }

  std::unique_ptr<QTemporaryDir> dir_;
  MemoryEditorModel editor_;
  ScriptedDesktop desktop_;
  RecordingView view_;
  std::unique_ptr<RecentFilesStore> store_;
  std::unique_ptr<PageList> pages_;
  std::unique_ptr<DocumentSession> session_;
  QList<bool> marks_;  // the modified marks the page announced
};

QTEST_GUILESS_MAIN(DocumentSessionTest)
#include "document_session_test.moc"
