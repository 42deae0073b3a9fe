// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, test } from 'vitest';
import {
  LanguageStorageKey, chooseLanguage, rememberLanguage, storedLanguage, translate, type Language,
} from './catalogue';

describe('the language a visit starts in', () => {
  test.each<[string | null, string | null, string[], Language]>([
    ['en', 'ja', ['ja'], 'en'],
    // An address's language that is not one of ours is passed over, as is a stored one.
    ['fr', 'en', ['ja'], 'en'],
    ['EN', null, ['ja'], 'ja'],
    [null, 'en', ['ja-JP'], 'en'],
    [null, 'english', ['en-GB', 'ja'], 'en'],
    [null, null, ['de-DE', 'ja-JP', 'en'], 'ja'],
    [null, null, ['fr', 'EN-us'], 'en'],
    // A browser that asks for neither: English, which more of the world's classrooms read.
    [null, null, ['de', 'fr'], 'en'],
    ['', '', [''], 'en'],
  ])('address %s, stored %s, browser %j: %s', (query, stored, browser, expected) => {
    expect(chooseLanguage(query, stored, browser)).toBe(expected);
  });
});

describe('the language kept for the next visit', () => {
  const refusing = {
    getItem(): string | null { throw new Error('SecurityError'); },
    setItem(): void { throw new Error('QuotaExceededError'); },
  };

  test('a storage that takes it keeps it under the page\'s key', () => {
    const kept = new Map<string, string>();
    const storage = { getItem: (k: string) => kept.get(k) ?? null, setItem: (k: string, v: string) => { kept.set(k, v); } };
    expect(rememberLanguage('en', storage)).toBe(true);
    expect(kept.get(LanguageStorageKey)).toBe('en');
    expect(storedLanguage(storage)).toBe('en');
  });

  test.each([['refusing', refusing], ['missing', null]])('a %s storage is false, never an exception', (_case, storage) => {
    expect(rememberLanguage('ja', storage)).toBe(false);
    expect(storedLanguage(storage)).toBeNull();
  });
});

describe('texts from the desktop\'s catalogues', () => {
  test.each<[Language, string, string, string]>([
    ['en', 'TMainMenu', '&ファイル', '&File'],
    ['ja', 'Refusals', 'speed', '速さ'],
    ['ja', 'WebPage', 'Main menu', 'メインメニュー'],
    ['ja', 'NoContext', 'text', 'text'],
    // Names of Object's own properties are no entries.
    ['ja', 'Refusals', 'constructor', 'constructor'],
    ['ja', 'constructor', 'toString', 'toString'],
  ])('%s %s "%s" is "%s"', (language, context, source, expected) => {
    expect(translate(language, context, source)).toBe(expected);
  });
});
