#include "app/save_prompt_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "names/texts.h"

SavePromptWindow::SavePromptWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(kName.toString());
  setWindowFlag(Qt::Tool);
  setModal(true);

  auto* question = new QLabel(this);
  question->setObjectName(QStringLiteral("Label1"));
  QFont bold = question->font();
  bold.setBold(true);
  question->setFont(bold);

  struct AnswerButton {
    const char16_t* name;
    const char16_t* answer;
    QStyle::StandardPixmap icon;
  };
  const AnswerButton answer_buttons[] = {{u"BitBtn1", u"y", QStyle::SP_DialogYesButton},
                                         {u"BitBtn2", u"n", QStyle::SP_DialogNoButton},
                                         {u"BitBtn3", u"c", QStyle::SP_DialogCancelButton}};
  auto* buttons = new QHBoxLayout;
  for (const AnswerButton& entry : answer_buttons) {
    auto* button = new QPushButton(style()->standardIcon(entry.icon), QString(), this);
    button->setObjectName(QString::fromUtf16(entry.name));
    button->setFixedSize(81, 25);
    button->setAutoDefault(false);
    const QString answer = QString::fromUtf16(entry.answer);
    connect(button, &QPushButton::clicked, this, [this, answer] { Answer(answer); });
    buttons->addWidget(button);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(question);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void SavePromptWindow::Prepare(const QString& page, bool closing) {
  // A caption this window did not set came from the language file.
  if (windowTitle() != own_caption_ || closing_caption_.isEmpty()) closing_caption_ = windowTitle();
  own_caption_ = closing ? closing_caption_ : Tr(Text::kSaveChangesCaption);
  setWindowTitle(own_caption_);
  findChild<QLabel*>(QStringLiteral("Label1"))->setText(Tr(Text::kSaveChangesTo).arg(page));
  for (QPushButton* button : findChildren<QPushButton*>()) {
    const QString text = button->text();
    if (!text.isEmpty() && !text.contains(u'&')) button->setText(u'&' + text);
  }
}

std::optional<QString> SavePromptWindow::TakeAnswer() {
  return std::exchange(answer_, std::nullopt);
}

void SavePromptWindow::Answer(const QString& answer) {
  answer_ = answer;
  done(answer == u"c" ? QDialog::Rejected : QDialog::Accepted);
}
