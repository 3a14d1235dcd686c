#include "snippets/clipboard_window.h"
#include "names/texts.h"

#include <QApplication>

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "document/text_helpers.h"
#include "platform/desktop.h"
#include "platform/file_write.h"
#include "snippets/snippet_store.h"

namespace {

const QStringList kFilters = {Tr(Text::kClipboardFilter)};

}  // namespace

ClipboardWindow::ClipboardWindow(Desktop& desktop, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
      desktop_(desktop),
      top_panel_(Named<QFrame>(this, QStringLiteral("Panel1"))),
      entry_(Named<QLineEdit>(top_panel_, QStringLiteral("Edit1"))),
      list_(Named<QListWidget>(this, QStringLiteral("ListBox1"))) {
  ShowText(this, &QWidget::setWindowTitle, Text::kClipboardTitle);
  setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint |
                 Qt::WindowTitleHint);
  // Above the editor, but never above a modal dialog the user must answer.
  qApp->installEventFilter(this);
  top_panel_->setFixedHeight(30);
  entry_->move(5, 4);
  auto* buttons = Named<QFrame>(this, QStringLiteral("Panel2"));
  auto* column = new QVBoxLayout(buttons);
  column->setContentsMargins(2, 2, 2, 2);
  QToolButton* add = NewToolButton(buttons, QStringLiteral("SpeedButton1"), QStringLiteral("+"));
  QToolButton* remove = NewToolButton(buttons, QStringLiteral("SpeedButton2"), QStringLiteral("-"));
  QToolButton* load = NewToolButton(buttons, QStringLiteral("SpeedButton3"), QStringLiteral("O"));
  QToolButton* save = NewToolButton(buttons, QStringLiteral("SpeedButton4"), QStringLiteral("S"));
  QToolButton* clear = NewToolButton(buttons, QStringLiteral("SpeedButton5"), QStringLiteral("C"));
  for (QToolButton* button : {add, remove, load, save, clear}) column->addWidget(button);
  column->addStretch(1);
  auto* middle = new QHBoxLayout;
  middle->addWidget(list_, 1);
  middle->addWidget(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(top_panel_);
  layout->addLayout(middle, 1);
  resize(260, 300);

  connect(add, &QToolButton::clicked, this, [this] { list_->addItem(entry_->text()); });
  connect(remove, &QToolButton::clicked, this, [this] { RemoveSelectedEntry(list_); });
  connect(clear, &QToolButton::clicked, list_, &QListWidget::clear);
  connect(load, &QToolButton::clicked, this, [this] {
    const auto choice = desktop_.AskOpenPath(this, kFilters, 1, QString());
    if (choice && !choice->path.isEmpty()) {
      LoadSnippets(WithDefaultExtension(choice->path, QStringLiteral(".cpb")));
    }
  });
  connect(save, &QToolButton::clicked, this, [this] {
    const auto choice = desktop_.AskSavePath(this, kFilters, 1, QString());
    if (choice && !choice->path.isEmpty()) {
      SaveSnippets(WithDefaultExtension(choice->path, QStringLiteral(".cpb")));
    }
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) return;
    entry_->setText(selected.first()->text());
    desktop_.SetClipboardText(selected.first()->text());
  });
}

void ClipboardWindow::Toggle() {
  if (isVisible()) {
    hide();
  } else {
    show();
    raise();
  }
}

void ClipboardWindow::resizeEvent(QResizeEvent* event) {
  ToolWindow::resizeEvent(event);
  entry_->setFixedWidth(std::max(10, top_panel_->width() - 10));
}

bool ClipboardWindow::LoadSnippets(const QString& path) {
  const ReadOutcome read = ReadWholeFile(path, kTextFileCap);
  if (!read.ok()) {
    desktop_.ShowError(this, read.message());
    return false;
  }
  list_->clear();
  list_->addItems(SnippetsFromBytes(read.bytes));
  return true;
}

bool ClipboardWindow::SaveSnippets(const QString& path) {
  const std::optional<IoError> error = WriteWholeFile(path, SnippetsToBytes(Entries(list_)));
  if (error) desktop_.ShowError(this, error->message);
  return !error;
}

bool ClipboardWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if ((type == QEvent::Show || type == QEvent::Hide) && watched != this &&
      watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->isWindow() && widget->isModal()) {
      const bool modal_shown = type == QEvent::Show;
      if (isVisible() && modal_shown && (windowFlags() & Qt::WindowStaysOnTopHint)) {
        setWindowFlag(Qt::WindowStaysOnTopHint, false);
        show();
        widget->raise();
        stepped_down_ = true;
      } else if (stepped_down_ && !modal_shown && QApplication::activeModalWidget() == nullptr) {
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
        show();
        stepped_down_ = false;
      }
    }
  }
  return ToolWindow::eventFilter(watched, event);
}
