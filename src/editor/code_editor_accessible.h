#pragma once

#include <QAccessibleWidget>

class CodeEditor;
class ScintillaModel;

// What a screen reader sees of the editor: its text, caret and selection, with character
// offsets found through the component's line index. QScintilla's own interface counts the
// characters from the start of the text at every caret move, and Qt builds the interface of
// every shown widget whether a reader is present or not: a quarter of a second a key at the
// end of a 50 MB page.
class CodeEditorAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit CodeEditorAccessible(CodeEditor* editor);

  // Gives every CodeEditor this interface. Factories installed later are asked first, so
  // this runs after the component has installed its own (at its first construction).
  static void Install();

  void* interface_cast(QAccessible::InterfaceType type) override;
  QAccessible::State state() const override;
  using QAccessibleWidget::text;

  void selection(int index, int* start, int* end) const override;
  int selectionCount() const override;
  void addSelection(int start, int end) override;
  void removeSelection(int index) override;
  void setSelection(int index, int start, int end) override;
  int cursorPosition() const override;
  void setCursorPosition(int position) override;
  QString text(int start, int end) const override;
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                           int* end) const override;
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                          int* end) const override;
  QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                       int* end) const override;
  int characterCount() const override;
  QRect characterRect(int offset) const override;
  int offsetAtPoint(const QPoint& point) const override;
  void scrollToSubstring(int start, int end) override;
  QString attributes(int offset, int* start, int* end) const override;

 private:
  CodeEditor* Editor() const;
  ScintillaModel& Model() const;
};
