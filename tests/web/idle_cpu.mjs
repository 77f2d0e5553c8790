// How much of a processor core the page uses while nothing happens: the board drawn, the
// years paused, no input. Chromium's own counters of the page's main thread (the time its
// tasks and its scripts took) are read at the start and the end of the period.
//
//   node idle_cpu.mjs <page url> <chromium> <artefacts folder> [seconds]
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import puppeteer from 'puppeteer-core';

// Processor seconds used so far by a process and everything it started (Linux's /proc).
function treeSeconds(root) {
  const parents = new Map();
  const used = new Map();
  for (const entry of fs.readdirSync('/proc')) {
    if (!/^\d+$/.test(entry)) continue;
    let stat;
    try {
      stat = fs.readFileSync(`/proc/${entry}/stat`, 'utf8');
    } catch {
      continue;
    }
    const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
    parents.set(Number(entry), Number(fields[1]));
    used.set(Number(entry), Number(fields[11]) + Number(fields[12]));
  }
  const inTree = (pid) => {
    for (let p = pid; p > 1; p = parents.get(p) ?? 0) if (p === root) return true;
    return false;
  };
  let ticks = 0;
  for (const [pid, t] of used) if (inTree(pid)) ticks += t;
  return ticks / 100;  // USER_HZ
}

const [url, chromium, artefacts, secondsText] = process.argv.slice(2);
const seconds = Number(secondsText || 60);
fs.mkdirSync(artefacts, { recursive: true });
const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vorla-chromium-'));
const browser = await puppeteer.launch({
  executablePath: chromium,
  headless: true,
  userDataDir: profile,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync',
         '--window-size=1024,800'],
});
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1024, height: 800 });
  await page.goto(url);
  await page.waitForFunction(() => Boolean(Module.vorlaWorldsFolder), { timeout: 30000 });
  await new Promise((resolve) => setTimeout(resolve, 2000));
  const browserPid = browser.process().pid;
  const before = await page.metrics();
  const treeBefore = treeSeconds(browserPid);
  const start = process.hrtime.bigint();
  await new Promise((resolve) => setTimeout(resolve, seconds * 1000));
  const after = await page.metrics();
  const treeAfter = treeSeconds(browserPid);
  const wall = Number(process.hrtime.bigint() - start) / 1e9;
  const share = (name) => (100 * (after[name] - before[name]) / wall).toFixed(2);
  const text = `idle over ${wall.toFixed(1)} s: tasks ${share('TaskDuration')} % of a core, ` +
      `scripts ${share('ScriptDuration')} %, layout ${share('LayoutDuration')} %, ` +
      `style ${share('RecalcStyleDuration')} %; all of Chromium's processes ` +
      `${(100 * (treeAfter - treeBefore) / wall).toFixed(2)} %`;
  console.log(text);
  fs.writeFileSync(path.join(artefacts, 'idle-cpu.txt'), text + '\n');
} finally {
  await browser.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
