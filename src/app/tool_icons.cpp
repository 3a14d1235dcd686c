#include "app/tool_icons.h"

#include <QApplication>
#include <QHash>
#include <QStyle>

#include "widgets/icons.h"

namespace {

// The style's picture for a theme icon name, for the basic file commands.
QIcon StyleFallback(const char* theme) {
  static const QHash<QString, QStyle::StandardPixmap> standard = {
      {QStringLiteral("go-previous"), QStyle::SP_ArrowLeft},
      {QStringLiteral("go-next"), QStyle::SP_ArrowRight},
      {QStringLiteral("document-new"), QStyle::SP_FileIcon},
      {QStringLiteral("document-open"), QStyle::SP_DialogOpenButton},
      {QStringLiteral("document-save"), QStyle::SP_DialogSaveButton},
      {QStringLiteral("document-print-preview"), QStyle::SP_DesktopIcon},
      {QStringLiteral("edit-undo"), QStyle::SP_ArrowBack}};
  const auto it = standard.constFind(QString::fromLatin1(theme));
  return it == standard.cend() ? QIcon() : QApplication::style()->standardIcon(*it);
}

}  // namespace

QIcon ToolIcon(const Picture& picture) {
  const QIcon icon =
      ThemedIcon(QString::fromLatin1(picture.theme), QString::fromLatin1(picture.own));
  return icon.isNull() ? StyleFallback(picture.theme) : icon;
}

QIcon ProgramIcon() { return ThemedIcon(QString(), QStringLiteral("brindlemark")); }
