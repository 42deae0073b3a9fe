// SPDX-License-Identifier: GPL-3.0-or-later
// Random input on the one-file page for a while: mouse and touch on the field, keys, random menu
// items and the dialogs they open, answered with random text or none. No console error or
// uncaught exception may come of it, no request may leave the file, and the page must still
// draw afterwards. The seed is printed; a run is repeated with the same one.
//   HALVORAN_MONKEY_SEED=<seed> HALVORAN_MONKEY_SECONDS=<s> node --test e2e/monkey.test.mjs
import assert from 'node:assert/strict';
import { existsSync } from 'node:fs';
import { setTimeout as sleep } from 'node:timers/promises';
import { after, before, test } from 'node:test';
import { canvasDigest, launchBrowser, oneFileAddress, onePagePath, openPage } from './support.mjs';

const seconds = Number(process.env.HALVORAN_MONKEY_SECONDS ?? 60);
const seed = Number(process.env.HALVORAN_MONKEY_SEED ?? 20260611) >>> 0;
const StepTimeoutMs = 15000;  // a step that takes longer means the page no longer answers
const ActionTimeoutMs = 2000;  // an element that went away meanwhile is no fault

const Keys = ['Space', 'r', 'R', 's', 'S', 'ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', '+',
              '-', '0', 'Escape', 'Tab', 'Enter', 'F10'];
const Texts = ['0', '7', '42', '0.5', '12345678', '1e999', '-0', 'abc', ''];
const ItemSelector = ':is([role=menuitem], [role=menuitemcheckbox], [role=menuitemradio])' +
                     ':not([data-name=MnuPrint]):not([aria-disabled=true]):visible';
// Modal dialogs only: the floating panels (dialogs with aria-modal false) are part of the page.
const DialogSelector = ':is(dialog[open], [role=dialog][aria-modal=true]):visible';
// The bar's own items, not those of the menus they open.
const TopSelector = '[role=menubar] [role=menuitem]:not([role=menu] *):visible';

// mulberry32: a small generator whose sequence the seed fixes.
function generator(start) {
  let state = start;
  const next = () => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  return {
    below: (n) => Math.floor(next() * n),
    pick(list) { return list[this.below(list.length)]; },
    chance: (p) => next() < p,
  };
}

// Playwright's complaint about an element that moved, went or never came: the monkey's luck.
const Missed = new RegExp(['Timeout', 'detached', 'not attached', 'not visible',
                           'outside of the viewport', 'not an <input>', 'Cannot type', 'cannot be filled',
                           'intercepts pointer'].join('|'), 'i');
const missed = (error) => Missed.test(String(error));

async function withTimeout(promise, what) {
  let timer;
  const late = new Promise((_, reject) => {
    timer = setTimeout(() => reject(new Error(`${what}: no answer in ${StepTimeoutMs} ms`)),
                       StepTimeoutMs);
  });
  try {
    return await Promise.race([promise, late]);
  } finally {
    clearTimeout(timer);
  }
}

let browser;
before(async () => {
  assert.ok(existsSync(onePagePath), `${onePagePath} is built by tools/build-web.sh`);
  browser = await launchBrowser();
});
after(async () => { await browser?.close(); });

test('random input leaves the page without errors and still drawing',
     { timeout: (seconds + 120) * 1000 }, async () => {
  console.log(`monkey seed ${seed} (HALVORAN_MONKEY_SEED), ${seconds} s`);
  const random = generator(seed);
  const opened = await openPage(browser, oneFileAddress(),
                                { viewport: { width: 1024, height: 700 }, hasTouch: true,
                                  acceptDownloads: true });
  const { page, errors, requests, close } = opened;
  page.on('download', (download) => { download.delete().catch(() => {}); });
  page.on('dialog', (dialog) => { dialog.dismiss().catch(() => {}); });
  const touch = await page.context().newCDPSession(page);
  await page.waitForFunction(() => document.querySelector('#field')?.width > 0, null,
                             { timeout: 20000 });

  const point = async () => {
    const box = (await page.locator('#field').boundingBox()) ?? { x: 0, y: 0, width: 1024,
                                                                  height: 700 };
    return { x: box.x + random.below(Math.max(1, box.width)),
             y: box.y + random.below(Math.max(1, box.height)) };
  };
  const touchAt = (type, points) => touch.send('Input.dispatchTouchEvent', {
    type, touchPoints: points.map(({ x, y }) => ({ x: Math.round(x), y: Math.round(y) })) });

  async function answerDialog() {
    const dialog = page.locator(DialogSelector).first();
    if (!(await dialog.count())) return 'no dialog';
    if (random.chance(0.6)) {
      const fields = dialog.locator('input:not([type=hidden]):not([disabled]):visible, textarea');
      const count = await fields.count();
      if (count) {
        const text = random.pick(Texts);
        await fields.nth(random.below(count)).fill(text, { timeout: ActionTimeoutMs });
      }
    }
    const answer = random.pick(['OK', 'Cancel', 'Escape']);
    if (answer !== 'Escape') {
      const button = dialog.getByRole('button', { name: answer, exact: true })
        .or(dialog.locator(`button[data-action=${answer.toLowerCase()}]`));
      if (await button.count()) {
        await button.first().click({ timeout: ActionTimeoutMs });
        return `dialog ${answer}`;
      }
    }
    await page.keyboard.press('Escape');
    return 'dialog Escape';
  }

  // A top item of the menu bar opened, then items picked down its submenus until one is a command.
  async function pickMenuItem() {
    const top = page.locator(TopSelector);
    const count = await top.count();
    if (!count) return 'no menu bar';
    await top.nth(random.below(count)).click({ timeout: ActionTimeoutMs });
    let picked = '';
    for (let depth = 0; depth < 3; ++depth) {
      const items = page.locator(`[role=menu] ${ItemSelector}`);
      const shown = await items.count();
      if (!shown) break;
      const item = items.nth(random.below(shown));
      picked = (await item.getAttribute('data-name', { timeout: ActionTimeoutMs })) ??
               (await item.textContent({ timeout: ActionTimeoutMs }));
      const submenu = await item.getAttribute('aria-haspopup', { timeout: ActionTimeoutMs });
      await item.click({ timeout: ActionTimeoutMs });
      if (!submenu || submenu === 'false') break;
    }
    return `menu ${picked}`;
  }

  const steps = [
    [15, async () => {
      const from = await point();
      const to = await point();
      await page.mouse.move(from.x, from.y);
      await page.mouse.down();
      await page.mouse.move(to.x, to.y, { steps: 1 + random.below(10) });
      await page.mouse.up();
      return 'mouse drag';
    }],
    [10, async () => {
      const at = await point();
      await page.mouse.click(at.x, at.y);
      return 'mouse click';
    }],
    [8, async () => {
      const at = await point();
      await page.touchscreen.tap(at.x, at.y);
      return 'touch tap';
    }],
    [8, async () => {
      const from = await point();
      const to = await point();
      await touchAt('touchStart', [from]);
      for (let k = 1; k <= 5; ++k)
        await touchAt('touchMove', [{ x: from.x + (to.x - from.x) * k / 5,
                                      y: from.y + (to.y - from.y) * k / 5 }]);
      await touchAt('touchEnd', []);
      return 'touch drag';
    }],
    [25, async () => {
      const key = random.pick(Keys);
      await page.keyboard.press(key);
      return `key ${key}`;
    }],
    [25, pickMenuItem],
    [9, answerDialog],
  ];
  const weights = steps.reduce((sum, [weight]) => sum + weight, 0);
  const chooseStep = () => {
    let left = random.below(weights);
    for (const [weight, step] of steps) {
      if ((left -= weight) < 0) return step;
    }
    return steps[0][1];
  };

  const recent = [];
  const tell = () => `seed ${seed}; last steps: ${recent.join(', ')}`;
  const run = async (step, name) => {
    try {
      recent.push(await withTimeout(step(), name));
    } catch (error) {
      if (!missed(error) || String(error).includes('no answer in'))
        throw new Error(`${String(error)}; ${tell()}`);
      recent.push(`${name} missed`);
    }
    if (recent.length > 20) recent.shift();
  };

  const end = Date.now() + seconds * 1000;
  for (let count = 0; Date.now() < end; ++count) {
    await run(chooseStep(), `step ${count}`);
    // A dialog left open is mostly answered at once, sometimes left for the next steps.
    if (random.chance(0.7)) await run(answerDialog, `answer ${count}`);
    assert.deepEqual(errors, [], tell());
  }

  // Every dialog closed, then Run: the frames change again.
  for (let k = 0; k < 4; ++k) {
    await withTimeout(page.keyboard.press('Escape'), 'Escape');
    await sleep(100);
  }
  assert.equal(await page.locator(DialogSelector).count(), 0, `a dialog stays open; ${tell()}`);
  if (await page.locator('[data-name=MnuRun]').count()) {
    const top = page.locator(TopSelector);
    for (let k = 0, n = await top.count(); k < n; ++k) {
      await top.nth(k).click({ timeout: ActionTimeoutMs }).catch(() => {});
      const item = page.locator('[data-name=MnuRun]:visible');
      if (await item.count()) {
        await item.first().click({ timeout: ActionTimeoutMs });
        break;
      }
      await page.keyboard.press('Escape');
    }
  } else {
    console.log('no Run item (data-name MnuRun) on the page: the frames are checked as they run');
  }
  // The arrow keys as well (from the run button, where the keys reach the page): in mouse mode
  // they move a charge at rest, in every other mode the path runs on.
  const before = await withTimeout(canvasDigest(page), 'digest');
  // The view back at the start, where the charge's marker shows whatever layers are off.
  await page.locator('#run-button').click({ timeout: ActionTimeoutMs });
  await page.keyboard.press('0');
  for (let k = 0; k < 5; ++k) await page.keyboard.press('ArrowRight');
  await sleep(500);
  const afterwards = await withTimeout(canvasDigest(page), 'digest');
  assert.notEqual(afterwards, before, `the canvas no longer changes; ${tell()}`);
  assert.deepEqual(errors, [], tell());
  assert.deepEqual(requests, [], tell());
  await close();
});
