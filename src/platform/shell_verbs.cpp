#include "platform/shell_verbs.h"
#include "names/texts.h"

#include <QDir>
#include <QStandardPaths>

#include "platform/file_write.h"

namespace {

QString DataFolder(QString data_folder) {
  if (!data_folder.isEmpty()) return data_folder;
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

// Desktop entries are UTF-8 text, not a user's document.
QString WriteUtf8(const QString& path, const QString& text) {
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
    return Tr(Text::kCannotCreateFolder).arg(QFileInfo(path).absolutePath());
  }
  const std::optional<IoError> error = WriteWholeFile(path, text.toUtf8());
  return error ? error->message : QString();
}

}  // namespace

QString MimeTypeOf(const QString& file_type) {
  if (file_type == u"htmlfile") return QStringLiteral("text/html");
  if (file_type == u"txtfile") return QStringLiteral("text/plain");
  return QStringLiteral("text/x-brindlemark-list");
}

QString ExecLine(const QString& program_path) {
  // Inside double quotes the characters " ` $ \ take a backslash; the value itself then
  // doubles every backslash, and "%" is written "%%" so it is not a field code.
  QString quoted;
  for (QChar c : program_path) {
    if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
    quoted += c;
  }
  quoted.replace(u'\\', QStringLiteral("\\\\"));
  // Control characters take the string escapes of the key file format, so a path holding
  // a line break stays on the Exec line.
  quoted.replace(u'\n', QStringLiteral("\\n"));
  quoted.replace(u'\r', QStringLiteral("\\r"));
  quoted.replace(u'\t', QStringLiteral("\\t"));
  quoted.replace(u'%', QStringLiteral("%%"));
  return u'"' + quoted + QStringLiteral("\" %f");
}

QString DesktopEntryText(const QString& file_type, const QString& caption,
                         const QString& program_path) {
  QString name = caption;
  name.remove(u'&');
  return QStringLiteral(
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=%1\n"
             "Exec=%2\n"
             "MimeType=%3;\n"
             "NoDisplay=true\n"
             "Terminal=false\n")
      .arg(name, ExecLine(program_path), MimeTypeOf(file_type));
}

QString DesktopEntryPath(const QString& file_type, QString data_folder) {
  return DataFolder(std::move(data_folder)) + QStringLiteral("/applications/brindlemark-edit-") +
         file_type + QStringLiteral(".desktop");
}

QString RegisterEditVerb(const QString& file_type, const QString& caption,
                         const QString& program_path, QString data_folder) {
  data_folder = DataFolder(std::move(data_folder));
  if (file_type == u"lstfile") {
    const QString mime = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"text/x-brindlemark-list\">\n"
        "    <sub-class-of type=\"text/plain\"/>\n"
        "    <comment>List</comment>\n"
        "    <glob pattern=\"*.lst\"/>\n"
        "  </mime-type>\n"
        "</mime-info>\n");
    const QString error =
        WriteUtf8(data_folder + QStringLiteral("/mime/packages/brindlemark-lst.xml"), mime);
    if (!error.isEmpty()) return error;
  }
  return WriteUtf8(DesktopEntryPath(file_type, data_folder),
                   DesktopEntryText(file_type, caption, program_path));
}
