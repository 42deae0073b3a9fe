// SPDX-License-Identifier: GPL-3.0-or-later
// The one-file page in headless Chromium, opened from file:// as a person opens the downloaded
// file: it runs the ticks the address asks for and draws, and tells a refused address.
//   npm run e2e   (after tools/build-web.sh)
import assert from 'node:assert/strict';
import { existsSync } from 'node:fs';
import { after, before, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const pagePath = fileURLToPath(new URL('../../build-web/halvoran-radiation.html', import.meta.url));
const browserPath = process.env.HALVORAN_CHROMIUM ?? '/usr/bin/chromium';
let browser;

before(async () => {
  assert.ok(existsSync(pagePath), `${pagePath} is built by tools/build-web.sh`);
  browser = await chromium.launch({ executablePath: browserPath, headless: true, args: ['--no-sandbox'] });
});
after(async () => { await browser?.close(); });

// A page whose every console error and uncaught exception is kept.
async function open(query, viewport = { width: 640, height: 400 }) {
  const page = await browser.newPage({ viewport });
  const errors = [];
  page.on('console', (entry) => { if (entry.type() === 'error') errors.push(entry.text()); });
  page.on('pageerror', (error) => errors.push(String(error)));
  // Nothing may come from anywhere but the file itself.
  const requests = [];
  page.on('request', (request) => {
    if (!request.url().startsWith('file:') && !request.url().startsWith('data:')) requests.push(request.url());
  });
  await page.goto(`${pathToFileURL(pagePath).href}${query}`);
  return { page, errors, requests };
}

// The distinct colours of the canvas's pixels, up to a few.
function colours(page) {
  return page.evaluate(() => {
    const canvas = document.querySelector('#field');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const seen = new Set();
    for (let k = 0; k < data.length && seen.size < 8; k += 4)
      seen.add((data[k] << 16) | (data[k + 1] << 8) | data[k + 2]);
    return { count: seen.size, width: canvas.width, height: canvas.height };
  });
}

test('the circle runs its ticks, pauses and draws the field', async () => {
  const { page, errors, requests } = await open('?trajectory=circle&ticks=30');
  await page.waitForSelector('#field[data-tick="30"]', { timeout: 20000 });
  const picture = await colours(page);
  assert.deepEqual([picture.width, picture.height], [640, 400]);
  assert.ok(picture.count > 2, `${picture.count} colours: the canvas is blank`);
  assert.equal(await page.isVisible('#message'), false);
  assert.deepEqual(errors, []);
  assert.deepEqual(requests, []);
  await page.close();
});

test('a refused address is told, and the page runs on with the defaults', async () => {
  const cases = [
    ['?model=0x0', /Refused --model: \w+/],
    ['?ticks=many', /Refused: NotAWholeNumber \[--ticks, many\]/],
    ['?render=x.png', /Refused: UnknownOption \[--render\]/],
  ];
  for (const [query, shown] of cases) {
    const { page, errors } = await open(query);
    await page.waitForSelector('#message', { state: 'visible', timeout: 20000 });
    assert.match(await page.textContent('#message'), shown, query);
    // The defaults run on (no ticks given): frames are drawn.
    await page.waitForFunction(() => document.querySelector('#field').width > 0);
    assert.ok((await colours(page)).count > 1, query);
    assert.deepEqual(errors, [], query);
    await page.close();
  }
});
