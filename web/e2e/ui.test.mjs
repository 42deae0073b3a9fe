// SPDX-License-Identifier: GPL-3.0-or-later
// The page driven as a person drives it, in headless Chromium: the greeting, the charge dragged
// by mouse and by finger, every Setup dialog cancelled, accepted and refused, the View switches,
// running and stepping by menu and keys, the language, the panels, the saved picture and the
// video, and the menu walked by keyboard alone. A console error, an uncaught exception or a
// request off the page fails the test it comes in.
//   npm run build && node --test e2e/ui.test.mjs
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { setTimeout as sleep } from 'node:timers/promises';
import { after, before, test } from 'node:test';
import {
  builtPageAddress, canvasDigest, pngSize, sharedBrowserAndServer, withOpenPage } from './support.mjs';

const StepMs = 10000;  // one action or wait; longer means the page no longer answers
const TestMs = 60000;
const QuietMs = 300;   // a paused picture stays as it is at least this long

const shared = sharedBrowserAndServer(before, after);

// The page at query (the one-file build, or the folder build served on the loopback) in a
// context of its own, English, 800 x 600 unless options say otherwise; body gets the page, and
// afterwards the page must have logged no error and asked no other host for anything.
function withPage(query, body, { served = false, ...options } = {}) {
  const address = served ? `${shared.server.origin}/${query}` : builtPageAddress(query);
  return withOpenPage(shared.browser, address, { viewport: { width: 800, height: 600 }, locale: 'en-US', ...options },
                      { origin: served ? shared.server.origin : null, stepMs: StepMs }, body);
}

// Drawn, and with ?ticks=N those ticks run (the page then pauses).
async function ready(page, query) {
  await page.waitForFunction(() => document.querySelector('#field')?.width > 0);
  const ticks = new URLSearchParams(query.replace(/^[^?]*/, '')).get('ticks');
  if (ticks) await page.waitForSelector(`#field[data-tick="${ticks}"]`);
}

const item = (name) => `[data-menu-bar] [data-name="${name}"]`;
// Clicks the items down the menus: a bar entry, its submenus, the command.
async function pick(page, ...names) {
  for (const name of names) await page.click(item(name));
}
const checkedItems = (page) => page.$$eval('[data-menu-bar] [aria-checked="true"]',
                                           (items) => items.map((i) => i.dataset.name).sort());
const isChecked = (page, name) => page.getAttribute(item(name), 'aria-checked');
const caption = (page, name) => page.textContent(`${item(name)} .hv-menu-label`);
const openDialogs = (page) => page.$$eval('dialog[open]', (all) => all.map((d) => d.dataset.dialog));

// The picture after it has had time to change (a frame or two).
async function settled(page) {
  await sleep(100);
  return canvasDigest(page);
}

// The picture once wanted(digest) holds, looked at until StepMs have passed: the last seen.
async function pictureWhen(page, wanted) {
  for (const end = Date.now() + StepMs; ; await sleep(50)) {
    const seen = await canvasDigest(page);
    if (wanted(seen) || Date.now() > end) return seen;
  }
}
const other = (digest) => (seen) => seen !== digest;
const same = (digest) => (seen) => seen === digest;

// The charge's marker (the pure blue disc) in client pixels: the centre of its pixels.
function markerOf(page) {
  return page.evaluate(() => {
    const canvas = document.querySelector('#field');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let x = 0, y = 0, n = 0;
    for (let k = 0; k < data.length; k += 4) {
      if (data[k] !== 0 || data[k + 1] !== 0 || data[k + 2] !== 255) continue;
      const p = k / 4;
      x += p % canvas.width;
      y += Math.floor(p / canvas.width);
      ++n;
    }
    if (n === 0) return null;
    const box = canvas.getBoundingClientRect();
    return { x: box.left + ((x / n + 0.5) * box.width) / canvas.width,
             y: box.top + ((y / n + 0.5) * box.height) / canvas.height };
  });
}

// Waits until the marker is within reach of target; the marker last seen.
async function markerReaches(page, target, reach = 4, timeoutMs = 5000) {
  let seen = null;
  for (const end = Date.now() + timeoutMs; Date.now() < end; await sleep(100)) {
    seen = await markerOf(page);
    if (seen && Math.hypot(seen.x - target.x, seen.y - target.y) <= reach) break;
  }
  return seen;
}

const near = (a, b, reach) => a !== null && Math.hypot(a.x - b.x, a.y - b.y) <= reach;

// ---- The greeting ---------------------------------------------------------------------------

const Greetings = [
  { query: '', close: (page) => page.click('dialog[data-dialog=greeting] [data-action=ok]'), how: 'OK' },
  { query: '', close: (page) => page.keyboard.press('Escape'), how: 'Escape' },
  { query: '?ticks=1', close: null, how: 'not shown' },
];

for (const { query, close, how } of Greetings) {
  test(`the greeting with "${query}": ${how}`, { timeout: TestMs }, () => withPage(query, async (page) => {
    if (!close) {
      await sleep(QuietMs);
      assert.deepEqual(await openDialogs(page), []);
      return;
    }
    await page.waitForSelector('dialog[data-dialog=greeting][open]');
    await close(page);
    await page.waitForSelector('dialog[data-dialog=greeting]', { state: 'detached' });
    assert.deepEqual(await openDialogs(page), []);
  }));
}

// ---- The charge dragged ---------------------------------------------------------------------

// offset: how far right of the marker the press lands (CSS px); a mouse takes the charge within
// 12 px, a finger within 28, and a press farther away pans the view.
const Drags = [
  { name: 'a mouse on the charge drags it', pointer: 'mouse', offset: 0, takes: true },
  { name: 'a finger beside the charge drags it', pointer: 'touch', offset: 20, takes: true },
  { name: 'a mouse beside the charge pans the view', pointer: 'mouse', offset: 20, takes: false },
];
const Move = { x: 150, y: -80 };

for (const { name, pointer, offset, takes } of Drags) {
  test(name, { timeout: TestMs }, () => withPage('?trajectory=mouse&ticks=1', async (page) => {
    const box = await page.locator('#field').boundingBox();
    const centre = { x: box.x + box.width / 2, y: box.y + box.height / 2 };
    const start = await markerOf(page);
    assert.ok(near(start, centre, 2), `the charge starts at ${JSON.stringify(start)}, not the centre`);
    await page.click('#run-button');
    const before = await settled(page);
    const from = { x: start.x + offset, y: start.y };
    const to = { x: from.x + Move.x, y: from.y + Move.y };
    const touch = pointer === 'touch' ? await page.context().newCDPSession(page) : null;
    const touchAt = (type, at) => touch.send('Input.dispatchTouchEvent', {
      type, touchPoints: at ? [{ x: Math.round(at.x), y: Math.round(at.y) }] : [] });
    if (touch) await touchAt('touchStart', from);
    else {
      await page.mouse.move(from.x, from.y);
      await page.mouse.down();
    }
    for (let k = 1; k <= 10; ++k) {
      const at = { x: from.x + (Move.x * k) / 10, y: from.y + (Move.y * k) / 10 };
      if (touch) await touchAt('touchMove', at);
      else await page.mouse.move(at.x, at.y);
    }
    // Taken, the charge goes to the pointer; a pan carries it with the view by the same move.
    const expected = takes ? to : { x: start.x + Move.x, y: start.y + Move.y };
    const reached = await markerReaches(page, expected);
    if (touch) await touchAt('touchEnd', null);
    else await page.mouse.up();
    assert.ok(near(reached, expected, 4),
              `the marker is at ${JSON.stringify(reached)}, expected ${JSON.stringify(expected)}`);
    assert.notEqual(await canvasDigest(page), before, 'the picture did not change');
  }, { hasTouch: pointer === 'touch' }));
}

// ---- The Setup dialogs ----------------------------------------------------------------------

// Each dialog from its menu item on the paused mouse-mode page: cancel leaves everything as it
// was, OK with accepted takes it (the radio item moves where radio names one; the picture is
// new where redraws), and OK with refused keeps the dialog open with a sentence (the typed text
// kept, or where keepsText is false put back), after which the accepted value still runs.
const Trajectory = ['Setup', 'MnuTrajectory'];
const SetupCases = [
  { dialog: 'line', path: [...Trajectory, 'mnuStraightLine'], field: 'List_Velocity', accepted: '0.95',
    refused: '1.5', radio: 'mnuStraightLine', redraws: true, cancel: 'cancel' },
  { dialog: 'dipole', path: [...Trajectory, 'MnuDipole'], field: 'List_Velocity', accepted: '0.7',
    refused: '1', radio: 'MnuDipole', redraws: true, cancel: 'Escape' },
  { dialog: 'circle', path: [...Trajectory, 'MnuCircle'], field: 'List_Velocity', accepted: '0.8',
    refused: '1.5', radio: 'MnuCircle', redraws: true, cancel: 'cancel' },
  { dialog: 'racetrack', path: [...Trajectory, 'mnuRacetrack'], field: 'List_Radius', accepted: '0.2',
    refused: '0', radio: 'mnuRacetrack', redraws: true, cancel: 'Escape' },
  { dialog: 'bending', path: [...Trajectory, 'mnuBending'], field: 'List_Velocity', accepted: '0.8',
    refused: '1.5', radio: 'mnuBending', redraws: true, cancel: 'cancel' },
  { dialog: 'undulator', path: [...Trajectory, 'MnuUndulator'], field: 'List_beta', accepted: '0.9',
    refused: '1.5', radio: 'MnuUndulator', redraws: true, cancel: 'cancel' },
  { dialog: 'modelSize', path: ['Setup', 'MnuModelSize', 'MnuMdlCustom'], field: 'List_Jsize',
    accepted: '12', refused: '0', radio: 'MnuMdlCustom', redraws: true, cancel: 'Escape' },
  { dialog: 'plotResolution', path: ['Setup', 'PlotResolution1'], field: 'List_Resolution',
    accepted: '20', refused: 'abc', keepsText: false, cancel: 'cancel' },
  { dialog: 'physicalModel', path: ['Setup', 'PhysicalModel'], field: 'LightAbberationCheck',
    accepted: 'false', cancel: 'cancel' },
  { dialog: 'waveSpeed', path: ['Setup', 'MnuSpeed'], field: 'WaveSpeed', accepted: '9', cancel: 'Escape' },
];

// Without [open]: the element goes only once the close has been handled, so a wait for it to
// go does not end before the page has taken what the dialog gave.
const dialogOf = (page, kind) => page.locator(`dialog[data-dialog="${kind}"]`);
const fieldOf = (dialog, name) => dialog.locator(`[data-field="${name}"]`);
const fieldValue = (dialog, name) =>
  fieldOf(dialog, name).evaluate((e) => (e.type === 'checkbox' ? String(e.checked) : e.value));
// Typed into a text box; a check box set, a slider moved as a drag of its thumb would.
async function setField(dialog, name, text) {
  const field = fieldOf(dialog, name);
  const type = await field.getAttribute('type');
  if (type === 'checkbox') await field.setChecked(text === 'true');
  else if (type === 'range') {
    await field.evaluate((e, value) => {
      e.value = value;
      e.dispatchEvent(new Event('input', { bubbles: true }));
      e.dispatchEvent(new Event('change', { bubbles: true }));
    }, text);
  } else await field.fill(text);
}
// "0.800" is the "0.8" typed.
const sameValue = (a, b) => (a === b) || (a.trim() !== '' && Number(a) === Number(b));

async function openSetup(page, { path, dialog }) {
  await pick(page, ...path);
  const shown = dialogOf(page, dialog);
  await shown.waitFor();
  return shown;
}
async function closedBy(page, dialog, how) {
  if (how === 'Escape') await page.keyboard.press('Escape');
  else await dialog.locator(`[data-action="${how}"]`).click();
  await dialog.waitFor({ state: 'detached' });
}

for (const row of SetupCases) {
  test(`the ${row.dialog} dialog: cancelled, accepted, refused`, { timeout: TestMs },
       () => withPage('?trajectory=mouse&ticks=1', async (page) => {
    const checks = await checkedItems(page);
    const picture = await canvasDigest(page);

    let dialog = await openSetup(page, row);
    const opening = await fieldValue(dialog, row.field);
    assert.ok(!sameValue(opening, row.accepted), `${row.field} opens with ${opening} already`);
    await setField(dialog, row.field, row.accepted);
    await closedBy(page, dialog, row.cancel);
    assert.deepEqual(await checkedItems(page), checks, 'cancel moved a check mark');
    assert.equal(await settled(page), picture, 'cancel changed the picture');
    dialog = await openSetup(page, row);
    assert.equal(await fieldValue(dialog, row.field), opening, 'cancel kept the edit');

    await setField(dialog, row.field, row.accepted);
    await dialog.locator('[data-action=ok]').click();
    await dialog.waitFor({ state: 'detached' });
    if (row.radio) assert.equal(await isChecked(page, row.radio), 'true', `${row.radio} is not checked`);
    else assert.deepEqual(await checkedItems(page), checks, 'OK moved a check mark');
    if (row.redraws)
      assert.notEqual(await pictureWhen(page, other(picture)), picture, 'OK left the picture as it was');
    dialog = await openSetup(page, row);
    const taken = await fieldValue(dialog, row.field);
    assert.ok(sameValue(taken, row.accepted), `${row.field} reopens with ${taken}, not ${row.accepted}`);
    if (!row.refused) {
      await closedBy(page, dialog, 'Escape');
      return;
    }

    await setField(dialog, row.field, row.refused);
    await dialog.locator('[data-action=ok]').click();
    await sleep(100);
    assert.equal(await dialog.count(), 1, `${row.refused} closed the dialog`);
    const sentence = dialog.locator('.setup-message');
    assert.ok(await sentence.isVisible(), `no sentence for ${row.refused}`);
    assert.match(await sentence.textContent(), /\p{L}{3,}.*\p{L}{3,}/u);
    assert.doesNotMatch(await sentence.textContent(), /undefined|\[object|%\d/);
    assert.equal(await fieldValue(dialog, row.field), row.keepsText === false ? taken : row.refused,
                 'the box after the refusal');
    await closedBy(page, dialog, 'Escape');
    dialog = await openSetup(page, row);
    assert.ok(sameValue(await fieldValue(dialog, row.field), taken), 'the refusal changed what runs');
    await closedBy(page, dialog, 'Escape');
    if (row.radio) assert.equal(await isChecked(page, row.radio), 'true');
  }));
}

test('the undulator dialog works out E and γ from the β typed', { timeout: TestMs },
     () => withPage('?ticks=1', async (page) => {
  const dialog = await openSetup(page, { path: [...Trajectory, 'MnuUndulator'], dialog: 'undulator' });
  // γ = 1 / sqrt(1 - β²); E = (γ - 1) m c² the kinetic energy, m c² = 0.511 MeV, both shown to 0.01.
  for (const beta of ['0.6', '0.8', '0.99']) {
    const box = fieldOf(dialog, 'List_beta');
    await box.fill('');
    await box.pressSequentially(beta);
    const gamma = 1 / Math.sqrt(1 - Number(beta) ** 2);
    const shown = { gamma: Number(await dialog.locator('output[data-label=LabelGamma]').textContent()),
                    energy: Number(await fieldValue(dialog, 'List_Energy')) };
    assert.ok(Math.abs(shown.gamma - gamma) < 0.006, `β ${beta}: γ shows ${shown.gamma}`);
    assert.ok(Math.abs(shown.energy - (gamma - 1) * 0.51099895) < 0.006,
              `β ${beta}: E shows ${shown.energy}`);
  }
  await closedBy(page, dialog, 'cancel');
}));

// ---- The View switches ----------------------------------------------------------------------

const Switches = [
  ['MnuView', 'mnuFieldPlot', 'mnuPlotWaveFront'],
  ['MnuView', 'mnuFieldPlot', 'mnuPlotEFieldLines'],
  ['MnuView', 'mnuFieldPlot', 'mnuPlotNodePoints'],
  ['MnuView', 'mnuFieldPlot', 'mnuSmoothLines'],
  ['MnuView', 'MnuFieldMonitor'],
];

test('each View switch toggles its mark and the picture, and back', { timeout: TestMs },
     () => withPage('?trajectory=circle&ticks=40', async (page) => {
  for (const path of Switches) {
    const name = path.at(-1);
    const mark = await isChecked(page, name);
    const picture = await canvasDigest(page);
    await pick(page, ...path);
    assert.equal(await isChecked(page, name), String(mark !== 'true'), `${name}: the mark`);
    assert.notEqual(await pictureWhen(page, other(picture)), picture, `${name}: the picture`);
    await pick(page, ...path);
    assert.equal(await isChecked(page, name), mark, `${name}: the mark back`);
    assert.equal(await pictureWhen(page, same(picture)), picture, `${name}: the picture back`);
  }
}));

// ---- The plot's keys -----------------------------------------------------------------------

// On the paused page each key moves the view and 0 brings back the whole plot as it was.
const ViewKeys = [['+'], ['-'], ['+', '+', 'ArrowLeft'], ['ArrowDown']];

test('+, - and the arrows move the view; 0 brings it back', { timeout: TestMs },
     () => withPage('?trajectory=circle&ticks=10', async (page) => {
  const whole = await canvasDigest(page);
  for (const keys of ViewKeys) {
    for (const name of keys) await page.keyboard.press(name);
    assert.notEqual(await pictureWhen(page, other(whole)), whole, `${keys}: the view stays`);
    await page.keyboard.press('0');
    assert.equal(await pictureWhen(page, same(whole)), whole, `${keys}, 0: another view`);
  }
}));

// In mouse mode the arrows move the charge instead (y up), once the ticks run.
test('the arrows move the charge in mouse mode', { timeout: TestMs },
     () => withPage('?trajectory=mouse&ticks=1', async (page) => {
  const start = await markerOf(page);
  for (let k = 0; k < 5; ++k) await page.keyboard.press('ArrowRight');
  for (let k = 0; k < 3; ++k) await page.keyboard.press('ArrowUp');
  await page.keyboard.press('Space');
  const went = (at) => at.x - start.x >= 10 && start.y - at.y >= 5;
  let moved = start;
  for (const end = Date.now() + StepMs; Date.now() < end && !went(moved); await sleep(100))
    moved = (await markerOf(page)) ?? moved;
  assert.ok(went(moved),
            `the charge went from ${JSON.stringify(start)} to ${JSON.stringify(moved)}`);
}));

// ---- Run, pause, step, reset ----------------------------------------------------------------

const key = (name) => (page) => page.keyboard.press(name);
const menu = (...path) => (page) => pick(page, ...path);
const click = (selector) => async (page) => {
  await page.click(selector);
  // Space belongs to a focused button: the page's keys come after it lost the focus.
  await page.evaluate(() => document.activeElement?.blur());
};

// moves: the frames change while they are looked at; once: the picture changes, then stays;
// still: it stays. pressed: the toolbar button that shows the state.
const RunSteps = [
  ['Run from the menu', menu('MnuRuns', 'MnuRun'), 'moves', 'run'],
  ['Pause from the menu', menu('MnuRuns', 'MnuPause'), 'still', 'pause'],
  ['Step from the menu', menu('MnuRuns', 'MnuStep'), 'once', 'pause'],
  ['S steps', key('s'), 'once', 'pause'],
  ['Space runs', key('Space'), 'moves', 'run'],
  ['Space pauses', key('Space'), 'still', 'pause'],
  ['Run / pause from the menu runs', menu('MnuRuns', 'MnuRunPause'), 'moves', 'run'],
  ['the pause button pauses after a step', click('#pause-button'), 'once', 'pause'],
  ['the run button runs', click('#run-button'), 'moves', 'run'],
  ['Run / pause from the menu pauses', menu('MnuRuns', 'MnuRunPause'), 'still', 'pause'],
];

test('Run, Pause, Step by menu, keys and buttons', { timeout: TestMs },
     () => withPage('?trajectory=circle&ticks=5', async (page) => {
  const first = await canvasDigest(page);
  await sleep(QuietMs);
  assert.equal(await canvasDigest(page), first, 'the page runs on after its ticks');
  for (const [what, act, expected, pressed] of RunSteps) {
    const before = await canvasDigest(page);
    await act(page);
    // A step's tick may come a frame or two later, and a busy machine may draw running frames
    // after the click: the picture is looked at once the page says no more ticks come.
    if (expected !== 'moves') await page.waitForSelector('#field[data-running="false"]');
    const one = await settled(page);
    if (expected === 'once') assert.notEqual(one, before, `${what}: no step`);
    await sleep(QuietMs);
    const two = await canvasDigest(page);
    if (expected === 'moves') assert.notEqual(two, one, `${what}: the frames stand still`);
    else assert.equal(two, one, `${what}: the frames go on`);
    const button = pressed === 'run' ? '#run-button' : '#pause-button';
    assert.equal(await page.getAttribute(button, 'aria-pressed'), 'true', `${what}: ${button}`);
  }
}));

// Reset by either way gives the same start picture, whatever ran before.
const Resets = [
  ['Reset from the menu', menu('MnuRuns', 'MnuReset')],
  ['R', key('r')],
];

test('Reset by menu and key returns to the same start picture', { timeout: TestMs },
     () => withPage('?trajectory=circle&ticks=30', async (page) => {
  const ran = await canvasDigest(page);
  const starts = [];
  for (const [what, act] of Resets) {
    await act(page);
    const start = await pictureWhen(page, starts.length ? same(starts[0]) : other(ran));
    assert.notEqual(start, ran, `${what}: the picture stays`);
    if (starts.length) assert.equal(start, starts[0], `${what}: another start picture`);
    starts.push(start);
    await key('s')(page);
    assert.notEqual(await pictureWhen(page, other(start)), start, `${what}: no step after it`);
  }
}));

// ---- The language ---------------------------------------------------------------------------

for (const served of [false, true]) {
  test(`the language switch, kept for the next visit (${served ? 'served' : 'file'})`, { timeout: TestMs },
       () => withPage('?ticks=1', async (page) => {
    assert.equal(await caption(page, 'Setup'), 'Setup');
    await pick(page, 'MnuView', 'MnuLanguage', 'MnuJapanese');
    const Japanese = [['Setup', 'セットアップ'], ['MnuView', '表示'], ['MnuRuns', '実行']];
    const inJapanese = async (when) => {
      for (const [name, text] of Japanese) assert.equal(await caption(page, name), text, `${when}: ${name}`);
      assert.equal(await page.getAttribute('html', 'lang'), 'ja', when);
      assert.equal(await isChecked(page, 'MnuJapanese'), 'true', when);
    };
    await inJapanese('switched');
    assert.equal(await isChecked(page, 'MnuEnglish'), 'false');
    // A dialog's refusal is worded in the language too.
    const dialog = await openSetup(page, { path: [...Trajectory, 'MnuCircle'], dialog: 'circle' });
    await setField(dialog, 'List_Velocity', '1.5');
    await dialog.locator('[data-action=ok]').click();
    assert.match(await dialog.locator('.setup-message').textContent(), /[\u3040-\u30ff]/);
    await closedBy(page, dialog, 'Escape');
    assert.equal(await page.isVisible('#message'), false, 'the language was not kept');
    await page.reload();
    await ready(page, '?ticks=1');
    await inJapanese('reloaded');
    await page.goto(page.url().replace(/\?.*$/, '?ticks=1&language=en'));
    await ready(page, '?ticks=1');
    assert.equal(await caption(page, 'Setup'), 'Setup', '?language=en');
    assert.equal(await isChecked(page, 'MnuEnglish'), 'true', '?language=en');
  }, { served }));
}

// ---- The panels -----------------------------------------------------------------------------

const Panels = [
  { item: 'mnuShowPowerPattern', panel: 'power-pattern',
    async more(page, panel) {
      assert.equal(await panel.getAttribute('data-radiates'), 'true', 'a circling charge radiates');
      await panel.locator('input[data-mode=instantaneous]').check();
      assert.match(await panel.locator('[data-power]').textContent(), /\d/);
    } },
  { item: 'mnuShowZoom', panel: 'zoom-view',
    async more(page, panel) {
      const scale = Number(await panel.getAttribute('data-zoom-scale'));
      await panel.locator('[data-action=zoom-in]').click();
      assert.ok(Number(await panel.getAttribute('data-zoom-scale')) > scale, 'zoom in');
      await panel.locator('[data-action=zoom-out]').click();
      assert.equal(Number(await panel.getAttribute('data-zoom-scale')), scale, 'zoom out');
      // Its setup: the tracking chosen is confirmed in a note, then both close.
      await panel.locator('[data-action=setup]').click();
      const dialog = dialogOf(page, 'zoomSetup');
      await fieldOf(dialog, 'rbtnTrackOFF').check();
      await dialog.locator('[data-action=ok]').click();
      const note = dialogOf(page, 'note');
      await note.locator('[data-action=ok]').click();
      await dialog.waitFor({ state: 'detached' });
      assert.deepEqual(await openDialogs(page), []);
    } },
];

for (const { item: name, panel: kind, more } of Panels) {
  test(`the ${kind} panel opens from the View menu and closes`, { timeout: TestMs },
       () => withPage('?trajectory=circle&ticks=20', async (page) => {
    const panel = page.locator(`section[role=dialog][data-panel="${kind}"]`);
    assert.equal(await panel.isVisible(), false);
    for (const close of ['button', 'Escape']) {
      await pick(page, 'MnuView', name);
      await panel.waitFor({ state: 'visible' });
      if (close === 'button') {
        await more(page, panel);
        await panel.locator('[data-action=close]').click();
      } else {
        await panel.focus();
        await page.keyboard.press('Escape');
      }
      await panel.waitFor({ state: 'hidden' });
    }
  }));
}

// ---- Outputs --------------------------------------------------------------------------------

const Saves = [
  { scale: 1, how: 'menu', save: menu('MnuFile', 'MnuSavePicture') },
  { scale: 2, how: 'menu', save: menu('MnuFile', 'MnuSavePicture') },
  { scale: 2, how: 'Ctrl+S', save: key('Control+s') },
];

for (const { scale, how, save } of Saves) {
  test(`Save picture (${how}) at ${scale} device pixels per CSS pixel`, { timeout: TestMs },
       () => withPage('?trajectory=circle&ticks=10', async (page) => {
    const canvas = await page.$eval('#field',
                                    (c) => ({ width: c.width, height: c.height, css: c.clientWidth }));
    assert.equal(canvas.width, Math.round(canvas.css * scale), 'the canvas is not at the device pixels');
    const [file] = await Promise.all([page.waitForEvent('download'), save(page)]);
    assert.equal(file.suggestedFilename(), 'halvoran-radiation.png');
    const size = pngSize(readFileSync(await file.path()));
    assert.deepEqual(size, { width: canvas.width, height: canvas.height });
  }, { deviceScaleFactor: scale }));
}

test('Record shows the REC sign and gives a WebM video', { timeout: TestMs },
     () => withPage('?trajectory=circle&ticks=1', async (page) => {
  await page.click('#run-button');
  const sign = page.locator('.rec-sign');
  assert.equal(await sign.getAttribute('data-recording'), 'false');
  const recordCaption = await caption(page, 'MnuRecordAnimation');
  await pick(page, 'MnuFile', 'MnuRecordAnimation');
  await page.waitForSelector('.rec-sign[data-recording=true]', { state: 'visible' });
  assert.notEqual(await caption(page, 'MnuRecordAnimation'), recordCaption, 'the item still says record');
  await sleep(1500);
  const [file] = await Promise.all([page.waitForEvent('download'),
                                    pick(page, 'MnuFile', 'MnuRecordAnimation')]);
  assert.match(file.suggestedFilename(), /\.webm$/);
  const video = readFileSync(await file.path());
  // A WebM file begins with the EBML header's identifier.
  assert.ok(video.length > 100, `${video.length} bytes`);
  assert.deepEqual([...video.subarray(0, 4)], [0x1a, 0x45, 0xdf, 0xa3]);
  await page.waitForSelector('.rec-sign[data-recording=false]', { state: 'hidden' });
  assert.equal(await caption(page, 'MnuRecordAnimation'), recordCaption);
}));

// ---- The keyboard alone ---------------------------------------------------------------------

const focused = (page) => page.evaluate(() => {
  const element = document.activeElement;
  return element?.dataset.name ?? element?.dataset.field ?? element?.id ?? element?.tagName;
});
const menuShown = (page, name) => page.isVisible(`[data-menu="${name}"]`);

// Each key and what has the focus after it, and the menus and dialog then open.
const Walk = [
  ['F10', 'MnuFile', [], null],
  ['ArrowRight', 'Setup', [], null],
  ['Enter', 'MnuTrajectory', ['Setup'], null],
  ['Enter', 'MnuByMouse', ['Setup', 'MnuTrajectory'], null],
  ['ArrowDown', 'mnuStraightLine', ['Setup', 'MnuTrajectory'], null],
  ['Enter', 'List_Velocity', [], 'line'],
  ['Escape', 'run-button', [], null],
  ['F10', 'Setup', [], null],
  ['Escape', 'run-button', [], null],
];

test('a keyboard walk: F10, arrows, Enter into a dialog, Escape back', { timeout: TestMs },
     () => withPage('?ticks=1', async (page) => {
  await page.focus('#run-button');
  for (const [pressed, focus, menus, dialog] of Walk) {
    await page.keyboard.press(pressed);
    await sleep(50);
    assert.equal(await focused(page), focus, `after ${pressed}`);
    for (const name of ['MnuFile', 'Setup', 'MnuTrajectory'])
      assert.equal(await menuShown(page, name), menus.includes(name), `after ${pressed}: menu ${name}`);
    assert.deepEqual(await openDialogs(page), dialog ? [dialog] : [], `after ${pressed}`);
  }
  assert.equal(await isChecked(page, 'MnuByMouse'), 'true');
}));
