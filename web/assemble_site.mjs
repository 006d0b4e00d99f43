// Puts the web edition together as one self-contained index.html: the page, its style, scripts,
// the engine (WebAssembly inside its script), the exported layout, the formula picture, the icon
// and the Liberation Sans web fonts with their licence. One file opens from any static server and
// from file://. Beside it goes sw.js, which keeps the page for use offline when it comes from a
// web server.
//   node assemble_site.mjs LAYOUT.json ENGINE.js FONT_DIR FONT_COPYRIGHT ASSETS_DIR OUT.html
// FONT_DIR holds LiberationSans-Regular.woff2 and -Bold.woff2; FONT_COPYRIGHT is Debian's
// copyright file of the fonts, whose notice and licence go with them.
import { copyFileSync, readFileSync, renameSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const [layoutFile, engineFile, fontDir, fontCopyright, assetsDir, outFile] = process.argv.slice(2);
if (!outFile) {
  console.error('usage: node assemble_site.mjs LAYOUT.json ENGINE.js FONT_DIR FONT_COPYRIGHT ' +
                'ASSETS_DIR OUT.html');
  process.exit(2);
}
const here = dirname(fileURLToPath(import.meta.url));
const text = (file) => readFileSync(file, 'utf8');
const base64 = (file) => readFileSync(file).toString('base64');

// Inline scripts end at the first "</script"; none of ours may hold one.
const inline = (name, source) => {
  if (/<\/script/i.test(source)) throw new Error(`${name} contains "</script"`);
  return source;
};

const fontFace = (file, weight) => `@font-face {
  font-family: "Liberation Sans";
  font-style: normal;
  font-weight: ${weight};
  font-display: block;
  src: url(data:font/woff2;base64,${base64(join(fontDir, file))}) format("woff2");
}`;

const parts = {
  ICON: `data:image/png;base64,${base64(join(assetsDir, 'icon-32.png'))}`,
  FONTS: [fontFace('LiberationSans-Regular.woff2', 400), fontFace('LiberationSans-Bold.woff2', 700)]
    .join('\n'),
  // The fonts' copyright notice and the SIL Open Font License, as Debian ships them.
  FONT_LICENCE: text(fontCopyright).split(/^Files: debian/m)[0].replace(/--/g, '- -'),
  STYLE: text(join(here, 'page.css')),
  LAYOUT: inline('layout', JSON.stringify(JSON.parse(text(layoutFile)))),
  FORMULA: base64(join(assetsDir, 'formula.bmp')),
  ENGINE: inline('engine', text(engineFile)),
  WORKER: inline('worker', text(join(here, 'run_worker.js'))),
  CONTROLS: inline('controls', text(join(here, 'controls.js'))),
  CHART_MENU: inline('chart menu', text(join(here, 'chart_menu.js'))),
  FORM: inline('form', text(join(here, 'form.js'))),
};

const page = text(join(here, 'index.html')).replace(/\{\{([A-Z_]+)\}\}/g, (_, name) => {
  if (!(name in parts)) throw new Error(`no part ${name}`);
  return parts[name];
});
writeFileSync(`${outFile}.part`, page);
renameSync(`${outFile}.part`, outFile);
copyFileSync(join(here, 'service_worker.js'), join(dirname(outFile), 'sw.js'));
