#include "snippets/snippet_store.h"

#include "platform/codec.h"
#include "platform/text_format.h"

QByteArray SnippetsToBytes(const QStringList& entries) {
  QByteArray bytes;
  for (const QString& entry : entries) {
    bytes += EncodeCp1251(entry);
    bytes += "\r\n";
  }
  return bytes;
}

QStringList SnippetsFromBytes(QByteArrayView bytes) { return SplitLines(BytesToText(bytes)); }
