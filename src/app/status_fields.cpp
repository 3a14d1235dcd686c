#include "app/status_fields.h"

#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>

#include "names/texts.h"

StatusFields::StatusFields(QStatusBar& bar) : QObject(&bar) {
  bar.setObjectName(QStringLiteral("StatusBar1"));
  bar.setSizeGripEnabled(true);
  for (int i = 0; i < 3; ++i) {
    auto* panel = new QLabel(&bar);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    // The offset field holds eight digits (a 50 MB page); a longer text widens its field
    // rather than being cut.
    panel->setMinimumWidth(
        i == 2 ? panel->fontMetrics().horizontalAdvance(QStringLiteral("88888888")) + 14 : 50);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    bar.addWidget(panel);
    panels_[i] = panel;
  }
  // Notes stand in a field of their own, so the status panels never hide behind them.
  note_field_ = new QLabel(&bar);
  note_field_->setObjectName(QStringLiteral("NotePanel"));
  bar.addWidget(note_field_, 1);
  format_field_ = new QLabel(&bar);
  format_field_->setObjectName(QStringLiteral("FormatPanel"));
  ShowText(format_field_, &QLabel::setToolTip, Text::kFormatTip);
  format_field_->installEventFilter(this);
  bar.addPermanentWidget(format_field_);
  problems_field_ = new QLabel(&bar);
  problems_field_->setObjectName(QStringLiteral("ProblemsField"));
  bar.addPermanentWidget(problems_field_);
  ShowFormat(TextFormat{});
}

void StatusFields::SetPanel(int panel, const QString& text) { panels_[panel]->setText(text); }

QString StatusFields::Panel(int panel) const { return panels_[panel]->text(); }

void StatusFields::ShowNote(const QString& text) {
  note_field_->setText(text);
  QTimer::singleShot(8000, note_field_, [field = QPointer<QLabel>(note_field_), text] {
    if (field && field->text() == text) field->clear();
  });
}

void StatusFields::ShowFormat(const TextFormat& format) {
  format_field_->setText(FormatLabel(format));
}

void StatusFields::ShowProblemCounts(const QString& counts) { problems_field_->setText(counts); }

bool StatusFields::eventFilter(QObject* watched, QEvent* event) {
  if (watched == format_field_ && event->type() == QEvent::MouseButtonRelease) {
    emit FormatClicked();
    return true;
  }
  return QObject::eventFilter(watched, event);
}
