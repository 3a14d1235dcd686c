#include "checks/speller.h"

#include <hunspell.hxx>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

#include "html/html_tokens.h"
#include "html/spelling_words.h"
#include "names/texts.h"
#include "platform/app_paths.h"
#include "platform/file_write.h"

Speller::Speller(QString dictionary_folder, QString personal_words)
    : folder_(std::move(dictionary_folder)), personal_path_(std::move(personal_words)) {
  const QStringList files =
      QDir(folder_).entryList({QStringLiteral("*.dic")}, QDir::Files, QDir::Name);
  for (const QString& file : files) {
    const QString name = file.chopped(4);
    if (QFileInfo::exists(folder_ + u'/' + name + QStringLiteral(".aff"))) {
      dictionaries_.append(name);
    }
  }
  const ReadOutcome read = ReadWholeFile(personal_path_, kTextFileCap);
  if (!read.ok()) return;
  for (const QString& line : QString::fromUtf8(read.bytes).split(u'\n')) {
    const QString word = line.trimmed();
    if (!word.isEmpty() && !personal_.contains(word)) {
      personal_.insert(word);
      personal_order_.append(word);
    }
  }
}

Speller::~Speller() = default;

QString Speller::SystemDictionaryFolder() { return QStringLiteral("/usr/share/hunspell"); }

QString Speller::DefaultPersonalWords() {
  return UserFolder("XDG_DATA_HOME", ".local/share") + QStringLiteral("/brindlemark/words.txt");
}

QString Speller::DictionaryFor(QStringView language) const {
  QString wanted = language.trimmed().toString();
  wanted.replace(u'-', u'_');
  if (wanted.isEmpty()) return {};
  const QString primary = wanted.section(u'_', 0, 0);
  // The same region first, then the language's home region, then English's usual one.
  const QString choices[] = {wanted, primary + u'_' + primary.toUpper(),
                             primary == u"en" ? QStringLiteral("en_US") : QString()};
  for (const QString& choice : choices) {
    for (const QString& name : dictionaries_) {
      if (!choice.isEmpty() && name.compare(choice, Qt::CaseInsensitive) == 0) return name;
    }
  }
  for (const QString& name : dictionaries_) {
    if (name.compare(primary, Qt::CaseInsensitive) == 0 ||
        name.startsWith(primary + u'_', Qt::CaseInsensitive)) {
      return name;
    }
  }
  return {};
}

Hunspell* Speller::Load(const QString& dictionary) {
  const auto found = loaded_.constFind(dictionary);
  if (found != loaded_.constEnd()) return found->get();
  std::shared_ptr<Hunspell> loaded;
  const QString stem = folder_ + u'/' + dictionary;
  if (dictionaries_.contains(dictionary)) {
    loaded =
        std::make_shared<Hunspell>(QFile::encodeName(stem + QStringLiteral(".aff")).constData(),
                                   QFile::encodeName(stem + QStringLiteral(".dic")).constData());
    const QString encoding = QString::fromStdString(loaded->get_dict_encoding()).toUpper();
    // Dictionaries in other single-byte sets than Latin-1 are not read here.
    if (encoding == u"UTF-8" || encoding == u"UTF8") {
      utf8_.insert(dictionary, true);
    } else if (encoding == u"ISO8859-1" || encoding == u"ISO-8859-1") {
      utf8_.insert(dictionary, false);
    } else {
      loaded.reset();
    }
  }
  loaded_.insert(dictionary, loaded);
  return loaded.get();
}

std::string Speller::Encoded(const QString& dictionary, const QString& word) const {
  return utf8_.value(dictionary, true) ? word.toStdString() : word.toLatin1().toStdString();
}

bool Speller::Knows(const QString& dictionary, const QString& word) {
  QMutexLocker lock(&mutex_);
  if (personal_.contains(word)) return true;
  // A word the user keeps in small letters is known capitalised too, as at a sentence start.
  if (word.size() > 1 && word[0].isUpper() && personal_.contains(word.toLower())) return true;
  Hunspell* hunspell = Load(dictionary);
  return hunspell != nullptr && hunspell->spell(Encoded(dictionary, word));
}

QStringList Speller::Suggestions(const QString& dictionary, const QString& word) {
  QMutexLocker lock(&mutex_);
  Hunspell* hunspell = Load(dictionary);
  if (hunspell == nullptr) return {};
  QStringList suggestions;
  const bool utf8 = utf8_.value(dictionary, true);
  for (const std::string& suggestion : hunspell->suggest(Encoded(dictionary, word))) {
    suggestions.append(utf8 ? QString::fromStdString(suggestion)
                            : QString::fromLatin1(suggestion.data(), qsizetype(suggestion.size())));
  }
  return suggestions;
}

bool Speller::IsPersonal(const QString& word) const {
  QMutexLocker lock(&mutex_);
  return personal_.contains(word);
}

std::optional<IoError> Speller::AddWord(const QString& word) {
  QMutexLocker lock(&mutex_);
  const QString kept = word.trimmed();
  if (kept.isEmpty() || personal_.contains(kept)) return std::nullopt;
  QDir().mkpath(QFileInfo(personal_path_).absolutePath());
  const QStringList words = personal_order_ + QStringList{kept};
  if (auto error = WriteWholeFile(personal_path_, (words.join(u'\n') + u'\n').toUtf8())) {
    return error;
  }
  personal_.insert(kept);
  personal_order_ = words;
  return std::nullopt;
}

QString InterfaceSpellingLanguage() {
  return CurrentLanguage() == Language::kRussian ? QStringLiteral("ru") : QStringLiteral("en");
}

QList<Problem> CheckSpelling(QByteArrayView utf8, Speller& speller,
                             const SpellingOptions& options) {
  QList<Problem> problems;
  PositionCounter positions(utf8);
  QHash<QByteArray, QString> dictionaries;  // by the lang in force
  QSet<QByteArray> told;                    // languages already noted as without dictionary
  QHash<QString, bool> known;               // dictionary + '\n' + word
  const QByteArray fallback = options.language.toUtf8();
  qsizetype count = 0;
  bool stopped = false;
  const auto check = [&](const WordToSpell& word, bool report) {
    if (options.ignored.contains(word.word)) return true;
    // Without a lang, the alphabet tells: Cyrillic is Russian, Latin the interface's language
    // (English when that is Russian, whose dictionary knows no Latin word).
    QByteArray language = word.language;
    if (language.isEmpty()) {
      const bool cyrillic = std::any_of(word.word.begin(), word.word.end(), [](QChar c) {
        return c.script() == QChar::Script_Cyrillic;
      });
      language = cyrillic ? QByteArray("ru") : fallback == "ru" ? QByteArray("en") : fallback;
    }
    auto dictionary = dictionaries.constFind(language);
    if (dictionary == dictionaries.constEnd()) {
      dictionary =
          dictionaries.insert(language, speller.DictionaryFor(QString::fromUtf8(language)));
    }
    const auto problem_here = [&] {
      const PositionCounter::Position at = positions.At(word.start);
      return Problem{.line = at.line,
                     .column = at.column,
                     .length = int(CharacterCount(utf8.sliced(word.start, word.end - word.start))),
                     .source = ProblemSource::kSpelling};
    };
    if (dictionary->isEmpty()) {
      if (!report || told.contains(language)) return true;
      told.insert(language);
      Problem problem = problem_here();
      problem.severity = Severity::kNote;
      problem.message = Tr(Text::kNoDictionary).arg(QString::fromUtf8(language));
      problem.kind = QStringLiteral("no-dictionary");
      problems.append(problem);
      return true;
    }
    // A typographic apostrophe ("commit’s", "&#8217;") is the dictionaries' plain one.
    QString spelled = word.word;
    spelled.replace(u'\u2019', u'\'');
    const QString key = *dictionary + u'\n' + spelled;
    auto verdict = known.constFind(key);
    if (verdict == known.constEnd()) {
      bool knows = speller.Knows(*dictionary, spelled);
      // A possessive of a known word ("commit's"), which the dictionaries do not list.
      if (!knows && spelled.endsWith(u"'s") && spelled.size() > 3) {
        knows = speller.Knows(*dictionary, spelled.chopped(2));
      }
      // A hyphenated form of a word known joined ("pre-dates", "co-operate").
      if (!knows && !word.parts.empty()) {
        knows = speller.Knows(*dictionary, QString(spelled).remove(u'-'));
      }
      verdict = known.insert(key, knows);
    }
    if (*verdict || !report) return *verdict;
    Problem problem = problem_here();
    problem.severity = Severity::kWarning;
    problem.message = Tr(Text::kUnknownWord).arg(word.word, *dictionary);
    problem.kind = QStringLiteral("spelling");
    problem.subject = word.word;
    problem.language = *dictionary;
    problems.append(problem);
    return false;
  };
  ForEachWordToSpell(utf8, [&](const WordToSpell& word) {
    if (stopped || (options.stopped && ++count % 4096 == 0 && (stopped = options.stopped()))) {
      return;
    }
    // A hyphenated word the dictionary knows whole is right; else each part is checked.
    if (word.parts.empty()) {
      check(word, true);
    } else if (!check(word, false)) {
      for (const WordToSpell& part : word.parts) check(part, true);
    }
  });
  return problems;
}
