#include <QRegularExpression>
#include <QTest>

#include "names/texts.h"

namespace {

// Latin words a Russian text may hold: names of the program, of encodings and of keys.
bool AllowedLatin(const QString& word) {
  static const QStringList kAllowed = {"Brindlemark", "Windows", "Ctrl", "Shift", "JS", "Emmet"};
  return kAllowed.contains(word) || word == word.toUpper();
}

}  // namespace

// The table of texts: each in both languages, each language in its own letters, and both
// with the same places for values.
class TextsTest : public QObject {
  Q_OBJECT

 private slots:
  void EveryTextHasBothLanguages() {
    static const QRegularExpression kCyrillic(QStringLiteral("\\p{Cyrillic}"));
    static const QRegularExpression kLatinWord(QStringLiteral("[A-Za-z]{2,}"));
    static const QRegularExpression kPlaces(QStringLiteral("%[0-9]"));
    for (int i = 0; i < kTextCount; ++i) {
      const QString english = TextIn(Text(i), Language::kEnglish);
      const QString russian = TextIn(Text(i), Language::kRussian);
      QVERIFY2(!english.isEmpty() && !russian.isEmpty(), qPrintable(QString::number(i)));
      QVERIFY2(!english.contains(kCyrillic), qPrintable(english));
      // File patterns ("*.css") and tags are no words of the language.
      QString words = russian;
      words.remove(QRegularExpression(QStringLiteral("\\*?\\.[A-Za-z]+|<[^>]*>")));
      for (const auto& match : kLatinWord.globalMatch(words)) {
        QVERIFY2(AllowedLatin(match.captured()), qPrintable(russian));
      }
      QStringList english_places, russian_places;
      for (const auto& match : kPlaces.globalMatch(english)) english_places << match.captured();
      for (const auto& match : kPlaces.globalMatch(russian)) russian_places << match.captured();
      english_places.sort();
      russian_places.sort();
      QCOMPARE(russian_places, english_places);
    }
  }

  void BoundTextsFollowTheLanguage() {
    QObject owner;
    QString shown;
    BindText(&owner, [&shown] { shown = Tr(Text::kCancel); });
    QCOMPARE(shown, QString("Cancel"));
    SetLanguage(Language::kRussian);
    QCOMPARE(shown, QString("Отмена"));
    SetLanguage(Language::kEnglish);
    QCOMPARE(shown, QString("Cancel"));
  }
};

QTEST_GUILESS_MAIN(TextsTest)
#include "texts_test.moc"
