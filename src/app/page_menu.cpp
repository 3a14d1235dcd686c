#include "app/page_menu.h"

#include "app/command_controls.h"
#include "names/texts.h"
#include "tags/tag_catalogue.h"

PageMenu::PageMenu(CommandControls& commands, std::function<void(const QString&)> run_tag,
                   QWidget* parent)
    : QMenu(parent), run_tag_(std::move(run_tag)) {
  setObjectName(QStringLiteral("PopupMenu1"));
  // The clipboard commands first, as in every editor; the tag catalogue below them.
  commands.AddPopupItems(this,
                         {Command::kCut, Command::kCopy, Command::kPaste, Command::kSelectAll});
  addSeparator();
  BuildCatalogue();
}

void PageMenu::BuildCatalogue() {
  // menus[d] is the menu that takes rows of depth d.
  QList<QMenu*> menus{this};
  for (const TagCommand& command : TagCatalogue()) {
    menus.resize(command.depth + 1);
    QMenu* parent = menus.back();
    const QString name = QString::fromUtf16(command.name);
    switch (command.kind) {
      case TagKind::kSubmenu: {
        QMenu* submenu = parent->addMenu(QString());
        submenu->setObjectName(name);
        submenu->menuAction()->setObjectName(name);
        BindText(submenu, [submenu, &command] { submenu->setTitle(CaptionOf(command)); });
        menus.append(submenu);
        break;
      }
      case TagKind::kSeparator:
        parent->addSeparator()->setObjectName(name);
        break;
      default: {
        auto* action = new QAction(parent);
        action->setObjectName(name);
        BindText(action, [action, &command] { action->setText(CaptionOf(command)); });
        parent->addAction(action);
        connect(action, &QAction::triggered, this, [this, name] { run_tag_(name); });
      }
    }
  }
}

QAction* PageMenu::AddOfferItem(const QString& text, const QString& name) {
  auto* action = new QAction(text, this);
  action->setObjectName(name);
  insertAction(actions().value(offer_.size()), action);
  offer_.append(action);
  return action;
}

void PageMenu::OfferWord(const QStringList& suggestions) {
  DropOffer();
  for (qsizetype i = 0; i < suggestions.size(); ++i) {
    connect(AddOfferItem(suggestions[i], QStringLiteral("Suggestion%1").arg(i + 1)),
            &QAction::triggered, this,
            [this, suggestion = suggestions[i]] { emit SuggestionChosen(suggestion); });
  }
  if (suggestions.isEmpty()) {
    AddOfferItem(Tr(Text::kNoSuggestions), QStringLiteral("NoSuggestions"))->setEnabled(false);
  }
  connect(AddOfferItem(Tr(Text::kAddToDictionary), QStringLiteral("AddToDictionary")),
          &QAction::triggered, this, &PageMenu::AddWordChosen);
  connect(AddOfferItem(Tr(Text::kIgnoreInPage), QStringLiteral("IgnoreInPage")),
          &QAction::triggered, this, &PageMenu::IgnoreWordChosen);
  offer_.append(insertSeparator(actions().value(offer_.size())));
}

void PageMenu::DropOffer() {
  qDeleteAll(offer_);
  offer_.clear();
}
