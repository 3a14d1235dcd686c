#include <QTest>

#include "html/html_names.h"
#include "html/html_structure.h"
#include "tags/tag_catalogue.h"

// Places in a text are marked with "|" (the caret), which is taken out before use.
namespace {

std::pair<QByteArray, qsizetype> Marked(QByteArray text) {
  const qsizetype at = text.indexOf('|');
  text.remove(at, 1);
  return {text, at};
}

}  // namespace

class HtmlStructureTest : public QObject {
  Q_OBJECT

 private slots:
  void FindsTheTagPartner_data();
  void FindsTheTagPartner();
  void FindsTheInnermostOpenElement_data();
  void FindsTheInnermostOpenElement();
  void KnowsWhatIsBeingTyped_data();
  void KnowsWhatIsBeingTyped();
  void OffersNamesForTheContext();
  void BalancesOutwardAndInward_data();
  void BalancesOutwardAndInward();
};

void HtmlStructureTest::FindsTheTagPartner_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<QByteArray>("partner");  // text from the partner's '<', or empty
  QTest::addRow("start tag across lines")
      << QByteArray("<di|v>\n<p>x</p>\n</div>") << QByteArray("</div>");
  QTest::addRow("end tag back to start")
      << QByteArray("<div a='>'>\n</d|iv>") << QByteArray("<div a='>'>\n</div>");
  QTest::addRow("nested of the same name")
      << QByteArray("<ul|><li><ul><li></ul></ul>") << QByteArray("</ul>");
  QTest::addRow("inner of nested")
      << QByteArray("<ul><li><ul><li></u|l></ul>") << QByteArray("<ul><li></ul></ul>");
  QTest::addRow("caret right after the '>'") << QByteArray("<b>|x</b>") << QByteArray("</b>");
  QTest::addRow("case differs") << QByteArray("<P|>x</p>") << QByteArray("</p>");
  QTest::addRow("comment and script skipped")
      << QByteArray("<div|><!-- </div> --><script>'</div>'</script></div>") << QByteArray("</div>");
  QTest::addRow("quoted '>' in the start tag")
      << QByteArray("<a title=\"x > y\">|link</a>") << QByteArray("</a>");
  QTest::addRow("script text that writes a script")
      << QByteArray("<script>document.write('<script src=x></scr' + 'ipt>');</sc|ript>")
      << QByteArray("<script>document.write('<script src=x></scr' + 'ipt>');</script>");
  QTest::addRow("comment end inside a script")
      << QByteArray("<script> --> x </scri|pt>") << QByteArray("<script> --> x </script>");
  QTest::addRow("comment opened twice") << QByteArray("<A><!-- <a href=\"x\"> <!-- note --></A|>")
                                        << QByteArray("<A><!-- <a href=\"x\"> <!-- note --></A>");
  QTest::addRow("script passed backwards") << QByteArray("<p><script>'<p>'</script></p|>")
                                           << QByteArray("<p><script>'<p>'</script></p>");
  QTest::addRow("a script's <!-- is not the comment's start")
      << QByteArray("<section a><script> <!-- </script><section b><!-- x --></sectio|n>")
      << QByteArray("<section b><!-- x --></section>");
  QTest::addRow("void element has none") << QByteArray("<b|r><br>") << QByteArray();
  QTest::addRow("unmatched") << QByteArray("<di|v><p></p>") << QByteArray();
  QTest::addRow("caret in text") << QByteArray("<b>x|y</b>") << QByteArray();
}

void HtmlStructureTest::FindsTheTagPartner() {
  QFETCH(QByteArray, text);
  QFETCH(QByteArray, partner);
  const auto [page, caret] = Marked(text);
  const std::optional<TagSpan> tag = TagAt(page, caret);
  const std::optional<TagSpan> other = tag ? PartnerOf(page, *tag) : std::nullopt;
  QCOMPARE(other ? page.mid(other->start) : QByteArray(), partner);
  if (other) QCOMPARE(PartnerOf(page, *other), tag);  // and back again
}

void HtmlStructureTest::FindsTheInnermostOpenElement_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<QByteArray>("open");
  QTest::addRow("nested") << QByteArray("<html><body><div><p>x|") << QByteArray("p");
  QTest::addRow("closed ones gone") << QByteArray("<div><p>x</p>|") << QByteArray("div");
  QTest::addRow("an end tag closes what it encloses")
      << QByteArray("<div><ul><li>a</div>|") << QByteArray();
  QTest::addRow("void and self-closing do not open")
      << QByteArray("<td><br><img src=a><x/>|") << QByteArray("td");
  QTest::addRow("stray end tag ignored") << QByteArray("<div></span>|") << QByteArray("div");
  QTest::addRow("tag being typed does not count")
      << QByteArray("<div><p class=|") << QByteArray("div");
  QTest::addRow("script content is text")
      << QByteArray("<script>if (a<b) {|") << QByteArray("script");
  QTest::addRow("comment content is text")
      << QByteArray("<div><!-- <p> --><ul><li>x</li></ul></|") << QByteArray("div");
}

void HtmlStructureTest::FindsTheInnermostOpenElement() {
  QFETCH(QByteArray, text);
  QFETCH(QByteArray, open);
  const auto [page, caret] = Marked(text);
  QCOMPARE(OpenElementBefore(page, caret), open);
  // Read on from every point before, as typing at the end asks it: the same answers.
  for (qsizetype end = 0; end <= caret; ++end) {
    OpenElements read;
    for (qsizetype at = 0; at <= end; ++at) OpenElementBefore(page.first(end), at, read);
    QCOMPARE(OpenElementBefore(page.first(end), end, read), OpenElementBefore(page, end));
  }
}

void HtmlStructureTest::KnowsWhatIsBeingTyped_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<int>("kind");
  QTest::addColumn<QByteArray>("element");
  QTest::addColumn<int>("word");  // characters of the word before the caret
  const int none = int(CompletionKind::kNone);
  const int element = int(CompletionKind::kElement);
  const int attribute = int(CompletionKind::kAttribute);
  const int css = int(CompletionKind::kCssProperty);
  QTest::addRow("after <") << QByteArray("<p>a <|") << element << QByteArray() << 0;
  QTest::addRow("element name begun") << QByteArray("<ta|") << element << QByteArray() << 2;
  QTest::addRow("after a tag's name")
      << QByteArray("<IMG |") << attribute << QByteArray("img") << 0;
  QTest::addRow("attribute begun, tag over lines")
      << QByteArray("<a href=\"x\"\n  ti|") << attribute << QByteArray("a") << 2;
  QTest::addRow("inside a value") << QByteArray("<a title=\"x |") << none << QByteArray() << 0;
  QTest::addRow("style attribute") << QByteArray("<p style=\"|") << css << QByteArray() << 0;
  QTest::addRow("style after ;") << QByteArray("<p style='color:red; ma|") << css << QByteArray()
                                 << 2;
  QTest::addRow("style value") << QByteArray("<p style=\"color: re|") << none << QByteArray() << 2;
  QTest::addRow("style element") << QByteArray("<style>\nbody {\n  |") << css << QByteArray() << 0;
  QTest::addRow("after the style element")
      << QByteArray("<style>a{}</style><p>{ |") << none << QByteArray() << 0;
  QTest::addRow("end tag") << QByteArray("</|") << none << QByteArray() << 0;
  QTest::addRow("text") << QByteArray("<p>wor|") << none << QByteArray() << 3;
}

void HtmlStructureTest::KnowsWhatIsBeingTyped() {
  QFETCH(QByteArray, text);
  QFETCH(int, kind);
  QFETCH(QByteArray, element);
  QFETCH(int, word);
  const auto [page, caret] = Marked(text);
  const CompletionContext context = CompletionContextAt(page, caret);
  QCOMPARE(int(context.kind), kind);
  QCOMPARE(context.element, element);
  QCOMPARE(caret - context.word_start, word);
}

void HtmlStructureTest::OffersNamesForTheContext() {
  QStringList elements =
      CompletionNames({CompletionKind::kElement, {}, 0}, CatalogueElementNames());
  for (const char* name : {"div", "section", "table", "font", "center", "tt"}) {
    QVERIFY2(elements.contains(name), name);  // HTML 5 and the tag menu's older names
  }
  QVERIFY(std::is_sorted(elements.begin(), elements.end()));
  QCOMPARE(elements.removeDuplicates(), 0);
  const QStringList img = CompletionNames({CompletionKind::kAttribute, "img", 0});
  for (const char* name : {"src", "alt", "width", "class", "style"})
    QVERIFY2(img.contains(name), name);
  QVERIFY(!img.contains("href"));
  const QStringList css = CompletionNames({CompletionKind::kCssProperty, {}, 0});
  for (const char* name : {"color", "margin-top", "font-family"})
    QVERIFY2(css.contains(name), name);
  QVERIFY(CompletionNames({}).isEmpty());
}

// Selecting the element around a selection, then its parent; and the first element inside.
// In the pages, "[" and "]" mark the selection and are taken out; the expected span is
// given as the text it covers.
void HtmlStructureTest::BalancesOutwardAndInward_data() {
  QTest::addColumn<QByteArray>("page");
  QTest::addColumn<bool>("outward");
  QTest::addColumn<QByteArray>("expected");  // empty: nothing
  const QByteArray page = "<div><p>one <b>t[]wo</b> three</p><ul><li>a<li>b</ul></div>";
  QTest::addRow("caret in text") << page << true << QByteArray("<b>two</b>");
  QTest::addRow("element to parent") << QByteArray("<div><p>one [<b>two</b>] three</p></div>")
                                     << true << QByteArray("<p>one <b>two</b> three</p>");
  QTest::addRow("inside a start tag") << QByteArray("<div><p cl[]ass=\"x\">one</p></div>") << true
                                      << QByteArray("<p class=\"x\">one</p>");
  QTest::addRow("implicitly closed item")
      << QByteArray("<ul><li>a[]<li>b</ul>") << true << QByteArray("<li>a");
  QTest::addRow("outermost") << QByteArray("[<div>x</div>]") << true << QByteArray();
  QTest::addRow("first child") << QByteArray("<div>[<p>one <b>two</b></p><p>x</p>]</div>") << false
                               << QByteArray("<p>one <b>two</b></p>");
  QTest::addRow("into the element")
      << QByteArray("[<p>one <b>two</b></p>]") << false << QByteArray("<b>two</b>");
  QTest::addRow("void child") << QByteArray("[<p>a<br>b</p>]") << false << QByteArray("<br>");
  QTest::addRow("no child") << QByteArray("[<p>text</p>]") << false << QByteArray();
}

void HtmlStructureTest::BalancesOutwardAndInward() {
  QFETCH(QByteArray, page);
  QFETCH(bool, outward);
  QFETCH(QByteArray, expected);
  const qsizetype from = page.indexOf('[');
  page.remove(from, 1);
  const qsizetype to = page.indexOf(']');
  page.remove(to, 1);
  const std::optional<ElementSpan> span =
      outward ? ElementAround(page, from, to) : FirstElementWithin(page, from, to);
  QCOMPARE(span ? page.sliced(span->start, span->end - span->start) : QByteArray(), expected);
}

QTEST_GUILESS_MAIN(HtmlStructureTest)
#include "html_structure_test.moc"
