// SPDX-License-Identifier: GPL-3.0-or-later
// The help text rendered from Markdown when the page is built: the document of the page's
// language (the English one where that language has none yet), each heading with an id.
import { Marked, type Tokens } from 'marked';
import type { Language } from '../i18n/catalogue';
import { plainHeading, type HelpDocument, type HelpHeading } from './help-text';

const DocumentNames: Record<Language, string> = { en: 'model.md', ja: 'model.ja.md' };

/** The text of language among files (path -> Markdown, as the build found them), else the
 * English one; null where there is neither. */
export function helpSource(files: Readonly<Record<string, string>>, language: Language):
    { language: Language; markdown: string } | null {
  const named = (name: string) => Object.entries(files).find(([path]) => path.split('/').pop() === name)?.[1];
  const own = named(DocumentNames[language]);
  if (own !== undefined) return { language, markdown: own };
  const english = named(DocumentNames.en);
  return english === undefined ? null : { language: 'en', markdown: english };
}

// Ids of letters and digits of any script, "-" between words; a repeated heading gets "-2", ...
function headingId(text: string, used: Map<string, number>): string {
  const stem = `help-${text.normalize('NFKC').toLowerCase().replace(/[^\p{L}\p{N}]+/gu, '-').replace(/^-+|-+$/g, '')}`;
  const count = (used.get(stem) ?? 0) + 1;
  used.set(stem, count);
  return count === 1 ? stem : `${stem}-${count}`;
}

/** The document as HTML: GitHub's Markdown (tables, lists, code), headings with their ids. */
export function renderHelp(markdown: string, language: Language): HelpDocument {
  const headings: HelpHeading[] = [];
  const used = new Map<string, number>();
  const renderer = new Marked({
    gfm: true,
    async: false,
    renderer: {
      heading(this: { parser: { parseInline(tokens: Tokens.Generic[]): string } }, token: Tokens.Heading) {
        const text = plainHeading(token.text);
        const id = headingId(text, used);
        headings.push({ depth: token.depth, text, id });
        return `<h${token.depth} id="${id}">${this.parser.parseInline(token.tokens)}</h${token.depth}>\n`;
      },
    },
  });
  return { language, html: renderer.parse(markdown, { async: false }), headings };
}

