#include "generators/list_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "document/editor_model.h"
#include "document/editor_target.h"
#include "generators/markup.h"

ListWindow::ListWindow(EditorTarget& target, QWidget* parent)
    : ToolWindow(kName.toString(), parent),
      target_(target),
      ordered_(Named<QRadioButton>(this, QStringLiteral("RadioButton1"))),
      unordered_(Named<QRadioButton>(this, QStringLiteral("RadioButton2"))),
      ordered_style_(
          NewCombo(this, QStringLiteral("ComboBox1"),
                   {QStringLiteral("1,2,3"), QStringLiteral("A,B,C"), QStringLiteral("a,b,c"),
                    QStringLiteral("I,II,III"), QStringLiteral("i,ii,ii")},
                   false)),
      unordered_style_(NewCombo(
          this, QStringLiteral("ComboBox2"),
          {QStringLiteral("Discs"), QStringLiteral("Circles"), QStringLiteral("Squares")}, false)),
      items_(NewSpin(this, QStringLiteral("SpinEdit1"), 1, 9999, 1)) {
  MakeExclusive(this, {ordered_, unordered_});
  ordered_->setChecked(true);
  auto* insert = Named<QPushButton>(this, QStringLiteral("Button1"));
  auto* close_button = Named<QPushButton>(this, QStringLiteral("Button2"));
  auto* layout = new QGridLayout(this);
  layout->addWidget(ordered_, 0, 0);
  layout->addWidget(unordered_, 1, 0);
  layout->addWidget(ordered_style_, 0, 1, 2, 1);
  layout->addWidget(unordered_style_, 0, 1, 2, 1);
  layout->addWidget(Named<QLabel>(this, QStringLiteral("Label1")), 2, 0);
  layout->addWidget(items_, 2, 1);
  layout->addWidget(insert, 3, 0);
  layout->addWidget(close_button, 3, 1);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  ShowStyleBox();
  connect(ordered_, &QRadioButton::toggled, this, &ListWindow::ShowStyleBox);
  connect(insert, &QPushButton::clicked, this, &ListWindow::Insert);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
}

void ListWindow::ShowStyleBox() {
  ordered_style_->setVisible(ordered_->isChecked());
  unordered_style_->setVisible(!ordered_->isChecked());
}

void ListWindow::Insert() {
  const bool ordered = ordered_->isChecked();
  const int style = ordered ? ordered_style_->currentIndex() : unordered_style_->currentIndex();
  EditorModel& editor = target_.Editor();
  editor.InsertLines(editor.CaretLine(), ListLines(ordered, style, items_->value()));
}
