// The web page in headless Chromium: the board is drawn; full screen on Alt+Enter and on
// the button; MENU opens the menu and a tool is chosen by keyboard; painting, START/STOP and
// the year; the About and Rody dialogs open and close; a world saved through the file
// dialog outlasts a reload and loads back; the page downloads it, and imports a world that
// "Nacti" then lists; a browser whose storage fails says so when a world is saved.
// Pictures of the page go to the artefacts folder.
//
//   node page_e2e.mjs <page url> <chromium> <artefacts folder>
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

import puppeteer from 'puppeteer-core';

const [url, chromium, artefacts] = process.argv.slice(2);
fs.mkdirSync(artefacts, { recursive: true });

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

class Failure extends Error {}
function check(condition, message) {
  if (!condition) throw new Failure(message);
}

// Polls until the probe gives a true value; the last value tells the failure.
async function waitFor(what, probe, seconds = 10) {
  const deadline = Date.now() + seconds * 1000;
  let last;
  for (;;) {
    last = await probe();
    if (last) return last;
    if (Date.now() > deadline) throw new Failure(`waited ${seconds} s for ${what}`);
    await sleep(100);
  }
}

// A page in a browser of its own; the profile folder is new, so no world is kept in it.
async function openBrowser(profile) {
  return puppeteer.launch({
    executablePath: chromium,
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--window-size=1024,800'],
  });
}

class Page {
  constructor(page) {
    this.page = page;
    this.errors = [];
    // The program's exit(0) leaves the browser's loop by throwing; the page expects it.
    page.on('pageerror', (error) => {
      if (!/^ExitStatus$|exit\(0\)/.test(error.message)) this.errors.push(error.message);
    });
    page.on('console', (m) => process.env.E2E_CONSOLE && console.log('page:', m.text()));
    page.on('console', (message) => {
      if (message.type() === 'error' && !/favicon/.test(message.text())) {
        this.errors.push(message.text());
      }
    });
  }

  async open(preload) {
    await this.page.setViewport({ width: 1024, height: 800 });
    if (preload) await this.page.evaluateOnNewDocument(preload);
    await this.page.goto(url);
    await this.untilReady();
  }

  async untilReady() {
    await waitFor('the board to be drawn', () => this.drawn(), 30);
    // The bar under the picture is taller while the page is loading; once it is not, the
    // picture grows back to the whole box.
    await waitFor('the picture at the largest 4:3 size in its box', () => this.fillsBox());
  }

  async fillsBox() {
    return this.page.evaluate(() => {
      const box = document.getElementById('screen').getBoundingClientRect();
      const picture = document.getElementById('canvas').getBoundingClientRect();
      const width = Math.min(box.width, box.height * 4 / 3);
      return Math.abs(picture.width - width) <= 1 && Math.abs(picture.height * 4 / 3 - width) <= 2;
    });
  }

  // The board's white grid, its green squares, and the page's worlds folder.
  async drawn() {
    const [grid, square] = await this.pixels([[10, 10], [15, 15]]);
    const ready = await this.page.evaluate(() => Boolean(Module.vorlaWorldsFolder));
    return ready && grid.every((v) => v === 255) && square[1] > square[0] + 30 &&
        square[1] > square[2] + 30;
  }

  async pixels(points) {
    return this.page.evaluate((points) => {
      const context = document.getElementById('canvas').getContext('2d');
      return points.map(([x, y]) => Array.from(context.getImageData(x, y, 1, 1).data));
    }, points);
  }

  // A fingerprint of a rectangle of the picture (picture pixels, not the page's).
  async region(x, y, width, height) {
    return this.page.evaluate((x, y, width, height) => {
      const data = document.getElementById('canvas').getContext('2d')
          .getImageData(x, y, width, height).data;
      let hash = 2166136261;
      for (let i = 0; i < data.length; ++i) hash = Math.imul(hash ^ data[i], 16777619) >>> 0;
      return hash.toString(16);
    }, x, y, width, height);
  }

  // A click on a picture pixel, wherever the page has placed and scaled the picture.
  async click(x, y) {
    const box = await this.page.evaluate(() => {
      const r = document.getElementById('canvas').getBoundingClientRect();
      return { x: r.x, y: r.y, width: r.width, height: r.height };
    });
    await this.page.mouse.click(box.x + (x + 0.5) * box.width / 640,
                                box.y + (y + 0.5) * box.height / 480);
  }

  async keys(...names) {
    for (const name of names) {
      await this.page.keyboard.press(name);
      await sleep(60);
    }
  }

  // Opens the menu and walks it with the keys given.
  async menu(...names) {
    const before = await this.region(0, 0, 640, 480);
    await this.click(550, 40);
    await waitFor('the menu to open', async () => (await this.region(0, 0, 640, 480)) !== before);
    await this.keys(...names);
  }

  async shot(name) {
    await this.page.screenshot({ path: path.join(artefacts, name) });
  }

  async worlds() {
    return this.page.evaluate(() => Module.FS.readdir(Module.vorlaWorldsFolder)
        .filter((name) => !name.startsWith('.')));
  }

  async fullScreenElement() {
    return this.page.evaluate(() => document.fullscreenElement && document.fullscreenElement.id);
  }

  async canvasWidth() {
    return this.page.evaluate(() => document.getElementById('canvas').getBoundingClientRect().width);
  }

  async altEnter() {
    await this.page.keyboard.down('Alt');
    await this.page.keyboard.press('Enter');
    await this.page.keyboard.up('Alt');
  }

  // The side of the cursor's image, as the browser shows it; 0 without an image.
  async cursorSide() {
    return this.page.evaluate(async () => {
      const style = document.getElementById('canvas').style.cursor;
      const found = /url\("?(data:[^")]+)"?\)/.exec(style);
      if (!found) return 0;
      const image = new Image();
      image.src = found[1];
      await image.decode();
      return image.width;
    });
  }

  async hover(x, y) {
    const box = await this.page.evaluate(() => {
      const r = document.getElementById('canvas').getBoundingClientRect();
      return { x: r.x, y: r.y, width: r.width, height: r.height };
    });
    await this.page.mouse.move(box.x + (x + 0.5) * box.width / 640, box.y + (y + 0.5) * box.height / 480);
  }

  // Rows of the board, the year's box and the START/STOP button.
  board() { return this.region(10, 10, 461, 461); }
  year() { return this.region(495, 352, 125, 32); }
}

const DOWN = 'ArrowDown';
const RIGHT = 'ArrowRight';
const ENTER = 'Enter';
const SOUBOR = [DOWN, DOWN, DOWN, DOWN, DOWN, RIGHT];

async function waitForDialog(page, before) {
  await waitFor('a dialog over the board', async () => (await page.board()) !== before);
  await sleep(300);
}

async function playSaveReloadLoad(browser) {
  const page = new Page(await browser.newPage());
  await page.open();
  check(page.errors.length === 0, `errors while starting: ${page.errors.join('; ')}`);
  const empty = await page.board();

  // Alt+Enter and the button give the page the whole screen and take it back; the program
  // sees neither (the year and the board stay).
  // (Headless Chromium forgets the emulated window size once full screen ends.)
  const inPage = await page.canvasWidth();
  const year = await page.year();
  await page.altEnter();
  await waitFor('full screen on Alt+Enter', async () => (await page.fullScreenElement()) === 'screen');
  await waitFor('the picture to fill the screen', async () => (await page.canvasWidth()) > inPage);
  await page.altEnter();
  await waitFor('full screen to end on Alt+Enter', async () => !(await page.fullScreenElement()));
  await page.page.click('#full');
  await waitFor('full screen on the button', async () => (await page.fullScreenElement()) === 'screen');
  await page.altEnter();
  await waitFor('the picture back above the bar', () => page.page.evaluate(() =>
      !document.fullscreenElement && document.getElementById('canvas').getBoundingClientRect().bottom <=
          document.getElementById('bar').getBoundingClientRect().top + 1));
  check((await page.year()) === year && (await page.board()) === empty,
        'the program saw the full-screen keys');
  await page.page.setViewport({ width: 1024, height: 800 });

  // The sword cursor is enlarged with the picture, in the page and on the whole screen.
  await page.hover(300, 300);
  const expectedSide = async () => Math.round(32 * (await page.canvasWidth()) / 640);
  await waitFor('the cursor at the picture\'s scale',
                async () => (await page.cursorSide()) === (await expectedSide()));
  await page.altEnter();
  await waitFor('full screen', async () => (await page.fullScreenElement()) === 'screen');
  await page.hover(310, 300);
  await waitFor('the cursor at the full screen\'s scale', async () =>
      (await page.cursorSide()) === Math.min(128, await expectedSide()));
  await page.altEnter();
  await waitFor('full screen to end', async () => !(await page.fullScreenElement()));
  await page.page.setViewport({ width: 1024, height: 800 });

  // START runs the years, STOP holds them.
  const year0 = await page.year();
  await page.click(550, 440);
  await waitFor('the year to advance after START', async () => (await page.year()) !== year0);
  await page.click(550, 440);
  await sleep(300);
  const held = await page.year();
  await sleep(1200);
  check((await page.year()) === held, 'the years ran on after STOP');

  // Vkladani -> Cerveny, then a row of three squares.
  await page.menu(DOWN, DOWN, RIGHT, DOWN, ENTER);
  await sleep(300);
  for (const x of [50, 70, 90]) await page.click(x, 100);
  await waitFor('the squares to be painted', async () => {
    const board = await page.board();
    return board !== empty && board;
  });
  await page.keys('Space');
  await waitFor('the space bar to step a year', async () => (await page.year()) !== held);
  const stepped = await page.board();
  await page.shot('board.png');

  // The About box, for its picture.
  await page.menu(DOWN, DOWN, DOWN, DOWN, DOWN, DOWN, ENTER);
  await waitForDialog(page, stepped);
  await page.shot('dialog.png');
  await page.keys(ENTER);
  await waitFor('the About box to close', async () => (await page.board()) === stepped);

  // Rody, a dialog of fields, for its picture.
  await page.menu(DOWN, ENTER);
  await waitForDialog(page, stepped);
  await page.shot('clans-dialog.png');
  await page.keys(ENTER);
  await waitFor('the clans dialog to close', async () => (await page.board()) === stepped);

  // Soubor -> Uloz, typed name, Enter: saved in the worlds folder and stored.
  await page.menu(...SOUBOR, DOWN, ENTER);
  await waitForDialog(page, stepped);
  await page.page.keyboard.type('kept');
  await page.keys(ENTER);
  await waitFor('kept.vrz in the worlds folder', async () => (await page.worlds()).includes('kept.vrz'));
  const size = await page.page.evaluate(
      () => Module.FS.stat(Module.vorlaWorldsFolder + '/kept.vrz').size);
  check(size === 4853, `kept.vrz holds ${size} bytes, not 4853`);
  await waitFor('the board after saving', async () => (await page.board()) === stepped);

  // The same name again: the overwrite prompt stands over the file dialog over the
  // program's own loop, the deepest the page's waits go. Enter answers Yes.
  const savedAt = () => page.page.evaluate(
      () => Module.FS.stat(Module.vorlaWorldsFolder + '/kept.vrz').mtime.getTime());
  const firstSave = await savedAt();
  await sleep(20);
  await page.menu(...SOUBOR, DOWN, ENTER);
  await waitForDialog(page, stepped);
  await page.page.keyboard.type('kept');
  await sleep(300);
  const typed = await page.region(0, 0, 640, 480);
  await page.keys(ENTER);
  await waitFor('the overwrite prompt', async () => (await page.region(0, 0, 640, 480)) !== typed);
  await sleep(300);
  await page.keys(ENTER);
  await waitFor('kept.vrz saved again', async () => (await savedAt()) > firstSave);
  await waitFor('the board after saving again', async () => (await page.board()) === stepped);

  // A new page: the world comes back from the browser's storage.
  await page.page.reload();
  await page.untilReady();
  check((await page.worlds()).includes('kept.vrz'), 'kept.vrz is gone after the reload');
  const fresh = await page.board();
  check(fresh === empty, 'the reloaded page does not start on an empty board');

  // Soubor -> Nacti lists it; typed, Enter: the board comes back.
  await page.menu(...SOUBOR, ENTER);
  await waitForDialog(page, fresh);
  await page.shot('file-dialog-after-reload.png');
  await page.page.keyboard.type('kept.vrz');
  await page.keys(ENTER);
  await waitFor('the saved board to load', async () => (await page.board()) === stepped);

  // "Download a world" lists the folder; a name downloads that file as it is.
  const downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'vorla-downloads-'));
  const cdp = await browser.target().createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  await page.page.click('#download');
  const names = await page.page.$$eval('#worlds button', (buttons) => buttons.map((b) => b.textContent));
  check(JSON.stringify(names) === '["kept.vrz"]', `the list of worlds is ${JSON.stringify(names)}`);
  await page.page.click('#worlds button');
  const downloaded = path.join(downloads, 'kept.vrz');
  await waitFor('kept.vrz to download', () => fs.existsSync(downloaded) && fs.statSync(downloaded).size > 0);
  const kept = await page.page.evaluate(
      () => Array.from(Module.FS.readFile(Module.vorlaWorldsFolder + '/kept.vrz')));
  check(Buffer.from(kept).equals(fs.readFileSync(downloaded)), 'the download differs from kept.vrz');

  // "Import a world" copies a file into the folder, and it outlasts a reload too; a name
  // without the extension gets it, so that the dialog's filter shows it.
  const imported = path.join(downloads, 'Imported world');
  fs.copyFileSync(downloaded, imported);
  const [chooser] = await Promise.all([page.page.waitForFileChooser(), page.page.click('#import')]);
  await chooser.accept([imported]);
  await waitFor('the imported world in the folder',
                async () => (await page.worlds()).includes('Imported world.vrz'));
  await waitFor('the page to say that it is imported', () => page.page.evaluate(
      () => /imported;/.test(document.getElementById('state').textContent)));
  await page.page.reload();
  await page.untilReady();
  const afterImport = await page.board();
  await page.menu(...SOUBOR, ENTER);
  await waitForDialog(page, afterImport);
  await page.page.keyboard.type('Imported world.vrz');
  await page.keys(ENTER);
  await waitFor('the imported board to load', async () => (await page.board()) === stepped);
  fs.rmSync(downloads, { recursive: true, force: true });

  // Escape ends the program, and the page says so.
  await page.keys('Escape');
  await waitFor('the page to say that vorla has ended', () => page.page.evaluate(
      () => /has ended/.test(document.getElementById('state').textContent)));
  check(page.errors.length === 0, `errors in the page: ${page.errors.join('; ')}`);
}

// Storage that fails: none at all, one that refuses to open, and one that fills up once
// the page is running. The page still plays, and a save says that the world is not kept
// instead of passing for a success.
const STORAGE_FAILURES = {
  'no IndexedDB': {
    preload: () => Object.defineProperty(window, 'indexedDB', { get: () => undefined }),
  },
  'IndexedDB refusing to open': {
    preload: () => {
      IDBFactory.prototype.open = () => {
        throw new DOMException('The user denied permission to access the database.',
                               'SecurityError');
      };
    },
  },
  'IndexedDB full': {
    running: () => {
      IDBObjectStore.prototype.put = () => {
        throw new DOMException('The quota has been exceeded.', 'QuotaExceededError');
      };
    },
  },
};

async function storageFailureIsReported(browser, name, failure) {
  const page = new Page(await browser.newPage());
  await page.open(failure.preload);
  if (failure.running) await page.page.evaluate(failure.running);
  page.errors.length = 0;
  const board = await page.board();
  await page.menu(...SOUBOR, DOWN, ENTER);
  await waitForDialog(page, board);
  await page.page.keyboard.type('lost');
  await page.keys(ENTER);
  await waitFor(`lost.vrz in the page (${name})`,
                async () => (await page.worlds()).includes('lost.vrz'));
  // The message box stands over the middle of the board, in the dialog's grey.
  await waitFor(`the message box (${name})`, async () => {
    const [[r, g, b]] = await page.pixels([[320, 240]]);
    return Math.abs(r - g) < 12 && Math.abs(g - b) < 12 && r > 150 && r < 230;
  });
  await page.shot(`storage-failure-${name.replace(/ /g, '-')}.png`);
  await page.keys(ENTER);
  await waitFor(`the message box to close (${name})`, async () => (await page.board()) === board);
  await page.page.close();
}

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vorla-chromium-'));
let browser;
let status = 0;
try {
  browser = await openBrowser(path.join(profile, 'a'));
  await playSaveReloadLoad(browser);
  console.log('played, saved, reloaded and loaded back, downloaded and imported');
  await browser.close();
  browser = undefined;
  for (const [name, failure] of Object.entries(STORAGE_FAILURES)) {
    browser = await openBrowser(path.join(profile, name.replace(/ /g, '-')));
    await storageFailureIsReported(browser, name, failure);
    await browser.close();
    browser = undefined;
    console.log(`a save the browser could not store was reported: ${name}`);
  }
} catch (error) {
  status = 1;
  console.error(error instanceof Failure ? `FAILED: ${error.message}` : error);
  if (browser) {
    const pages = await browser.pages();
    if (pages.length) await pages[pages.length - 1].screenshot({ path: path.join(artefacts, 'failure.png') });
  }
} finally {
  if (browser) await browser.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
process.exit(status);
