#pragma once

#include <QString>
#include <QStringList>

class Desktop;
class QPlainTextEdit;
class QWidget;
struct BatchReport;

// What the batch windows show and read of pages.

// Shows a file's text in view; an unreadable file leaves the view as it was.
void ShowFileIn(QPlainTextEdit* view, const QString& path);
// Shows the file a run wrote last.
void ShowLastResult(QPlainTextEdit* view, const BatchReport& report);
// A page's text; an unreadable one is reported over parent and *ok is false.
QString ReadText(Desktop& desktop, QWidget* parent, const QString& path, bool* ok);
// The lines a view holds.
QStringList ViewLines(const QPlainTextEdit* view);
