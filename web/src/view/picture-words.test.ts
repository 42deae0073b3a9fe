// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, test } from 'vitest';
import { lookup } from '../i18n/catalogue';
import header from '../../../engine/PictureWords.h?raw';
import { PictureWordsContext, pictureWords } from './picture-words';

// The core's sources as its header lists them, in its order: what pictureWordSources() gives.
const sources = Array.from(header.matchAll(/^\s*X\(\w+,\s*"((?:[^"\\]|\\.)*)"\)/gm), (m: RegExpMatchArray) => m[1]!);

describe('the pictures\' words in the page\'s language', () => {
  test('the header is read', () => {
    expect(sources.length).toBeGreaterThan(10);
    expect(sources).toContain('tick');
  });

  // A word added to the core without its translation would show English in a Japanese picture.
  test.each(sources)('"%s" has its Japanese text', (source) => {
    expect(lookup('ja', PictureWordsContext, source)).toBeTruthy();
  });

  test.each([
    ['ja', ['tick', 'Circle', 'no such word'], ['コマ', '円軌道', 'no such word']],
    ['en', ['tick', 'Circle', 'no such word'], ['tick', 'Circle', 'no such word']],
    ['ja', [], []],
  ] as const)('%s: %j', (language, given, expected) => {
    expect(pictureWords(given, language)).toEqual(expected);
  });

  test('one text for each source, in the core\'s order', () => {
    const words = pictureWords(sources, 'ja');
    expect(words).toHaveLength(sources.length);
    expect(words.indexOf('コマ')).toBe(sources.indexOf('tick'));
  });
});
