#include "settings/preview_window.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QFile>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "document/editor_model.h"
#include "document/document_session.h"
#include "settings/settings_record.h"
#include "widgets/widget_helpers.h"
#include "platform/desktop.h"
#include "platform/text_file.h"
#include "settings/preview.h"

void PrepareEmbeddedBrowser() {
  if (geteuid() == 0) {
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains("--no-sandbox"))
      qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + " --no-sandbox");
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

PreviewWindow::PreviewWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("Form30"));
  setWindowTitle(QStringLiteral("Form30"));
  resize(544, 375);
  move(214, 185);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
}

void PreviewWindow::Navigate(const QString& location) {
  if (browser_ == nullptr) {
    browser_ = new QWebEngineView(this);
    browser_->setObjectName(QStringLiteral("WebBrowser1"));
    // Pages written by this program are Windows-1251 unless they say otherwise.
    browser_->settings()->setDefaultTextEncoding(QStringLiteral("windows-1251"));
    layout()->addWidget(browser_);
  }
  location_ = location;
  // A bare path is not a location a browser takes: send it as a file address.
  const QUrl url = location.startsWith(u'/') ? QUrl::fromLocalFile(location) : QUrl(location);
  browser_->setUrl(url);
  ShowInFront(this);
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
  const QString folder = PreviewFolder(document_.FileName(), program_folder_);
  document_.SetCurrentFolder(folder);
  const QString path = PreviewFilePathIn(folder, document_.ScratchFiles());
  const QString error =
      WriteWholeFile(path, EncodeText(document_.Editor().Text(), ScratchFormat(document_.Format())));
  if (!error.isEmpty()) {
    desktop_.ShowError(document_.View().DialogParent(), error);
    return;
  }
  document_.AddScratchFile(path);
  if (settings_.preview_in_built_in_window != 0) {
    window_.Navigate(PreviewLocation(path));
  } else {
    desktop_.OpenWithDefaultProgram(path);
    minimize_main_();
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
