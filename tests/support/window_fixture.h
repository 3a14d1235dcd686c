#pragma once

#include <QByteArray>
#include <QDir>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "app/application.h"
#include "app/main_window.h"
#include "editor/code_editor.h"
#include "support/fake_desktop.h"

// What every window test shares. Before each test: a fresh folder that is the program's
// folder (with the shipped language files) and holds the user's folders, a scripted desktop,
// and, unless the test starts it itself, the program on a new page with its main window
// active. After each test the program goes, and no window may be left behind.
class WindowTest : public QObject {
  Q_OBJECT

 public:
  // The embedded browser takes its settings before the application object exists.
  static void initMain();

 protected:
  enum class Launch { kAtInit, kByTest };
  explicit WindowTest(Launch launch = Launch::kAtInit) : launch_(launch) {}

  // Runs before the program starts at init: the files a test starts from go here.
  virtual void Prepare() {}
  // The program's folder (its language files, its scratch previews): the test's folder.
  virtual QString ProgramFolder() const { return dir_->path(); }
  // Starts the program with argument (the command line's page), its main window active.
  void StartProgram(const QString& argument = QString());

  MainWindow& Main() { return app_->Main(); }
  CodeEditor* Editor() { return app_->Main().EditorWidget(); }
  // A name in the test's folder; an absolute path stays as it is.
  QString Path(const QString& name) const { return QDir(dir_->path()).filePath(name); }
  void Write(const QString& name, const QByteArray& bytes) const;
  QByteArray Read(const QString& name) const;  // "<missing>" when it cannot be read

  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<FakeDesktop> desktop_;
  std::unique_ptr<Application> app_;

 private slots:
  void init();
  void cleanup();

 private:
  Launch launch_;
};
