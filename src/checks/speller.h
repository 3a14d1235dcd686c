#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QSet>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "html/problems.h"
#include "platform/text_file.h"

class Hunspell;

// The spelling dictionaries of the system (one ".aff" and ".dic" pair per language, loaded
// when first needed) and the user's own words, shared by every page. Safe to use from
// several threads: a page can be checked off the GUI thread while a menu asks for
// suggestions.
class Speller {
 public:
  // dictionary_folder holds the pairs; personal_words is the user's list, one word a line.
  Speller(QString dictionary_folder, QString personal_words);
  ~Speller();
  Speller(const Speller&) = delete;
  Speller& operator=(const Speller&) = delete;

  static QString SystemDictionaryFolder();
  // $XDG_DATA_HOME/brindlemark/words.txt
  static QString DefaultPersonalWords();

  // The dictionary for a language tag ("en", "en-US", "ru_RU"): the same region, else the
  // language's main one; empty when there is none.
  QString DictionaryFor(QStringView language) const;
  // Whether a dictionary knows word, or the user has it. False too when the dictionary
  // cannot be loaded.
  bool Knows(const QString& dictionary, const QString& word);
  QStringList Suggestions(const QString& dictionary, const QString& word);
  // Adds word to the user's list and keeps the list on disk.
  std::optional<IoError> AddWord(const QString& word);
  bool IsPersonal(const QString& word) const;

 private:
  Hunspell* Load(const QString& dictionary);  // under mutex_
  std::string Encoded(const QString& dictionary, const QString& word) const;

  QString folder_;
  QString personal_path_;
  QStringList dictionaries_;  // the names found in folder_
  mutable QMutex mutex_;
  QHash<QString, std::shared_ptr<Hunspell>> loaded_;  // a null entry: could not be loaded
  QHash<QString, bool> utf8_;                         // per loaded dictionary
  QSet<QString> personal_;
  QStringList personal_order_;
};

// The language of text whose page gives none: the interface's ("en", "ru").
QString InterfaceSpellingLanguage();

struct SpellingOptions {
  QString language;       // where the page gives none: the interface's ("en", "ru")
  QSet<QString> ignored;  // words the user chose to ignore in this page
  // Asked now and then: true drops the rest of the check (a newer text waits).
  std::function<bool()> stopped;
};

// The unknown words of a page given as UTF-8, in page order: a warning for each, and a note
// (once per language) where text is in a language without a dictionary.
QList<Problem> CheckSpelling(QByteArrayView utf8, Speller& speller, const SpellingOptions& options);
