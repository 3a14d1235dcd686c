#pragma once

#include <QIcon>
#include <QString>

#include "app/command_table.h"

// The picture of a command's tool button: the theme's, else the program's own drawing, else
// (for the basic file commands) the style's.
QIcon ToolIcon(const Picture& picture);

// The program's icon, for every window and the desktop entry.
QIcon ProgramIcon();
