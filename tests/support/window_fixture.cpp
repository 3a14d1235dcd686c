#include "support/window_fixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "settings/preview_window.h"
#include "support/test_app.h"

void WindowTest::initMain() { PrepareEmbeddedBrowser(); }

void WindowTest::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  QVERIFY(dir_->isValid());
  UseUserFoldersIn(dir_->path());
  QDir().mkpath(ProgramFolder());
  InstallLanguageFiles(ProgramFolder());
  desktop_ = std::make_unique<FakeDesktop>();
  Prepare();
  if (launch_ == Launch::kAtInit) StartProgram();
}

void WindowTest::cleanup() {
  app_.reset();
  desktop_.reset();
  // The embedded browser lets its inner widgets go a turn of the event loop later.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  // A test may have changed into its folder; the folder goes last.
  QDir::setCurrent(QDir::tempPath());
  dir_.reset();
  QVERIFY(NoWindowLeft());
}

void WindowTest::StartProgram(const QString& argument) {
  app_ = StartApplication(*desktop_, ProgramFolder(), argument);
}

void WindowTest::Write(const QString& name, const QByteArray& bytes) const {
  QDir().mkpath(QFileInfo(Path(name)).path());
  QFile file(Path(name));
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray WindowTest::Read(const QString& name) const {
  QFile file(Path(name));
  if (!file.open(QIODevice::ReadOnly)) return QByteArrayLiteral("<missing>");
  return file.readAll();
}
