// SPDX-License-Identifier: GPL-3.0-or-later
// The one-file page: the script, the style sheet and every asset (the wasm and the pictures
// among them, as data: URLs by the inline limit) put into index.html, so that it runs from file:// where a page may load nothing
// beside itself.
import type { Plugin } from 'vite';

// An inline script ends at the first "</script" in its text, whatever JavaScript context it is
// in; "<\/script" means the same inside a string, a regular expression or a comment.
function asInlineScript(code: string): string {
  return code.replace(/<\/(script)/gi, '<\\/$1');
}

export function inlinePage(): Plugin {
  return {
    name: 'halvoran-inline-page',
    enforce: 'post',
    generateBundle(_options, bundle) {
      const page = bundle['index.html'];
      if (!page || page.type !== 'asset') this.error('no index.html in the bundle');
      let html = String(page.source);
      for (const [fileName, file] of Object.entries(bundle)) {
        if (file === page) continue;
        const name = fileName.replace(/[.\\/]/g, '\\$&');
        if (file.type === 'asset' && fileName.endsWith('.css')) {
          const link = new RegExp(`<link[^>]*\\shref="(?:\\./)?${name}"[^>]*>`);
          if (!link.test(html)) this.error(`${fileName} would be a file beside the one-file page`);
          const css = String(file.source);
          // A style element ends at the first "</style" in its text.
          if (/<\/style/i.test(css)) this.error(`${fileName} holds "</style"`);
          html = html.replace(link, () => `<style>${css}</style>`);
          delete bundle[fileName];
          continue;
        }
        const tag = new RegExp(`<script[^>]*\\ssrc="(?:\\./)?${name}"[^>]*></script>`);
        if (file.type !== 'chunk' || !tag.test(html))
          this.error(`${fileName} would be a file beside the one-file page`);
        if (file.code.includes('<!--'))
          this.error(`${fileName} holds "<!--", which changes how a page reads an inline script`);
        html = html.replace(tag, () => `<script type="module">${asInlineScript(file.code)}</script>`);
        delete bundle[fileName];
      }
      page.source = html;
    },
  };
}
