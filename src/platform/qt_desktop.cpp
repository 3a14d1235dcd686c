#include "platform/qt_desktop.h"

#include <QInputDialog>

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDateTime>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QHeaderView>
#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTreeView>
#include <QUrl>

namespace {

std::optional<Desktop::FileChoice> RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode,
                                                 const QStringList& filters, int filter_index,
                                                 const QString& initial_path) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setNameFilters(filters);
  if (filter_index >= 1 && filter_index <= filters.size()) {
    dialog.selectNameFilter(filters[filter_index - 1]);
  }
  if (!initial_path.isEmpty()) {
    const QFileInfo info(initial_path);
    dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.fileName());
  }
  // The program adds its own extension to a name without one.
  dialog.setDefaultSuffix(QString());
  // Room for long names: the list's name column is never cut to a few letters.
  dialog.resize(dialog.size().expandedTo(QSize(860, 520)));
  if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list->header()->setStretchLastSection(false);
    for (int column = 1; column < list->header()->count(); ++column) {
      list->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  Desktop::FileChoice choice;
  choice.path = dialog.selectedFiles().constFirst();
  choice.filter_index = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
  if (choice.filter_index < 1) choice.filter_index = 1;
  return choice;
}

}  // namespace

std::optional<Desktop::FileChoice> QtDesktop::AskOpenPath(QWidget* parent,
                                                          const QStringList& filters,
                                                          int filter_index,
                                                          const QString& initial_path) {
  return RunFileDialog(parent, QFileDialog::AcceptOpen, filters, filter_index, initial_path);
}

std::optional<Desktop::FileChoice> QtDesktop::AskSavePath(QWidget* parent,
                                                          const QStringList& filters,
                                                          int filter_index,
                                                          const QString& initial_path) {
  return RunFileDialog(parent, QFileDialog::AcceptSave, filters, filter_index, initial_path);
}

std::optional<QString> QtDesktop::AskFolder(QWidget* parent, const QString& start) {
  const QString folder = QFileDialog::getExistingDirectory(parent, QString(), start);
  if (folder.isEmpty()) return std::nullopt;
  return folder;
}

void QtDesktop::ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, QApplication::applicationDisplayName(), text);
}

void QtDesktop::ShowError(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, QApplication::applicationDisplayName(), text);
}

bool QtDesktop::AskYesNo(QWidget* parent, const QString& text) {
  return QMessageBox::question(parent, QApplication::applicationDisplayName(), text,
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool QtDesktop::OpenWithDefaultProgram(const QString& path_or_address) {
  const QUrl url = QUrl::fromUserInput(path_or_address, QString(), QUrl::AssumeLocalFile);
  return QDesktopServices::openUrl(url);
}

void QtDesktop::SetClipboardText(const QString& text) { QApplication::clipboard()->setText(text); }

int QtDesktop::RunModal(QDialog* window) { return window->exec(); }

std::optional<int> QtDesktop::AskNumber(QWidget* parent, const QString& title, const QString& label,
                                        int value, int minimum, int maximum) {
  bool ok = false;
  const int number = QInputDialog::getInt(parent, title, label, value, minimum, maximum, 1, &ok);
  if (!ok) return std::nullopt;
  return number;
}

std::optional<QFont> QtDesktop::PickFont(QWidget* parent, const QFont& initial) {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, initial, parent);
  if (!ok) return std::nullopt;
  return font;
}

std::optional<QColor> QtDesktop::PickSystemColour(QWidget* parent, const QColor& initial) {
  const QColor colour = QColorDialog::getColor(initial, parent);
  if (!colour.isValid()) return std::nullopt;
  return colour;
}

QString QtDesktop::ShortDateText() {
  return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

QString QtDesktop::LongTimeText() {
  // The long format may end in a time zone ("t"), which a time of day does not show.
  QString format = QLocale::system().timeFormat(QLocale::LongFormat);
  format.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b\\s*")));
  return QLocale::system().toString(QTime::currentTime(), format.trimmed());
}
