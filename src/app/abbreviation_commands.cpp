#include "app/abbreviation_commands.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "document/document_session.h"
#include "editor/code_editor.h"
#include "html/html_format.h"
#include "html/html_structure.h"
#include "names/texts.h"

namespace {

// How far back from the caret the page is read to tell markup from CSS or script.
constexpr long kContextReach = 1 << 16;

QString LeadingSpace(const QString& line) {
  qsizetype end = 0;
  while (end < line.size() && (line[end] == u' ' || line[end] == u'\t')) ++end;
  return line.left(end);
}

}  // namespace

AbbreviationCommands::AbbreviationCommands(QString library_path,
                                           std::function<CodeEditor*()> editor,
                                           DocumentSession& session, QWidget* field_parent)
    : QObject(field_parent),
      engine_(std::move(library_path)),
      editor_(std::move(editor)),
      session_(session),
      field_(new QLineEdit(field_parent)) {
  field_->setObjectName(QStringLiteral("AbbreviationField"));
  ShowText(field_, &QLineEdit::setPlaceholderText, Text::kAbbreviationFieldTip);
  field_->hide();
  field_->installEventFilter(this);
  connect(field_, &QLineEdit::textEdited, this, &AbbreviationCommands::ShowWrap);
}

bool AbbreviationCommands::Loaded() {
  QString error;
  if (engine_.Ready(&error)) return true;
  // Said once; Tab goes on inserting tabs.
  if (!told_missing_) emit Note(Tr(Text::kAbbreviationsMissing).arg(error));
  told_missing_ = true;
  return false;
}

void AbbreviationCommands::WatchTab(CodeEditor* view) {
  view->SetTabHandler([this] { return tab_expands_ && Expand(true); });
}

std::optional<AbbreviationStyle> AbbreviationCommands::StyleAt(long position,
                                                               QString* line_before) {
  CodeEditor* view = editor_();
  const long line = view->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, position);
  const long line_start = view->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, line);
  const EditorModel& model = view->Model();
  const QByteArrayView before = model.BufferPart(std::max(0L, position - kContextReach), position);
  const std::optional<AbbreviationSyntax> syntax =
      AbbreviationSyntaxAt(before, IsXhtml(model.BufferPart(0, 4096)));
  if (!syntax) return std::nullopt;
  *line_before = QString::fromUtf8(model.BufferPart(line_start, position));
  AbbreviationStyle style;
  style.syntax = *syntax;
  style.base_indent = LeadingSpace(*line_before);
  style.charset = QString::fromLatin1(NameOf(session_.Format().encoding)).toLower();
  style.lang =
      CurrentLanguage() == Language::kRussian ? QStringLiteral("ru") : QStringLiteral("en");
  // A style attribute's value is one line.
  style.inline_css =
      *syntax == AbbreviationSyntax::kCss && before.lastIndexOf('<') > before.lastIndexOf('>');
  return style;
}

bool AbbreviationCommands::Expand(bool from_tab) {
  CodeEditor* view = editor_();
  if (view == nullptr || view->hasSelectedText()) return false;
  const long caret = view->SendScintilla(QsciScintilla::SCI_GETCURRENTPOS);
  QString line;
  std::optional<AbbreviationStyle> style = StyleAt(caret, &line);
  if (!style || line.trimmed().isEmpty()) {
    if (!from_tab) emit Note(Tr(Text::kNoAbbreviation));
    return false;
  }
  if (!Loaded()) return false;  // said once; Tab then inserts a tab
  const std::optional<ExtractedAbbreviation> found = engine_.Extract(line, style->syntax);
  bool allowed = found.has_value();
  if (allowed && from_tab) {
    // Prose runs on before the abbreviation; Tab takes one that starts its line's text or
    // follows a tag (or a rule, in CSS).
    // A bare word (no Emmet syntax) only at the start of its line: after a tag it is text.
    const QString ahead = line.left(found->start).trimmed();
    const bool bare =
        !HasAbbreviationSyntax(found->abbreviation) && !found->abbreviation.contains(u':');
    const bool starts = ahead.isEmpty() || (ahead.endsWith(u'>') && !bare) ||
                        (style->syntax == AbbreviationSyntax::kCss &&
                         (ahead.endsWith(u';') || ahead.endsWith(u'{') || ahead.endsWith(u'"') ||
                          ahead.endsWith(u'\'')));
    allowed = starts && engine_.ExpandsOnTab(found->abbreviation, style->syntax);
  }
  // The page's step is read only for what will be expanded: Tab on prose costs nothing.
  if (allowed) style->indent_step = IndentStep();
  const std::optional<Expansion> expansion =
      allowed ? engine_.Expand(found->abbreviation, *style) : std::nullopt;
  if (!expansion) {
    if (!from_tab) emit Note(Tr(Text::kNoAbbreviation));
    return false;
  }
  const long from = caret - long(line.sliced(found->start).toUtf8().size());
  Insert(from, caret, *expansion);
  return true;
}

QString AbbreviationCommands::IndentStep() const {
  return QString::fromLatin1(IndentStepOf(editor_()->Model().BufferPart(0, 1 << 20)));
}

QByteArray AbbreviationCommands::PageBytes(const QString& text) const {
  return QString(text)
      .replace(u'\n', QString::fromLatin1(LineEndBytes(session_.Format().line_end)))
      .toUtf8();
}

void AbbreviationCommands::Insert(long from, long to, const Expansion& expansion) {
  CodeEditor* view = editor_();
  // Byte offsets of the stops, the text's line breaks made the page's own.
  QList<std::pair<long, long>> stops;
  for (const TabStop& stop : expansion.stops) {
    stops.append({from + long(PageBytes(expansion.text.left(stop.offset)).size()),
                  long(expansion.text.sliced(stop.offset, stop.length).toUtf8().size())});
  }
  const QByteArray bytes = PageBytes(expansion.text);
  view->ReplaceBytes(from, to, bytes);
  if (stops.isEmpty()) {
    view->SendScintilla(QsciScintilla::SCI_GOTOPOS, from + long(bytes.size()));
  } else {
    view->SetTabStops(stops);
  }
}

void AbbreviationCommands::StartWrap() {
  CodeEditor* view = editor_();
  if (view == nullptr || !Loaded()) return;
  long from = view->SendScintilla(QsciScintilla::SCI_GETSELECTIONSTART);
  long to = view->SendScintilla(QsciScintilla::SCI_GETSELECTIONEND);
  const EditorModel& model = view->Model();
  if (from == to) {
    // The element around the caret (the one whose tag it stands in, or that holds it).
    if (const std::optional<ElementSpan> element = ElementAround(model.Buffer(), from, to)) {
      from = element->start;
      to = element->end;
    }
  }
  QString line;
  const std::optional<AbbreviationStyle> style = StyleAt(from, &line);
  if (!style || from == to) {
    emit Note(Tr(Text::kNoAbbreviation));
    return;
  }
  wrap_ = Wrap{view, from, to, model.BufferPart(from, to).toByteArray(), {}, *style};
  wrap_.style.indent_step = IndentStep();
  for (const QString& text : QString::fromUtf8(wrap_.original).split(u'\n')) {
    wrap_.lines.append(QString(text).remove(u'\r').trimmed());
  }
  field_->clear();
  // On the editor itself, at its top: a window of the embedded browser makes the editor's
  // surface a window of its own, over which a sibling would not show.
  field_->setParent(view);
  field_->setGeometry(view->width() / 3, 0, view->width() / 2, field_->sizeHint().height());
  field_->show();
  field_->raise();
  field_->setFocus();
}

void AbbreviationCommands::ShowWrap(const QString& abbreviation) {
  if (wrap_.view == nullptr) return;
  const std::optional<Expansion> expansion = engine_.Expand(abbreviation, wrap_.style, wrap_.lines);
  const QByteArray bytes = expansion ? PageBytes(expansion->text) : wrap_.original;
  // Shown live, kept out of the undo history until Enter keeps it.
  wrap_.view->SendScintilla(QsciScintilla::SCI_SETUNDOCOLLECTION, 0L);
  wrap_.view->SendScintilla(QsciScintilla::SCI_SETTARGETRANGE, wrap_.from, wrap_.to);
  wrap_.view->SendScintilla(QsciScintilla::SCI_REPLACETARGET, bytes.size(), bytes.constData());
  wrap_.view->SendScintilla(QsciScintilla::SCI_SETUNDOCOLLECTION, 1L);
  wrap_.to = wrap_.from + long(bytes.size());
}

void AbbreviationCommands::EndWrap(bool keep) {
  if (wrap_.view == nullptr) return;
  const QByteArray shown = wrap_.view->Model().BufferPart(wrap_.from, wrap_.to).toByteArray();
  // The page goes back to what it was, untracked, then takes the result as one step.
  wrap_.view->SendScintilla(QsciScintilla::SCI_SETUNDOCOLLECTION, 0L);
  wrap_.view->SendScintilla(QsciScintilla::SCI_SETTARGETRANGE, wrap_.from, wrap_.to);
  wrap_.view->SendScintilla(QsciScintilla::SCI_REPLACETARGET, wrap_.original.size(),
                            wrap_.original.constData());
  wrap_.view->SendScintilla(QsciScintilla::SCI_SETUNDOCOLLECTION, 1L);
  if (keep && shown != wrap_.original) {
    wrap_.view->ReplaceBytes(wrap_.from, wrap_.from + long(wrap_.original.size()), shown);
  }
  CodeEditor* view = wrap_.view;
  wrap_ = Wrap{};
  field_->hide();
  view->setFocus();
}

bool AbbreviationCommands::eventFilter(QObject* watched, QEvent* event) {
  if (watched == field_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
      EndWrap(key != Qt::Key_Escape);
      return true;
    }
  }
  if (watched == field_ && event->type() == QEvent::FocusOut && wrap_.view != nullptr) {
    EndWrap(false);
  }
  return QObject::eventFilter(watched, event);
}

void AbbreviationCommands::Balance(bool outward) {
  CodeEditor* view = editor_();
  const long from = view->SendScintilla(QsciScintilla::SCI_GETSELECTIONSTART);
  const long to = view->SendScintilla(QsciScintilla::SCI_GETSELECTIONEND);
  const QByteArrayView text = view->Model().Buffer();
  const std::optional<ElementSpan> span =
      outward ? ElementAround(text, from, to) : FirstElementWithin(text, from, to);
  if (span) view->SendScintilla(QsciScintilla::SCI_SETSEL, span->start, span->end);
}
