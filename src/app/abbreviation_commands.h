#pragma once

#include <QObject>
#include <functional>

#include "document/abbreviations.h"

class CodeEditor;
class DocumentSession;
class QLineEdit;
class QWidget;

// The abbreviation commands of the editor: Expand (Ctrl+E, and Tab on an abbreviation),
// Wrap with abbreviation (a field above the editor showing the result live), and the tab
// stops an expansion leaves. The library loads on the first command, never at start-up.
class AbbreviationCommands : public QObject {
  Q_OBJECT
 public:
  // editor gives the view with the focus; field_parent holds the wrap field.
  AbbreviationCommands(QString library_path, std::function<CodeEditor*()> editor,
                       DocumentSession& session, QWidget* field_parent);

  // Expands the abbreviation before the caret; from_tab takes only what Tab may expand.
  // False when nothing was expanded.
  bool Expand(bool from_tab);
  // Whether Tab expands abbreviations (the option), and the hook the editor asks on Tab.
  void SetTabExpands(bool on) { tab_expands_ = on; }
  bool TabExpands() const { return tab_expands_; }
  void WatchTab(CodeEditor* view);
  // Opens the field "AbbreviationField" for the selected lines, or the element around the
  // caret when nothing is selected.
  void StartWrap();
  QLineEdit* Field() const { return field_; }
  // Selects the element around the selection, then its parent (outward); or the first
  // element inside it.
  void Balance(bool outward);

 signals:
  void Note(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // How an expansion at byte position fits the page there; nothing where none is read.
  std::optional<AbbreviationStyle> StyleAt(long position, QString* line_before);
  // The page's indentation step, as auto-indent finds it.
  QString IndentStep() const;
  // text ('\n' between lines) as the page's bytes, its line ends the page's own.
  QByteArray PageBytes(const QString& text) const;
  // Puts expansion in place of bytes [from, to) as one step, and its tab stops.
  void Insert(long from, long to, const Expansion& expansion);
  void ShowWrap(const QString& abbreviation);
  void EndWrap(bool keep);
  bool Loaded();

  AbbreviationEngine engine_;
  std::function<CodeEditor*()> editor_;
  DocumentSession& session_;
  QLineEdit* field_;
  bool tab_expands_ = true;
  bool told_missing_ = false;
  // The wrap under way: what was selected, and what stands there now.
  struct Wrap {
    CodeEditor* view = nullptr;
    long from = 0;
    long to = 0;
    QByteArray original;
    QStringList lines;
    AbbreviationStyle style;
    bool undo_open = false;
  } wrap_;
};
