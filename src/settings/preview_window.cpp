#include "settings/preview_window.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QFile>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "app/file_panel.h"
#include "app/main_window.h"
#include "app/widget_helpers.h"
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

PreviewCommands::PreviewCommands(Desktop& desktop, MainWindow& main_window, PreviewWindow& window,
                                 QString program_folder)
    : desktop_(desktop),
      main_window_(main_window),
      window_(window),
      program_folder_(std::move(program_folder)) {}

void PreviewCommands::PreviewDocument() {
  SettingsRecord& settings = main_window_.Settings();
  if (settings.save_before_preview != 0) {
    // A page with a name whose save failed is not previewed; an untitled page whose name
    // dialog was cancelled is previewed from its scratch file alone.
    if (!main_window_.SaveDocument() && main_window_.FileName() != main_window_.UntitledName())
      return;
  }
  const QString folder = PreviewFolder(main_window_.FileName(), program_folder_);
  main_window_.SetCurrentFolder(folder);
  const QString path = PreviewFilePathIn(folder, main_window_.ScratchFiles());
  const QString error = WriteWholeFile(
      path, EncodeText(main_window_.Editor().Text(), ScratchFormat(main_window_.DocumentFormat())));
  if (error.isEmpty()) main_window_.AddScratchFile(path);
  if (!error.isEmpty()) {
    desktop_.ShowError(&main_window_, error);
    return;
  }
  if (settings.preview_in_built_in_window != 0) {
    window_.Navigate(PreviewLocation(path));
  } else {
    desktop_.OpenWithDefaultProgram(path);
    main_window_.showMinimized();
  }
}

void PreviewCommands::PreviewSelectedFile() {
  const QString path = main_window_.Files()->SelectedFilePath();
  if (path.isEmpty()) {
    PreviewDocument();
    return;
  }
  if (main_window_.Settings().preview_in_built_in_window != 0) {
    window_.Navigate(path);
  } else {
    main_window_.showMinimized();
    desktop_.OpenWithDefaultProgram(path);
  }
}
