#pragma once

#include <QString>
#include <QWidget>

class Desktop;
class MainWindow;
class QWebEngineView;

// Sets up the process for the embedded browser; call before the application object exists.
// Its sandbox cannot run as root, so only then is it switched off.
void PrepareEmbeddedBrowser();

// The preview window "Form30": an embedded browser filling the window. The browser is made
// on the first navigation, so that a session that never previews does not start it.
class PreviewWindow : public QWidget {
  Q_OBJECT
 public:
  explicit PreviewWindow(QWidget* parent = nullptr);

  // Sends the browser to a location text and shows the window (brought to the front).
  void Navigate(const QString& location);
  QString Location() const { return location_; }
  QWebEngineView* Browser() const { return browser_; }

 private:
  QWebEngineView* browser_ = nullptr;
  QString location_;
};

// The two preview commands of the main window.
class PreviewCommands {
 public:
  PreviewCommands(Desktop& desktop, MainWindow& main_window, PreviewWindow& window,
                  QString program_folder);

  // Writes the editor text to "temp.htm" beside the document and shows it.
  void PreviewDocument();
  // Shows the file selected in the file panel, writing nothing.
  void PreviewSelectedFile();

 private:
  Desktop& desktop_;
  MainWindow& main_window_;
  PreviewWindow& window_;
  QString program_folder_;
};
