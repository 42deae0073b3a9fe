// SPDX-License-Identifier: GPL-3.0-or-later
// What the browser tests and the benchmark share: the machine's Chromium (never one fetched), the
// page opened from file:// or from a static server of the folder build on the loopback, and every
// console error, uncaught exception and request to another host kept for the test to look at.
import assert from 'node:assert/strict';
import { createReadStream, existsSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize, sep } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

export const webDir = fileURLToPath(new URL('..', import.meta.url));
export const onePagePath = join(webDir, '..', 'build-web', 'halvoran-radiation.html');
export const siteDir = join(webDir, '..', 'build-web', 'site');

export function launchBrowser() {
  return chromium.launch({
    executablePath: process.env.HALVORAN_CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    // sRGB as the desktop's pictures are: no display profile may touch a colour.
    args: ['--no-sandbox', '--force-color-profile=srgb'],
  });
}

const MimeTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
  '.json': 'application/json',
};

// A static server of folder on 127.0.0.1 at a port the system picks; pages maps further paths
// ("/bench.html") to texts served as HTML. Resolves to { origin, close() }.
export function serveFolder(folder, pages = {}) {
  const root = normalize(folder);
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    if (path in pages) {
      response.writeHead(200, { 'content-type': MimeTypes['.html'] });
      response.end(pages[path]);
      return;
    }
    const file = normalize(join(root, path.endsWith('/') ? `${path}index.html` : path));
    if (!file.startsWith(root + sep) || !existsSync(file) || !statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {
      'content-type': MimeTypes[extname(file)] ?? 'application/octet-stream',
      'cache-control': 'no-store',
    });
    createReadStream(file).pipe(response);
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const origin = `http://127.0.0.1:${server.address().port}`;
      resolve({ origin, close: () => new Promise((done) => server.close(done)) });
    });
  });
}

export const oneFileAddress = (query = '') => `${pathToFileURL(onePagePath).href}${query}`;

// A page in a context of its own (options as browser.newContext takes them, e.g. viewport,
// hasTouch) whose console errors and uncaught exceptions go to errors and whose requests
// anywhere but the file itself, data:, blob: and origin go to requests. Resolves once address
// has loaded.
export async function openPage(browser, address, options = {}, origin = null) {
  const context = await browser.newContext({ viewport: { width: 640, height: 400 }, ...options });
  const page = await context.newPage();
  const errors = [];
  page.on('console', (entry) => { if (entry.type() === 'error') errors.push(entry.text()); });
  page.on('pageerror', (error) => errors.push(String(error)));
  const requests = [];
  page.on('request', (request) => {
    const url = request.url();
    const own = ['file:', 'data:', 'blob:'].some((scheme) => url.startsWith(scheme)) ||
                (origin !== null && url.startsWith(`${origin}/`));
    if (!own) requests.push(url);
  });
  await page.goto(address);
  return { page, context, errors, requests, close: () => context.close() };
}

// body(page) on a page opened as openPage opens it (requests to origin its own), once the plot is
// drawn and, with waitForTicks where the address asks for ?ticks=N, those ticks have run (the
// page then pauses). Every action waits at most stepMs. Fails where the page logged an error or asked another host for anything; what it
// logged is added to any failure, as it often tells why a step failed.
export async function withOpenPage(browser, address, options, { origin = null, stepMs, waitForTicks = true },
                                   body) {
  const opened = await openPage(browser, address, options, origin);
  try {
    opened.page.setDefaultTimeout(stepMs);
    await opened.page.waitForFunction(() => document.querySelector('#field')?.width > 0);
    const ticks = new URLSearchParams(new URL(address).search).get('ticks');
    if (ticks && waitForTicks) await opened.page.waitForSelector(`#field[data-tick="${ticks}"]`);
    await body(opened.page);
    assert.deepEqual(opened.errors, [], 'console errors or uncaught exceptions');
    assert.deepEqual(opened.requests, [], 'requests off the page');
  } catch (error) {
    if (opened.errors.length) error.message += `\npage errors: ${opened.errors.join('\n')}`;
    throw error;
  } finally {
    await opened.close();
  }
}

// The distinct colours of the canvas's pixels, up to a few, and its size.
export function canvasColours(page) {
  return page.evaluate(() => {
    const canvas = document.querySelector('#field');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const seen = new Set();
    for (let k = 0; k < data.length && seen.size < 8; k += 4)
      seen.add((data[k] << 16) | (data[k + 1] << 8) | data[k + 2]);
    return { count: seen.size, width: canvas.width, height: canvas.height };
  });
}

// A fingerprint of the canvas's pixels: changes when any pixel does (as good as always).
export function canvasDigest(page) {
  return page.evaluate(() => {
    const canvas = document.querySelector('#field');
    if (!canvas || canvas.width === 0 || canvas.height === 0) return '';
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let hash = 2166136261;
    for (let k = 0; k < data.length; k += 4)
      hash = Math.imul(hash ^ data[k] ^ (data[k + 1] << 8) ^ (data[k + 2] << 16), 16777619);
    return `${canvas.width}x${canvas.height}:${hash >>> 0}`;
  });
}

// The one-file page as `npm run build` leaves it (vite's single mode), beside the folder build.
export const builtPagePath = join(webDir, '..', 'build-web', 'single', 'index.html');
export const builtPageAddress = (query = '') => `${pathToFileURL(builtPagePath).href}${query}`;

// A PNG's width and height in pixels, from its header chunk (IHDR, bytes 16 to 23).
export function pngSize(bytes) {
  const signature = [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a];
  if (bytes.length < 24 || signature.some((byte, k) => bytes[k] !== byte)) return null;
  return { width: bytes.readUInt32BE(16), height: bytes.readUInt32BE(20) };
}

// One browser and one loopback server of the folder build for a test file, started before its
// tests and closed after them: `shared.browser` and `shared.server` while the tests run.
export function sharedBrowserAndServer(before, after) {
  const shared = { browser: null, server: null };
  before(async () => {
    if (!existsSync(builtPagePath)) throw new Error(`${builtPagePath} is built by npm run build`);
    shared.browser = await launchBrowser();
    shared.server = await serveFolder(siteDir);
  });
  after(async () => {
    await shared.browser?.close();
    await shared.server?.close();
  });
  return shared;
}
