#pragma once

#include <QMenu>
#include <functional>

class CommandControls;

// The editor's pop-up menu "PopupMenu1": the clipboard commands, then the tag catalogue.
// An unknown word under the mouse puts its suggestions, "Add to dictionary" and "Ignore in
// this page" at the top for one showing.
class PageMenu : public QMenu {
  Q_OBJECT
 public:
  // run_tag runs a catalogue item by name.
  PageMenu(CommandControls& commands, std::function<void(const QString&)> run_tag, QWidget* parent);

  // The word's items for the next showing (no suggestions: a note saying so).
  void OfferWord(const QStringList& suggestions);
  // The menu shows without them.
  void DropOffer();

 signals:
  void SuggestionChosen(const QString& suggestion);
  void AddWordChosen();
  void IgnoreWordChosen();

 private:
  void BuildCatalogue();
  QAction* AddOfferItem(const QString& text, const QString& name);

  std::function<void(const QString&)> run_tag_;
  QList<QAction*> offer_;
};
