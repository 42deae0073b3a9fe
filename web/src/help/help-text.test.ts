// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, test } from 'vitest';
import type { Language } from '../i18n/catalogue';
import { helpSource, renderHelp } from './help-render';
import { HelpTopics, topicHeading, type HelpTopic } from './help-text';

describe('the text of the page\'s language, else the English one', () => {
  const both = { '../../../docs/model.md': 'english', '../../../docs/model.ja.md': 'japanese' };
  const english = { '/x/docs/model.md': 'english' };
  test.each<[string, Record<string, string>, Language, { language: Language; markdown: string } | null]>([
    ['both written, Japanese', both, 'ja', { language: 'ja', markdown: 'japanese' }],
    ['both written, English', both, 'en', { language: 'en', markdown: 'english' }],
    ['no Japanese yet', english, 'ja', { language: 'en', markdown: 'english' }],
    ['none', {}, 'en', null],
    // A name that only ends like the document's is another file.
    ['a look-alike', { '/docs/old-model.md': 'old' }, 'en', null],
    ['Japanese only, English asked', { 'model.ja.md': 'japanese' }, 'en', null],
  ])('%s', (_case, files, language, expected) => {
    expect(helpSource(files, language)).toEqual(expected);
  });
});

describe('the Markdown rendered for reading', () => {
  const sample = [
    '# What the *picture* shows', '', 'Intro with `code`.', '',
    '## The undulator', '', '- one', '- two', '',
    '| a | b |', '| --- | --- |', '| 1 | 2 |', '',
    '## Notes', '', '1. first', '', '## Notes', '', '## アンジュレータ', '', 'text',
  ].join('\n');
  const rendered = renderHelp(sample, 'en');

  test('headings in order, their marks gone, each with an id of its own', () => {
    expect(rendered.headings).toEqual([
      { depth: 1, text: 'What the picture shows', id: 'help-what-the-picture-shows' },
      { depth: 2, text: 'The undulator', id: 'help-the-undulator' },
      { depth: 2, text: 'Notes', id: 'help-notes' },
      { depth: 2, text: 'Notes', id: 'help-notes-2' },
      { depth: 2, text: 'アンジュレータ', id: 'help-アンジュレータ' },
    ]);
    for (const { id } of rendered.headings) expect(rendered.html).toContain(`id="${id}"`);
  });

  test.each([
    ['a table', /<table>[\s\S]*<th>a<\/th>[\s\S]*<td>2<\/td>[\s\S]*<\/table>/],
    ['a list', /<ul>\s*<li>one<\/li>\s*<li>two<\/li>\s*<\/ul>/],
    ['a numbered list', /<ol>\s*<li>first<\/li>\s*<\/ol>/],
    ['emphasis kept in a heading', /<h1 id="help-what-the-picture-shows">What the <em>picture<\/em> shows<\/h1>/],
    ['code', /<code>code<\/code>/],
  ])('%s', (_case, pattern) => {
    expect(rendered.html).toMatch(pattern);
  });

  test.each<[Language, string | null]>([
    ['en', 'help-the-undulator'],
    ['ja', 'help-アンジュレータ'],
  ])('the undulator\'s heading in a text written in %s', (language, id) => {
    expect(topicHeading({ ...rendered, language }, 'undulator')).toBe(id);
  });

  test('a text without the heading opens at the top', () => {
    expect(topicHeading(renderHelp('# Help\n\n## Other', 'en'), 'undulator')).toBeNull();
  });
});

// The documents as written: a topic whose heading was renamed would open at the top unnoticed.
describe('the project\'s documents', () => {
  const files = import.meta.glob<string>('../../../docs/model*.md', { query: '?raw', import: 'default', eager: true });
  const written = (['en', 'ja'] as const).map((language) => [language, helpSource(files, language)] as const)
    .filter(([language, source]) => source?.language === language);
  test.each(written)('%s: every topic has its heading', (language, source) => {
    const help = renderHelp(source!.markdown, language);
    expect(help.headings[0]?.depth).toBe(1);
    for (const topic of Object.keys(HelpTopics) as HelpTopic[]) expect(topicHeading(help, topic), topic).not.toBeNull();
  });
});
