#pragma once

#include <QString>
#include <optional>

struct TagCommand;

class EditorModel;

// Where InsertAtCaret put its snippet: line index from 0, character position from 1.
struct InsertionPoint {
  int line = 0;
  int column = 1;
};

// Puts snippet into the caret's line at the caret (the end of any selection, which stays in
// the text). The whole line is rewritten, so the caret ends at the end of that line.
InsertionPoint InsertAtCaret(EditorModel& editor, const QString& snippet);

// Replaces the selection by "<" open ">" selection "</" close ">"; the caret ends after it.
void WrapSelection(EditorModel& editor, const QString& open_text, const QString& close_name);

// Runs a tag command that edits the text (wrap+insert, insert, comment, date, time):
// a non-empty selection is wrapped where the command wraps, otherwise the snippet goes in at
// the caret. Returns the insertion point when the snippet was inserted.
std::optional<InsertionPoint> RunTagCommand(EditorModel& editor, const TagCommand& command,
                                            const QString& date_text, const QString& time_text);
