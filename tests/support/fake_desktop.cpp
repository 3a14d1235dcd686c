#include "support/fake_desktop.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTest>

namespace {

template <typename T>
std::optional<T> Take(std::deque<std::optional<T>>& queue) {
  std::optional<T> answer;
  if (!queue.empty()) {
    answer.swap(queue.front());
    queue.pop_front();
  }
  return answer;
}

}  // namespace

std::function<void(QDialog*)> FakeDesktop::Press(const QString& button_name) {
  return [button_name](QDialog* window) {
    auto* button = window->findChild<QAbstractButton*>(button_name);
    QVERIFY2(button != nullptr, qPrintable(button_name));
    button->click();
  };
}

std::optional<Desktop::FileChoice> FakeDesktop::AskOpenPath(QWidget*, const QStringList&, int,
                                                            const QString&) {
  ++open_dialogs;
  return Take(open_answers);
}

std::optional<Desktop::FileChoice> FakeDesktop::AskSavePath(QWidget*, const QStringList&, int,
                                                            const QString&) {
  ++save_dialogs;
  return Take(save_answers);
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

std::optional<QFont> FakeDesktop::PickFont(QWidget*, const QFont&) { return Take(font_answers); }

std::optional<int> FakeDesktop::AskNumber(QWidget*, const QString&, const QString&, int, int, int) {
  return Take(number_answers);
}

std::optional<QColor> FakeDesktop::PickSystemColour(QWidget*, const QColor&) {
  return Take(colour_answers);
}

void InstallLanguageFiles(const QString& folder) {
  for (const char* name : {"english.lng", "russian.lng"}) {
    const QString target = folder + QLatin1Char('/') + QLatin1String(name);
    QFile::remove(target);
    QFile::copy(QStringLiteral(BM_LANGUAGE_DIR "/") + QLatin1String(name), target);
  }
}
