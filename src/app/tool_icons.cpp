#include "app/tool_icons.h"

#include <QApplication>
#include <QHash>
#include <QStyle>

#include "widgets/icons.h"

namespace {

// A button's picture: the desktop theme's icon of that meaning when the theme has one,
// else our own drawing (scalable, so sharp at any scale).
struct Picture {
  const char* theme;  // freedesktop icon name, or nullptr
  const char* own;    // file in the icons resource
};

QIcon StyleFallback(const QString& button_name) {
  static const QHash<QString, QStyle::StandardPixmap> standard = {
      {QStringLiteral("SpeedButton1"), QStyle::SP_ArrowLeft},
      {QStringLiteral("SpeedButton2"), QStyle::SP_ArrowRight},
      {QStringLiteral("SpeedButton8"), QStyle::SP_FileIcon},
      {QStringLiteral("SpeedButton14"), QStyle::SP_DialogOpenButton},
      {QStringLiteral("SpeedButton15"), QStyle::SP_DialogSaveButton},
      {QStringLiteral("SpeedButton16"), QStyle::SP_DesktopIcon},
      {QStringLiteral("SpeedButton11"), QStyle::SP_ArrowBack}};
  return QApplication::style()->standardIcon(standard.value(button_name, QStyle::SP_FileIcon));
}

}  // namespace

QIcon ToolIcon(const QString& button_name) {
  static const QHash<QString, Picture> pictures = {
      {QStringLiteral("SpeedButton1"), {"go-previous", nullptr}},
      {QStringLiteral("SpeedButton2"), {"go-next", nullptr}},
      {QStringLiteral("SpeedButton8"), {"document-new", nullptr}},
      {QStringLiteral("SpeedButton14"), {"document-open", nullptr}},
      {QStringLiteral("SpeedButton15"), {"document-save", nullptr}},
      {QStringLiteral("SpeedButton16"), {"document-print-preview", nullptr}},
      {QStringLiteral("SpeedButton11"), {"edit-undo", nullptr}},
      {QStringLiteral("SpeedButton7"), {nullptr, "text-to-html"}},
      {QStringLiteral("SpeedButton13"), {nullptr, "html-to-text"}},
      {QStringLiteral("SpeedButton12"), {nullptr, "wrap-tag"}},
      {QStringLiteral("SpeedButton9"), {nullptr, "paragraph"}},
      {QStringLiteral("knopka8"), {nullptr, "table"}},
      {QStringLiteral("SpeedButton6"), {nullptr, "line-break"}},
      {QStringLiteral("SpeedButton22"), {nullptr, "table"}},
      {QStringLiteral("SpeedButton25"), {nullptr, "list"}},
      {QStringLiteral("SpeedButton26"), {"insert-image", "image"}},
      {QStringLiteral("SpeedButton27"), {nullptr, "bar-chart"}},
      {QStringLiteral("SpeedButton28"), {nullptr, "image-map"}},
      {QStringLiteral("SpeedButton29"), {"edit-find-replace", "find-replace"}},
      {QStringLiteral("SpeedButton30"), {nullptr, "rename"}},
      {QStringLiteral("SpeedButton31"), {nullptr, "page-series"}},
      {QStringLiteral("SpeedButton32"), {nullptr, "compress"}},
      {QStringLiteral("SpeedButton33"), {nullptr, "colour"}},
      {QStringLiteral("SpeedButton34"), {nullptr, "style-sheet"}},
      {QStringLiteral("SpeedButton35"), {nullptr, "convert"}},
      {QStringLiteral("SpeedButton36"), {nullptr, "template"}},
      {QStringLiteral("SpeedButton37"), {nullptr, "index"}},
      {QStringLiteral("SpeedButton18"), {"edit-paste", "clipboard"}},
      {QStringLiteral("SpeedButton19"), {"preferences-system", "settings"}},
      {QStringLiteral("SpeedButton20"), {"help-about", "about"}},
  };
  const auto it = pictures.constFind(button_name);
  if (it == pictures.cend()) return QIcon();
  const QIcon icon = ThemedIcon(QString::fromLatin1(it->theme), QString::fromLatin1(it->own));
  // The basic file commands always exist in the style when no theme has them.
  return icon.isNull() ? StyleFallback(button_name) : icon;
}

QIcon ProgramIcon() { return ThemedIcon(QString(), QStringLiteral("brindlemark")); }
