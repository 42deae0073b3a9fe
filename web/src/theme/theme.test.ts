// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, test } from 'vitest';
import { ThemeStorageKey, rememberTheme, storedTheme } from './theme';

function storageOf(kept: Map<string, string>) {
  return { getItem: (k: string) => kept.get(k) ?? null, setItem: (k: string, v: string) => { kept.set(k, v); } };
}
const refusing = {
  getItem(): string | null { throw new Error('SecurityError'); },
  setItem(): void { throw new Error('QuotaExceededError'); },
};

describe('the theme kept for the next visit', () => {
  test.each([[0], [1]])('theme %i is read back as kept', (theme) => {
    const kept = new Map<string, string>();
    expect(rememberTheme(theme, storageOf(kept))).toBe(true);
    expect(kept.get(ThemeStorageKey)).toBe(String(theme));
    expect(storedTheme(storageOf(kept))).toBe(theme);
  });

  // The core judges a number it is given; what is no number is not given at all.
  test.each<[string, string | undefined, number | null]>([
    ['nothing kept', undefined, null],
    ['an empty text', '', null],
    ['blanks', '  ', null],
    ['a word', 'projector', null],
    ['a code the core may refuse', '7', 7],
    ['not finite', 'Infinity', null],
  ])('%s', (_case, text, expected) => {
    const kept = new Map<string, string>(text === undefined ? [] : [[ThemeStorageKey, text]]);
    expect(storedTheme(storageOf(kept))).toBe(expected);
  });

  test.each([['refusing', refusing], ['missing', null]])('a %s storage keeps nothing and throws nothing', (_case, storage) => {
    expect(rememberTheme(1, storage)).toBe(false);
    expect(storedTheme(storage)).toBeNull();
  });
});
