#include "app/find_bar.h"
#include "names/texts.h"

#include "editor/code_editor.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "document/editor_model.h"
#include "document/find.h"
#include "widgets/form_helpers.h"

namespace {

FindOptions OptionsOf(const QCheckBox* regex, const QCheckBox* match_case,
                      const QCheckBox* whole_word) {
  return {regex->isChecked(), match_case->isChecked(), whole_word->isChecked()};
}

}  // namespace

FindBar::FindBar(CodeEditor* editor, EditorModel& model, QWidget* parent)
    : QFrame(parent),
      editor_(editor),
      model_(model),
      find_(Named<QLineEdit>(this, QStringLiteral("FindText"))),
      replace_(Named<QLineEdit>(this, QStringLiteral("ReplaceText"))),
      regex_(Captioned<QCheckBox>(this, QStringLiteral("FindRegex"), Text::kFindRegex)),
      match_case_(Captioned<QCheckBox>(this, QStringLiteral("FindCase"), Text::kFindCase)),
      whole_word_(Captioned<QCheckBox>(this, QStringLiteral("FindWholeWord"), Text::kFindWord)),
      count_label_(Named<QLabel>(this, QStringLiteral("FindCount"))),
      replace_row_(new QWidget(this)),
      count_timer_(new QTimer(this)) {
  setObjectName(QStringLiteral("FindBar"));
  setFrameShape(QFrame::StyledPanel);
  ShowText(find_, &QLineEdit::setPlaceholderText, Text::kFindPlaceholder);
  find_->setMinimumWidth(120);
  ShowText(regex_, &QCheckBox::setToolTip, Text::kFindRegexTip);
  ShowText(match_case_, &QCheckBox::setToolTip, Text::kFindCaseTip);
  ShowText(whole_word_, &QCheckBox::setToolTip, Text::kFindWordTip);
  ShowText(replace_, &QLineEdit::setPlaceholderText, Text::kReplacePlaceholder);
  BuildRows();
  hide();

  connect(find_, &QLineEdit::textChanged, this, &FindBar::UpdateCount);
  for (QCheckBox* box : {regex_, match_case_, whole_word_}) {
    connect(box, &QCheckBox::toggled, this, &FindBar::UpdateCount);
  }
  // Counting reads the whole text: after a pause in typing, not at every key.
  count_timer_->setSingleShot(true);
  count_timer_->setInterval(250);
  connect(count_timer_, &QTimer::timeout, this, &FindBar::UpdateCount);
  connect(editor_, &CodeEditor::Edited, this, [this] {
    if (isVisible()) count_timer_->start();
  });
  connect(find_, &QLineEdit::returnPressed, this, [this] { FindNext(false); });
}

void FindBar::SetEditor(CodeEditor* editor) {
  if (editor != editor_) editor_->SetFindHighlight(std::nullopt);
  editor_ = editor;
  if (isVisible()) count_timer_->start();
}

// The find row (field, previous, next, the three options, the count, close) and the
// replace row under it.
void FindBar::BuildRows() {
  auto* next = Named<QPushButton>(this, QStringLiteral("FindNext"), QStringLiteral("▶"));
  auto* previous = Named<QPushButton>(this, QStringLiteral("FindPrevious"), QStringLiteral("◀"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("FindClose"), QStringLiteral("×"));
  auto* replace_one =
      Captioned<QPushButton>(replace_row_, QStringLiteral("ReplaceOne"), Text::kReplaceOne);
  auto* replace_all =
      Captioned<QPushButton>(replace_row_, QStringLiteral("ReplaceAll"), Text::kReplaceAll);
  close_button->setFixedWidth(28);
  ShowText(next, &QPushButton::setToolTip, Text::kNextTip);
  ShowText(previous, &QPushButton::setToolTip, Text::kPreviousTip);
  next->setFixedWidth(32);
  previous->setFixedWidth(32);
  auto* find_row = new QHBoxLayout;
  find_row->setContentsMargins(0, 0, 0, 0);
  find_row->addWidget(find_, 1);
  find_row->addWidget(previous);
  find_row->addWidget(next);
  find_row->addWidget(regex_);
  find_row->addWidget(match_case_);
  find_row->addWidget(whole_word_);
  find_row->addWidget(count_label_);
  find_row->addWidget(close_button);
  replace_->setParent(replace_row_);
  auto* replace_layout = new QHBoxLayout(replace_row_);
  replace_layout->setContentsMargins(0, 0, 0, 0);
  replace_layout->addWidget(replace_, 1);
  replace_layout->addWidget(replace_one);
  replace_layout->addWidget(replace_all);
  replace_layout->addStretch(0);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->setSpacing(2);
  layout->addLayout(find_row);
  layout->addWidget(replace_row_);
  connect(next, &QPushButton::clicked, this, [this] { FindNext(false); });
  connect(previous, &QPushButton::clicked, this, [this] { FindNext(true); });
  connect(replace_one, &QPushButton::clicked, this, &FindBar::ReplaceOne);
  connect(replace_all, &QPushButton::clicked, this, &FindBar::ReplaceAll);
  connect(close_button, &QPushButton::clicked, this, [this] {
    hide();
    editor_->setFocus();
  });
}

void FindBar::Open(bool with_replace) {
  const QString selected = model_.SelectedText();
  if (!selected.isEmpty() && !selected.contains(u'\n')) find_->setText(selected);
  replace_row_->setVisible(with_replace);
  show();
  find_->setFocus();
  find_->selectAll();
  UpdateCount();
}

void FindBar::UpdateCount() {
  QString error;
  const auto expression =
      FindExpression(find_->text(), OptionsOf(regex_, match_case_, whole_word_), &error);
  if (!expression) {
    count_ = 0;
    count_label_->setText(find_->text().isEmpty() ? QString() : error);
    editor_->SetFindHighlight(std::nullopt);
    return;
  }
  // Every match on screen is marked while the bar is open.
  if (isVisible()) editor_->SetFindHighlight(expression);
  count_ = CountMatches(model_.Text(), *expression);
  count_label_->setText(count_ == 1 ? Tr(Text::kOneMatch) : Tr(Text::kMatches).arg(count_));
}

bool FindBar::FindNext(bool backward) {
  if (find_->text().isEmpty()) {
    Open(replace_row_->isVisible());
    return false;
  }
  const auto expression =
      FindExpression(find_->text(), OptionsOf(regex_, match_case_, whole_word_));
  if (!expression) return false;
  const qsizetype from = backward ? model_.SelectionStart() : model_.SelectionEnd();
  const TextMatch match = FindMatch(model_.Text(), *expression, from, backward);
  if (!match.found()) {
    count_label_->setText(Tr(Text::kNoMatch));
    return false;
  }
  // The model's text has one character per line break, as the model's positions do.
  model_.Select(int(match.start), int(match.length));
  // In the middle of the view, not on its last line.
  editor_->CentreCaret();
  emit MatchShown();
  if (match.wrapped) {
    count_label_->setText(
        Tr(backward ? Text::kMatchesFromEnd : Text::kMatchesFromStart).arg(count_));
  } else {
    // Which match this is: "3 of 17".
    const int index = CountMatches(model_.Text().left(match.start), *expression) + 1;
    count_label_->setText(Tr(Text::kMatchOf).arg(index).arg(count_));
  }
  return true;
}

void FindBar::ReplaceOne() {
  const FindOptions options = OptionsOf(regex_, match_case_, whole_word_);
  const auto expression = FindExpression(find_->text(), options);
  if (!expression) return;
  const QString text = model_.Text();
  const int start = model_.SelectionStart();
  const int end = model_.SelectionEnd();
  // The selection is replaced when it is a match; then on to the next one.
  if (end > start) {
    const TextMatch match = FindMatch(text, *expression, start, false);
    if (match.found() && match.start == start && match.start + match.length == end) {
      model_.ReplaceSelection(ReplacementFor(text, match, *expression, replace_->text(), options));
    }
  }
  FindNext(false);
}

int FindBar::ReplaceAll() {
  const FindOptions options = OptionsOf(regex_, match_case_, whole_word_);
  const auto expression = FindExpression(find_->text(), options);
  if (!expression) return 0;
  const QStringList lines = model_.Lines();
  int count = 0;
  const QString replaced =
      ReplaceAllMatches(lines.join(u'\n'), *expression, replace_->text(), options, &count);
  if (count > 0) model_.ApplyLines(lines, replaced.split(u'\n'));
  count_label_->setText(Tr(Text::kReplacedCount).arg(count));
  return count;
}

void FindBar::hideEvent(QHideEvent* event) {
  editor_->SetFindHighlight(std::nullopt);
  QFrame::hideEvent(event);
}

void FindBar::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    hide();
    editor_->setFocus();
    return;
  }
  QFrame::keyPressEvent(event);
}
