#include "widgets/code_editor.h"

#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>

#include "document/html_lexer.h"

namespace {

// What a block's colours were made from: its text revision and the state it started in.
class BlockColours : public QTextBlockUserData {
 public:
  int revision = -1;
  int generation = -1;
  int start_state = -1;
  int end_state = kInText;
  bool applied = false;
};

BlockColours* ColoursOf(const QTextBlock& block) {
  return static_cast<BlockColours*>(block.userData());
}

QTextCharFormat FormatFor(HtmlPart part) {
  QTextCharFormat format;
  switch (part) {
    case HtmlPart::kTag:
      format.setForeground(QColor(0x00, 0x00, 0xA0));
      break;
    case HtmlPart::kAttribute:
      format.setForeground(QColor(0xA0, 0x00, 0x50));
      break;
    case HtmlPart::kValue:
      format.setForeground(QColor(0x00, 0x70, 0x00));
      break;
    case HtmlPart::kComment:
      format.setForeground(QColor(0x80, 0x80, 0x80));
      break;
    case HtmlPart::kEntity:
      format.setForeground(QColor(0x90, 0x50, 0x00));
      break;
    case HtmlPart::kMarker:
      format.setForeground(Qt::white);
      format.setBackground(QColor(0xC0, 0x30, 0x30));
      break;
  }
  return format;
}

QStringList LocalFiles(const QMimeData* mime) {
  QStringList paths;
  if (mime == nullptr || !mime->hasUrls()) return paths;
  for (const QUrl& url : mime->urls()) {
    if (url.isLocalFile()) paths.append(url.toLocalFile());
  }
  return paths;
}

}  // namespace

class LineNumberArea : public QWidget {
 public:
  explicit LineNumberArea(CodeEditor* editor) : QWidget(editor), editor_(editor) {
    setObjectName(QStringLiteral("LineNumbers"));
  }
  QSize sizeHint() const override { return QSize(editor_->GutterWidth(), 0); }

 protected:
  void paintEvent(QPaintEvent* event) override { editor_->PaintGutter(event); }

 private:
  CodeEditor* editor_;
};

CodeEditor::CodeEditor(QWidget* parent)
    : QPlainTextEdit(parent), gutter_(new LineNumberArea(this)) {
  connect(this, &QPlainTextEdit::blockCountChanged, this, &CodeEditor::UpdateGutterWidth);
  connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
    if (dy != 0) {
      gutter_->scroll(0, dy);
    } else {
      gutter_->update(0, rect.y(), gutter_->width(), rect.height());
    }
    HighlightVisible();
  });
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, &CodeEditor::MarkCurrentLine);
  connect(document(), &QTextDocument::contentsChange, this, &CodeEditor::OnContentsChange);
  UpdateGutterWidth();
  MarkCurrentLine();
}

int CodeEditor::GutterWidth() const {
  if (!line_numbers_shown_) return 0;
  int digits = 1;
  for (int count = std::max(1, blockCount()); count >= 10; count /= 10) ++digits;
  return 8 + fontMetrics().horizontalAdvance(u'9') * std::max(3, digits);
}

void CodeEditor::SetLineNumbersShown(bool shown) {
  line_numbers_shown_ = shown;
  gutter_->setVisible(shown);
  UpdateGutterWidth();
}

void CodeEditor::UpdateGutterWidth() {
  // A new margin resizes the viewport, which lays a wrapped text out again: only on change.
  if (viewportMargins().left() != GutterWidth()) setViewportMargins(GutterWidth(), 0, 0, 0);
  const QRect area = contentsRect();
  gutter_->setGeometry(QRect(area.left(), area.top(), GutterWidth(), area.height()));
}

void CodeEditor::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  UpdateGutterWidth();
}

void CodeEditor::PaintGutter(QPaintEvent* event) {
  QPainter painter(gutter_);
  painter.fillRect(event->rect(), QColor(0xEE, 0xEE, 0xEE));
  const int current = textCursor().blockNumber();
  QTextBlock block = firstVisibleBlock();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  while (block.isValid() && top <= event->rect().bottom()) {
    const int height = qRound(blockBoundingRect(block).height());
    if (block.isVisible() && top + height >= event->rect().top()) {
      QFont font = painter.font();
      font.setBold(block.blockNumber() == current);
      painter.setFont(font);
      painter.setPen(block.blockNumber() == current ? Qt::black : Qt::darkGray);
      painter.drawText(0, top, gutter_->width() - 4, fontMetrics().height(), Qt::AlignRight,
                       QString::number(block.blockNumber() + 1));
    }
    top += height;
    block = block.next();
  }
}

void CodeEditor::MarkCurrentLine() {
  QTextEdit::ExtraSelection line;
  line.format.setBackground(QColor(0xFF, 0xFF, 0xD8));
  line.format.setProperty(QTextFormat::FullWidthSelection, true);
  line.cursor = textCursor();
  line.cursor.clearSelection();
  setExtraSelections({line});
  gutter_->update();
}

void CodeEditor::SetHighlighting(bool on) {
  highlighting_ = on;
  if (!on) {
    // Plain again: drop the colours of every block that has some.
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
      auto* colours = ColoursOf(block);
      if (colours == nullptr || !colours->applied) continue;
      block.layout()->clearFormats();
      colours->applied = false;
      colours->revision = -1;
      document()->markContentsDirty(block.position(), block.length());
    }
  }
  HighlightVisible();
}

void CodeEditor::OnContentsChange(int position, int, int added) {
  const QTextBlock changed = document()->findBlock(position);
  valid_until_ = std::min(valid_until_, changed.blockNumber());
  // Revisions start again when the whole text is replaced, so a block that outlives that
  // cannot trust its revision: a new generation makes every stored colour stale at once.
  if (position == 0 && added >= document()->characterCount() - 1) {
    ++generation_;
    return;
  }
  for (const QTextBlock& block : {changed, document()->findBlock(position + added)}) {
    if (auto* colours = ColoursOf(block)) colours->revision = -1;
  }
}

void CodeEditor::HighlightVisible() {
  // Applying colours asks for a repaint, which would call this again half-way through.
  if (!highlighting_ || highlighting_now_) return;
  highlighting_now_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{highlighting_now_};
  const QTextBlock first = firstVisibleBlock();
  if (!first.isValid()) return;
  const int bottom = viewport()->height();
  QTextBlock last = first;
  for (qreal top = blockBoundingGeometry(first).translated(contentOffset()).top();
       last.next().isValid() && top + blockBoundingRect(last).height() < bottom;
       last = last.next()) {
    top += blockBoundingRect(last).height();
  }
  // Blocks above the screen are only lexed for their end state, and only from the first
  // one whose state may have changed.
  QTextBlock block =
      valid_until_ < first.blockNumber() ? document()->findBlockByNumber(valid_until_) : first;
  int state = kInText;
  if (const QTextBlock previous = block.previous(); previous.isValid()) {
    if (const BlockColours* colours = ColoursOf(previous)) state = colours->end_state;
  }
  for (; block.isValid(); block = block.next()) {
    auto* colours = ColoursOf(block);
    if (colours == nullptr) {
      colours = new BlockColours;
      block.setUserData(colours);
    }
    const bool on_screen = block.blockNumber() >= first.blockNumber();
    const bool current = colours->revision == block.revision() &&
                         colours->generation == generation_ && colours->start_state == state;
    if (!current || (on_screen && !colours->applied)) {
      const HtmlLine lexed = LexHtmlLine(block.text(), state);
      colours->revision = block.revision();
      colours->generation = generation_;
      colours->start_state = state;
      colours->end_state = lexed.end_state;
      colours->applied = false;
      if (on_screen) {
        QList<QTextLayout::FormatRange> ranges;
        ranges.reserve(lexed.spans.size());
        for (const HtmlSpan& span : lexed.spans) {
          ranges.append(
              {static_cast<int>(span.start), static_cast<int>(span.length), FormatFor(span.part)});
        }
        block.layout()->setFormats(ranges);
        colours->applied = true;
        document()->markContentsDirty(block.position(), block.length());
      }
    }
    state = colours->end_state;
    if (block == last) break;
  }
  valid_until_ = std::max(valid_until_, last.blockNumber() + 1);
}

void CodeEditor::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFiles(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
    return;
  }
  QPlainTextEdit::dragEnterEvent(event);
}

void CodeEditor::dragMoveEvent(QDragMoveEvent* event) {
  if (!LocalFiles(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
    return;
  }
  QPlainTextEdit::dragMoveEvent(event);
}

void CodeEditor::dropEvent(QDropEvent* event) {
  const QStringList paths = LocalFiles(event->mimeData());
  if (!paths.isEmpty()) {
    event->acceptProposedAction();
    emit FilesDropped(paths);
    return;
  }
  QPlainTextEdit::dropEvent(event);
}
