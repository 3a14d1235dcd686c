#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStringList>
#include <QToolButton>
#include <functional>

#include "names/texts.h"

// Controls made with their object name, the way every tool window builds them.
template <class Control, class... Args>
Control* Named(QWidget* parent, const QString& name, Args&&... args) {
  auto* control = new Control(std::forward<Args>(args)..., parent);
  control->setObjectName(name);
  return control;
}

// A control whose caption is a text of the program's, in the language chosen.
template <class Control>
Control* Captioned(QWidget* parent, const QString& name, Text text) {
  auto* control = Named<Control>(parent, name);
  ShowText(control, &Control::setText, text);
  return control;
}

QSpinBox* NewSpin(QWidget* parent, const QString& name, int minimum, int maximum, int value);
QComboBox* NewCombo(QWidget* parent, const QString& name, const QStringList& items, bool editable);
// A plain-text view: no rich text, no wrap unless asked.
QPlainTextEdit* NewTextView(QWidget* parent, const QString& name, bool wrap = false);
QToolButton* NewToolButton(QWidget* parent, const QString& name, const QString& text,
                           const QString& hint = QString());

// One choice among buttons, whatever else the window holds.
void MakeExclusive(QObject* owner, std::initializer_list<QAbstractButton*> buttons);

// A window created once at start-up and hidden, never destroyed, by its close button.
class ToolWindow : public QDialog {
  Q_OBJECT
 public:
  ToolWindow(const QString& name, QWidget* parent);
};

// Takes the list's selected entry out.
void RemoveSelectedEntry(QListWidget* list);
QStringList Entries(const QListWidget* list);
