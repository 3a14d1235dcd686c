#pragma once

#include <QFrame>

class CodeEditor;
class EditorModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// The find and replace bar under the editor: plain text or a regular expression, letter
// case, whole words; the count of matches; replace one or all (all as one undo step).
class FindBar : public QFrame {
  Q_OBJECT
 public:
  FindBar(CodeEditor* editor, EditorModel& model, QWidget* parent = nullptr);

  // Shows the bar with the find field focused (and the replace row when asked), taking the
  // selected text as what to find.
  void Open(bool with_replace);
  bool FindNext(bool backward = false);
  void ReplaceOne();
  int ReplaceAll();
  int Count() const { return count_; }
  // The view the bar finds in: the one with the focus, on the current page. The count
  // follows the new text.
  void SetEditor(CodeEditor* editor);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 signals:
  // A match was selected in the editor.
  void MatchShown();

 private:
  void BuildRows();
  void UpdateCount();

  CodeEditor* editor_;
  EditorModel& model_;
  QLineEdit* find_;
  QLineEdit* replace_;
  QCheckBox* regex_;
  QCheckBox* match_case_;
  QCheckBox* whole_word_;
  QLabel* count_label_;
  QWidget* replace_row_;
  QTimer* count_timer_;
  int count_ = 0;
};
