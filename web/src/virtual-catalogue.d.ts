// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's texts and menu as the build reads them from its sources (catalogue-plugin.ts):
// the page holds no copy of them.
declare module 'virtual:halvoran-catalogue' {
  /** One row of the desktop's menu table, in its order. */
  export interface MenuRow {
    /** 1: on the menu bar; a row belongs to the nearest submenu above it one level up. */
    level: number;
    kind: 'Submenu' | 'Command';
    /** The desktop's component name ("MnuCircle"). */
    name: string;
    /** Written in Japanese, "&" before the access key; the catalogue key in context TMainMenu. */
    caption: string;
    /** The English meaning: the Japanese caption's tooltip, the caption where the English
     * catalogue has none. */
    meaning: string;
    /** 0: none; -1: an independent check item; 1 and up: a radio group. */
    group: number;
    checked: boolean;
    enabled: boolean;
  }

  export interface ShortcutRow {
    name: string;
    /** Qt's portable text: "Ctrl+S", "F11", "Space", "R". */
    keys: string;
  }

  /** context -> source -> translation, only entries with a translation. */
  export type LinguistCatalogue = Record<string, Record<string, string>>;

  export interface RefusalTexts {
    /** Code name -> English sentence with %1, %2, ... */
    sentences: Record<string, string>;
    /** Parameter name ("CircleRadius") -> its English word in the sentences. */
    parameterWords: Record<string, string>;
    /** The English words of values that are not finite. */
    nonFiniteWords: string[];
    /** Every code the core can refuse with (None left out). */
    codes: string[];
  }

  export interface Catalogue {
    translations: { ja: LinguistCatalogue; en: LinguistCatalogue };
    refusals: RefusalTexts;
    menu: MenuRow[];
    shortcuts: ShortcutRow[];
  }

  const catalogue: Catalogue;
  export default catalogue;
}
