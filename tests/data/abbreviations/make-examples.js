// Expected expansions of the library's published examples, as the library itself writes
// them in Node (tab indent, fields replaced by their default text). Made with the pinned
// library: cd npm && npm ci && NODE_PATH=node_modules node ../tests/data/abbreviations/
// make-examples.js, its output after the header of examples.tsv.
const emmet = require('emmet');
const markup = [
  'div>ul>li', 'div+p+bq', 'div+div>p>span+em^bq', 'div+div>p>span+em^^bq', 'div>(header>ul>li*2>a)+footer>p',
  '(div>dl>(dt+dd)*3)+footer>p', 'ul>li*5', 'ul>li.item$*5', 'h$[title=item$]{Header $}*3', 'ul>li.item$$$*5',
  'ul>li.item$@-*5', 'ul>li.item$@3*5', '#header', '.title', 'form#search.wide', 'p.class1.class2.class3',
  'p[title="Hello world"]', 'td[rowspan=2 colspan=3 title]', '[a=\'value1\' b="value2"]', 'a{Click me}',
  'p>{Click }+a{here}+{ to continue}', 'p{Click }+a{here}+{ to continue}', '.class', 'em>.class', 'ul>.class',
  'table>.row>.col', 'a', 'a:link', 'a:mail', 'abbr', 'acronym', 'base', 'basefont', 'br', 'frame', 'hr',
  'bdo', 'bdo:r', 'bdo:l', 'col', 'link', 'link:css', 'link:print', 'link:favicon', 'link:rss', 'link:atom',
  'meta', 'meta:utf', 'meta:vp', 'style', 'script', 'script:src', 'img', 'img:s', 'img:z', 'iframe', 'embed',
  'object', 'param', 'map', 'area', 'area:d', 'area:c', 'area:r', 'area:p', 'form', 'form:get', 'form:post',
  'label', 'input', 'inp', 'input:hidden', 'input:h', 'input:text', 'input:t', 'input:search', 'input:email',
  'input:url', 'input:password', 'input:p', 'input:datetime', 'input:date', 'input:number', 'input:color',
  'input:checkbox', 'input:c', 'input:radio', 'input:r', 'input:file', 'input:f', 'input:submit', 'input:s',
  'input:image', 'input:i', 'input:button', 'input:b', 'input:reset', 'select', 'select:disabled', 'option',
  'textarea', 'menu:context', 'menu:toolbar', 'video', 'audio', 'html:xml', 'btn', 'btn:s', 'btn:r',
  'btn:d', 'fst', 'fset', 'optg', 'optgroup', 'tarea', 'leg', 'legend', 'sect', 'art', 'hdr', 'ftr', 'adr',
  'dlg', 'str', 'prog', 'mn', 'tem', 'fig', 'figc', 'pic', 'ifr', 'emb', 'obj', 'cap', 'colg', 'fst', 'btn',
  'ol+', 'ul+', 'dl+', 'map+', 'table+', 'tr+', 'select+', 'optg+', 'pic+',
];
const css = [
  'pos', 'pos:s', 'pos:a', 'pos:r', 'pos:f', 't', 't:a', 'r', 'r:a', 'b', 'b:a', 'l', 'l:a', 'z', 'z:a',
  'fl', 'fl:n', 'fl:l', 'fl:r', 'cl', 'cl:n', 'cl:l', 'cl:r', 'cl:b', 'd', 'd:n', 'd:b', 'd:f', 'd:if',
  'd:i', 'd:ib', 'v', 'v:v', 'v:h', 'ov', 'ov:v', 'ov:h', 'ov:s', 'ov:a', 'bxz', 'bxz:cb', 'bxz:bb',
  'm', 'm:a', 'm10', 'm10-20', 'mt', 'mr', 'mb', 'ml', 'p', 'p10', 'pt', 'pr', 'pb', 'pl', 'w', 'w100p',
  'h', 'h50', 'maw', 'mah', 'miw', 'mih', 'bd', 'bd1-s', 'bd:n', 'bdt', 'bdr', 'bdb', 'bdl', 'bdrs',
  'bg', 'bg+', 'bgc', 'bgi', 'c', 'c#f', 'c#fc0', 'op', 'ta', 'ta:l', 'ta:c', 'ta:r', 'td', 'td:n',
  'td:u', 'tt:u', 'lh', 'lts', 'ws', 'ws:nw', 'fw', 'fw:b', 'fs', 'fs:i', 'fz', 'fz12', 'ff', 'ff:s',
  'ff:ss', 'ff:m', 'cur', 'cur:p', 'trf', 'trs', 'bxsh', 'ol', 'olc', 'lis', 'lis:n', 'tbl', 'bdcl', 'bdcl:c',
];
const field = (index, placeholder) => placeholder;
const rows = [];
for (const a of markup) {
  try {
    const out = emmet.default(a, { options: { 'output.indent': '\t', 'output.field': field }, variables: { charset: 'windows-1251', lang: 'en' } });
    rows.push(['html', a, out]);
  } catch (e) {}
}
for (const a of css) {
  try {
    const out = emmet.default(a, { type: 'stylesheet', options: { 'output.field': field,
      'stylesheet.between': ': ', 'stylesheet.after': ';' } });
    rows.push(['css', a, out]);
  } catch (e) {}
}
const esc = (s) => s.replace(/\\/g, '\\\\').replace(/\t/g, '\\t').replace(/\n/g, '\\n');
for (const [kind, a, out] of rows) console.log([kind, esc(a), esc(out)].join('\t'));
