#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include "html/entities.h"

// Character references as browsers read them, against the HTML standard's own list (as
// Python keeps it): every name, the legacy forms without ';', and the numeric rules.
class EntitiesTest : public QObject {
  Q_OBJECT

 private slots:
  void EveryNamedReferenceOfTheStandard();
  void Decodes_data();
  void Decodes();
};

void EntitiesTest::EveryNamedReferenceOfTheStandard() {
  QProcess python;
  python.start("python3",
               {"-c", "import html.entities, json; print(json.dumps(html.entities.html5))"});
  QVERIFY(python.waitForFinished());
  const QJsonObject standard = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
  QCOMPARE(standard.size(), 2231);
  for (auto it = standard.begin(); it != standard.end(); ++it) {
    const QString reference = '&' + it.key();
    QCOMPARE(DecodeReferences(reference), it.value().toString());
    // A name without ';' that the standard does not take stays as written.
    if (it.key().endsWith(';') && !standard.contains(it.key().chopped(1))) {
      const QString bare = reference.chopped(1) + ' ';
      QVERIFY2(DecodeReferences(bare) != it.value().toString() + ' ', qPrintable(bare));
    }
  }
}

void EntitiesTest::Decodes_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("decoded");
  QTest::addRow("beyond HTML 4") << "&check; &rarr; &NotEqualTilde;"
                                 << "\u2713 \u2192 \u2242\u0338";
  QTest::addRow("lang and rang as HTML5 has them") << "&lang;&rang;"
                                                   << "\u27E8\u27E9";
  QTest::addRow("legacy form, the longest that fits") << "&notit; &copy2"
                                                      << "\u00ACit; \u00A92";
  QTest::addRow("numeric replacements") << "&#x80;&#0;&#xD800;&#x110000;&#65;"
                                        << "\u20AC\uFFFD\uFFFD\uFFFDA";
  QTest::addRow("no reference") << "&nonsense; & &#;"
                                << "&nonsense; & &#;";
}

void EntitiesTest::Decodes() {
  QFETCH(QString, text);
  QFETCH(QString, decoded);
  QCOMPARE(DecodeReferences(text), decoded);
}

QTEST_GUILESS_MAIN(EntitiesTest)
#include "entities_test.moc"
