// SPDX-License-Identifier: GPL-3.0-or-later
// The page draws what the desktop draws: each scene's canvas, after the address's ticks, equals
// pixel for pixel the picture the desktop program writes with --render and the same options.
// The one-file page is opened from file://, and some scenes also from the folder build on a
// server of the loopback. HALVORAN_DESKTOP names the desktop program.
//   npm run e2e   (after tools/build-web.sh and a desktop build)
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { after, before, test } from 'node:test';
import { promisify } from 'node:util';
import { launchBrowser, oneFileAddress, onePagePath, openPage, serveFolder, siteDir, webDir }
  from './support.mjs';

const desktop = resolve(webDir,
                        process.env.HALVORAN_DESKTOP ?? '../build/mainwindow/halvoran-radiation');
const skip = existsSync(desktop) ? false : `no desktop program at ${desktop} (HALVORAN_DESKTOP)`;

// Options as the desktop's command line takes them; the page gets each as an address parameter.
// served: also compared through the folder build on the loopback server.
const Scenes = [
  { options: ['--trajectory', 'circle', '--ticks', '40', '--size', '640x400'], served: true },
  { options: ['--trajectory', 'line', '--ticks', '60', '--size', '640x400', '--wavefronts'] },
  { options: ['--trajectory', 'dipole', '--ticks', '50', '--size', '640x400', '--nodes'] },
  { options: ['--trajectory', 'undulator', '--ticks', '80', '--size', '800x300', '--arrows'] },
  { options: ['--trajectory', 'racetrack', '--ticks', '70', '--size', '640x400', '--no-field-lines',
              '--wavefronts'] },
  { options: ['--trajectory', 'bending', '--ticks', '90', '--size', '800x300', '--aliased'] },
  { options: ['--trajectory', 'mouse', '--ticks', '20', '--size', '640x400', '--model', '200x40',
              '--smooth'] },
  { options: ['--trajectory', 'circle', '--ticks', '120', '--size', '400x250', '--scale', '2',
              '--wavefronts'], served: true },
];

// "--ticks 40 --wavefronts" to "?ticks=40&wavefronts".
function queryOf(options) {
  const query = new URLSearchParams();
  for (let k = 0; k < options.length; ++k) {
    const name = options[k].slice(2);
    const next = options[k + 1];
    const value = next !== undefined && !next.startsWith('--') ? options[++k] : '';
    query.append(name, value);
  }
  return `?${query.toString().replace(/=(&|$)/g, '$1')}`;
}

let browser;
let server;
let pictures;

before(async () => {
  if (skip) return;
  assert.ok(existsSync(onePagePath), `${onePagePath} is built by tools/build-web.sh`);
  pictures = mkdtempSync(join(tmpdir(), 'halvoran-scenes-'));
  browser = await launchBrowser();
  server = await serveFolder(siteDir);
});
after(async () => {
  await browser?.close();
  await server?.close();
  if (pictures) rmSync(pictures, { recursive: true, force: true });
});

async function desktopPicture(options, index) {
  const file = join(pictures, `scene-${index}.png`);
  // In English as the page here is: a render speaks the language the desktop last chose.
  await promisify(execFile)(desktop, ['--render', file, '--language', 'en', ...options], {
    env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' },
    timeout: 60000,
  });
  return `data:image/png;base64,${readFileSync(file).toString('base64')}`;
}

// The canvas against the picture decoded by the page itself: the count of differing pixels and
// the first of them, or the two sizes where they differ.
function compareWithCanvas(page, pictureUrl) {
  return page.evaluate(async (url) => {
    const image = new Image();
    image.src = url;
    await image.decode();
    const bitmap = await createImageBitmap(image, { colorSpaceConversion: 'none',
                                                   premultiplyAlpha: 'none' });
    const canvas = document.querySelector('#field');
    if (bitmap.width !== canvas.width || bitmap.height !== canvas.height) {
      return { size: `page ${canvas.width}x${canvas.height}, ` +
                     `desktop ${bitmap.width}x${bitmap.height}` };
    }
    const scratch = new OffscreenCanvas(bitmap.width, bitmap.height).getContext('2d');
    scratch.drawImage(bitmap, 0, 0);
    const wanted = scratch.getImageData(0, 0, bitmap.width, bitmap.height).data;
    const shown = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    // RGBA compared a pixel at a time, as one 32-bit word.
    const wantedWords = new Uint32Array(wanted.buffer);
    const shownWords = new Uint32Array(shown.buffer);
    let count = 0;
    let first = null;
    for (let k = 0; k < wantedWords.length; ++k) {
      if (wantedWords[k] === shownWords[k] || count++ > 0) continue;
      const rgba = (data) => Array.from(data.slice(4 * k, 4 * k + 4));
      first = { x: k % canvas.width, y: Math.floor(k / canvas.width), page: rgba(shown),
                desktop: rgba(wanted) };
    }
    return { count, first };
  }, pictureUrl);
}

async function expectScene(scene, index, address, origin = null) {
  const ticks = scene.options[scene.options.indexOf('--ticks') + 1];
  const [picture, opened] = await Promise.all([
    desktopPicture(scene.options, index),
    // A window of another size than the picture's: the picture must not depend on it.
    openPage(browser, address, { viewport: { width: 1024, height: 700 } }, origin),
  ]);
  const { page, errors, requests, close } = opened;
  try {
    await page.waitForSelector(`#field[data-tick="${ticks}"]`, { timeout: 30000 });
    const difference = await compareWithCanvas(page, picture);
    const where = `${scene.options.join(' ')} at ${address}`;
    assert.equal(difference.size, undefined, `${where}: ${difference.size}`);
    assert.equal(difference.count, 0, `${where}: ${difference.count} pixels differ, ` +
                                      `first ${JSON.stringify(difference.first)}`);
    assert.deepEqual(errors, [], where);
    assert.deepEqual(requests, [], where);
  } finally {
    await close();
  }
}

// One subtest a scene, so that every scene that differs is told.
test('the one-file page draws every scene as the desktop does', { skip }, async (t) => {
  for (const [index, scene] of Scenes.entries()) {
    await t.test(scene.options.join(' '),
                 () => expectScene(scene, index, oneFileAddress(queryOf(scene.options))));
  }
});

test('the folder build from a server draws its scenes as the desktop does', { skip }, async (t) => {
  for (const [index, scene] of Scenes.entries()) {
    if (!scene.served) continue;
    await t.test(scene.options.join(' '), () =>
      expectScene(scene, index, `${server.origin}/${queryOf(scene.options)}`, server.origin));
  }
});
