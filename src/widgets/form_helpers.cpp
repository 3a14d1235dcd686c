#include "widgets/form_helpers.h"

#include <QButtonGroup>

QSpinBox* NewSpin(QWidget* parent, const QString& name, int minimum, int maximum, int value) {
  auto* spin = Named<QSpinBox>(parent, name);
  spin->setRange(minimum, maximum);
  spin->setValue(value);
  return spin;
}

QComboBox* NewCombo(QWidget* parent, const QString& name, const QStringList& items, bool editable) {
  auto* combo = Named<QComboBox>(parent, name);
  combo->setEditable(editable);
  combo->addItems(items);
  if (editable) combo->setInsertPolicy(QComboBox::NoInsert);
  return combo;
}

QPlainTextEdit* NewTextView(QWidget* parent, const QString& name, bool wrap) {
  auto* view = Named<QPlainTextEdit>(parent, name);
  view->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  return view;
}

QToolButton* NewToolButton(QWidget* parent, const QString& name, const QString& text,
                           const QString& hint) {
  auto* button = Named<QToolButton>(parent, name);
  button->setText(text);
  button->setToolTip(hint);
  return button;
}

void MakeExclusive(QObject* owner, std::initializer_list<QAbstractButton*> buttons) {
  auto* group = new QButtonGroup(owner);
  for (QAbstractButton* button : buttons) group->addButton(button);
}

ToolWindow::ToolWindow(const QString& name, QWidget* parent) : QDialog(parent) {
  setObjectName(name);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void AddSelectedPath(QListWidget* list, const QString& path) {
  if (!path.isEmpty()) list->addItem(path);
}

void RemoveSelectedEntry(QListWidget* list) {
  const QList<QListWidgetItem*> selected = list->selectedItems();
  if (!selected.isEmpty()) delete list->takeItem(list->row(selected.first()));
}

QStringList Entries(const QListWidget* list) {
  QStringList entries;
  entries.reserve(list->count());
  for (int i = 0; i < list->count(); ++i) entries.append(list->item(i)->text());
  return entries;
}
