#pragma once

#include <functional>

#include <QString>
#include <QWidget>

#include "names/window_names.h"

class Desktop;
class DocumentSession;
struct SettingsRecord;
class QDockWidget;
class QWebEngineView;

// Sets up the process for the embedded browser; call before the application object exists.
// Its sandbox cannot run as root, so only then is it switched off.
void PrepareEmbeddedBrowser();

// The preview window "Form30": an embedded browser filling the window. The browser is made
// on the first navigation, so that a session that never previews does not start it.
class PreviewWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr QStringView kName = window_name::kPreview;

  // name tells this window from another of its kind (the manual's window).
  explicit PreviewWindow(QWidget* parent = nullptr, QStringView name = kName);

  // Puts the preview into dock, beside the page, or back into a window of its own when
  // dock is null; what it shows stays.
  void DockIn(QDockWidget* dock);
  bool Docked() const { return dock_ != nullptr; }
  // Visible where it is: in its window, or in the dock.
  bool Shown() const;

  // Sends the browser to a location text and shows the window (brought to the front).
  void Navigate(const QString& location);
  // Loads the page again and keeps its scroll position (F5).
  void Reload();
  QString Location() const { return location_; }
  QWebEngineView* Browser() const { return browser_; }

 private:
  void EnsureBrowser();

  QWebEngineView* browser_ = nullptr;
  QDockWidget* dock_ = nullptr;
  QWidget* owner_ = nullptr;  // the parent of the free-standing window
  QString location_;
  bool sized_ = false;
};

// The two preview commands of the main window.
class PreviewCommands {
 public:
  // minimize_main puts the main window away when the system's program shows the page.
  PreviewCommands(Desktop& desktop, DocumentSession& document, const SettingsRecord& settings,
                  PreviewWindow& window, QString program_folder,
                  std::function<void()> minimize_main);

  // Writes the editor text to "temp.htm" beside the document and shows it.
  void PreviewDocument();
  // Shows the file selected in the file panel, writing nothing.
  void PreviewSelectedFile();
  // Brings an open preview of the document up to date: the scratch file written again, or
  // the saved page, reloaded where the reader was.
  void FollowDocument();
  // Another page became the current one: an open preview shows it (its file while saved,
  // else its text through a scratch file), saving nothing.
  void FollowPage();

 private:
  // Writes the text to a scratch file beside the page and shows it; false when it failed.
  bool ShowScratch();

  Desktop& desktop_;
  DocumentSession& document_;
  const SettingsRecord& settings_;
  PreviewWindow& window_;
  QString program_folder_;
  std::function<void()> minimize_main_;
  QString scratch_;  // the scratch file of the last preview of the document
};
