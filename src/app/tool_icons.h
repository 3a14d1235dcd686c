#pragma once

#include <QIcon>
#include <QString>

// The picture of a tool button, by the button's object name. Buttons without a picture of
// their own get an empty icon.
QIcon ToolIcon(const QString& button_name);

// The program's icon, for every window and the desktop entry.
QIcon ProgramIcon();
