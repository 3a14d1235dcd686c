#include "tags/tag_engine.h"

#include "document/editor_model.h"
#include "document/text_helpers.h"
#include "tags/tag_catalogue.h"

InsertionPoint InsertAtCaret(EditorModel& editor, const QString& snippet) {
  InsertionPoint point;
  point.line = editor.CaretLine();
  point.column = editor.CaretOffset() + 1;
  const QString line = editor.Line(point.line);
  editor.SetLine(point.line, InsertAt(line, snippet, point.column));
  return point;
}

void WrapSelection(EditorModel& editor, const QString& open_text, const QString& close_name) {
  const QString selected = editor.SelectedText();
  editor.ReplaceSelection(QStringLiteral("<") + open_text + QStringLiteral(">") + selected +
                          QStringLiteral("</") + close_name + QStringLiteral(">"));
}

std::optional<InsertionPoint> RunTagCommand(EditorModel& editor, const TagCommand& command,
                                            const QString& date_text, const QString& time_text) {
  const QString selected = editor.SelectedText();
  switch (command.kind) {
    case TagKind::kWrapInsert:
      if (!selected.isEmpty()) {
        WrapSelection(editor, QString::fromUtf16(command.open), QString::fromUtf16(command.close));
        return std::nullopt;
      }
      return InsertAtCaret(editor, QString::fromUtf16(command.snippet));
    case TagKind::kComment:
      if (!selected.isEmpty()) {
        editor.ReplaceSelection(QStringLiteral("<!--") + selected + QStringLiteral("-->"));
        return std::nullopt;
      }
      return InsertAtCaret(editor, QString::fromUtf16(command.snippet));
    case TagKind::kInsert:
      return InsertAtCaret(editor, QString::fromUtf16(command.snippet));
    case TagKind::kDate:
      return InsertAtCaret(editor, date_text + u' ');
    case TagKind::kTime:
      return InsertAtCaret(editor, time_text + u' ');
    case TagKind::kSubmenu:
    case TagKind::kSeparator:
    case TagKind::kWindow:
      break;
  }
  return std::nullopt;
}
