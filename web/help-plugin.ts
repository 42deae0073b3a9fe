// SPDX-License-Identifier: GPL-3.0-or-later
// The module virtual:halvoran-help: the teachers' text (docs/model.md, and docs/model.ja.md where
// it is written) rendered from Markdown when the page is built, so that the page carries HTML
// and no Markdown parser, and the documents stay the one place the text is written.
import { existsSync, readFileSync } from 'node:fs';
import { resolve } from 'node:path';
import type { Plugin } from 'vite';
import { helpSource, renderHelp } from './src/help/help-render';

const VirtualId = 'virtual:halvoran-help';
const ResolvedId = `\0${VirtualId}`;
const Documents = ['docs/model.md', 'docs/model.ja.md'];

export function halvoranHelp(): Plugin {
  let top = '';
  return {
    name: 'halvoran-help',
    configResolved(config) {
      top = resolve(config.root, '..');
    },
    resolveId(id) {
      return id === VirtualId ? ResolvedId : null;
    },
    load(id) {
      if (id !== ResolvedId) return null;
      const files: Record<string, string> = {};
      for (const document of Documents) {
        const path = resolve(top, document);
        this.addWatchFile(path);
        if (existsSync(path)) files[document] = readFileSync(path, 'utf8');
      }
      const texts = Object.fromEntries((['en', 'ja'] as const).map((language) => {
        const source = helpSource(files, language);
        return [language, source ? renderHelp(source.markdown, source.language) : null];
      }));
      // "<" written as an escape: the one-file page's inline script may hold no "<!--" or
      // "</script", which a document's HTML could.
      return `export default ${JSON.stringify(texts).replace(/</g, '\\u003c')};`;
    },
  };
}
