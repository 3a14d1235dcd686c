#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "checks/check_runner.h"
#include "document/memory_editor_model.h"

namespace {

QStringList Words(const QList<Problem>& problems) {
  QStringList words;
  for (const Problem& problem : problems) {
    if (problem.source == ProblemSource::kSpelling) words.append(problem.subject);
  }
  return words;
}

// A page of about size bytes whose only unknown word is word, at its end.
QString LargePage(qsizetype size, const QString& word) {
  QString text;
  const QString line = QStringLiteral("<p>the house stands by the river</p>\n");
  while (text.size() < size) text += line;
  return text + QStringLiteral("<p>") + word + QStringLiteral("</p>\n");
}

}  // namespace

// The checks of the current page as core code: no window, the in-memory editor model.
class CheckRunnerTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    speller_ =
        std::make_shared<Speller>(Speller::SystemDictionaryFolder(), dir_.filePath("words.txt"));
  }

  // A small page is checked at once; a large one off this thread, its result arriving later.
  void ChecksSmallPagesNowAndLargeOnesAside_data() {
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<bool>("at_once");
    QTest::addRow("small") << qsizetype(100) << true;
    QTest::addRow("over 1 MiB") << qsizetype(1200000) << false;
  }
  void ChecksSmallPagesNowAndLargeOnesAside() {
    QFETCH(qsizetype, size);
    QFETCH(bool, at_once);
    MemoryEditorModel model;
    model.LoadText(LargePage(size, "xqzzyw"));
    CheckRunner runner(model);
    runner.SetChecks(Spelling());
    QSignalSpy changed(&runner, &CheckRunner::ProblemsChanged);
    runner.CheckNow();
    QCOMPARE(!changed.isEmpty(), at_once);
    QTRY_COMPARE(Words(runner.Problems()), QStringList{"xqzzyw"});
  }

  // A newer text's check wins: an older one still running never overwrites its problems.
  void NewerTextWins() {
    MemoryEditorModel model;
    model.LoadText(LargePage(1200000, "xqzzyw"));
    CheckRunner runner(model);
    runner.SetChecks(Spelling());
    runner.CheckNow();
    model.LoadText(LargePage(1200000, "wvvtqq"));
    runner.CheckNow();
    QTRY_COMPARE(Words(runner.Problems()), QStringList{"wvvtqq"});
    QTest::qWait(200);  // anything late from the first check would have come by now
    QCOMPARE(Words(runner.Problems()), QStringList{"wvvtqq"});
  }

  // Typing schedules a check after a pause; a word dropped leaves the problems at once.
  void ScheduleAndDropWord() {
    MemoryEditorModel model;
    model.LoadText("<p>xqzzyw and wvvtqq</p>");
    CheckRunner runner(model);
    runner.SetChecks(Spelling());
    runner.Schedule();
    QVERIFY(runner.Problems().isEmpty());
    QTRY_COMPARE(Words(runner.Problems()), (QStringList{"xqzzyw", "wvvtqq"}));
    QSignalSpy changed(&runner, &CheckRunner::ProblemsChanged);
    runner.DropWord("xqzzyw");
    QCOMPARE(Words(runner.Problems()), QStringList{"wvvtqq"});
    QCOMPARE(changed.size(), 1);
    runner.DropWord("absent");
    QCOMPARE(changed.size(), 1);
  }

  // Nothing asked for: nothing found, said at once.
  void NothingAskedFindsNothing() {
    MemoryEditorModel model;
    model.LoadText("<p>xqzzyw<b></p>");
    CheckRunner runner(model);
    runner.SetChecks(PageChecks{.html = false, .spelling = false});
    QSignalSpy changed(&runner, &CheckRunner::ProblemsChanged);
    runner.CheckNow();
    QCOMPARE(changed.size(), 1);
    QVERIFY(runner.Problems().isEmpty());
  }

 private:
  PageChecks Spelling() const {
    return PageChecks{.html = false,
                      .spelling = true,
                      .speller = speller_,
                      .spelling_options = {.language = QStringLiteral("en")}};
  }

  QTemporaryDir dir_;
  std::shared_ptr<Speller> speller_;
};

QTEST_GUILESS_MAIN(CheckRunnerTest)
#include "check_runner_test.moc"
