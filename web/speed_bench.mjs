// The page's run against the command line's on the same machine, side by side: a run at Nm 200000
// in headless chromium (from the click's run start to the last step in, every core busy) and
// `correlatore-cli simulate --nm 200000` as a whole process, taken in turns so that both meet the
// same load. Prints the medians and their ratio; the goal is a page at most 4 times the command
// line. A benchmark, not a test: the figures depend on the machine and what else it runs.
//   node speed_bench.mjs SITE_DIR CORRELATORE_CLI [ROUNDS]
import puppeteer from 'puppeteer-core';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

const [siteDir, cli] = process.argv.slice(2, 4).map((p) => resolve(p));
const rounds = Number(process.argv[4] ?? 7);
const seed = '20261207';
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const userDataDir = mkdtempSync(join(tmpdir(), 'correlatore-bench-'));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
  headless: true,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    `--user-data-dir=${userDataDir}`],
});
try {
  const page = await browser.newPage();
  await page.goto(`${pathToFileURL(join(siteDir, 'index.html'))}?seed=${seed}`);
  await page.waitForFunction(() => window.correlatore?.status?.ready, { timeout: 30000 });
  await page.click('#Combo2 input', { clickCount: 3 });
  await page.keyboard.type('200000');
  const pageRun = async () => {
    const runs = await page.evaluate(() => window.correlatore.status.runs);
    await page.click('#Command2');
    await page.waitForFunction((n) => window.correlatore.status.runs > n,
                               { timeout: 60000, polling: 5 }, runs);
    return page.evaluate(() => window.correlatore.status.lastRun.milliseconds);
  };
  const cliRun = () => {
    const start = process.hrtime.bigint();
    execFileSync(cli, ['simulate', '--nm', '200000', '--seed', seed, '--out', '/dev/null']);
    return Number(process.hrtime.bigint() - start) / 1e6;
  };
  await pageRun(); // the first run also warms the workers' engines
  cliRun();
  const pageTimes = [], cliTimes = [];
  for (let round = 0; round < rounds; ++round) {
    pageTimes.push(await pageRun());
    cliTimes.push(cliRun());
  }
  const workers = await page.evaluate(() => window.correlatore.status.workers);
  const [pageMs, cliMs] = [median(pageTimes), median(cliTimes)];
  console.log(`a run at Nm 200000, median of ${rounds}:`);
  console.log(`  page          ${pageMs.toFixed(0).padStart(5)} ms  (${workers} workers)`);
  console.log(`  command line  ${cliMs.toFixed(0).padStart(5)} ms`);
  console.log(`  the page takes ${(pageMs / cliMs).toFixed(1)} times the command line's time ` +
              '(goal: at most 4)');
} finally {
  await browser.close();
  rmSync(userDataDir, { recursive: true, force: true });
}
