// SPDX-License-Identifier: GPL-3.0-or-later
// Two builds of the page: a folder (build-web/site, served by any static server) and, with
// --mode single, the one file that opens from file:// (build-web/single/index.html, which
// tools/build-web.sh names halvoran-radiation.html).
/// <reference types="vitest/config" />
import { defineConfig } from 'vite';
import { halvoranCatalogue } from './catalogue-plugin';
import { halvoranHelp } from './help-plugin';
import { inlinePage } from './inline-page';

export default defineConfig(({ mode }) => {
  const single = mode === 'single';
  return {
    // Relative addresses: the folder works from wherever it is put.
    base: './',
    build: {
      // The module's loader awaits at its top level.
      target: 'es2022',
      outDir: single ? '../build-web/single' : '../build-web/site',
      emptyOutDir: true,
      assetsInlineLimit: single ? () => true : undefined,
      modulePreload: single ? false : undefined,
      rollupOptions: single ? { output: { inlineDynamicImports: true } } : {},
    },
    // The pictures are the desktop's, in ../assets: the development server may serve them.
    server: { fs: { allow: ['..'] } },
    plugins: single ? [halvoranCatalogue(), halvoranHelp(), inlinePage()] : [halvoranCatalogue(), halvoranHelp()],
    test: { include: ['src/**/*.test.ts'] },
  };
});
