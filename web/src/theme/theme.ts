// SPDX-License-Identifier: GPL-3.0-or-later
// The picture's theme kept from visit to visit as the language is, and the page's own chrome
// following it: a light page around the projector's light plot. The core judges a remembered
// theme as any other: one it no longer knows is refused, and the page starts dark.
import { pageStorage } from '../i18n/catalogue';
import './theme.css';

export const ThemeStorageKey = 'halvoran-radiation.theme';

type ThemeStorage = Pick<Storage, 'getItem' | 'setItem'>;

/** The core's theme codes (DisplaySettings.Theme). */
export const DarkTheme = 0;
export const ProjectorTheme = 1;

/** The theme remembered from an earlier visit, as the core's code; null where none is kept, it
 * is not a number, or the storage cannot be read. */
export function storedTheme(storage: ThemeStorage | null = pageStorage()): number | null {
  let text: string | null;
  try {
    text = storage?.getItem(ThemeStorageKey) ?? null;
  } catch {
    return null;
  }
  if (text === null || text.trim() === '') return null;
  const code = Number(text);
  return Number.isFinite(code) ? code : null;
}

/** Keeps theme for the next visit; false where the browser does not let the page store it. */
export function rememberTheme(theme: number, storage: ThemeStorage | null = pageStorage()): boolean {
  if (!storage) return false;
  try {
    storage.setItem(ThemeStorageKey, String(theme));
    return true;
  } catch {
    return false;
  }
}

/** The page's chrome in the theme of the picture. */
export function showTheme(theme: number, root: HTMLElement = document.documentElement) {
  root.dataset.theme = theme === ProjectorTheme ? 'projector' : 'dark';
}
