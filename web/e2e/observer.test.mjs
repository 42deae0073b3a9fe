// SPDX-License-Identifier: GPL-3.0-or-later
// The observer in headless Chromium as a person uses it: View › Observer shows the eye's panel,
// Place and a click on the plot put the eye there, the trace fills and its spectrum is drawn,
// the two CSV files download; closing the panel hides the eye, and the address can show it.
//   npm run build && node --test e2e/observer.test.mjs
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { after, before, test } from 'node:test';
import { builtPageAddress, sharedBrowserAndServer, withOpenPage } from './support.mjs';

const StepMs = 15000;
const TestMs = 90000;

const shared = sharedBrowserAndServer(before, after);

const withPage = (query, body) =>
  withOpenPage(shared.browser, builtPageAddress(query),
               { viewport: { width: 1024, height: 768 }, locale: 'en-US', acceptDownloads: true },
               { stepMs: StepMs, waitForTicks: false }, body);

const item = (name) => `[data-menu-bar] [data-name="${name}"]`;
const panelOf = (page) => page.locator('section[role=dialog][data-panel="observer"]');
const received = async (page) => Number(await panelOf(page).getAttribute('data-received'));

// The pixels of a panel's chart that are neither black nor the grid's and axes' colours: what
// its curves drew.
function curvePixels(page, chart) {
  return page.$eval(`canvas[data-chart="${chart}"]`, (canvas) => {
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let count = 0;
    for (let k = 0; k < data.length; k += 4) {
      const [r, g, b] = [data[k], data[k + 1], data[k + 2]];
      // The spectrum's green and the trace's yellow and aqua have a strong green part.
      if (g > 150 && !(r > 150 && g > 150 && b > 150) && !(r > 150 && b > 150)) ++count;
    }
    return count;
  });
}

async function download(page, action) {
  const [file] = await Promise.all([page.waitForEvent('download'), panelOf(page).locator(`[data-action=${action}]`).click()]);
  return { name: file.suggestedFilename(), lines: readFileSync(await file.path(), 'utf8').trimEnd().split('\n') };
}

test('the eye placed by a click: its trace fills, its spectrum is drawn and both save as CSV',
     { timeout: TestMs }, () => withPage('?trajectory=circle', async (page) => {
  const panel = panelOf(page);
  assert.equal(await panel.isVisible(), false);
  await page.click(item('MnuView'));
  await page.click(item('mnuObserver'));
  await panel.waitFor({ state: 'visible' });
  assert.equal(await page.getAttribute(item('mnuObserver'), 'aria-checked'), 'true');

  const place = panel.locator('[data-action=place]');
  await place.click();
  assert.equal(await place.getAttribute('aria-pressed'), 'true');
  const box = await page.locator('#field').boundingBox();
  await page.mouse.click(box.x + box.width * 0.8, box.y + box.height * 0.3);
  assert.equal(await place.getAttribute('aria-pressed'), 'false');

  // A circle's period is some 140 ticks: two of its flashes reach the eye within 400.
  await page.waitForFunction(() => Number(document.querySelector('[data-panel="observer"]').dataset.received) > 400 * 8);
  await page.waitForFunction(() => Number(document.querySelector('[data-panel="observer"]').dataset.spectrumLength) >= 4096);
  assert.ok(await curvePixels(page, 'observer-trace') > 50, 'the trace is not drawn');
  assert.ok(await curvePixels(page, 'observer-spectrum') > 50, 'the spectrum is not drawn');
  assert.match(await panel.locator('[data-observer-notes]').textContent(), /f₀ = 0\.00\d+ per tick \(\d/);

  const trace = await download(page, 'save-trace-csv');
  assert.equal(trace.name, 'halvoran-observer-trace.csv');
  assert.equal(trace.lines[0], 'tick,charge_x,charge_y,ex,ey,ex_rad,ey_rad');
  assert.ok(trace.lines.length > 400 * 8, `${trace.lines.length} lines`);
  assert.equal(trace.lines[1].split(',').length, 7);
  const spectrum = await download(page, 'save-spectrum-csv');
  assert.equal(spectrum.name, 'halvoran-observer-spectrum.csv');
  assert.equal(spectrum.lines[0], 'frequency,harmonic,power');
  assert.ok(spectrum.lines.length >= 4096 / 2 + 2, `${spectrum.lines.length} lines`);

  // Its marker dragged, the eye follows and starts a trace of its own.
  const before = await received(page);
  const [x0, y0] = (await panel.getAttribute('data-place')).split(',').map(Number);
  await page.mouse.move(box.x + box.width * 0.8, box.y + box.height * 0.3);
  await page.mouse.down();
  await page.mouse.move(box.x + box.width * 0.8 + 30, box.y + box.height * 0.3 + 20, { steps: 3 });
  await page.mouse.move(box.x + box.width * 0.8 + 60, box.y + box.height * 0.3 + 40, { steps: 3 });
  await page.mouse.up();
  const [x1, y1] = (await panel.getAttribute('data-place')).split(',').map(Number);
  const unitsPerPixel = 2 / box.width;
  assert.ok(Math.abs(x1 - x0 - 60 * unitsPerPixel) < 3 * unitsPerPixel, `x ${x0} to ${x1}`);
  assert.ok(Math.abs(y0 - y1 - 40 * unitsPerPixel) < 3 * unitsPerPixel, `y ${y0} to ${y1}`);
  assert.ok(await received(page) < before / 2, 'the trace of the old place goes on');
  // A press away from the eye still moves the view, not the eye.
  await page.mouse.move(box.x + box.width * 0.2, box.y + box.height * 0.7);
  await page.mouse.down();
  await page.mouse.move(box.x + box.width * 0.2 + 50, box.y + box.height * 0.7, { steps: 3 });
  await page.mouse.up();
  assert.equal(await panel.getAttribute('data-place'), `${x1},${y1}`);

  await panel.locator('[data-action=close]').click();
  await panel.waitFor({ state: 'hidden' });
  assert.equal(await page.getAttribute(item('mnuObserver'), 'aria-checked'), 'false');
}));

test('the address shows the eye where it says; a place beyond the bounds is refused',
     { timeout: TestMs }, async () => {
  await withPage('?trajectory=dipole&observer=0.5,0.5', async (page) => {
    await panelOf(page).waitFor({ state: 'visible' });
    assert.equal(await page.getAttribute(item('mnuObserver'), 'aria-checked'), 'true');
    await page.waitForFunction(() => Number(document.querySelector('[data-panel="observer"]').dataset.received) > 0);
  });
  await withPage('?observer=50,0', async (page) => {
    await page.waitForSelector('#message:not([hidden])');
    assert.match(await page.textContent('#message'), /^--observer: .*50.*The page starts with the defaults\.$/);
    assert.equal(await panelOf(page).isVisible(), false);
  });
});
