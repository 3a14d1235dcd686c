#pragma once

#include <QString>
#include <QStringList>
#include <span>

#include "names/texts.h"

// What a tag command does.
enum class TagKind {
  kSubmenu,  // opens a submenu; the rows that follow with a greater depth belong to it
  kSeparator,
  kWrapInsert,  // wrap a non-empty selection in open/close, else insert the snippet
  kInsert,      // insert the snippet whatever is selected
  kComment,     // "<!--" selection "-->", else insert the snippet
  kDate,        // the short date and " "
  kTime,        // the long time and " "
  kWindow,      // shows a window or runs a main window command, wired by name
};

// A row's caption: a text of the interface's language, or one that is the same in every
// language ("<title>", "H1").
struct TagCaption {
  constexpr TagCaption(Text translated) : text(translated) {}
  constexpr TagCaption(const char16_t* fixed) : same(fixed) {}
  Text text = Text{};
  const char16_t* same = nullptr;
};

// One row of the pop-up menu of the editor.
struct TagCommand {
  const char16_t* name;  // object name of the menu item
  TagCaption caption;
  TagKind kind;
  int depth;                // 0: the pop-up menu itself
  const char16_t* open;     // open text for a selection
  const char16_t* close;    // close name for a selection
  const char16_t* snippet;  // inserted with no selection
};

// Every row of the pop-up menu, in menu order.
std::span<const TagCommand> TagCatalogue();
// A row's caption in the interface's language.
QString CaptionOf(const TagCommand& command);

// The element names the catalogue's snippets open, older ones (font, center, tt…) included.
const QStringList& CatalogueElementNames();
