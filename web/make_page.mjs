// Makes lumocalc.html from page/: the markup with its style, the module and
// the glue inlined, and a Content-Security-Policy that allows exactly that
// style and that script (by their SHA-256 hashes), WebAssembly and images
// held in the page itself, and nothing else: no request of any kind, no
// other script, no form target.
//   node make_page.mjs PAGE_DIR MODULE_JS OUT_HTML
import {createHash} from 'node:crypto';
import {readFileSync, writeFileSync} from 'node:fs';
import {join} from 'node:path';

const [pageDir, modulePath, readme, notices, version, out] = process.argv.slice(2);
const read = (path) => readFileSync(path, 'utf8');
const style = read(join(pageDir, 'page.css'));
const script = `${read(modulePath)}\n${read(join(pageDir, 'page.js'))}`;
if (/<\/(script|style)/i.test(style + script)) throw new Error('an inlined text would end its element');

// The README's Markdown as far as the guide uses it: paragraphs, code blocks
// between ``` lines, `code` and **bold**.
const escape = (text) => text.replace(/[&<>"]/g, (c) => `&${{'&': 'amp', '<': 'lt', '>': 'gt', '"': 'quot'}[c]};`);
// The engine's error is French: marked so, a screen reader speaks it so.
const french = (html) => html.replace(/Erreur de syntaxe/g, '<span lang="fr">$&</span>');
const inline = (text) => french(escape(text)).replace(/`([^`]*)`/g, '<code>$1</code>')
  .replace(/\*\*([^*]*)\*\*/g, '<strong>$1</strong>');
// Text whose paragraphs are apart by blank lines, each made HTML by `format`.
const paragraphs = (text, format) => text.split(/\n\s*\n/).filter((p) => p.trim())
  .map((p) => `<p>${format(p.trim())}</p>`).join('\n');
function guide(markdown) {
  const region = markdown.match(/<!-- man:guide -->\n([^]*?)<!-- \/man:guide -->/);
  if (!region) throw new Error('the README has no guide region');
  return region[1].split(/^```\n([^]*?)^```\n/m).map((block, i) => (i % 2 ?
    `<pre>${french(escape(block))}</pre>` :
    paragraphs(block, inline))).join('\n');
}
const licence = (text) => `<h2>Licence</h2>\n${paragraphs(text, escape)}`;

const hash = (text) => `'sha256-${createHash('sha256').update(text, 'utf8').digest('base64')}'`;
const policy = [
  "default-src 'none'",
  `script-src ${hash(script)} 'wasm-unsafe-eval'`,
  `style-src ${hash(style)}`,
  'img-src data:',  // the icon, in the page itself
  "base-uri 'none'",
  "form-action 'none'",
].join('; ');

// Replaced by functions: the texts hold "$" sequences a string replacement
// would read as patterns.
const page = read(join(pageDir, 'lumocalc.html'))
  .replace(/^<!doctype html>\n/i, (doctype) =>
    `${doctype}<!-- lumo calc ${version}, MIT licence; it and the notices are at the end of "How a line is read" -->\n`)
  .replace('{{CSP}}', () => policy)
  .replace('{{STYLE}}', () => style)
  .replace('{{SCRIPT}}', () => script)
  .replace('{{GUIDE}}', () => `${guide(read(readme))}\n${licence(read(notices))}`);
writeFileSync(out, page);
