#pragma once

#include <QIcon>
#include <QString>

// The desktop theme's icon of that freedesktop name when the theme has one, else our own
// drawing of that name from the icons resource (scalable, so sharp at any scale). Either
// name may be empty.
QIcon ThemedIcon(const QString& theme_name, const QString& own_name);
