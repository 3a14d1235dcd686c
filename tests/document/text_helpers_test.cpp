#include <QTest>

#include "document/text_helpers.h"

class TextHelpersTest : public QObject {
  Q_OBJECT

 private slots:
  void InsertsACharsetDeclaration_data();
  void InsertsACharsetDeclaration();
  void StripsTags_data();
  void StripsTags();
  void StripsManyTagsInLinearTime();
  void LowersCyrillicAndLatin_data();
  void LowersCyrillicAndLatin();
  void FindsPageTitle_data();
  void FindsPageTitle();
  void InsertsAt_data();
  void InsertsAt();
  void ReplacesFirst_data();
  void ReplacesFirst();
  void DeclaresTheCharset_data();
  void DeclaresTheCharset();
};

void TextHelpersTest::StripsTags_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("expected");
  QTest::addRow("no tags") << "plain"
                           << "plain";
  QTest::addRow("empty") << ""
                         << "";
  QTest::addRow("tags inside") << "a <b>bold</b> c"
                               << "a bold c";
  QTest::addRow("lone > takes the start") << "x > y"
                                          << " y";
  QTest::addRow("rest of a tag") << "rest of tag> text <i>"
                                 << " text ";
  QTest::addRow("unclosed < takes the end") << "keep <b unclosed"
                                            << "keep ";
  QTest::addRow("> before < clears kept text") << "ab<c>d>e<f>"
                                               << "e";
  QTest::addRow("only the first round runs without <") << "a>b>c"
                                                       << "b>c";
  QTest::addRow("adjacent tags") << "<a><b></b></a>"
                                 << "";
  QTest::addRow("title line") << "<head><TITLE>My page</TITLE>"
                              << "My page";
}

void TextHelpersTest::StripsTags() {
  QFETCH(QString, text);
  QFETCH(QString, expected);
  QCOMPARE(StripTags(text), expected);
}

void TextHelpersTest::StripsManyTagsInLinearTime() {
  // A megabyte of ">" before one "<": each round would re-scan the line if done naively.
  QString line(1 << 20, u'>');
  line += QStringLiteral("<x");
  QCOMPARE(StripTags(line), QString());
  QString tags;
  for (int i = 0; i < 100000; ++i) tags += QStringLiteral("<b>w");
  QCOMPARE(StripTags(tags), QString(100000, u'w'));
}

void TextHelpersTest::LowersCyrillicAndLatin_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("expected");
  QTest::addRow("latin") << "AbZ"
                         << "abz";
  QTest::addRow("cyrillic А-Я") << "АБВЯ"
                                << "абвя";
  QTest::addRow("Ё") << "ЁЖ"
                     << "ёж";
  QTest::addRow("other cyrillic capitals stay") << "ЎІЄЇЂ"
                                                << "ЎІЄЇЂ";
  QTest::addRow("latin with accents stays") << "ÀÉ"
                                            << "ÀÉ";
  QTest::addRow("tags") << "<TITLE>"
                        << "<title>";
}

void TextHelpersTest::LowersCyrillicAndLatin() {
  QFETCH(QString, text);
  QFETCH(QString, expected);
  QCOMPARE(LowerCaseCyr(text), expected);
}

void TextHelpersTest::FindsPageTitle_data() {
  QTest::addColumn<QStringList>("lines");
  QTest::addColumn<QString>("title");
  QTest::addRow("one line") << QStringList{"<head><TITLE>My page</TITLE>"} << "My page";
  QTest::addRow("title on the next line, spaces kept")
      << QStringList{"<title>", "  Home  </title>"} << "  Home  ";
  QTest::addRow("blank title at the last line") << QStringList{"<title> </title>"} << "";
  QTest::addRow("no title") << QStringList{"<html>", "<body>"} << "";
  QTest::addRow("last title wins") << QStringList{"<title>A</title>", "<title>B</title>"} << "B";
  QTest::addRow("cyrillic title") << QStringList{"<TiTlE>Главная</title>"} << "Главная";
  QTest::addRow("empty") << QStringList{} << "";
  QTest::addRow("blank title line, next line taken")
      << QStringList{"<TITLE>", "<b>Next</b>", "x"} << "Next";
  QTest::addRow("title in the middle") << QStringList{"a", "<title>Mid</title>", "b"} << "Mid";
}

void TextHelpersTest::FindsPageTitle() {
  QFETCH(QStringList, lines);
  QFETCH(QString, title);
  QCOMPARE(PageTitleOf(lines), title);
  QCOMPARE(PageTitleOfText(lines.join('\n')), title);
  QCOMPARE(PageTitleOfText(lines.join('\n') + '\n'), title);
}

void TextHelpersTest::InsertsAt_data() {
  QTest::addColumn<QString>("target");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("position");
  QTest::addColumn<QString>("expected");
  QTest::addRow("position 1") << "abc"
                              << "X" << 1 << "Xabc";
  QTest::addRow("middle") << "abc"
                          << "X" << 2 << "aXbc";
  QTest::addRow("one past the end appends") << "abc"
                                            << "X" << 4 << "abcX";
  QTest::addRow("far past the end changes nothing") << "abc"
                                                    << "X" << 7 << "abc";
  QTest::addRow("position 0 changes nothing") << "abc"
                                              << "X" << 0 << "abc";
  QTest::addRow("empty target, any position") << ""
                                              << "X" << 9 << "X";
}

void TextHelpersTest::InsertsAt() {
  QFETCH(QString, target);
  QFETCH(QString, text);
  QFETCH(int, position);
  QFETCH(QString, expected);
  QCOMPARE(InsertAt(target, text, position), expected);
}

void TextHelpersTest::ReplacesFirst_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("old");
  QTest::addColumn<QString>("replacement");
  QTest::addColumn<QString>("replaced");
  QTest::addColumn<QString>("deleted");
  QTest::addRow("first only") << "a-b-c"
                              << "-"
                              << "+"
                              << "a+b-c"
                              << "ab-c";
  QTest::addRow("at the end") << "abc"
                              << "c"
                              << "XY"
                              << "abXY"
                              << "ab";
  QTest::addRow("whole text") << "abc"
                              << "abc"
                              << "X"
                              << "X"
                              << "";
  QTest::addRow("absent") << "abc"
                          << "z"
                          << "X"
                          << "abc"
                          << "abc";
  QTest::addRow("entity") << "a &nbsp;&nbsp; b"
                          << "&nbsp"
                          << " "
                          << "a  ;&nbsp; b"
                          << "a ;&nbsp; b";
}

void TextHelpersTest::ReplacesFirst() {
  QFETCH(QString, text);
  QFETCH(QString, old);
  QFETCH(QString, replacement);
  QFETCH(QString, replaced);
  QFETCH(QString, deleted);
  QCOMPARE(ReplaceFirst(text, old, replacement), replaced);
  QCOMPARE(DeleteFirst(text, old), deleted);
}

void TextHelpersTest::DeclaresTheCharset_data() {
  QTest::addColumn<QStringList>("lines");
  QTest::addColumn<QStringList>("declared");
  QTest::addRow("meta charset") << QStringList{"<head><META CHARSET=\"windows-1251\">"}
                                << QStringList{"<head><META CHARSET=\"utf-8\">"};
  QTest::addRow("http-equiv")
      << QStringList{"<meta http-equiv=Content-Type content=\"text/html; charset=cp1251\">", "x"}
      << QStringList{"<meta http-equiv=Content-Type content=\"text/html; charset=utf-8\">", "x"};
  QTest::addRow("already utf-8") << QStringList{"<meta charset=UTF-8>"} << QStringList{};
  QTest::addRow("text of the body is left alone")
      << QStringList{"<body>", "<meta charset=koi8-r> is an example"} << QStringList{};
}

void TextHelpersTest::DeclaresTheCharset() {
  QFETCH(QStringList, lines);
  QFETCH(QStringList, declared);
  const std::optional<QStringList> result = WithDeclaredCharset(lines, "utf-8");
  QCOMPARE(result.value_or(QStringList{}), declared);
}

void TextHelpersTest::InsertsACharsetDeclaration_data() {
  QTest::addColumn<QByteArray>("page");
  QTest::addColumn<QByteArray>("declared");
  QTest::addRow("after head") << QByteArray("<html>\r\n<HEAD>\r\n<title>т</title>")
                              << QByteArray(
                                     "<html>\r\n<HEAD>\r\n<meta charset=\"windows-1251\">"
                                     "\r\n<title>т</title>");
  QTest::addRow("header is not head") << QByteArray("<html lang=ru><header>x</header>")
                                      << QByteArray(
                                             "<html lang=ru>\r\n<meta charset=\"windows-1251\">"
                                             "<header>x</header>");
  QTest::addRow("no head nor html")
      << QByteArray("<p>Привет</p>")
      << QByteArray("<meta charset=\"windows-1251\">\r\n<p>Привет</p>");
}

void TextHelpersTest::InsertsACharsetDeclaration() {
  QFETCH(QByteArray, page);
  QFETCH(QByteArray, declared);
  const Insertion insertion = CharsetDeclaration(page, "Windows-1251", "\r\n");
  QCOMPARE(QByteArray(page).insert(insertion.at, insertion.bytes), declared);
}

QTEST_APPLESS_MAIN(TextHelpersTest)
#include "text_helpers_test.moc"
