#include "html/page_links.h"

#include "html/entities.h"
#include "html/html_tokens.h"

namespace {

bool IsLinkAttribute(QByteArrayView element, QByteArrayView attribute) {
  if (attribute == "href") return element == "a" || element == "area" || element == "link";
  if (attribute == "src") {
    for (const char* name : {"img", "script", "iframe", "frame", "embed", "source", "track",
                             "audio", "video", "input"}) {
      if (element == name) return true;
    }
    return false;
  }
  if (attribute == "poster") return element == "video";
  if (attribute == "action") return element == "form";
  if (attribute == "data") return element == "object";
  return attribute == "background";
}

QString Decoded(QByteArrayView bytes) {
  const QString text = QString::fromUtf8(bytes);
  return text.contains(u'&') ? DecodeReferences(text, nullptr, true) : text;
}

class Reader {
 public:
  explicit Reader(QByteArrayView text) : text_(text), positions_(text) {}

  PageLink Make(qsizetype start, qsizetype end, QByteArrayView element, QByteArrayView attribute) {
    while (start < end && IsHtmlSpace(text_[start])) ++start;
    while (end > start && IsHtmlSpace(text_[end - 1])) --end;
    const PositionCounter::Position at = positions_.At(start);
    return PageLink{Decoded(text_.sliced(start, end - start)),
                    start,
                    end,
                    at.line,
                    at.column,
                    element.toByteArray(),
                    attribute.toByteArray()};
  }

  // Each candidate of a srcset: an address, then its width or density.
  void Srcset(qsizetype start, qsizetype end, QByteArrayView element, QList<PageLink>& out) {
    qsizetype at = start;
    while (at < end) {
      while (at < end && (IsHtmlSpace(text_[at]) || text_[at] == ',')) ++at;
      const qsizetype url_start = at;
      while (at < end && !IsHtmlSpace(text_[at])) ++at;
      qsizetype url_end = at;
      // A comma ending the address separates candidates.
      if (url_end > url_start && text_[url_end - 1] == ',') --url_end;
      if (url_end > url_start) out.append(Make(url_start, url_end, element, "srcset"));
      while (at < end && text_[at] != ',') ++at;
    }
  }

  // The url(…) of CSS text.
  void CssUrls(qsizetype start, qsizetype end, QByteArrayView element, QList<PageLink>& out) {
    const QByteArrayView css = text_.sliced(start, end - start);
    for (qsizetype at = 0; (at = css.indexOf("url(", at)) >= 0;) {
      qsizetype from = at + 4;
      const qsizetype close = css.indexOf(')', from);
      if (close < 0) break;
      qsizetype to = close;
      while (from < to && IsHtmlSpace(css[from])) ++from;
      while (to > from && IsHtmlSpace(css[to - 1])) --to;
      if (to > from && (css[from] == '"' || css[from] == '\'') && css[to - 1] == css[from]) {
        ++from;
        --to;
      }
      out.append(Make(start + from, start + to, element, "url"));
      at = close + 1;
    }
  }

  QByteArrayView Value(const HtmlAttribute& attribute) const {
    return text_.sliced(attribute.value_start, attribute.value_end - attribute.value_start);
  }

 private:
  QByteArrayView text_;
  PositionCounter positions_;
};

}  // namespace

PageLinks ReadPageLinks(QByteArrayView utf8) {
  PageLinks page;
  Reader reader(utf8);
  HtmlTokenizer tokenizer(utf8);
  HtmlToken token;
  bool in_style = false;
  bool in_script = false;
  while (tokenizer.Next(token)) {
    if (token.kind == HtmlToken::Kind::kText) {
      if (in_style) reader.CssUrls(token.start, token.end, "style", page.links);
      if (in_script) page.code.append({token.start, token.end});
      in_style = in_script = false;
      continue;
    }
    in_style = in_script = false;
    if (token.kind != HtmlToken::Kind::kStartTag) continue;
    in_style = token.name == "style";
    in_script = token.name == "script";
    QSet<QString> names;  // <a id="x" name="x"> offers x once
    for (const HtmlAttribute& attribute : std::as_const(token.attributes)) {
      if (!attribute.HasValue()) {
        // An href without a value is an empty link too.
        if (attribute.name == "href" && IsLinkAttribute(token.name, "href")) {
          page.links.append(reader.Make(attribute.name_start + 4, attribute.name_start + 4,
                                        token.name, attribute.name));
        }
        continue;
      }
      if (IsLinkAttribute(token.name, attribute.name)) {
        page.links.append(
            reader.Make(attribute.value_start, attribute.value_end, token.name, attribute.name));
      } else if (attribute.name == "srcset") {
        reader.Srcset(attribute.value_start, attribute.value_end, token.name, page.links);
      } else if (attribute.name == "style") {
        reader.CssUrls(attribute.value_start, attribute.value_end, token.name, page.links);
      } else if (attribute.name == "usemap") {
        page.usemaps.append(
            reader.Make(attribute.value_start, attribute.value_end, token.name, attribute.name));
      } else if (attribute.name == "id" || (attribute.name == "name" && token.name == "a")) {
        names.insert(Decoded(reader.Value(attribute)).trimmed());
      } else if (attribute.name == "name" && token.name == "map") {
        page.maps.insert(Decoded(reader.Value(attribute)).trimmed());
      } else if (token.name == "base" && attribute.name == "href") {
        if (page.base.isEmpty()) {
          page.base_link = reader.Make(attribute.value_start, attribute.value_end, "base", "href");
          page.base = page.base_link.url;
        }
      } else {
        page.code.append({attribute.value_start, attribute.value_end});
      }
    }
    for (const QString& name : std::as_const(names)) ++page.ids[name];
  }
  return page;
}
