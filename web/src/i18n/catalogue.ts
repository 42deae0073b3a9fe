// SPDX-License-Identifier: GPL-3.0-or-later
// The page's two languages over the desktop's catalogues: messages are written in English and
// translated to Japanese (halvoran_ja.ts), the menu is written in Japanese and translated to
// English (halvoran_en.ts, context TMainMenu); and the language a visit starts in.
import catalogue from 'virtual:halvoran-catalogue';
import type { MenuRow, ShortcutRow } from 'virtual:halvoran-catalogue';

export type Language = 'ja' | 'en';

export const LanguageStorageKey = 'halvoran-radiation.language';

export const menuRows: readonly MenuRow[] = catalogue.menu;
export const shortcutRows: readonly ShortcutRow[] = catalogue.shortcuts;
export const refusalTexts = catalogue.refusals;

/** The catalogue's translation; undefined where it has none. */
export function lookup(language: Language, context: string, source: string): string | undefined {
  const contexts = catalogue.translations[language];
  if (!Object.hasOwn(contexts, context)) return undefined;
  const messages = contexts[context]!;
  return Object.hasOwn(messages, source) ? messages[source] : undefined;
}

/** source in language; source itself where the catalogue has no translation (a text written in
 * that language already). */
export function translate(language: Language, context: string, source: string): string {
  return lookup(language, context, source) ?? source;
}

function languageOfCode(code: string | null | undefined): Language | null {
  return code === 'ja' || code === 'en' ? code : null;
}

/** The address's language, else the one remembered from an earlier visit, else the browser's
 * first preference that is Japanese or English ("en-GB" is English), else English: a browser
 * that asks for neither is more likely read by someone who reads English than Japanese. */
export function chooseLanguage(query: string | null, stored: string | null,
                               navigatorLanguages: readonly string[]): Language {
  const chosen = languageOfCode(query) ?? languageOfCode(stored);
  if (chosen) return chosen;
  for (const tag of navigatorLanguages) {
    const preferred = languageOfCode(tag.split('-')[0]?.toLowerCase());
    if (preferred) return preferred;
  }
  return 'en';
}

type LanguageStorage = Pick<Storage, 'getItem' | 'setItem'>;

// Reaching localStorage itself throws where the browser refuses it (a sandboxed frame, some
// file:// pages), and writing throws in private windows with no room.
export function pageStorage(): LanguageStorage | null {
  try {
    return globalThis.localStorage ?? null;
  } catch {
    return null;
  }
}

/** The language remembered from an earlier visit as stored (checked by chooseLanguage); null
 * where none is or the storage cannot be read. */
export function storedLanguage(storage: LanguageStorage | null = pageStorage()): string | null {
  try {
    return storage?.getItem(LanguageStorageKey) ?? null;
  } catch {
    return null;
  }
}

/** Keeps language for the next visit; false where the browser does not let the page store it. */
export function rememberLanguage(language: Language,
                                 storage: LanguageStorage | null = pageStorage()): boolean {
  if (!storage) return false;
  try {
    storage.setItem(LanguageStorageKey, language);
    return true;
  } catch {
    return false;
  }
}
