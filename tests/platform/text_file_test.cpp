#include <sys/resource.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>
#include <csignal>

#include "platform/file_write.h"
#include "platform/text_format.h"

class TextFileTest : public QObject {
  Q_OBJECT

 private slots:
  void ReadFailsWithAReason_data();
  void ReadFailsWithAReason();
  void ReadsUnreadableFileAsFailure();
  void WritesAndReplacesAtomically();
  void FailedWriteKeepsTheOldFile();
  void WriteToAnImpossiblePathNamesTheFile();
  void HandlesPathsWithSpacesAndCyrillic();
  void HandlesAVeryLongLine();
  void KeepsPermissionsAndHardLinks();
  void SizeCapAndKinds();
  void LinksAndReadOnlyFiles();

 private:
  QTemporaryDir dir_;
};

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray("<unreadable>");
  return file.readAll();
}

}  // namespace

void TextFileTest::ReadFailsWithAReason_data() {
  QTest::addColumn<QString>("name");
  QTest::addRow("missing file") << QStringLiteral("missing.htm");
  QTest::addRow("a folder") << QStringLiteral("folder");
  QTest::addRow("inside a missing folder") << QStringLiteral("nowhere/page.htm");
}

void TextFileTest::ReadFailsWithAReason() {
  QFETCH(QString, name);
  QDir(dir_.path()).mkdir(QStringLiteral("folder"));
  const ReadOutcome outcome = ReadWholeFile(dir_.filePath(name), kNoSizeLimit);
  QVERIFY(!outcome.ok());
  QVERIFY(outcome.error.has_value());
  QVERIFY(outcome.bytes.isEmpty());
}

void TextFileTest::ReadsUnreadableFileAsFailure() {
  if (geteuid() == 0) QSKIP("file permissions do not stop root");
  const QString path = dir_.filePath(QStringLiteral("secret.htm"));
  WriteBytes(path, "x");
  QFile::setPermissions(path, QFileDevice::Permissions());
  QVERIFY(!ReadWholeFile(path, kNoSizeLimit).ok());
}

void TextFileTest::WritesAndReplacesAtomically() {
  const QString path = dir_.filePath(QStringLiteral("page.htm"));
  WriteBytes(path, "old text that is longer");
  QVERIFY(!WriteWholeFile(path, "new"));
  QCOMPARE(ReadBytes(path), QByteArray("new"));
  // No temporary file is left behind.
  QCOMPARE(QDir(dir_.path()).entryList({QStringLiteral("page.htm*")}, QDir::Files).size(), 1);
}

void TextFileTest::FailedWriteKeepsTheOldFile() {
  // A file size limit makes the write fail the way a full disk does, even for root.
  const QString path = dir_.filePath(QStringLiteral("full.htm"));
  WriteBytes(path, "the old page");
  rlimit old_limit{};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old_limit;
  small.rlim_cur = 64;
  setrlimit(RLIMIT_FSIZE, &small);
  const QString error = WriteWholeFile(path, QByteArray(4096, 'x')).value_or(IoError{}).message;
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  QVERIFY2(error.contains(path), qPrintable(error));
  QCOMPARE(ReadBytes(path), QByteArray("the old page"));
}

void TextFileTest::WriteToAnImpossiblePathNamesTheFile() {
  const QString file = dir_.filePath(QStringLiteral("plain.txt"));
  WriteBytes(file, "x");
  const QString impossible = file + QStringLiteral("/inside.htm");
  QVERIFY(WriteWholeFile(impossible, "y")->message.contains(impossible));
  QVERIFY(WriteWholeFile(QString(), "y"));
}

void TextFileTest::HandlesPathsWithSpacesAndCyrillic() {
  QDir(dir_.path()).mkdir(QStringLiteral("мои страницы"));
  const QString path = dir_.filePath(QStringLiteral("мои страницы/главная страница.htm"));
  QVERIFY(!WriteWholeFile(path, "\xC0\xC1\r\n"));
  const ReadOutcome outcome = ReadWholeFile(path, kNoSizeLimit);
  QVERIFY(outcome.ok());
  QCOMPARE(outcome.bytes, QByteArray("\xC0\xC1\r\n"));
}

void TextFileTest::HandlesAVeryLongLine() {
  const QByteArray line(1 << 20, 'a');
  const QString path = dir_.filePath(QStringLiteral("long.htm"));
  QVERIFY(!WriteWholeFile(path, line));
  const ReadOutcome outcome = ReadWholeFile(path, kNoSizeLimit);
  QVERIFY(outcome.ok());
  const QString text = BytesToText(outcome.bytes);
  QCOMPARE(text.size(), line.size());
  QCOMPARE(TextToBytes(text), line);
}

void TextFileTest::KeepsPermissionsAndHardLinks() {
  QTemporaryDir dir;
  const QString path = dir.filePath("page.htm");
  WriteBytes(path, "old");
  QVERIFY(QFile::setPermissions(
      path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
  QVERIFY(!WriteWholeFile(path, "new"));
  const QFileDevice::Permissions kept = QFile::permissions(path);
  QVERIFY(kept.testFlag(QFileDevice::ReadGroup));
  QVERIFY(!kept.testFlag(QFileDevice::ReadOther));
  QVERIFY(!kept.testFlag(QFileDevice::WriteGroup));
  const QString other = dir.filePath("other-name.htm");
  QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()), 0);
  QVERIFY(!WriteWholeFile(path, "both names"));
  QCOMPARE(ReadWholeFile(other, kNoSizeLimit).bytes, QByteArray("both names"));
  // No temporary file is left beside the page.
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

void TextFileTest::SizeCapAndKinds() {
  QTemporaryDir dir;
  const QString path = dir.filePath("big.lng");
  WriteBytes(path, QByteArray(100, 'x'));
  const ReadOutcome capped = ReadWholeFile(path, 99);
  QVERIFY(!capped.ok());
  QCOMPARE(capped.error->kind, FileError::kTooLarge);
  QVERIFY(ReadWholeFile(path, 100).ok());
  QCOMPARE(ReadWholeFile(dir.filePath("none"), kNoSizeLimit).error->kind, FileError::kMissing);
  QCOMPARE(ReadWholeFile(dir.path(), kNoSizeLimit).error->kind, FileError::kIsFolder);
}

QTEST_GUILESS_MAIN(TextFileTest)
#include "text_file_test.moc"

// A link stays a link and its target takes the bytes; a link to nothing and a read-only
// file are refused with a message naming them.
void TextFileTest::LinksAndReadOnlyFiles() {
  QTemporaryDir dir;
  QVERIFY(QDir(dir.path()).mkdir("real"));
  WriteBytes(dir.filePath("real/page.htm"), "old");
  QVERIFY(QFile::link(dir.filePath("real/page.htm"), dir.filePath("link.htm")));
  QVERIFY(!WriteWholeFile(dir.filePath("link.htm"), "new"));
  QVERIFY(QFileInfo(dir.filePath("link.htm")).isSymLink());
  QCOMPARE(ReadWholeFile(dir.filePath("real/page.htm"), kNoSizeLimit).bytes, QByteArray("new"));
  QVERIFY(QFile::link(dir.filePath("nowhere.htm"), dir.filePath("dangling.htm")));
  QVERIFY(WriteWholeFile(dir.filePath("dangling.htm"), "x")->message.contains("dangling.htm"));
  WriteBytes(dir.filePath("locked.htm"), "kept");
  QFile::setPermissions(dir.filePath("locked.htm"), QFileDevice::ReadOwner);
  const std::optional<IoError> locked = WriteWholeFile(dir.filePath("locked.htm"), "x");
  QVERIFY(locked && locked->message.contains("read-only"));
  QCOMPARE(locked->kind, FileError::kReadOnly);
  QCOMPARE(ReadWholeFile(dir.filePath("locked.htm"), kNoSizeLimit).bytes, QByteArray("kept"));
  // No temporary file is left beside the pages.
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 3);
}
