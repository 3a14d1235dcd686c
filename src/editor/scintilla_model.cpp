#include "editor/scintilla_model.h"

#include <Qsci/qsciscintillabase.h>

#include <QStringEncoder>
#include <algorithm>
#include <cstdlib>

#include "platform/text_format.h"

namespace {

using Sci = QsciScintillaBase;

int ModeOf(LineEnd line_end) {
  switch (line_end) {
    case LineEnd::kCrLf:
      return Sci::SC_EOL_CRLF;
    case LineEnd::kCr:
      return Sci::SC_EOL_CR;
    case LineEnd::kLf:
      break;
  }
  return Sci::SC_EOL_LF;
}

LineEnd LineEndOf(long mode) {
  return mode == Sci::SC_EOL_CRLF ? LineEnd::kCrLf
         : mode == Sci::SC_EOL_CR ? LineEnd::kCr
                                  : LineEnd::kLf;
}

// UTF-16 characters of UTF-8 text: every byte but a continuation byte starts a character,
// and one of four bytes is two. One pass the compiler can vectorise: a 50 MB page is
// counted in milliseconds, where the component's line index takes a tenth of a second to
// build after every change of the whole text. The continuation bytes are counted against
// what the lead bytes call for; where they differ the text is not UTF-8, and the
// component, which takes every stray byte for a character, counts it.
struct Utf8Tally {
  qsizetype units = 0;
  qsizetype continuations = 0;
  qsizetype called_for = 0;  // continuation bytes the lead bytes announce
  void Add(QByteArrayView utf8) {
    for (const char c : utf8) {
      const auto byte = static_cast<unsigned char>(c);
      const bool continuation = (byte & 0xC0) == 0x80;
      units += qsizetype(!continuation) + qsizetype(byte >= 0xF0);
      continuations += qsizetype(continuation);
      called_for += qsizetype(byte >= 0xC0) + qsizetype(byte >= 0xE0) + qsizetype(byte >= 0xF0);
    }
  }
  bool Balanced() const { return continuations == called_for; }
};

}  // namespace

ScintillaModel::ScintillaModel(QsciScintillaBase* editor) : editor_(editor) {
  Send(Sci::SCI_SETCODEPAGE, Sci::SC_CP_UTF8);
}

long ScintillaModel::Send(unsigned int message, unsigned long w, long l) const {
  return editor_->SendScintilla(message, w, l);
}

::LineEnd ScintillaModel::BreakKind() const {
  // The break the text holds decides (an undone conversion puts the old one back); a text
  // of one line has the page's mode.
  if (Send(Sci::SCI_GETLINECOUNT) > 1) {
    const long end = LineEnd(0);
    if (LineStart(1) - end == 2) return LineEnd::kCrLf;
    return Send(Sci::SCI_GETCHARAT, static_cast<unsigned long>(end)) == '\r' ? LineEnd::kCr
                                                                             : LineEnd::kLf;
  }
  return LineEndOf(Send(Sci::SCI_GETEOLMODE));
}

int ScintillaModel::ExtraPerBreak() const { return BreakKind() == LineEnd::kCrLf ? 1 : 0; }

QByteArray ScintillaModel::Encoded(const QStringList& lines) const {
  // Straight into one buffer: joining, encoding and then changing the breaks would pass
  // over a whole page's text three times.
  const ::LineEnd kind = BreakKind();
  const QByteArray end = LineEndBytes(kind);
  qsizetype characters = 0;
  for (const QString& line : lines) characters += line.size();
  QByteArray utf8(characters * 3 + lines.size() * end.size(), Qt::Uninitialized);
  QStringEncoder encoder(QStringConverter::Utf8);
  char* out = utf8.data();
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (i > 0) out = std::copy(end.begin(), end.end(), out);
    out = encoder.appendToBuffer(out, lines[i]);
  }
  utf8.truncate(out - utf8.constData());
  // A line given with breaks inside still gets the page's kind.
  const qsizetype expected = std::max<qsizetype>(0, lines.size() - 1) * end.size();
  if (utf8.count('\n') + utf8.count('\r') != expected) return WithLineEnds(utf8, kind);
  return utf8;
}

void ScintillaModel::SetLineEnds(::LineEnd line_end) {
  const int mode = ModeOf(line_end);
  if (line_end == BreakKind() && mode == Send(Sci::SCI_GETEOLMODE)) return;
  Send(Sci::SCI_SETEOLMODE, static_cast<unsigned long>(mode));
  Send(Sci::SCI_BEGINUNDOACTION);
  Send(Sci::SCI_CONVERTEOLS, static_cast<unsigned long>(mode));
  Send(Sci::SCI_ENDUNDOACTION);
}

QString ScintillaModel::Decoded(long from, long to) const {
  if (to <= from) return QString();
  QString text = DecodeUtf8(BufferPart(from, to));
  CompactLineBreaks(text);  // in one pass; the component's breaks are all of one kind
  return text;
}

long ScintillaModel::LineStart(int line) const { return Send(Sci::SCI_POSITIONFROMLINE, line); }

long ScintillaModel::LineEnd(int line) const { return Send(Sci::SCI_GETLINEENDPOSITION, line); }

int ScintillaModel::LineOf(long byte) const {
  return int(Send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(byte)));
}

void ScintillaModel::EnsureLineIndex() const {
  // Built on first use, not at every load: a caret on the first line needs none.
  if (line_index_) return;
  Send(Sci::SCI_ALLOCATELINECHARACTERINDEX, Sci::SC_LINECHARACTERINDEX_UTF16);
  line_index_ = true;
}

long ScintillaModel::BytePosition(int position) const {
  // The last line whose start, less the extra characters of the breaks before it, is at or
  // before position.
  long low = 0;
  long high = Send(Sci::SCI_GETLINECOUNT) - 1;
  position = std::max(0, position);
  while (low < high) {
    const long middle = (low + high + 1) / 2;
    if (LineStartCharacter(int(middle)) <= position) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  const long column = position - LineStartCharacter(int(low));
  // Counted from the last position asked on this line when there is one: in a page of one
  // long line the caret moves a little, and counting from the line's start is long.
  long from = LineStart(int(low));
  long count = column;
  if (memo_.byte >= 0 && memo_.line == low && memo_.character <= position) {
    from = memo_.byte;
    count = position - memo_.character;
  }
  const long byte = count == 0 ? from
                               : Send(Sci::SCI_POSITIONRELATIVECODEUNITS,
                                      static_cast<unsigned long>(from), count);
  const long end = LineEnd(int(low));
  // Past the line's end (or the text's): its end.
  return byte <= 0 && column > 0 ? end : std::min(byte, end);
}

int ScintillaModel::CharacterPosition(long byte) const {
  const int line = LineOf(byte);
  // Counted from the last position asked when that is nearer than the text's start.
  int character = 0;
  if (memo_.byte >= 0 && std::abs(byte - memo_.byte) < byte) {
    const long between = Utf16Between(std::min(byte, memo_.byte), std::max(byte, memo_.byte));
    const int breaks = (line - int(memo_.line)) * ExtraPerBreak();
    character = memo_.character + int(byte >= memo_.byte ? between : -between) - breaks;
  } else {
    character = int(Utf16Between(0, byte)) - line * ExtraPerBreak();
  }
  memo_ = {line, byte, character};
  return character;
}

long ScintillaModel::Utf16Between(long from, long to) const {
  // Each side of the component's gap read where it lies, so that nothing is moved.
  const long gap = Send(Sci::SCI_GETGAPPOSITION);
  Utf8Tally tally;
  if (from < gap && gap < to) {
    tally.Add(BufferPart(from, gap));
    tally.Add(BufferPart(gap, to));
  } else {
    tally.Add(BufferPart(from, to));
  }
  if (tally.Balanced()) return long(tally.units);
  return Send(Sci::SCI_COUNTCODEUNITS, static_cast<unsigned long>(from), to);
}

int ScintillaModel::LineStartCharacter(int line) const {
  if (line == 0) return 0;
  EnsureLineIndex();
  return int(Send(Sci::SCI_INDEXPOSITIONFROMLINE, line, Sci::SC_LINECHARACTERINDEX_UTF16) -
             long(line) * ExtraPerBreak());
}

int ScintillaModel::LineCount() const {
  if (Send(Sci::SCI_GETLENGTH) == 0) return 0;
  return int(Send(Sci::SCI_GETLINECOUNT));
}

QString ScintillaModel::Line(int index) const {
  // An empty text has one empty line to write into, as a caret has a line to stand on.
  if (index < 0 || index >= Send(Sci::SCI_GETLINECOUNT)) return QString();
  return Decoded(LineStart(index), LineEnd(index));
}

QString ScintillaModel::Text() const { return Decoded(0, Send(Sci::SCI_GETLENGTH)); }

QByteArrayView ScintillaModel::Buffer() const {
  const auto* data =
      static_cast<const char*>(editor_->SendScintillaPtrResult(Sci::SCI_GETCHARACTERPOINTER));
  return QByteArrayView(data, Send(Sci::SCI_GETLENGTH));
}

QByteArrayView ScintillaModel::BufferPart(qsizetype from, qsizetype to) const {
  const long length = Send(Sci::SCI_GETLENGTH);
  from = std::clamp<qsizetype>(from, 0, length);
  to = std::clamp<qsizetype>(to, from, length);
  if (from == to) return {};
  const auto* range = reinterpret_cast<const char*>(
      Send(Sci::SCI_GETRANGEPOINTER, static_cast<unsigned long>(from), long(to - from)));
  return QByteArrayView(range, to - from);
}

void ScintillaModel::LoadBuffer(const QByteArray& utf8, ::LineEnd line_end) {
  Send(Sci::SCI_SETEOLMODE, static_cast<unsigned long>(ModeOf(line_end)));
  ForgetPositions();
  Send(Sci::SCI_SETUNDOCOLLECTION, 0);
  if (line_index_) {
    // Kept up to date while text streams in, it would cost more than building it once.
    Send(Sci::SCI_RELEASELINECHARACTERINDEX, Sci::SC_LINECHARACTERINDEX_UTF16);
    line_index_ = false;
  }
  Send(Sci::SCI_CLEARALL);
  // With its length, so NUL characters stay.
  editor_->SendScintilla(Sci::SCI_APPENDTEXT, static_cast<unsigned long>(utf8.size()),
                         utf8.constData());
  Send(Sci::SCI_SETUNDOCOLLECTION, 1);
  Send(Sci::SCI_EMPTYUNDOBUFFER);
  Send(Sci::SCI_SETSAVEPOINT);
  // The caret and the view to the start without making the caret visible, which would lay a
  // minified page out before it is coloured and then again after (four times the open).
  Send(Sci::SCI_SETEMPTYSELECTION, 0);
  Send(Sci::SCI_SETXOFFSET, 0);
}

void ScintillaModel::MarkSaved() { Send(Sci::SCI_SETSAVEPOINT); }

bool ScintillaModel::AtSavePoint() const { return Send(Sci::SCI_GETMODIFY) == 0; }

void ScintillaModel::Replace(long from, long to, QByteArrayView bytes, long caret_at) {
  Send(Sci::SCI_BEGINUNDOACTION);
  Send(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(from), to);
  editor_->SendScintilla(Sci::SCI_REPLACETARGET, static_cast<unsigned long>(bytes.size()),
                         bytes.isNull() ? "" : bytes.data());
  Send(Sci::SCI_ENDUNDOACTION);
  const long caret = from + (caret_at < 0 ? bytes.size() : caret_at);
  Send(Sci::SCI_SETSEL, static_cast<unsigned long>(caret), caret);
}

void ScintillaModel::SetLine(int index, const QString& text) {
  if (index < 0 || index >= Send(Sci::SCI_GETLINECOUNT)) return;
  Replace(LineStart(index), LineEnd(index), Encoded({text}));
}

void ScintillaModel::InsertLines(int index, const QStringList& lines) {
  if (lines.isEmpty()) return;
  const QByteArray joined = Encoded(lines);
  const QByteArray eol = LineBreak();
  const int count = LineCount();
  if (count == 0) {
    Replace(0, 0, joined, 0);
  } else if (index >= count) {
    const long end = Send(Sci::SCI_GETLENGTH);
    Replace(end, end, eol + joined);
  } else {
    const long at = LineStart(std::max(0, index));
    Replace(at, at, joined + eol);
  }
}

void ScintillaModel::DeleteLine(int index) {
  const int count = LineCount();
  if (index < 0 || index >= count) return;
  if (index + 1 < count) {
    Replace(LineStart(index), LineStart(index + 1), QByteArray());
  } else if (index > 0) {
    Replace(LineEnd(index - 1), LineEnd(index), QByteArray());
  } else {
    Replace(0, Send(Sci::SCI_GETLENGTH), QByteArray());
  }
}

void ScintillaModel::ReplaceLines(int first, int end, const QStringList& lines) {
  ReplaceLineBytes(first, end, Encoded(lines), lines.isEmpty());
}

void ScintillaModel::ReplaceLineBytes(int first, int end, QByteArrayView joined, bool dropping) {
  const LineSpan span = SpanOfLines(
      first, end, dropping, LineCount(), [this](int line) { return LineStart(line); },
      [this](int line) { return LineEnd(line); });
  if (!span.break_before && !span.break_after) {
    Replace(span.from, span.to, joined);
    return;
  }
  const QByteArray line_break = LineBreak();
  Replace(
      span.from, span.to,
      span.break_before ? line_break + joined.toByteArray() : joined.toByteArray() + line_break);
}

QString ScintillaModel::SelectedText() const {
  return Decoded(Send(Sci::SCI_GETSELECTIONSTART), Send(Sci::SCI_GETSELECTIONEND));
}

void ScintillaModel::ReplaceSelection(const QString& text) {
  Replace(Send(Sci::SCI_GETSELECTIONSTART), Send(Sci::SCI_GETSELECTIONEND), Encoded({text}));
}

void ScintillaModel::Select(int start, int length) {
  const long anchor = BytePosition(start);
  const long caret = BytePosition(start + length);
  Send(Sci::SCI_SETSEL, static_cast<unsigned long>(anchor), caret);
}

void ScintillaModel::SelectAll() { Send(Sci::SCI_SETSEL, 0, Send(Sci::SCI_GETLENGTH)); }

int ScintillaModel::CaretLine() const { return LineOf(Send(Sci::SCI_GETCURRENTPOS)); }

int ScintillaModel::CaretOffset() const {
  const long caret = Send(Sci::SCI_GETCURRENTPOS);
  const int line = LineOf(caret);
  // On a minified page's one line, from the last position counted, not the line's start.
  return line == 0 ? CharacterPosition(caret) : int(Utf16Between(LineStart(line), caret));
}

int ScintillaModel::CaretPosition() const {
  return CharacterPosition(Send(Sci::SCI_GETCURRENTPOS));
}

int ScintillaModel::SelectionStart() const {
  return CharacterPosition(Send(Sci::SCI_GETSELECTIONSTART));
}

int ScintillaModel::SelectionEnd() const {
  return CharacterPosition(Send(Sci::SCI_GETSELECTIONEND));
}

int ScintillaModel::SelectionLine() const { return LineOf(Send(Sci::SCI_GETSELECTIONSTART)); }
