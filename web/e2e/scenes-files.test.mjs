// SPDX-License-Identifier: GPL-3.0-or-later
// Scenes on the page, in headless Chromium: a scene file opened and refused, saved and opened
// again, every lesson from the Lessons menu in both languages, the link copied from a served
// page and shown from file://, and hostile links refused with the page on its defaults.
//   npm run build && node --test e2e/scenes-files.test.mjs
import assert from 'node:assert/strict';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { setTimeout as sleep } from 'node:timers/promises';
import { after, before, test } from 'node:test';
import { deflateRawSync } from 'node:zlib';
import {
  builtPageAddress, canvasDigest, sharedBrowserAndServer, withOpenPage } from './support.mjs';

const StepMs = 10000;
const TestMs = 60000;
const scenesDir = new URL('../../scenes/', import.meta.url);
const lessons = JSON.parse(readFileSync(new URL('index.json', scenesDir), 'utf8')).lessons;
const folder = mkdtempSync(join(tmpdir(), 'halvoran-scenes-'));

const shared = sharedBrowserAndServer(before, after);

// The page at address (a query and fragment on the one-file build, or a whole address) paused
// after its first tick; no error logged, no other host asked.
function withPage(address, body, options = {}) {
  const full = /^(file|http):/.test(address) ? address : builtPageAddress(address);
  const origin = full.startsWith('http:') ? shared.server.origin : null;
  return withOpenPage(shared.browser, full, { viewport: { width: 800, height: 600 }, locale: 'en-US', ...options },
                      { origin, stepMs: StepMs, waitForTicks: false }, body);
}

const item = (name) => `[data-menu-bar] [data-name="${name}"]`;
async function pick(page, ...names) {
  for (const name of names) await page.click(item(name));
}
const checkedItems = (page) => page.$$eval('[data-menu-bar] [aria-checked="true"]',
                                           (items) => items.map((i) => i.dataset.name).sort());
// The picture, once two looks a while apart agree (a paused page draws nothing new).
async function still(page) {
  let last = '';
  for (const end = Date.now() + StepMs; Date.now() < end; await sleep(150)) {
    const seen = await canvasDigest(page);
    if (seen === last) return seen;
    last = seen;
  }
  return last;
}
const messageText = (page) => page.$eval('#message', (m) => (m.hidden ? '' : m.textContent));
const lessonTitle = (page) => page.$eval('#lesson', (a) => (a.hidden ? null : a.querySelector('h2').textContent));

function sceneFile(name, fields) {
  const path = join(folder, name);
  writeFileSync(path, JSON.stringify({ format: 'halvoran-scene', version: 1, ...fields }));
  return path;
}
const circle = sceneFile('circle.json', {
  title: 'Round', notes: 'The charge goes round.\n\nIt radiates.',
  trajectory: { mode: 'circle', CircleRadius: 0.3 }, display: { ShowWaveFronts: true },
  animation: { Running: false }, view: { XMin: -0.6, XMax: 0.2, YMin: -0.3, YMax: 0.3 },
});
const damaged = sceneFile('damaged.json', { trajectory: { mode: 'line', LineBeta: 1.2 } });

async function openFile(page, path) {
  const [chooser] = await Promise.all([page.waitForEvent('filechooser'), pick(page, 'MnuFile', 'MnuOpenScene')]);
  await chooser.setFiles(path);
}

test('a scene file opens from File, and a damaged one is refused with the page unchanged', { timeout: TestMs },
     () => withPage('?ticks=1', async (page) => {
  await openFile(page, circle);
  await page.waitForSelector(`${item('MnuCircle')}[aria-checked="true"]`, { state: 'attached' });
  assert.equal(await lessonTitle(page), 'Round');
  assert.equal(await page.$$eval('#lesson p', (ps) => ps.length), 2);
  const checked = await checkedItems(page);
  assert.ok(checked.includes('mnuPlotWaveFront'), checked.join(' '));
  const picture = await still(page);
  await openFile(page, damaged);
  await page.waitForFunction(() => !document.querySelector('#message').hidden);
  assert.match(await messageText(page), /^damaged\.json: trajectory\.LineBeta: .+\.$/);
  assert.deepEqual(await checkedItems(page), checked);
  assert.equal(await still(page), picture);
  assert.equal(await lessonTitle(page), 'Round');
}));

test('a saved scene opens again to the same picture, then after the same steps', { timeout: TestMs }, async () => {
  let saved = '';
  let pictures = [];
  const steps = async (page) => {
    const seen = [await still(page)];
    for (let k = 0; k < 3; ++k) {
      await page.click('#pause-button');
      seen.push(await still(page));
    }
    return seen;
  };
  await withPage('?ticks=1', async (page) => {
    await page.setInputFiles('input[data-scene-file]', circle);
    await page.waitForSelector(`${item('MnuCircle')}[aria-checked="true"]`, { state: 'attached' });
    const [file] = await Promise.all([page.waitForEvent('download'), pick(page, 'MnuFile', 'MnuSaveScene')]);
    assert.equal(file.suggestedFilename(), 'circle.json');
    saved = join(folder, 'saved.json');
    writeFileSync(saved, readFileSync(await file.path()));
    pictures = await steps(page);
  });
  const written = JSON.parse(readFileSync(saved, 'utf8'));
  assert.equal(written.title, 'Round');
  // The view's width and centre are the scene's; its height follows the plot's shape.
  const near = (a, b) => Math.abs(a - b) < 1e-9;
  assert.ok(near(written.view.XMin, -0.6) && near(written.view.XMax, 0.2), JSON.stringify(written.view));
  assert.ok(Math.abs(written.view.YMin + written.view.YMax) < 1e-9, JSON.stringify(written.view));
  await withPage('?ticks=1', async (page) => {
    await page.setInputFiles('input[data-scene-file]', saved);
    await page.waitForSelector(`${item('MnuCircle')}[aria-checked="true"]`, { state: 'attached' });
    assert.deepEqual(await steps(page), pictures);
  });
});

for (const language of ['en', 'ja']) {
  test(`every lesson opens from the Lessons menu (${language})`, { timeout: TestMs },
       () => withPage(`?ticks=1&language=${language}`, async (page) => {
    for (const stem of lessons) {
      const scene = JSON.parse(readFileSync(new URL(`${stem}.json`, scenesDir), 'utf8'));
      const title = language === 'ja' ? scene.translations.ja.title : scene.title;
      await pick(page, 'MnuLessons', `MnuLesson_${stem}`);
      await page.waitForFunction((wanted) => document.querySelector('#lesson h2')?.textContent === wanted, title);
      assert.equal(await page.textContent(`${item(`MnuLesson_${stem}`)} .hv-menu-label`), title);
      assert.equal(await messageText(page), '', stem);
    }
  }));
}

test('Copy link from a served page gives an address that opens the same scene', { timeout: TestMs }, async () => {
  let link = '';
  let seen = null;
  await withPage(`${shared.server.origin}/?ticks=1`, async (page) => {
    await page.setInputFiles('input[data-scene-file]', circle);
    await page.waitForSelector(`${item('MnuCircle')}[aria-checked="true"]`, { state: 'attached' });
    await pick(page, 'MnuFile', 'MnuCopyLink');
    await page.waitForFunction(() => !document.querySelector('#message').hidden);
    link = await page.evaluate(() => navigator.clipboard.readText());
    seen = { checked: await checkedItems(page), picture: await still(page), title: await lessonTitle(page) };
  }, { permissions: ['clipboard-read', 'clipboard-write'] });
  assert.match(link, /^http:\/\/127\.0\.0\.1:\d+\/#scene=z\.[A-Za-z0-9_-]+$/);
  await withPage(link, async (page) => {
    await page.waitForSelector(`${item('MnuCircle')}[aria-checked="true"]`, { state: 'attached' });
    assert.deepEqual({ checked: await checkedItems(page), picture: await still(page), title: await lessonTitle(page) },
                     seen);
  });
});

test('Copy link from file:// shows the link with Save scene beside it', { timeout: TestMs },
     () => withPage('?ticks=1', async (page) => {
  await pick(page, 'MnuFile', 'MnuCopyLink');
  const dialog = page.locator('dialog[data-dialog="copyLink"]');
  await dialog.waitFor();
  assert.match(await dialog.locator('input').inputValue(), /^file:\/\/.+#scene=z\./);
  const [file] = await Promise.all([page.waitForEvent('download'), dialog.locator('[data-action="save"]').click()]);
  assert.equal(file.suggestedFilename(), 'halvoran-scene.json');
  await dialog.waitFor({ state: 'detached' });
}));

const b64 = (bytes) => Buffer.from(bytes).toString('base64url');
const Hostile = [
  { name: 'not base64', fragment: '#scene=%%%', says: /base64url/ },
  { name: 'not deflate', fragment: `#scene=z.${b64([0xff, 0xff, 0xff, 0xff])}`, says: /unpacked/ },
  { name: 'a deflate bomb', fragment: `#scene=z.${b64(deflateRawSync(Buffer.alloc(8 << 20, 32)))}`, says: /larger than 1048576/ },
  { name: 'not UTF-8', fragment: `#scene=${b64([0x7b, 0xff, 0x7d])}`, says: /UTF-8/ },
  { name: 'not JSON', fragment: `#scene=${b64(Buffer.from('{"format"'))}`, says: /JSON/ },
  { name: 'a refused value', says: /trajectory\.CircleBeta: /, fragment: `#scene=${b64(Buffer.from(
    JSON.stringify({ format: 'halvoran-scene', version: 1, trajectory: { mode: 'circle', CircleBeta: 2 } })))}` },
];

// The start-up picture, paused and reset: the caption's tick and time are those of the start
// whatever ran before. By keys, since the message lies over the menu: a step pauses after its
// tick, then R resets.
async function startPicture(page) {
  await page.keyboard.press('s');
  await page.waitForSelector('#field[data-running="false"]', { state: 'attached' });
  await page.keyboard.press('r');
  return still(page);
}

test('hostile links are refused and the page starts with its defaults', { timeout: TestMs }, async () => {
  let defaults = null;
  await withPage('?ticks=1', async (page) => {
    defaults = { checked: await checkedItems(page), picture: await startPicture(page) };
  });
  for (const { name, fragment, says } of Hostile) {
    await withPage(`?ticks=1${fragment}`, async (page) => {
      await page.waitForFunction(() => !document.querySelector('#message').hidden);
      const text = await messageText(page);
      assert.match(text, says, name);
      assert.match(text, /^The link: .*The page starts with the defaults\.$/, name);
      assert.deepEqual({ checked: await checkedItems(page), picture: await startPicture(page) }, defaults, name);
      assert.equal(await lessonTitle(page), null);
    });
  }
});
