// SPDX-License-Identifier: GPL-3.0-or-later
// The one-file page in headless Chromium, opened from file:// as a person opens the downloaded
// file: it runs the ticks the address asks for and draws, and tells a refused address.
//   npm run e2e   (after tools/build-web.sh)
import assert from 'node:assert/strict';
import { existsSync } from 'node:fs';
import { after, before, test } from 'node:test';
import { canvasColours, launchBrowser, oneFileAddress, onePagePath, openPage } from './support.mjs';

let browser;

before(async () => {
  assert.ok(existsSync(onePagePath), `${onePagePath} is built by tools/build-web.sh`);
  browser = await launchBrowser();
});
after(async () => { await browser?.close(); });

const open = (query) => openPage(browser, oneFileAddress(query));

test('the circle runs its ticks, pauses and draws the field', async () => {
  const { page, errors, requests, close } = await open('?trajectory=circle&ticks=30&size=640x400');
  await page.waitForSelector('#field[data-tick="30"]', { timeout: 20000 });
  const picture = await canvasColours(page);
  assert.deepEqual([picture.width, picture.height], [640, 400]);
  assert.ok(picture.count > 2, `${picture.count} colours: the canvas is blank`);
  assert.equal(await page.isVisible('#message'), false);
  assert.deepEqual(errors, []);
  assert.deepEqual(requests, []);
  await close();
});

test('a refused address is told, and the page runs on with the defaults', async () => {
  const cases = [
    ['?model=0x0', /^--model: The number of field points per field line must be at least 2 \(0 was given\)\. The page starts with the defaults\.$/],
    ['?ticks=many', /^--ticks: 'many' is not a whole number\. The page starts/],
    ['?render=x.png', /^unknown option '--render'\. The page starts/],
    ['?size=40000x40000&scale=16', /^--size: 40000 is outside 16 \.\. 8192\./],
    ['?trajectory=%3Cscript%3Ealert(1)%3C/script%3E', /^--trajectory: '<script>alert\(1\)<\/script>' is not mouse\|line/],
    ['?language=xx', /^--language: 'xx' is not ja or en\./],
    [`?ticks=${'9'.repeat(400)}`, /^--ticks: 9+ is outside 0 \.\. 100000\./],
  ];
  for (const [query, shown] of cases) {
    const { page, errors, close } = await open(query);
    await page.waitForSelector('#message', { state: 'visible', timeout: 20000 });
    assert.match(await page.textContent('#message'), shown, query);
    // The defaults run on (no ticks given): frames are drawn.
    await page.waitForFunction(() => document.querySelector('#field').width > 0);
    assert.ok((await canvasColours(page)).count > 1, query);
    assert.deepEqual(errors, [], query);
    await close();
  }
});
