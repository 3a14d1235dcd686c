// The main window's menu bar, its keyboard actions, the status bar and the format menu.
#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include "app/file_panel.h"
#include "app/find_bar.h"
#include "app/main_window.h"
#include "app/tool_icons.h"
#include "document/document.h"
#include "widgets/code_editor.h"
#include "widgets/widget_helpers.h"

QAction* MainWindow::AddMenuItem(QMenu* menu, const QString& name) {
  auto* action = new QAction(menu);
  action->setObjectName(name);
  menu->addAction(action);
  menu_items_.insert(name, action);
  return action;
}

void MainWindow::BuildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  auto add_menu = [&](const QString& name) {
    auto* menu = new QMenu(bar);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    bar->addMenu(menu);
    menu_items_.insert(name, menu->menuAction());
    return menu;
  };
  QMenu* file = add_menu(QStringLiteral("dsfg1"));
  for (const char16_t* name : {u"N61", u"N62", u"N63", u"N64"})
    AddMenuItem(file, QString::fromUtf16(name));
  AddMenuItem(file, QStringLiteral("ClosePage"))->setText(QStringLiteral("&Close page"));
  file->addSeparator()->setObjectName(QStringLiteral("N65"));
  for (const char16_t* name : {u"N66", u"N67", u"N68", u"N69"})
    AddMenuItem(file, QString::fromUtf16(name));
  file->addSeparator()->setObjectName(QStringLiteral("N70"));
  AddMenuItem(file, QStringLiteral("N71"));

  QMenu* generators = add_menu(QStringLiteral("N77"));
  for (const char16_t* name : {u"N80", u"N81", u"N82", u"N83", u"N84"}) {
    AddMenuItem(generators, QString::fromUtf16(name));
  }
  menu_items_[QStringLiteral("N84")]->setText(QStringLiteral(" "));
  QMenu* tools = add_menu(QStringLiteral("N76"));
  for (const char16_t* name :
       {u"N85", u"N86", u"N87", u"N88", u"N89", u"N90", u"N91", u"N92", u"N93"}) {
    AddMenuItem(tools, QString::fromUtf16(name));
  }
  tools->addSeparator();
  AddMenuItem(tools, QStringLiteral("UndoBatch"))->setText(QStringLiteral("Undo last batch run"));
  QMenu* view = add_menu(QStringLiteral("N78"));
  AddMenuItem(view, QStringLiteral("N79"));
  QMenu* help = add_menu(QStringLiteral("N72"));
  for (const char16_t* name : {u"N73", u"N74", u"N75"}) AddMenuItem(help, QString::fromUtf16(name));

  connect(menu_items_[QStringLiteral("N61")], &QAction::triggered,
          buttons_[QStringLiteral("SpeedButton8")], &QToolButton::click);
  connect(menu_items_[QStringLiteral("N62")], &QAction::triggered, this,
          [this] { OpenDocument(Source::kDialog); });
  connect(menu_items_[QStringLiteral("N63")], &QAction::triggered, this, &MainWindow::SaveDocument);
  connect(menu_items_[QStringLiteral("N64")], &QAction::triggered, this,
          &MainWindow::SaveDocumentAs);
  int k = 1;
  for (const char16_t* name : {u"N66", u"N67", u"N68", u"N69"}) {
    connect(menu_items_[QString::fromUtf16(name)], &QAction::triggered, this,
            [this, k] { OpenDocument(Source::kRecent, k); });
    ++k;
  }
  connect(menu_items_[QStringLiteral("N71")], &QAction::triggered, this, &MainWindow::Exit);
}

void MainWindow::BuildActions() {
  struct KeyAction {
    const char16_t* name;
    QKeySequence key;
  };
  const KeyAction key_actions[] = {{u"SaveDocument", QKeySequence(Qt::CTRL | Qt::Key_S)},
                                   {u"Run", QKeySequence(Qt::Key_F12)},
                                   {u"Open", QKeySequence(Qt::CTRL | Qt::Key_O)},
                                   {u"NewDocument", QKeySequence(Qt::CTRL | Qt::Key_N)},
                                   {u"Undo", QKeySequence(Qt::CTRL | Qt::Key_Z)},
                                   {u"Italic", QKeySequence(Qt::CTRL | Qt::Key_I)},
                                   {u"Bold", QKeySequence(Qt::CTRL | Qt::Key_B)},
                                   {u"Underlined", QKeySequence(Qt::CTRL | Qt::Key_U)},
                                   {u"Clipboard", QKeySequence(Qt::Key_F9)},
                                   {u"SaveAs", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
                                   {u"Close", QKeySequence(Qt::CTRL | Qt::Key_W)},
                                   {u"Quit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
                                   {u"Help", QKeySequence(Qt::Key_F1)}};
  for (const KeyAction& entry : key_actions) {
    auto* action = new QAction(this);
    action->setObjectName(QString::fromUtf16(entry.name));
    action->setShortcut(entry.key);
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
  }
  connect(findChild<QAction*>(QStringLiteral("SaveDocument")), &QAction::triggered, this,
          &MainWindow::SaveDocument);
  connect(findChild<QAction*>(QStringLiteral("Open")), &QAction::triggered, this,
          [this] { OpenDocument(Source::kDialog); });
  connect(findChild<QAction*>(QStringLiteral("NewDocument")), &QAction::triggered,
          buttons_[QStringLiteral("SpeedButton8")], &QToolButton::click);
  connect(findChild<QAction*>(QStringLiteral("SaveAs")), &QAction::triggered, this,
          &MainWindow::SaveDocumentAs);
  for (const char16_t* name : {u"Close", u"ClosePage"}) {
    connect(findChild<QAction*>(QString::fromUtf16(name)), &QAction::triggered, this,
            &MainWindow::CloseDocument);
  }
  connect(findChild<QAction*>(QStringLiteral("Quit")), &QAction::triggered, this,
          &MainWindow::Exit);
}

void MainWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar1"));
  bar->setSizeGripEnabled(true);
  for (int i = 0; i < 3; ++i) {
    auto* panel = new QLabel(bar);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    // The offset field holds eight digits (a 50 MB page); the others keep their width.
    panel->setFixedWidth(
        i == 2 ? panel->fontMetrics().horizontalAdvance(QStringLiteral("88888888")) + 14 : 50);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    bar->addWidget(panel);
    status_panels_[i] = panel;
  }
  // Notes stand in a field of their own, so the status panels never hide behind them.
  note_field_ = new QLabel(bar);
  note_field_->setObjectName(QStringLiteral("NotePanel"));
  bar->addWidget(note_field_, 1);
  format_field_ = new QLabel(bar);
  format_field_->setObjectName(QStringLiteral("FormatPanel"));
  format_field_->setToolTip(QStringLiteral("Encoding and line ends; click to convert"));
  format_field_->installEventFilter(this);
  bar->addPermanentWidget(format_field_);
  ShowFormat(TextFormat{});
}

void MainWindow::ShowFormatMenu() {
  QMenu menu(this);
  struct Encoding {
    const char16_t* text;
    TextEncoding encoding;
    bool bom;
  };
  const Encoding encodings[] = {{u"Windows-1251", TextEncoding::kWindows1251, false},
                                {u"UTF-8", TextEncoding::kUtf8, false},
                                {u"UTF-8 with BOM", TextEncoding::kUtf8, true}};
  for (const auto& [text, encoding, bom] : encodings) {
    QAction* action = menu.addAction(QString::fromUtf16(text));
    action->setCheckable(true);
    action->setChecked(session_.Format().encoding == encoding && session_.Format().bom == bom);
    connect(action, &QAction::triggered, this, [this, encoding, bom] {
      TextFormat format = session_.Format();
      format.encoding = encoding;
      format.bom = bom;
      session_.SetFormat(format);
    });
  }
  menu.addSeparator();
  const std::pair<const char16_t*, LineEnd> ends[] = {
      {u"CR LF", LineEnd::kCrLf}, {u"LF", LineEnd::kLf}, {u"CR", LineEnd::kCr}};
  for (const auto& [text, end] : ends) {
    QAction* action = menu.addAction(QString::fromUtf16(text));
    action->setCheckable(true);
    action->setChecked(session_.Format().line_end == end);
    connect(action, &QAction::triggered, this, [this, end] {
      TextFormat format = session_.Format();
      format.line_end = end;
      session_.SetFormat(format);
    });
  }
  menu.exec(format_field_->mapToGlobal(QPoint(0, 0)));
}
