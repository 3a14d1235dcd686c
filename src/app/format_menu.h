#pragma once

#include <QPoint>
#include <functional>

class DocumentSession;
class QWidget;

// The status bar's format menu over the current page: convert it to another encoding or
// line-end style, read it again in another encoding, or declare its encoding in the page
// (declare, offered while the page declares none). Runs until an item is chosen.
void RunFormatMenu(DocumentSession& session, QWidget* parent, QPoint at, bool declared,
                   const std::function<void()>& declare);
