#include "settings/preview_window.h"

#include <QDir>
#include "names/texts.h"

#include <unistd.h>
#include <QAction>
#include <QCoreApplication>
#include <QDockWidget>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "document/document_session.h"
#include "document/editor_model.h"
#include "platform/desktop.h"
#include "platform/file_write.h"
#include "settings/preview.h"
#include "settings/settings_record.h"
#include "widgets/widget_helpers.h"

void PrepareEmbeddedBrowser() {
  if (geteuid() == 0) {
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--no-sandbox"))
      qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + " --no-sandbox");
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

PreviewWindow::PreviewWindow(QWidget* parent, QStringView name)
    : QWidget(parent, Qt::Window), owner_(parent) {
  setObjectName(name.toString());
  setWindowTitle(name.toString());
  resize(544, 375);
  move(214, 185);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* reload = new QToolButton(this);
  reload->setObjectName(QStringLiteral("ReloadButton"));
  ShowText(reload, &QToolButton::setText, Text::kReloadTip);
  reload->setAutoRaise(true);
  layout->addWidget(reload, 0, Qt::AlignLeft);
  auto* reload_key = new QAction(this);
  reload_key->setObjectName(QStringLiteral("Reload"));
  reload_key->setShortcut(QKeySequence(Qt::Key_F5));
  addAction(reload_key);
  connect(reload_key, &QAction::triggered, this, &PreviewWindow::Reload);
  connect(reload, &QToolButton::clicked, this, &PreviewWindow::Reload);
}

void PreviewWindow::EnsureBrowser() {
  if (browser_ != nullptr) return;
  browser_ = new QWebEngineView(this);
  browser_->setObjectName(QStringLiteral("WebBrowser1"));
  // Pages written by this program are Windows-1251 unless they say otherwise.
  browser_->settings()->setDefaultTextEncoding(QStringLiteral("windows-1251"));
  layout()->addWidget(browser_);
}

void PreviewWindow::Reload() {
  if (browser_ == nullptr) return;
  const QPointF scrolled = browser_->page()->scrollPosition();
  auto* once = new QObject(browser_);
  connect(browser_, &QWebEngineView::loadFinished, once, [this, scrolled, once] {
    browser_->page()->runJavaScript(
        QStringLiteral("window.scrollTo(%1, %2);").arg(scrolled.x()).arg(scrolled.y()));
    once->deleteLater();
  });
  browser_->reload();
}

void PreviewWindow::DockIn(QDockWidget* dock) {
  if (dock == dock_) return;
  const bool shown = Shown();
  if (dock_ != nullptr) {
    dock_->setWidget(nullptr);
    dock_->hide();
    setParent(owner_, Qt::Window);
  }
  dock_ = dock;
  if (dock_ != nullptr) {
    setParent(dock_, Qt::Widget);
    dock_->setWidget(this);
  }
  if (shown) {
    if (dock_ != nullptr) dock_->show();
    show();
  } else if (dock_ != nullptr) {
    dock_->hide();
  }
}

bool PreviewWindow::Shown() const {
  return dock_ != nullptr ? dock_->isVisible() && isVisible() : isVisible();
}

void PreviewWindow::Navigate(const QString& location) {
  EnsureBrowser();
  if (!sized_ && dock_ == nullptr) {
    // A page needs room: at least half the screen.
    sized_ = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect area = screen->availableGeometry();
      resize(std::max(width(), area.width() / 2), std::max(height(), area.height() * 3 / 4));
    }
  }
  location_ = location;
  // A bare path is not a location a browser takes: send it as a file address.
  const QUrl url = location.startsWith(u'/') ? QUrl::fromLocalFile(location) : QUrl(location);
  browser_->setUrl(url);
  if (dock_ != nullptr) {
    dock_->show();
    show();
  } else {
    ShowInFront(this);
  }
}

namespace {

// The scratch copy of a UTF-8 page carries a byte order mark, so the browser reads it as
// UTF-8 even without a charset declaration.
TextFormat ScratchFormat(TextFormat format) {
  if (format.encoding == TextEncoding::kUtf8) format.bom = true;
  return format;
}

}  // namespace

PreviewCommands::PreviewCommands(Desktop& desktop, DocumentSession& document,
                                 const SettingsRecord& settings, PreviewWindow& window,
                                 QString program_folder, std::function<void()> minimize_main)
    : desktop_(desktop),
      document_(document),
      settings_(settings),
      window_(window),
      program_folder_(std::move(program_folder)),
      minimize_main_(std::move(minimize_main)) {}

void PreviewCommands::PreviewDocument() {
  if (settings_.save_before_preview != 0) {
    // A page with a name whose save failed is not previewed; an untitled page whose name
    // dialog was cancelled is previewed from its scratch file alone.
    if (!document_.SaveDocument() && document_.FileName() != document_.UntitledName()) return;
  }
  if (!ShowScratch()) return;
  if (settings_.preview_in_built_in_window == 0) {
    desktop_.OpenWithDefaultProgram(scratch_);
    minimize_main_();
  }
}

bool PreviewCommands::ShowScratch() {
  const QString folder = PreviewFolder(document_.FileName(), program_folder_);
  document_.SetCurrentFolder(folder);
  const QString path = PreviewFilePathIn(folder, document_.ScratchFiles());
  QDir().mkpath(folder);  // the program's scratch folder, for an untitled page, may be new
  const std::optional<IoError> error = WriteWholeFile(
      path, EncodeText(document_.Editor().Text(), ScratchFormat(document_.Format())));
  if (error) {
    desktop_.ShowError(document_.View().DialogParent(), error->message);
    return false;
  }
  document_.AddScratchFile(path);
  scratch_ = path;
  if (settings_.preview_in_built_in_window != 0) window_.Navigate(PreviewLocation(path));
  return true;
}

void PreviewCommands::FollowPage() {
  if (!window_.Shown()) return;
  if (document_.IsNamed() && !document_.Modified()) {
    window_.Navigate(document_.FileName());
  } else {
    ShowScratch();
  }
}

void PreviewCommands::PreviewSelectedFile() {
  const QString path = document_.View().SelectedFilePath();
  if (path.isEmpty()) {
    PreviewDocument();
    return;
  }
  if (settings_.preview_in_built_in_window != 0) {
    window_.Navigate(path);
  } else {
    minimize_main_();
    desktop_.OpenWithDefaultProgram(path);
  }
}

void PreviewCommands::FollowDocument() {
  if (!window_.Shown()) return;
  const QString location = window_.Location();
  if (!scratch_.isEmpty() && location == PreviewLocation(scratch_) &&
      document_.ScratchFiles().contains(scratch_)) {
    const std::optional<IoError> error = WriteWholeFile(
        scratch_, EncodeText(document_.Editor().Text(), ScratchFormat(document_.Format())));
    if (error) return;
  } else if (location != document_.FileName()) {
    return;
  }
  window_.Reload();
}
