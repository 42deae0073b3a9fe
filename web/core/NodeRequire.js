// SPDX-License-Identifier: GPL-3.0-or-later
// Put before the module (--extern-pre-js). This emscripten's ES module loads itself under node
// through CommonJS's require and __dirname, which an ES module does not have: they are made here
// from the module's own address, under node only (a page never reaches those paths).
const halvoranInNode =
    typeof process == 'object' && typeof process.versions == 'object' &&
    typeof process.versions.node == 'string';
const require =
    halvoranInNode ? (await import('node:module')).createRequire(import.meta.url) : undefined;
const __dirname =
    halvoranInNode ? require('node:path').dirname(require('node:url').fileURLToPath(import.meta.url))
                   : undefined;
