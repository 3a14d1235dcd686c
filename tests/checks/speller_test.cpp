#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "checks/speller.h"

// The spell check of pages: prose and the attributes people read are checked in the
// language the page gives; markup, code, addresses and names are not.
class SpellerTest : public QObject {
  Q_OBJECT

 private slots:
  void Pages_data();
  void Pages();
  void LanguageTags_data();
  void LanguageTags();
  void PersonalWords();
};

namespace {

Speller& Shared() {
  static QTemporaryDir folder;
  static Speller speller(Speller::SystemDictionaryFolder(), folder.filePath("words.txt"));
  return speller;
}

}  // namespace

void SpellerTest::Pages_data() {
  QTest::addColumn<QByteArray>("page");
  QTest::addColumn<QStringList>("ignored");
  QTest::addColumn<QStringList>("expected");  // "line:column:length word|kind"
  QTest::addRow("prose") << QByteArray("<p>This is a smple page.</p>") << QStringList()
                         << QStringList{"1:14:5 smple"};
  QTest::addRow("skipped contexts")
      << QByteArray(
             "<pre>wrng</pre><code>wrng</code><kbd>wrng</kbd><samp>wrng</samp>"
             "<var>wrng</var><script>wrng = 1</script><style>wrng{}</style>"
             "<p spellcheck=\"false\">wrng <b>wrng</b></p>"
             "<p class=\"wrng\" data-wrng=\"wrng\"><wrng>fine</wrng></p>"
             "<div spellcheck=false><p spellcheck=true>wrng</p></div>")
      << QStringList() << QStringList{"1:263:4 wrng"};
  QTest::addRow("addresses, names, markers")
      << QByteArray(
             "<p>See http://exmple.com/wrng, wrng@exmple.org, wrng.htm, C:\\wrng\\x, "
             "www.wrng.com, abc123 wrng_x 2wrng, HTML CSS iPhone <,,pattern,,> fine</p>")
      << QStringList() << QStringList();
  QTest::addRow("attributes")
      << QByteArray(
             "<img alt=\"a smple picture\" title='nothing wrng' src=\"wrng.png\">\n"
             "<input placeholder=\"Your nmae\" value=\"wrng\" aria-label=\"Serch\">\n"
             "<meta name=\"Description\" content=\"A smple site\">"
             "<meta name=\"keywords\" content=\"wrng\">")
      << QStringList()
      << QStringList{"1:13:5 smple", "1:43:4 wrng", "2:26:4 nmae", "2:57:5 Serch", "3:37:5 smple"};
  QTest::addRow("references decoded")
      << QByteArray("<p>Tr&#101;e and sm&ouml;ple it&#x2019;s don&apos;t</p>") << QStringList()
      << QStringList{"1:18:11 smöple"};
  QTest::addRow("Russian and English")
      << QByteArray(
             "<html lang=\"ru-RU\"><p>Это простй текст.</p>\n"
             "<p lang=\"en\">An Englsh line</p><p>Ещё однна</p></html>")
      << QStringList() << QStringList{"1:27:6 простй", "2:17:6 Englsh", "2:39:5 однна"};
  QTest::addRow("language without dictionary, once")
      << QByteArray("<p lang=\"xx\">Qwerty asdf</p><p lang=\"xx\">zxcv</p>") << QStringList()
      << QStringList{"1:14:6 no-dictionary"};
  QTest::addRow("comments and lines")
      << QByteArray("<!-- a smple note -->\r\n<p>\n line two has a mistke</p>") << QStringList()
      << QStringList{"1:8:5 smple", "3:17:6 mistke"};
  QTest::addRow("ignored in the page")
      << QByteArray("<p>smple mistke</p>") << QStringList{"smple"} << QStringList{"1:10:6 mistke"};
  QTest::addRow("without lang, the alphabet picks the dictionary")
      << QByteArray("<p>Это простой текст with English and a mistke, и ашибка.</p>")
      << QStringList() << QStringList{"1:41:6 mistke", "1:51:6 ашибка"};
  QTest::addRow("hyphenated words whole, else by part")
      << QByteArray("<p>It pre-dates the well-known x-ray, but not the smple-page.</p>")
      << QStringList() << QStringList{"1:51:5 smple"};
  QTest::addRow("typographic apostrophes")
      << QByteArray("<p>The commit&#8217;s author didn’t stop</p>") << QStringList()
      << QStringList();
  QTest::addRow("unclosed paragraphs keep their own language")
      << QByteArray("<body lang=en><p lang=ru>Прывет<p>Helo</body>") << QStringList()
      << QStringList{"1:26:6 Прывет", "1:35:4 Helo"};
}

void SpellerTest::Pages() {
  QFETCH(QByteArray, page);
  QFETCH(QStringList, ignored);
  QFETCH(QStringList, expected);
  const QList<Problem> problems = CheckSpelling(
      page, Shared(), {QStringLiteral("en"), QSet<QString>(ignored.begin(), ignored.end())});
  QStringList found;
  for (const Problem& problem : problems) {
    QCOMPARE(problem.source, ProblemSource::kSpelling);
    const QString what = problem.kind == "spelling"
                             ? problem.message.section(u'“', 1).section(u'”', 0, 0)
                             : problem.kind;
    found << QString("%1:%2:%3 %4")
                 .arg(problem.line)
                 .arg(problem.column)
                 .arg(problem.length)
                 .arg(what);
  }
  QCOMPARE(found, expected);
}

void SpellerTest::LanguageTags_data() {
  QTest::addColumn<QString>("tag");
  QTest::addColumn<QString>("dictionary");
  QTest::addRow("language") << "en"
                            << "en_US";
  QTest::addRow("region") << "en-US"
                          << "en_US";
  QTest::addRow("other region") << "en-GB"
                                << "en_US";
  QTest::addRow("underscore, capitals") << "RU_ru"
                                        << "ru_RU";
  QTest::addRow("none") << "de"
                        << "";
  QTest::addRow("empty") << ""
                         << "";
}

void SpellerTest::LanguageTags() {
  QFETCH(QString, tag);
  QFETCH(QString, dictionary);
  QCOMPARE(Shared().DictionaryFor(tag), dictionary);
}

void SpellerTest::PersonalWords() {
  QTemporaryDir folder;
  const QString list = folder.filePath("brindlemark/words.txt");
  {
    Speller speller(Speller::SystemDictionaryFolder(), list);
    QVERIFY(!speller.Knows("en_US", "Brindlemark"));
    QVERIFY(!speller.AddWord("Brindlemark"));
    QVERIFY(!speller.AddWord("qwertz"));
    QVERIFY(speller.Knows("en_US", "Brindlemark"));
    QVERIFY(speller.Knows("ru_RU", "Qwertz"));  // at a sentence's start
  }
  QFile file(list);
  QVERIFY(file.open(QIODevice::ReadOnly));
  QCOMPARE(file.readAll(), QByteArray("Brindlemark\nqwertz\n"));
  Speller again(Speller::SystemDictionaryFolder(), list);
  QVERIFY(again.Knows("en_US", "qwertz"));
  QVERIFY(again.Suggestions("en_US", "smple").contains("simple"));
}

QTEST_GUILESS_MAIN(SpellerTest)
#include "speller_test.moc"
