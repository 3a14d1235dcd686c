#include "settings/about_window.h"
#include "names/texts.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include "platform/desktop.h"
#include "widgets/widget_helpers.h"

namespace {

QPixmap Picture() {
  QPixmap pixmap(96, 96);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(0x2a, 0x5d, 0xa8));
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(QRectF(4, 4, 88, 88), 14, 14);
  painter.setPen(Qt::white);
  QFont font = QApplication::font();
  font.setPixelSize(30);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("</>"));
  return pixmap;
}

QLabel* LinkLabel(const QString& name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setCursor(Qt::PointingHandCursor);
  QFont font = label->font();
  font.setUnderline(true);
  label->setFont(font);
  SetPaletteColour(label, QPalette::WindowText, Qt::blue);
  return label;
}

// Turns clicks on a label into a call.
class ClickFilter : public QObject {
 public:
  ClickFilter(QObject* parent, std::function<void()> on_click)
      : QObject(parent), on_click_(std::move(on_click)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonRelease) on_click_();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> on_click_;
};

}  // namespace

AboutWindow::AboutWindow(Desktop& desktop, QWidget* parent) : QDialog(parent) {
  setObjectName(kName.toString());
  setWindowFlag(Qt::Tool);

  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("Image1"));
  picture->setPixmap(Picture());
  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("Image2"));
  icon->setPixmap(style()->standardIcon(QStyle::SP_FileIcon).pixmap(32, 32));
  auto* credits = new QLabel(this);
  BindText(credits,
           [credits] { credits->setText(Tr(Text::kCredits).arg(QStringLiteral(BM_VERSION))); });
  credits->setObjectName(QStringLiteral("Label1"));
  auto* mail_caption = new QLabel(this);
  mail_caption->setObjectName(QStringLiteral("Label6"));
  auto* web_caption = new QLabel(this);
  web_caption->setObjectName(QStringLiteral("Label7"));
  QLabel* mail = LinkLabel(QStringLiteral("Label5"), QString(), this);
  BindText(mail, [mail] { mail->setText(Tr(Text::kWriteMessage)); });
  QLabel* web = LinkLabel(QStringLiteral("Label2"),
                          QString::fromLatin1(kWebAddress).section(QStringLiteral("://"), 1), this);
  mail->installEventFilter(new ClickFilter(
      mail, [&desktop] { desktop.OpenWithDefaultProgram(QString::fromLatin1(kMailAddress)); }));
  web->installEventFilter(new ClickFilter(
      web, [&desktop] { desktop.OpenWithDefaultProgram(QString::fromLatin1(kWebAddress)); }));
  auto* ok = new QPushButton(QStringLiteral("Ok"), this);
  ok->setObjectName(QStringLiteral("Button1"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QGridLayout(this);
  layout->addWidget(picture, 0, 0, 3, 1);
  layout->addWidget(icon, 0, 1);
  layout->addWidget(credits, 1, 1, 1, 2);
  layout->addWidget(mail_caption, 3, 0);
  layout->addWidget(mail, 3, 1, 1, 2);
  layout->addWidget(web_caption, 4, 0);
  layout->addWidget(web, 4, 1, 1, 2);
  layout->addWidget(ok, 5, 2);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}
