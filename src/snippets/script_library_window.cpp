#include "snippets/script_library_window.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

ScriptLibraryWindow::ScriptLibraryWindow(QWidget* parent) : ToolWindow(kName.toString(), parent) {
  setWindowTitle(QStringLiteral("JavaScripts"));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Named<QPushButton>(this, QStringLiteral("Button1")));
  buttons->addWidget(Named<QPushButton>(this, QStringLiteral("Button2")));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Named<QListWidget>(this, QStringLiteral("ListBox1")), 1);
  layout->addLayout(buttons);
}
