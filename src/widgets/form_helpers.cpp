#include "widgets/form_helpers.h"

#include <QHash>

#include "widgets/icons.h"

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
  // The short captions of list buttons are shown as the pictures they stand for.
  static const QHash<QString, std::pair<const char*, const char*>> kPictures = {
      {QStringLiteral("+"), {"list-add", "add"}},
      {QStringLiteral("-"), {"list-remove", "remove"}},
      {QStringLiteral("O"), {"document-open", "open"}},
      {QStringLiteral("S"), {"document-save", "save"}},
      {QStringLiteral("C"), {"edit-clear", "clear"}},
      {QStringLiteral("Cl"), {"edit-clear", "clear"}},
      {QStringLiteral(">"), {"go-next", "next"}},
      {QStringLiteral("<"), {"go-previous", "previous"}}};
  auto* button = Named<QToolButton>(parent, name);
  button->setText(text);
  button->setToolTip(hint);
  if (const auto it = kPictures.constFind(text); it != kPictures.cend()) {
    button->setIcon(ThemedIcon(QString::fromLatin1(it->first), QString::fromLatin1(it->second)));
  }
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
