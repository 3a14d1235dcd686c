#include "widgets/icons.h"

// The icons are compiled into the widgets library, which a static link would otherwise drop.
static void LoadIconResources() {
  static const bool loaded = [] {
    Q_INIT_RESOURCE(icons);
    return true;
  }();
  Q_UNUSED(loaded);
}

QIcon ThemedIcon(const QString& theme_name, const QString& own_name) {
  LoadIconResources();
  if (!theme_name.isEmpty()) {
    const QIcon theme = QIcon::fromTheme(theme_name);
    if (!theme.isNull() && !theme.availableSizes().isEmpty()) return theme;
  }
  if (own_name.isEmpty()) return QIcon();
  return QIcon(QStringLiteral(":/icons/%1.svg").arg(own_name));
}
