#pragma once

#include <QString>
#include <QStringList>

// The fields of the new page wizard. Empty colour fields fall back to the page defaults.
struct NewPageFields {
  QString title;
  bool frames = false;
  QString background;
  QString text;
  QString link;
  QString visited_link;
  QString active_link;
  int layout = 1;  // 1: columns 110,*  2: columns *,110  3: rows 110,*  4: rows *,110
  bool border = false;
  bool scrolling = false;
  bool noresize = false;
};

// The four frameset lines of the chosen layout.
QStringList AppendFrameset(const NewPageFields& fields);

// The lines of the page skeleton: head with the title, then a body with the five colours
// or, with frames on, the frameset.
QStringList NewPageLines(const NewPageFields& fields);

class EditorModel;

// Puts text as a whole new line above the line that holds the caret (the start of the
// selection); an editor with no lines first gets one line holding a single blank. The caret
// ends at the start of its former line, so successive calls stack their lines in call
// order. Returns the caret's line index before the insertion.
int insertline(EditorModel& editor, const QString& text);

// insertline for many lines at once, in one edit: the same text and caret as calling
// insertline for each line in order. Returns the caret line the last call would return.
int insertlines(EditorModel& editor, const QStringList& lines);
