#include "settings/language_applier.h"
#include "names/texts.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSet>

#include "platform/desktop.h"
#include "platform/text_file.h"

QWidget* FindControl(QWidget* window, const QString& name) {
  QList<QWidget*> queue{window};
  while (!queue.isEmpty()) {
    QWidget* widget = queue.takeFirst();
    for (QObject* child : widget->children()) {
      auto* child_widget = qobject_cast<QWidget*>(child);
      if (child_widget == nullptr) continue;
      // Another window of the program parented to this one keeps its own controls.
      if (qobject_cast<QDialog*>(child_widget) || qobject_cast<QMainWindow*>(child_widget))
        continue;
      if (child_widget->objectName() == name) return child_widget;
      queue.append(child_widget);
    }
  }
  return nullptr;
}

void LanguageApplier::AddWindow(QWidget* window) { windows_.insert(window->objectName(), window); }

bool LanguageApplier::ApplyFile(const QString& path, bool refused) {
  // Language files are small by nature; a huge one is refused like a missing one.
  // A refused name (one with a path) is never even read.
  const ReadOutcome read = refused ? ReadOutcome{} : ReadWholeFile(path, kSettingsCap);
  if (refused || !read.ok()) {
    desktop_.ShowError(nullptr, Tr(Text::kCannotOpenLanguage).arg(path));
    return false;
  }
  // The program's own texts follow the file: Russian for the shipped Russian file, English
  // for any other.
  SetLanguage(QFileInfo(path).completeBaseName().compare(u"russian", Qt::CaseInsensitive) == 0
                  ? Language::kRussian
                  : Language::kEnglish);
  const LanguageTexts texts = ResolveLanguageTexts(LanguageLines(read.bytes));
  Apply(texts);
  if (texts.missing_line) {
    desktop_.ShowError(nullptr, MissingLineMessage(*texts.missing_line));
    return false;
  }
  return true;
}

QChar MarkedLetter(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != u'&') continue;
    if (text[i + 1] != u'&') return text[i + 1];
    ++i;
  }
  return QChar();
}

void MarkMenuLetters(QMenuBar* bar) {
  QList<QAction*> menus;
  QSet<QChar> taken;
  for (QAction* action : bar->actions()) {
    if (action->menu() == nullptr) continue;
    const QChar marked = MarkedLetter(action->text());
    if (marked.isNull()) {
      menus.append(action);
    } else {
      taken.insert(marked.toCaseFolded());
    }
  }
  // Each caption gets its first letter no menu before it has.
  for (QAction* action : std::as_const(menus)) {
    const QString text = action->text();
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (!text[i].isLetterOrNumber() || taken.contains(text[i].toCaseFolded())) continue;
      taken.insert(text[i].toCaseFolded());
      action->setText(text.first(i) + u'&' + text.sliced(i));
      break;
    }
  }
}

void LanguageApplier::Apply(const LanguageTexts& texts) {
  for (const LanguageText& text : texts.texts) Place(text);
  for (QWidget* window : std::as_const(windows_)) {
    if (auto* main = qobject_cast<QMainWindow*>(window)) MarkMenuLetters(main->menuBar());
  }
}

void LanguageApplier::Place(const LanguageText& text) {
  QWidget* window = windows_.value(text.window);
  if (window == nullptr) return;
  switch (text.target) {
    case TextTarget::kUntitledName:
      if (untitled_sink_) untitled_sink_(text.text);
      return;
    case TextTarget::kWindowCaption:
      window->setWindowTitle(text.text);
      return;
    case TextTarget::kMenu:
      if (auto* action = window->findChild<QAction*>(text.control)) {
        action->setText(text.text);
        if (QMenu* menu = action->menu()) menu->setTitle(text.text);
      }
      return;
    default:
      break;
  }
  QWidget* control = FindControl(window, text.control);
  if (control == nullptr) return;
  switch (text.target) {
    case TextTarget::kHint:
      control->setToolTip(text.text);
      break;
    case TextTarget::kCaption:
      if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text.text);
      } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text.text);
      } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(text.text);
      }
      break;
    case TextTarget::kItem0:
    case TextTarget::kItem1: {
      const QList<QRadioButton*> items =
          control->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
      const int index = text.target == TextTarget::kItem0 ? 0 : 1;
      if (index < items.size()) items[index]->setText(text.text);
      break;
    }
    default:
      break;
  }
}
