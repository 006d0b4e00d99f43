// Guards the web edition, in Debian's headless chromium, against drifting from the desktop: boxes
// off the shared table, chart pixels or P values unlike the command line's, a typed Beta ignored,
// clicks during a run lost, a chart a screen reader hears nothing of or stale words about, saved
// data or an analysis unlike the command line's, a console error, a seed not taken from 64 random
// bits. It cannot judge glyph shapes or the widgets' look.
//   node browser_test.mjs SITE_DIR CORRELATORE_CLI
import puppeteer from 'puppeteer-core';
import { execFileSync, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

const [siteDir, cli] = process.argv.slice(2).map((p) => resolve(p));
const seed = process.env.CORRELATORE_TEST_SEED ?? '20261207';
const chartBox = { x: 0, y: 0, width: 625, height: 427 }; // up to the axis' end and the bottom row
const red = 0x0000ff, blue = 0xff0000; // 0x00BBGGRR

let failures = 0;
const check = (ok, what) => {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures += 1;
};

// ---- What the desktop program says -------------------------------------------------------------
const runCli = (...args) => execFileSync(cli, args, { encoding: 'utf8', maxBuffer: 1 << 24 });
const csvRows = (text) =>
  text.trim().split('\n').slice(1).map((line) => line.split(',').map(Number));
const simulation = (beta) => csvRows(runCli('simulate', '--seed', seed, '--beta', beta));
const bare = runCli('render', '--help').includes('--bare') ? ['--bare'] : [];
const referencePng = (...args) => {
  const dir = mkdtempSync(join(tmpdir(), 'correlatore-web-'));
  const file = join(dir, 'chart.png');
  const mode = args.includes('--window') ? [] : bare; // the whole window takes no --bare
  runCli('render', '--out', file, '--scale', '1', ...mode, ...args);
  const bytes = readFileSync(file).toString('base64');
  rmSync(dir, { recursive: true });
  return bytes;
};

// ---- The page ----------------------------------------------------------------------------------
const server = createServer((request, response) => {
  const path = new URL(request.url, 'http://localhost').pathname;
  try {
    const file = path === '/' ? 'index.html' : path;
    const body = readFileSync(join(siteDir, file));
    response.writeHead(200, { 'Content-Type': file.endsWith('.js') ? 'text/javascript'
                                                                    : 'text/html; charset=utf-8' });
    response.end(body);
  } catch {
    response.writeHead(404);
    response.end();
  }
});
await new Promise((done) => server.listen(0, '127.0.0.1', done));
const origin = `http://127.0.0.1:${server.address().port}`;

const userDataDir = mkdtempSync(join(tmpdir(), 'correlatore-chromium-'));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
  headless: true,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    `--user-data-dir=${userDataDir}`],
});
const consoleErrors = [];
const openPage = async (url, before) => {
  const page = await browser.newPage();
  page.on('console', (m) => m.type() === 'error' && consoleErrors.push(`${url}: ${m.text()}`));
  page.on('pageerror', (e) => consoleErrors.push(`${url}: ${e.message}`));
  page.on('requestfailed', (r) => consoleErrors.push(`${url}: failed ${r.url().slice(0, 80)}`));
  await page.setViewport({ width: 1024, height: 768, deviceScaleFactor: 1 });
  if (before) await page.evaluateOnNewDocument(before);
  await page.goto(url);
  return page;
};
const ready = (page) => page.waitForFunction(() => window.correlatore?.status?.ready,
                                             { timeout: 30000 });
const status = (page) => page.evaluate(() => window.correlatore.status);
// Waits until no run works, no click waits and the canvas shows the whole display list.
const settled = (page, runs) => page.waitForFunction(
  (n) => {
    const s = window.correlatore.status;
    return s.runs >= n && !s.busy && !s.queued && s.painted;
  },
  { timeout: 60000, polling: 20 }, runs);
const clickAndSettle = async (page, name) => {
  const { runs } = await status(page);
  await page.click(`#${name}`);
  await settled(page, runs + (name === 'Command2' ? 1 : 0));
  await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => done())));
};
const typeInto = async (page, combo, text) => {
  await page.click(`#${combo} input`, { clickCount: 3 });
  await page.keyboard.press('Backspace');
  await page.keyboard.type(text);
};

// The chart as the page's accessibility tree gives it to a screen reader.
const chartAsRead = async (page) => {
  const node = await page.accessibility.snapshot({ root: await page.$('#chart') });
  return { name: node?.name ?? '', description: node?.description ?? '' };
};

// The chart as shown on screen (labels over it included), as 0x00BBGGRR per pixel.
const decodePng = (page, base64) => page.evaluate(async (data) => {
  const png = await (await fetch(`data:image/png;base64,${data}`)).blob();
  const image = await createImageBitmap(png);
  const canvas = new OffscreenCanvas(image.width, image.height);
  const context = canvas.getContext('2d');
  context.drawImage(image, 0, 0);
  const rgba = context.getImageData(0, 0, image.width, image.height).data;
  const pixels = [];
  for (let i = 0; i < rgba.length; i += 4)
    pixels.push(rgba[i] | (rgba[i + 1] << 8) | (rgba[i + 2] << 16));
  return { width: image.width, height: image.height, pixels };
}, base64);
const shownChart = async (page) =>
  decodePng(page, await page.screenshot({ clip: chartBox, encoding: 'base64' }));
const pixelsOfColour = ({ width, pixels }, colour) => {
  const set = new Set();
  pixels.forEach((p, i) => p === colour && set.add(`${i % width},${Math.floor(i / width)}`));
  return set;
};
const sameSet = (a, b) => a.size === b.size && [...a].every((k) => b.has(k));
// The pixels of one colour in the desktop's picture of the same drawing.
const desktopPixels = async (page, colour, ...args) =>
  pixelsOfColour(await decodePng(page, referencePng(...args)), colour);
const equalShare = (shown, reference) => {
  let equal = 0;
  shown.pixels.forEach((p, i) => { if (p === reference.pixels[i]) equal += 1; });
  return equal / shown.pixels.length;
};
const compareWithDesktop = async (page, what, ...args) => {
  const shown = await shownChart(page);
  const reference = await decodePng(page, referencePng(...args));
  const share = equalShare(shown, reference);
  check(reference.width === shown.width && reference.height === shown.height && share >= 0.99,
        `${what}: ${(share * 100).toFixed(3)} % of the chart's pixels equal the desktop's`);
};

// ---- The checks, one concern each ---------------------------------------------------------------
// The fifteen controls stand where the desktop's control table puts them; returns their boxes.
async function checkControlBoxes(page, layout) {
  const boxes = await page.evaluate((names) => names.map((name) => {
    const r = document.getElementById(name).getBoundingClientRect();
    return { left: r.left, top: r.top, width: r.width, height: r.height };
  }), layout.controls.map((row) => row.name));
  check(layout.controls.length === 15, 'the table has 15 controls');
  const px = (t) => Math.trunc(t / layout.twipsPerPixel);
  layout.controls.forEach((row, i) => {
    const box = boxes[i];
    const sizeOk = row.autoSize ? box.width > 0 && box.height > 0
                                : box.width === px(row.width) && box.height === px(row.height);
    check(box.left === px(row.left) && box.top === px(row.top) && sizeOk,
          `${row.name} at ${box.left},${box.top} size ${box.width}x${box.height}`);
  });
  return Object.fromEntries(layout.controls.map((row, i) => {
    const box = boxes[i];
    return [row.name, { x: box.left, y: box.top, width: Math.ceil(box.width),
                        height: Math.ceil(box.height) }];
  }));
}

// What shows in the controls: the legends' and the title's ink in their colours, and the formula
// picture unscaled at the top-left of the picture box's interior.
async function checkControlInk(page, boxes) {
  const inkLike = (rgb) => (p) => {
    const [r, g, b] = [p & 0xff, (p >> 8) & 0xff, (p >> 16) & 0xff];
    return [r, g, b].every((c, i) => (rgb[i] ? c > 180 : c < 90));
  };
  for (const [name, rgb, colour] of [['Label1', [0, 0, 1], 'blue'], ['Label8', [1, 0, 0], 'red'],
    ['Label9', [0, 0, 1], 'blue']]) {
    const shot = await page.screenshot({ clip: boxes[name], encoding: 'base64' });
    const ink = (await decodePng(page, shot)).pixels.filter(inkLike(rgb)).length;
    check(ink >= 20, `${name}'s caption is written in ${colour}`);
  }
  const picture = boxes.Picture1;
  const formula = await decodePng(page, await page.screenshot({
    clip: { x: picture.x + 2, y: picture.y + 2, width: 342, height: 83 }, encoding: 'base64' }));
  const at = (x, y) => formula.pixels[y * formula.width + x];
  const bar = Array.from({ length: 326 - 188 + 1 }, (_, i) => at(188 + i, 35));
  check(bar.every((p) => p === 0) && at(2, 2) === 0xffffff && at(340, 80) === 0xffffff,
        'the formula picture shows unscaled: its fraction bar at y = 35 from x = 188 to 326');
}

// The whole page beside the desktop's whole window, reported only: the widgets' look and the
// font rasterisers differ by design.
async function reportWholeWindow(page) {
  if (!runCli('render', '--help').includes('--window')) return;
  const reference = await decodePng(page, referencePng('--window'));
  const shown = await decodePng(page, await page.screenshot({
    clip: { x: 0, y: 0, width: reference.width, height: reference.height }, encoding: 'base64' }));
  console.log(`     window: ${(equalShare(shown, reference) * 100).toFixed(1)} % of the page's ` +
              `pixels equal those of render --window (${reference.width} x ${reference.height})`);
}

async function checkListsAndFocus(page) {
  const comboTexts = await page.$$eval('.combo input', (inputs) => inputs.map((i) => i.value));
  check(comboTexts.join('|') === 'Beta|Nm campioni', 'the lists show "Beta" and "Nm campioni"');
  const focusOrder = [];
  for (let i = 0; i < 7; ++i) {
    focusOrder.push(await page.evaluate(() => document.activeElement.closest('.control')?.id));
    await page.keyboard.press('Tab');
  }
  check(focusOrder.join(' ') === 'Command1 Command2 Combo1 Combo2 Command3 Picture1 Command1',
        `Tab goes round the controls in the table's order (${focusOrder.join(' ')})`);
}

// The theory's points against the command line's: Crt in double precision (the maths libraries
// may differ in the last bits; measured and reported) and the plotted single-precision positions,
// which must be the same.
async function checkTheory(page) {
  const desktopTheory = csvRows(runCli('theory'));
  const pageTheory = await page.evaluate(() => window.correlatore.theoryPoints());
  const bits = (v) => new BigInt64Array(new Float64Array([v]).buffer)[0];
  let differing = 0, worstUlps = 0n, samePlot = pageTheory.length === 2 * desktopTheory.length;
  desktopTheory.forEach(([s, crt, x, y], i) => {
    const [ps, pc] = [pageTheory[2 * i], pageTheory[2 * i + 1]];
    const ulps = bits(pc) > bits(crt) ? bits(pc) - bits(crt) : bits(crt) - bits(pc);
    if (ulps > 0n) differing += 1;
    if (ulps > worstUlps) worstUlps = ulps;
    samePlot &&= ps === s && Math.fround(9200 * (ps + 60) / 120) === Math.fround(x) &&
                 Math.fround(3200 - 3200 * pc) === Math.fround(y);
  });
  console.log(`     theory: ${differing} of ${desktopTheory.length} Crt values differ from the ` +
              `desktop's, by at most ${worstUlps} unit(s) in the last place`);
  check(samePlot, 'the 1200 theory points plot at the desktop\'s single-precision positions');
}

// The three buttons, one after another, against the command line's points, P values and pictures.
async function checkButtons(page) {
  await clickAndSettle(page, 'Command1');
  const redShown = pixelsOfColour(await shownChart(page), red);
  check(sameSet(redShown, await desktopPixels(page, red, '--theory')),
        `Crt = f(Si/Ni) paints exactly the desktop's red pixels (${redShown.size})`);

  await clickAndSettle(page, 'Command2');
  const desktopRun = simulation('100');
  let run = (await status(page)).lastRun;
  check(run.beta === 100 && run.nm === 20000, 'the lists\' initial texts give Beta 100, Nm 20000');
  check(run.p.length === 241 && run.p.every((p, i) => p === desktopRun[i][1]),
        `?seed=${seed} gives the command line's 241 P values bit for bit`);
  const afterRun = await shownChart(page);
  check(pixelsOfColour(afterRun, red).size === 0, 'the run cleared the red curve');
  const read = await chartAsRead(page);
  check(read.name === 'Grafico C = f (Si/Ni)' &&
        read.description.includes(`Funzione sperimentale: Beta 100, Nm 20000, seme ${seed}; 241 ` +
                                  'cerchi blu') && !read.description.includes('Funzione calcolata'),
        `a screen reader hears the chart's name and the run, not the cleared curve ("${
          read.description}")`);
  const blueShown = pixelsOfColour(afterRun, blue);
  check(sameSet(blueShown, await desktopPixels(page, blue, '--simulate', '--seed', seed)),
        `Crsp = f(Si/Ni) paints exactly the desktop's blue rings (${blueShown.size})`);
  await clickAndSettle(page, 'Command1');
  await compareWithDesktop(page, 'run, then theory', '--simulate', '--seed', seed, '--theory');

  await typeInto(page, 'Combo1', '6400');
  await clickAndSettle(page, 'Command2');
  run = (await status(page)).lastRun;
  const desktop6400 = simulation('6400');
  check(run.beta === 6400 && run.p.every((p, i) => p === desktop6400[i][1]),
        'typing "6400" into Beta runs with Beta 6400, P as the command line\'s');
  await compareWithDesktop(page, 'Beta 6400', '--simulate', '--beta', '6400', '--seed', seed);

  await clickAndSettle(page, 'Command3');
  const afterReset = await shownChart(page);
  check(pixelsOfColour(afterReset, red).size === 0 && pixelsOfColour(afterReset, blue).size === 0,
        'Reset clears both curves');
  const { description } = await chartAsRead(page);
  check(description.startsWith('Assi: Si/Ni da -60 a +60 dB') &&
        description.endsWith('Nessuna curva.'),
        `after Reset a screen reader hears the axes and no curve ("${description}")`);
  await compareWithDesktop(page, 'after Reset');
}

// Clicks made during a run wait, and are carried out in order, each with its own texts.
async function checkQueuedClicks(page) {
  await page.click('#Combo2 .arrow');
  await page.click('#Combo2 li:nth-child(2)');
  const before = (await status(page)).runs;
  await page.click('#Command2');
  await typeInto(page, 'Combo1', '800 '); // not an item: the queued run uses 100
  await page.click('#Command2');
  await page.click('#Command1');
  check(await page.$eval('#Combo1 input', (e) => e.value) === '800 ',
        'the Beta list keeps exactly what was typed, blank included');
  await settled(page, before + 2);
  const after = await status(page);
  check(after.runs === before + 2 && after.lastRun.beta === 100 && after.lastRun.nm === 200000,
        'a click during a run is carried out after it, with the texts of its own moment');
  await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => done())));
  const shown = await shownChart(page);
  check(pixelsOfColour(shown, red).size > 0 && pixelsOfColour(shown, blue).size > 0,
        'the queued Crt drew its curve over the queued run\'s circles');
}

// The chart's context menu in Italian, enabled for what there is, and what it makes: the run's
// data as the command line writes them (and with decimal commas for a spreadsheet in Italian),
// the analysis with the command line's fit, and the window's area as it was.
async function checkMenuAndAnalysis() {
  const page = await openPage(`${origin}/?seed=${seed}`, () => {
    Object.defineProperty(navigator, 'language', { get: () => 'it-IT' });
  });
  await ready(page);
  const downloads = mkdtempSync(join(tmpdir(), 'correlatore-downloads-'));
  const cdp = await page.target().createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  const menu = () => page.$$eval('#chart-menu:not([hidden]) li', (items) => items.map(
    (item) => item.textContent + (item.hasAttribute('aria-disabled') ? ' (-)' : '')).join('|'));
  const choose = async (index) => {
    await page.focus('#Command1');
    await page.keyboard.down('Shift');
    await page.keyboard.press('F10');
    await page.keyboard.up('Shift');
    for (let i = 0; i < index; ++i) await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Enter');
  };
  const downloaded = async (name) => {
    const file = join(downloads, name);
    for (let i = 0; i < 100 && !existsSync(file); ++i) await new Promise((r) => setTimeout(r, 50));
    return existsSync(file) ? readFileSync(file, 'utf8') : '';
  };

  const before = await shownChart(page);
  await page.click('#chart', { button: 'right' });
  check(await menu() === 'Copia immagine|Salva immagine\u2026|Salva dati\u2026 (-)|' +
        'Analisi della prova\u2026 (-)', 'a right click on the chart: the menu, nothing of a run yet');
  await page.keyboard.press('Escape');
  check(equalShare(await shownChart(page), before) === 1, 'the menu leaves the chart as it was');

  await clickAndSettle(page, 'Command2');
  await page.focus('#Command1');
  await page.keyboard.down('Shift');
  await page.keyboard.press('F10');
  await page.keyboard.up('Shift');
  check(!(await menu()).includes('(-)'), 'Shift+F10 after a run: every entry enabled');
  await page.keyboard.press('Escape');

  const simulated = spawnSync(cli, ['simulate', '--seed', seed], { encoding: 'utf8' });
  await choose(2);
  await page.click('#salva-dati button[value="programmi"]');
  const csv = await downloaded(`correlatore-seme-${seed}.csv`);
  check(csv === simulated.stdout, 'Salva dati gives the bytes of correlatore-cli simulate');
  await choose(2);
  await page.click('#salva-dati button[value="foglio"]');
  const sheet = await downloaded(`correlatore-seme-${seed}-foglio.csv`);
  check(sheet.split('\n')[1]?.startsWith('-60;0,') &&
        sheet.replace(/,/g, '.').replace(/;/g, ',') === simulated.stdout,
        'and, in Italian, the same numbers with ";" and decimal commas');

  await choose(3);
  const shown = await page.evaluate(() => ({
    open: document.getElementById('analisi').open,
    seed: document.querySelector('#analisi [data-fact="Seme"]')?.textContent,
    numbers: document.getElementById('analisi-numeri').textContent,
  }));
  const decimals = (text) => text.match(/[0-9]+\.[0-9]+(e-?[0-9]+)?/g)?.join(' ');
  check(shown.open && shown.seed === seed &&
        decimals(shown.numbers.replace(/,/g, '.')) === decimals(simulated.stderr),
        `Analisi shows the run's fit as the command line prints it (${shown.numbers})`);
  const residualInk = await page.evaluate(() => {
    const canvas = document.getElementById('analisi-scarti');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let blue = 0;
    for (let i = 0; i < data.length; i += 4) blue += data[i] === 0 && data[i + 2] === 255;
    return blue;
  });
  check(residualInk > 241 * 5, 'and its residual chart, a blue ring a step');
  await compareWithDesktop(page, 'the window\'s area beside the analysis', '--simulate', '--seed',
                           seed);

  await page.click('#analisi-confronta');
  const analogue = await page.evaluate(
    () => document.getElementById('analisi-analogico').textContent
      .replace(/(\d),(\d)/g, '$1.$2'));
  const analogueLine = spawnSync(cli, ['simulate', '--analogue', '--seed', seed],
                                 { encoding: 'utf8' }).stderr;
  const fit =
    analogueLine.match(/analogue chi2\/dof=([0-9.]+) p=([0-9.e-]+); efficiency=([0-9.]+)/);
  check(fit && analogue.includes(`analogico: \u03c7\u00b2/gdl = ${fit[1]}, p = ${fit[2]}`) &&
        analogue.includes(`basso ${fit[3]}`),
        `Confronta shows the analogue fit of correlatore-cli simulate --analogue (${analogue})`);
  rmSync(downloads, { recursive: true, force: true });
  await page.close();
}

// A fresh page, one run at Nm 200000: reported, not judged.
async function reportSpeed() {
  const page = await openPage(`${origin}/?seed=${seed}`);
  await ready(page);
  await typeInto(page, 'Combo2', '200000');
  await clickAndSettle(page, 'Command2');
  const ms = (await status(page)).lastRun.milliseconds;
  console.log(`     speed: a run at Nm 200000 took ${ms.toFixed(0)} ms in the page`);
  await page.close();
}

// Once loaded from a server, the page loads again and runs with no network.
async function checkOffline() {
  const page = await openPage(`${origin}/`);
  await ready(page);
  let steps = 0;
  try {
    await page.waitForFunction(async () => !!(await navigator.serviceWorker.getRegistration())
                                            ?.active, { timeout: 10000 });
    await page.setOfflineMode(true);
    await page.goto(`${origin}/?seed=${seed}`);
    await ready(page);
    await clickAndSettle(page, 'Command2');
    steps = (await status(page)).lastRun.p.length;
  } catch (error) {
    console.log(`     offline: ${error.message.split('\n')[0]}`);
  }
  check(steps === 241, 'once loaded from a server, the page loads and runs offline');
  await page.setOfflineMode(false);
  await page.close();
}

async function checkFromFile() {
  const page = await openPage(`${pathToFileURL(join(siteDir, 'index.html'))}?seed=${seed}`);
  await ready(page);
  await clickAndSettle(page, 'Command2');
  check((await status(page)).lastRun.p.length === 241, 'the page runs from file:// too');
  await page.close();
}

// A run without ?seed takes all 64 bits of its seed from crypto.getRandomValues, made here to give
// every bit set: 2^64 - 1 survives only where no JavaScript number carried it.
async function checkRandomSeed() {
  const page = await openPage(`${origin}/`, () => {
    crypto.getRandomValues = (array) => {
      new Uint8Array(array.buffer, array.byteOffset, array.byteLength).fill(0xff);
      return array;
    };
  });
  await ready(page);
  await clickAndSettle(page, 'Command2');
  const { seed: taken } = (await status(page)).lastRun;
  check(taken === '18446744073709551615',
        `a run without a seed takes 64 random bits for it (${taken} from all bits set)`);
  await page.close();
}

async function checkWithoutWebAssembly() {
  const page = await openPage(`${origin}/`, () => { delete globalThis.WebAssembly; });
  await page.waitForSelector('#message:not([hidden])', { timeout: 10000 });
  const said = await page.$eval('#message', (e) => e.textContent);
  check(said.includes('WebAssembly'), 'without WebAssembly the page says so');
  await page.close();
}

try {
  const page = await openPage(`${origin}/?seed=${seed}`);
  await ready(page);
  console.log(`     load: the page was ready ${
    (await status(page)).readyMilliseconds.toFixed(0)} ms after it was asked for`);
  check(await page.title() === 'Form1', 'the page is titled "Form1"');
  const layout = JSON.parse(await page.$eval('#layout', (e) => e.textContent));
  await checkControlInk(page, await checkControlBoxes(page, layout));
  await reportWholeWindow(page);
  await checkListsAndFocus(page);
  check(await page.evaluate(() => window.correlatore.kernel) === 'simd128',
        'the engine runs the SIMD128 kernel');
  const [workers, cores] = await page.evaluate(() => [window.correlatore.status.workers,
                                                      navigator.hardwareConcurrency]);
  // 241 steps make 8 blocks of 32, the most workers a run can keep busy.
  check(workers === Math.min(cores, 8), `a run works in ${workers} workers, one per core`);
  await checkTheory(page);
  await checkButtons(page);
  await checkQueuedClicks(page);
  await page.close();
  await checkMenuAndAnalysis();
  await reportSpeed();
  await checkOffline();
  await checkFromFile();
  await checkRandomSeed();
  await checkWithoutWebAssembly();
} catch (error) {
  check(false, `the test ran to its end (${error.stack ?? error})`);
} finally {
  await browser.close();
  server.close();
  rmSync(userDataDir, { recursive: true, force: true });
}

check(consoleErrors.length === 0, `no error in the browser's console${
  consoleErrors.length ? `: ${consoleErrors.join('; ')}` : ''}`);
console.log(failures ? `${failures} check(s) failed` : 'all checks passed');
process.exit(failures ? 1 : 0);
