#include "support/fake_desktop.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTest>

std::function<void(QDialog*)> FakeDesktop::Press(const QString& button_name) {
  return [button_name](QDialog* window) {
    auto* button = window->findChild<QAbstractButton*>(button_name);
    QVERIFY2(button != nullptr, qPrintable(button_name));
    button->click();
  };
}

int FakeDesktop::RunModal(QDialog* window) {
  modal_windows.append(window->objectName());
  window->setResult(QDialog::Rejected);
  if (!modal_scripts.empty()) {
    auto script = std::move(modal_scripts.front());
    modal_scripts.pop_front();
    script(window);
  }
  window->hide();
  return window->result();
}

void InstallLanguageFiles(const QString& folder) {
  for (const char* name : {"english.lng", "russian.lng"}) {
    const QString target = folder + QLatin1Char('/') + QLatin1String(name);
    QFile::remove(target);
    QFile::copy(QStringLiteral(BM_LANGUAGE_DIR "/") + QLatin1String(name), target);
  }
}
