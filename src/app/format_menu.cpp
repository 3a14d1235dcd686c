#include "app/format_menu.h"

#include <QMenu>

#include "document/document_session.h"
#include "names/texts.h"

namespace {

void AddLineEnds(QMenu& menu, DocumentSession& session) {
  for (const LineEnd end : kLineEnds) {
    QAction* action = menu.addAction(QString::fromLatin1(NameOf(end)));
    action->setCheckable(true);
    action->setChecked(session.Format().line_end == end);
    QObject::connect(action, &QAction::triggered, &menu, [&session, end] {
      TextFormat format = session.Format();
      format.line_end = end;
      session.SetFormat(format);
    });
  }
}

}  // namespace

void RunFormatMenu(DocumentSession& session, QWidget* parent, QPoint at, bool declared,
                   const std::function<void()>& declare) {
  QMenu menu(parent);
  const TextFormat now = session.Format();
  auto add = [&](QMenu* to, const QString& text, TextEncoding encoding, bool bom) {
    QAction* action = to->addAction(text);
    action->setCheckable(true);
    action->setChecked(now.encoding == encoding && now.bom == bom);
    QObject::connect(action, &QAction::triggered, &menu, [&session, encoding, bom] {
      TextFormat format = session.Format();
      format.encoding = encoding;
      format.bom = bom;
      session.SetFormat(format);
    });
  };
  add(&menu, QStringLiteral("Windows-1251"), TextEncoding::kWindows1251, false);
  add(&menu, QStringLiteral("UTF-8"), TextEncoding::kUtf8, false);
  add(&menu, Tr(Text::kUtf8WithBom), TextEncoding::kUtf8, true);
  QMenu* others = menu.addMenu(Tr(Text::kOtherEncodings));
  QMenu* reopen = menu.addMenu(Tr(Text::kReopenWithEncoding));
  reopen->menuAction()->setObjectName(QStringLiteral("ReopenWithEncoding"));
  reopen->setEnabled(session.IsNamed());
  for (const EncodingName& row : Encodings()) {
    const QString name = QString::fromLatin1(row.name);
    if (row.encoding != TextEncoding::kWindows1251 && row.encoding != TextEncoding::kUtf8) {
      add(others, name, row.encoding, false);
    }
    QAction* again = reopen->addAction(name);
    QObject::connect(again, &QAction::triggered, &menu,
                     [&session, encoding = row.encoding] { session.ReopenWithEncoding(encoding); });
  }
  menu.addSeparator();
  AddLineEnds(menu, session);
  menu.addSeparator();
  QAction* declaration =
      menu.addAction(Tr(Text::kDeclareEncoding).arg(QLatin1String(NameOf(now.encoding))));
  declaration->setObjectName(QStringLiteral("DeclareEncoding"));
  declaration->setEnabled(!declared);
  QObject::connect(declaration, &QAction::triggered, &menu, declare);
  menu.exec(at);
}
