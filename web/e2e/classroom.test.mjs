// SPDX-License-Identifier: GPL-3.0-or-later
// The classroom's features in headless Chromium: the caption and projector switches of the View
// menu and the theme kept from visit to visit, the address's theme and caption, the help text
// (from the menu, F1 and the undulator dialog's Help), Setup › Scale unit, and the panels docked
// beside the plot or floating over it. A console error, an uncaught exception or a request off
// the page fails the test it comes in.
//   npm run build && node --test e2e/classroom.test.mjs
import assert from 'node:assert/strict';
import { setTimeout as sleep } from 'node:timers/promises';
import { after, before, test } from 'node:test';
import { builtPageAddress, canvasDigest, sharedBrowserAndServer, withOpenPage } from './support.mjs';

const StepMs = 10000;
const TestMs = 60000;

const shared = sharedBrowserAndServer(before, after);

// The one-file page at query, English, 800 x 600 unless options say otherwise; it must log no
// error and ask no other host for anything.
const withPage = (query, body, options = {}) =>
  withOpenPage(shared.browser, builtPageAddress(query), { viewport: { width: 800, height: 600 }, locale: 'en-US', ...options },
               { stepMs: StepMs }, body);

const item = (name) => `[data-menu-bar] [data-name="${name}"]`;
async function pick(page, ...names) {
  for (const name of names) await page.click(item(name));
}
const isChecked = (page, name) => page.getAttribute(item(name), 'aria-checked');
// Without [open]: the element goes only once the close has been handled, so a wait for it to
// go does not end before the page has taken what the dialog gave.
const dialogOf = (page, kind) => page.locator(`dialog[data-dialog="${kind}"]`);

// The picture once wanted(digest) holds, looked at until StepMs have passed: the last seen.
async function pictureWhen(page, wanted) {
  for (const end = Date.now() + StepMs; ; await sleep(50)) {
    const seen = await canvasDigest(page);
    if (wanted(seen) || Date.now() > end) return seen;
  }
}

// ---- The View switches and the theme -------------------------------------------------------

const Switches = [
  { name: 'mnuShowCaption', at: 'true' },
  { name: 'mnuProjectorTheme', at: 'false' },
];

test('the caption and projector switches toggle their marks and the picture, and back', { timeout: TestMs },
     () => withPage('?trajectory=circle&ticks=40', async (page) => {
  for (const { name, at } of Switches) {
    assert.equal(await isChecked(page, name), at, `${name}: at start`);
    const picture = await canvasDigest(page);
    await pick(page, 'MnuView', name);
    assert.equal(await isChecked(page, name), String(at !== 'true'), `${name}: the mark`);
    assert.notEqual(await pictureWhen(page, (seen) => seen !== picture), picture, `${name}: the picture`);
    await pick(page, 'MnuView', name);
    assert.equal(await isChecked(page, name), at, `${name}: the mark back`);
    assert.equal(await pictureWhen(page, (seen) => seen === picture), picture, `${name}: the picture back`);
  }
}));

test('the projector theme is kept for the next visit, and the address overrides it', { timeout: TestMs },
     () => withPage('?ticks=1', async (page) => {
  const theme = () => page.getAttribute('html', 'data-theme');
  assert.equal(await theme(), 'dark');
  await pick(page, 'MnuView', 'mnuProjectorTheme');
  assert.equal(await theme(), 'projector');
  const seen = async (query, checked, when) => {
    await page.goto(page.url().replace(/\?.*$/, query));
    await page.waitForSelector(`#field[data-tick="1"]`);
    assert.equal(await isChecked(page, 'mnuProjectorTheme'), checked, when);
    assert.equal(await theme(), checked === 'true' ? 'projector' : 'dark', when);
  };
  await seen('?ticks=1', 'true', 'reloaded');
  await seen('?ticks=1&theme=dark', 'false', '?theme=dark');
  // The address's theme is not kept: the next visit has the remembered one again.
  await seen('?ticks=1', 'true', 'after ?theme=dark');
  await pick(page, 'MnuView', 'mnuProjectorTheme');
  await seen('?ticks=1', 'false', 'switched back and reloaded');
  await seen('?ticks=1&theme=projector', 'true', '?theme=projector');
}));

const AddressLooks = [
  { query: '?ticks=1&no-caption', caption: 'false', projector: 'false' },
  { query: '?ticks=1&caption&theme=projector', caption: 'true', projector: 'true' },
];

for (const { query, caption, projector } of AddressLooks) {
  test(`the address ${query} sets the caption and theme`, { timeout: TestMs }, () => withPage(query, async (page) => {
    assert.equal(await isChecked(page, 'mnuShowCaption'), caption);
    assert.equal(await isChecked(page, 'mnuProjectorTheme'), projector);
  }));
}

test('an unknown theme in the address is refused, and the page starts with the defaults', { timeout: TestMs },
     () => withPage('?theme=sepia', async (page) => {
  assert.match(await page.textContent('#message'), /sepia/);
  assert.equal(await isChecked(page, 'mnuProjectorTheme'), 'false');
}));

// ---- The help text --------------------------------------------------------------------------

const help = (page) => dialogOf(page, 'help');

const HelpOpenings = [
  { how: 'the menu', open: (page) => pick(page, 'MnuHelpMenu', 'MnuHelpModel') },
  { how: 'F1', open: (page) => page.keyboard.press('F1') },
];

for (const { how, open } of HelpOpenings) {
  test(`the help text opens from ${how}, readable, and Escape closes it`, { timeout: TestMs },
       () => withPage('?ticks=1', async (page) => {
    await open(page);
    const shown = help(page);
    await shown.waitFor();
    assert.equal(await shown.locator('h1').first().textContent(), 'What the picture shows');
    assert.ok(await shown.locator('h2').count() >= 3, 'its sections');
    assert.ok(await shown.locator('li').count() >= 3, 'its lists');
    assert.equal(await shown.getAttribute('aria-labelledby'), 'help-viewer-title');
    await page.keyboard.press('Escape');
    await shown.waitFor({ state: 'detached' });
    // The page's keys work again once it is closed.
    await page.keyboard.press('F1');
    await help(page).waitFor();
    await help(page).locator('[data-action=close]').click();
    await help(page).waitFor({ state: 'detached' });
  }));
}

test('the undulator dialog\'s Help opens the text at the undulator, over the dialog', { timeout: TestMs },
     () => withPage('?ticks=1', async (page) => {
  await pick(page, 'Setup', 'MnuTrajectory', 'MnuUndulator');
  const undulator = dialogOf(page, 'undulator');
  await undulator.waitFor();
  await undulator.locator('[data-action=help]').click();
  await help(page).waitFor();
  const place = await help(page).evaluate((dialog) => {
    const text = dialog.querySelector('.help-viewer-text');
    const heading = Array.from(text.querySelectorAll('h2')).find((h) => /undulator/i.test(h.textContent));
    if (!heading) return null;
    return { top: heading.getBoundingClientRect().top - text.getBoundingClientRect().top, scrolled: text.scrollTop };
  });
  assert.ok(place, 'the text has the undulator\'s heading');
  assert.ok(place.scrolled > 0 && Math.abs(place.top) < 4, `the heading at the top: ${JSON.stringify(place)}`);
  await page.keyboard.press('Escape');
  await help(page).waitFor({ state: 'detached' });
  // The dialog is as it was, still open.
  assert.equal(await undulator.isVisible(), true);
  await undulator.locator('[data-action=cancel]').click();
  await undulator.waitFor({ state: 'detached' });
}));

// ---- Scale unit -----------------------------------------------------------------------------

async function scaleUnit(page) {
  await pick(page, 'Setup', 'MnuScaleUnit');
  const dialog = dialogOf(page, 'scaleUnit');
  await dialog.waitFor();
  const read = async (name) => dialog.locator(`[data-field="${name}"]`).inputValue();
  return { dialog, shown: async () => [await read('Scale'), await read('Unit')] };
}

test('Scale unit: Cancel and Escape change nothing, OK sets it', { timeout: TestMs },
     () => withPage('?trajectory=circle&ticks=20', async (page) => {
  let opened = await scaleUnit(page);
  assert.deepEqual(await opened.shown(), ['100', '1'], 'the default: 100 m');
  assert.match(await opened.dialog.textContent(), /Window width is equal to/);
  for (const close of ['cancel', 'Escape']) {
    await opened.dialog.locator('[data-field=Scale]').selectOption('10');
    await opened.dialog.locator('[data-field=Unit]').selectOption('0');
    if (close === 'Escape') await page.keyboard.press('Escape');
    else await opened.dialog.locator('[data-action=cancel]').click();
    await opened.dialog.waitFor({ state: 'detached' });
    opened = await scaleUnit(page);
    assert.deepEqual(await opened.shown(), ['100', '1'], `after ${close}`);
  }
  const picture = await canvasDigest(page);
  await opened.dialog.locator('[data-field=Scale]').selectOption('1');
  await opened.dialog.locator('[data-field=Unit]').selectOption('2');
  await opened.dialog.locator('[data-action=ok]').click();
  await opened.dialog.waitFor({ state: 'detached' });
  // The scale bar says the new length.
  assert.notEqual(await pictureWhen(page, (seen) => seen !== picture), picture, 'the picture');
  opened = await scaleUnit(page);
  assert.deepEqual(await opened.shown(), ['1', '2'], 'after OK: 1 mm');
  await page.keyboard.press('Escape');
}));

for (const trajectory of ['undulator', 'bending']) {
  test(`Scale unit while the ${trajectory} runs: the lists fixed, and why`, { timeout: TestMs },
       () => withPage(`?trajectory=${trajectory}&ticks=1`, async (page) => {
    const { dialog } = await scaleUnit(page);
    for (const name of ['Scale', 'Unit']) assert.equal(await dialog.locator(`[data-field=${name}]`).isDisabled(), true, name);
    assert.match(await dialog.locator('[data-note=fixed-scale]').textContent(), /the plot is 2 m wide/);
    await dialog.locator('[data-action=ok]').click();
    await dialog.waitFor({ state: 'detached' });
  }));
}

// ---- The docked panels ----------------------------------------------------------------------

const Boxes = () => {
  const box = (selector) => {
    const element = document.querySelector(selector);
    if (!element || element.hidden) return null;
    const r = element.getBoundingClientRect();
    return { left: r.left, top: r.top, right: r.right, bottom: r.bottom, area: r.width * r.height };
  };
  return {
    canvas: box('#field'),
    panels: [box('[data-panel="power-pattern"]'), box('[data-panel="zoom-view"]')],
    window: window.innerWidth * window.innerHeight,
  };
};
const overlaps = (a, b) => a.left < b.right - 0.5 && b.left < a.right - 0.5 && a.top < b.bottom - 0.5 && b.top < a.bottom - 0.5;

for (const viewport of [{ width: 1024, height: 768 }, { width: 768, height: 504 }]) {
  test(`both panels docked at ${viewport.width} x ${viewport.height} leave 60 % to the plot, and float`, { timeout: TestMs },
       () => withPage('?trajectory=circle&ticks=20', async (page) => {
    await pick(page, 'MnuView', 'mnuShowPowerPattern');
    await pick(page, 'MnuView', 'mnuShowZoom');
    const settledBoxes = async () => {
      await sleep(200);
      return page.evaluate(Boxes);
    };
    const docked = await settledBoxes();
    assert.ok(docked.canvas.area >= 0.6 * docked.window, `the plot: ${docked.canvas.area} of ${docked.window}`);
    for (const panel of docked.panels) {
      assert.ok(panel && panel.area > 0, 'shown');
      assert.equal(overlaps(panel, docked.canvas), false, `${JSON.stringify(panel)} over the plot`);
    }
    // Floated, the power pattern lies over the plot, and the plot takes the dock's room back
    // once the other panel floats as well.
    const pattern = page.locator('[data-panel="power-pattern"]');
    await pattern.locator('[data-action=dock]').click();
    assert.equal(await pattern.getAttribute('data-docked'), 'false');
    const floating = await settledBoxes();
    assert.equal(overlaps(floating.panels[0], floating.canvas), true, 'floating over the plot');
    await page.locator('[data-panel="zoom-view"] [data-action=dock]').click();
    const bothFloating = await settledBoxes();
    assert.ok(bothFloating.canvas.area > docked.canvas.area, 'the plot grows without the dock');
    // And back into the dock.
    await pattern.locator('[data-action=dock]').click();
    assert.equal(await pattern.getAttribute('data-docked'), 'true');
    const again = await settledBoxes();
    assert.equal(overlaps(again.panels[0], again.canvas), false, 'docked again');
  }, { viewport }));
}
