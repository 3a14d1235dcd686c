// The editor's HTML comforts: the partner of the tag at the caret, end tags completed on
// "</", name lists while typing, and template markers marked on screen.
#include <QByteArray>

#include "document/text_helpers.h"
#include "tags/html_names.h"
#include "tags/html_structure.h"
#include "widgets/code_editor.h"

void CodeEditor::MarkTemplateMarkers() {
  // Only the lines on screen: a page of any size costs the same. The marks change only when
  // they differ, since each change makes the component lay the line out again.
  QList<std::pair<long, long>> marks;
  if (highlighting_) {
    const long top = SendScintilla(SCI_GETFIRSTVISIBLELINE);
    const long first = SendScintilla(SCI_DOCLINEFROMVISIBLE, top);
    const long last =
        SendScintilla(SCI_DOCLINEFROMVISIBLE, top + SendScintilla(SCI_LINESONSCREEN) + 1);
    const long from = SendScintilla(SCI_POSITIONFROMLINE, first);
    const long to = SendScintilla(SCI_GETLINEENDPOSITION, last);
    const QByteArray marker = QString::fromUtf16(kTemplateMarker).toUtf8();
    const QByteArrayView text = model_.Buffer().sliced(from, to - from);
    for (qsizetype at = 0; (at = text.indexOf(marker, at)) >= 0; at += marker.size()) {
      marks.append({from + long(at), from + long(at + marker.size())});
    }
  }
  if (marks == template_marks_) return;
  SendScintilla(SCI_SETINDICATORCURRENT, kMarkerIndicator);
  for (const auto& [from, to] : std::as_const(template_marks_)) {
    SendScintilla(SCI_INDICATORCLEARRANGE, from, to - from);
  }
  for (const auto& [from, to] : std::as_const(marks)) {
    SendScintilla(SCI_INDICATORFILLRANGE, from, to - from);
  }
  template_marks_ = marks;
}

void CodeEditor::MatchTags() {
  SendScintilla(SCI_SETINDICATORCURRENT, kTagIndicator);
  for (const auto& [from, to] : std::as_const(marked_)) {
    SendScintilla(SCI_INDICATORCLEARRANGE, from, to - from);
  }
  marked_.clear();
  if (!tag_matching_ || SendScintilla(SCI_GETSELECTIONS) > 1) return;
  const QByteArrayView text = model_.Buffer();
  const std::optional<TagSpan> tag = TagAt(text, SendScintilla(SCI_GETCURRENTPOS));
  if (!tag) return;
  const std::optional<TagSpan> partner = PartnerOf(text, *tag);
  if (!partner) return;
  for (const TagSpan& span : {*tag, *partner}) {
    const long from = long(span.NameStart());
    const long length = long(span.name.size());
    SendScintilla(SCI_INDICATORFILLRANGE, from, length);
    marked_.append({from, from + length});
  }
}

bool CodeEditor::JumpToPartner() {
  const QByteArrayView text = model_.Buffer();
  const std::optional<TagSpan> tag = TagAt(text, SendScintilla(SCI_GETCURRENTPOS));
  if (!tag) return false;
  const std::optional<TagSpan> partner = PartnerOf(text, *tag);
  if (!partner) return false;
  SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(partner->NameStart()));
  return true;
}

void CodeEditor::OnCharAdded(int character) {
  if (SendScintilla(SCI_GETSELECTIONS) > 1) return;
  const long caret = SendScintilla(SCI_GETCURRENTPOS);
  if (character == '/' && closing_tags_ && caret >= 2 &&
      SendScintilla(SCI_GETCHARAT, caret - 2) == '<') {
    const QByteArray name = OpenElementBefore(model_.Buffer(), caret - 2);
    if (name.isEmpty()) return;
    const QByteArray rest = name + '>';
    // One undo step of its own: undo takes the completion back and leaves "</".
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_INSERTTEXT, caret, rest.constData());
    SendScintilla(SCI_ENDUNDOACTION);
    SendScintilla(SCI_GOTOPOS, long(caret + rest.size()));
    return;
  }
  if (!completion_ || isListActive()) return;
  const bool word_char = (character >= 'a' && character <= 'z') ||
                         (character >= 'A' && character <= 'Z') || character == '-';
  // Lists open where a name may start: after '<', a space, or (for properties) a quote,
  // ';' or '{'; and at a name's first letter.
  if (!word_char && !QByteArrayView("< \"';{").contains(char(character))) return;
  const CompletionContext context = CompletionContextAt(model_.Buffer(), caret);
  if (context.kind == CompletionKind::kNone) return;
  // A list opens where a word starts, never in the middle of one.
  const long typed = caret - long(context.word_start);
  if (typed > 1 || (typed == 1 && !word_char) || (typed == 0 && word_char)) return;
  shown_completions_ = CompletionNames(context);
  ShowCompletions(long(context.word_start));
}

void CodeEditor::ShowCompletions(long word_start) {
  if (shown_completions_.isEmpty()) return;
  const QByteArray list = shown_completions_.join(u' ').toUtf8();
  SendScintilla(SCI_AUTOCSHOW, SendScintilla(SCI_GETCURRENTPOS) - word_start, list.constData());
}
