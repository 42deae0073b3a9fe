// SPDX-License-Identifier: GPL-3.0-or-later
// The module virtual:halvoran-catalogue: the desktop's catalogues, refusal sentences and menu
// tables read from their sources when the page is built (and when its tests run), so that the
// desktop's files stay the one place every text is written.
import { readFileSync } from 'node:fs';
import { resolve } from 'node:path';
import type { Plugin } from 'vite';
import { readCatalogue, type CatalogueSources } from './src/i18n/catalogue-sources';

const VirtualId = 'virtual:halvoran-catalogue';
const ResolvedId = `\0${VirtualId}`;

// Paths from the top of the project (the folder above web/).
const Sources: Record<keyof CatalogueSources, string> = {
  japanese: 'app/translations/halvoran_ja.ts',
  english: 'app/translations/halvoran_en.ts',
  refusalText: 'app/RefusalText.cpp',
  refusalHeader: 'engine/Refusal.h',
  mainMenu: 'mainwindow/MainMenu.cpp',
};

export function halvoranCatalogue(): Plugin {
  let top = '';
  return {
    name: 'halvoran-catalogue',
    configResolved(config) {
      top = resolve(config.root, '..');
    },
    resolveId(id) {
      return id === VirtualId ? ResolvedId : null;
    },
    load(id) {
      if (id !== ResolvedId) return null;
      const texts = {} as CatalogueSources;
      for (const [key, file] of Object.entries(Sources) as [keyof CatalogueSources, string][]) {
        const path = resolve(top, file);
        this.addWatchFile(path);
        try {
          texts[key] = readFileSync(path, 'utf8');
        } catch (error) {
          this.error(`the catalogue cannot be built: ${path} cannot be read (${String(error)})`);
        }
      }
      try {
        return `export default ${JSON.stringify(readCatalogue(texts))};`;
      } catch (error) {
        this.error(`the catalogue cannot be built from the desktop's sources: ${(error as Error).message}`);
      }
    },
  };
}
