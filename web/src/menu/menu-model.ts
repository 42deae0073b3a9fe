// SPDX-License-Identifier: GPL-3.0-or-later
// The menu as data, without the document: the tree of the desktop's table, each item's caption,
// tooltip and access key in a language, the keys shown beside it, the next item a key moves to,
// and where a menu opens so that it stays in the window.
import type { MenuRow, ShortcutRow } from 'virtual:halvoran-catalogue';
import { lookup, type Language } from '../i18n/catalogue';

/** Items of the desktop that a page has no use for: a page does not close its tab, and the
 * browser's print dialog is its printer setup. */
export const ItemsThePageHides: readonly string[] = ['MnuExit', 'MnuPrinterSetUp'];

export interface MenuNode {
  row: MenuRow;
  parent: MenuNode | null;
  children: MenuNode[];
}

/** The bar's entries with their submenus: each row goes into the nearest submenu above it one
 * level up, as the desktop builds its menus. */
export function buildMenuTree(rows: readonly MenuRow[]): MenuNode[] {
  const bar: MenuNode[] = [];
  const open: MenuNode[] = []; // open[level - 1] is the submenu that level-(level + 1) rows go in
  for (const row of rows) {
    open.length = row.level - 1;
    const parent = open[row.level - 2] ?? null;
    if (row.level > 1 && !parent) throw new Error(`${row.name} has no submenu to go in`);
    const node: MenuNode = { row, parent, children: [] };
    (parent ? parent.children : bar).push(node);
    if (row.kind === 'Submenu') open.push(node);
  }
  return bar;
}

/** A caption as shown: "&" marks the access key, "&&" is an ampersand. */
export interface ShownCaption {
  before: string;
  key: string;
  after: string;
}

export function splitCaption(caption: string): ShownCaption {
  let plain = '';
  let at = -1;
  for (let i = 0; i < caption.length; ++i) {
    if (caption[i] === '&' && i + 1 < caption.length) {
      ++i;
      if (caption[i] !== '&' && at < 0) at = plain.length;
    }
    plain += caption[i];
  }
  if (at < 0) return { before: plain, key: '', after: '' };
  const key = String.fromCodePoint(plain.codePointAt(at)!);
  return { before: plain.slice(0, at), key, after: plain.slice(at + key.length) };
}

// The desktop's English caption of a row: the catalogue's, the meaning where it has none yet.
function englishCaption(row: Pick<MenuRow, 'caption' | 'meaning'>): string {
  return lookup('en', 'TMainMenu', row.caption) ?? (row.meaning !== '' ? row.meaning : row.caption);
}

/** The caption in language (the written Japanese, or the English catalogue's). */
export function menuCaption(row: Pick<MenuRow, 'caption' | 'meaning'>, language: Language): string {
  return language === 'en' ? englishCaption(row) : row.caption;
}

/** The tooltip: the other language, as on the desktop (the English meaning under a Japanese
 * caption, the Japanese caption without its marks under an English one). */
export function menuTooltip(row: Pick<MenuRow, 'caption' | 'meaning'>, language: Language): string {
  // The page's own items mark the English access key in their meaning; a tooltip shows no mark.
  const { before, key, after } = splitCaption(language === 'ja' ? row.meaning : row.caption);
  const plain = `${before}${key}${after}`;
  return language === 'ja' ? plain : plain.trim().replace(/(…|\.\.\.)$/, '').trim();
}

/** The letter that picks the item by keyboard in either language: the English caption's access
 * key, lower case; "" where it has none. */
export function accessKey(row: Pick<MenuRow, 'caption' | 'meaning'>): string {
  return splitCaption(englishCaption(row)).key.toLowerCase();
}

/** The keys shown beside each item ("Ctrl+S") and their names for aria-keyshortcuts
 * ("Control+S"). */
export function shortcutLabels(rows: readonly ShortcutRow[]): Map<string, { shown: string; aria: string }> {
  const labels = new Map<string, { shown: string; aria: string }>();
  for (const { name, keys } of rows) {
    if (ItemsThePageHides.includes(name)) continue;
    labels.set(name, { shown: keys, aria: keys.replace(/\bCtrl\+/g, 'Control+') });
  }
  return labels;
}

/** The index a move of step (+1, -1) from current reaches among count items, round the end,
 * past the skipped ones; current where every other is skipped. */
export function stepIndex(count: number, current: number, step: number, skipped: (index: number) => boolean): number {
  for (let n = 1; n <= count; ++n) {
    const index = (((current + step * n) % count) + count) % count;
    if (!skipped(index)) return index;
  }
  return current;
}

/** Where a typed letter moves: the next item after current whose access key it is (unique:
 * picked at once, as on the desktop), else the next whose caption starts with it; null where
 * none. */
export function letterTarget(keys: readonly string[], captions: readonly string[], current: number,
                             letter: string, skipped: (index: number) => boolean):
    { index: number; unique: boolean } | null {
  const typed = letter.toLowerCase();
  const find = (matches: (index: number) => boolean) => {
    const found: number[] = [];
    for (let n = 1; n <= keys.length; ++n) {
      const index = (current + n + keys.length) % keys.length;
      if (!skipped(index) && matches(index)) found.push(index);
    }
    return found;
  };
  const byKey = find((i) => keys[i] === typed);
  if (byKey.length > 0) return { index: byKey[0]!, unique: byKey.length === 1 };
  const byCaption = find((i) => captions[i]!.toLowerCase().startsWith(typed));
  return byCaption.length > 0 ? { index: byCaption[0]!, unique: false } : null;
}

export interface Box {
  left: number;
  top: number;
  right: number;
  bottom: number;
}

/** The top left corner of a menu of size opened from the item anchor: below a bar item, beside
 * a menu's item (to the right, else to the left, else below it where neither side has room),
 * then moved in so that it stays in the window (its top left first where it is larger). */
export function placeMenu(anchor: Box, size: { width: number; height: number },
                          window: { width: number; height: number }, fromBar: boolean): { left: number; top: number } {
  let left = fromBar ? anchor.left : anchor.right;
  let top = fromBar ? anchor.bottom : anchor.top;
  if (!fromBar && left + size.width > window.width) {
    if (anchor.left - size.width >= 0) {
      left = anchor.left - size.width;
    } else {
      left = anchor.left + Math.min(24, (anchor.right - anchor.left) / 4);
      top = anchor.bottom;
    }
  }
  left = Math.max(0, Math.min(left, window.width - size.width));
  top = Math.max(0, Math.min(top, window.height - size.height));
  return { left, top };
}
