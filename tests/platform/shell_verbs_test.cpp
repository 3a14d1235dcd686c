#include <QTest>

#include "platform/shell_verbs.h"

class ShellVerbsTest : public QObject {
  Q_OBJECT

 private slots:
  void QuotesTheProgramPath_data();
  void QuotesTheProgramPath();
};

void ShellVerbsTest::QuotesTheProgramPath_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("exec");
  QTest::addRow("plain") << "/usr/bin/brindlemark"
                         << "\"/usr/bin/brindlemark\" %f";
  QTest::addRow("spaces") << "/opt/my editor/bm"
                          << "\"/opt/my editor/bm\" %f";
  QTest::addRow("quote and dollar") << "/a\"b$c"
                                    << "\"/a\\\\\"b\\\\$c\" %f";
  QTest::addRow("backslash") << "/a\\b"
                             << "\"/a\\\\\\\\b\" %f";
  QTest::addRow("percent") << "/100%/bm"
                           << "\"/100%%/bm\" %f";
  QTest::addRow("line break stays on the line") << "/a\nb"
                                                << "\"/a\\nb\" %f";
  QTest::addRow("tab") << "/a\tb"
                       << "\"/a\\tb\" %f";
}

void ShellVerbsTest::QuotesTheProgramPath() {
  QFETCH(QString, path);
  QFETCH(QString, exec);
  QCOMPARE(ExecLine(path), exec);
}

QTEST_APPLESS_MAIN(ShellVerbsTest)
#include "shell_verbs_test.moc"
