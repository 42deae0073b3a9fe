// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's sources read as data at build time: the Qt Linguist catalogues, the refusal
// sentences of app/RefusalText.cpp, the codes of engine/Refusal.h and the menu and shortcut
// tables of mainwindow/MainMenu.cpp. A source this cannot read whole is an error, never a
// shorter table: a text left out would silently read as its key on the page.
import type {
  Catalogue, LinguistCatalogue, MenuRow, RefusalTexts, ShortcutRow,
} from 'virtual:halvoran-catalogue';

const Entities: Record<string, string> = { amp: '&', lt: '<', gt: '>', quot: '"', apos: "'" };

export function decodeXmlText(text: string): string {
  return text.replace(/&(#x[0-9a-fA-F]+|#[0-9]+|[a-z]+);|&/g, (whole, entity: string | undefined) => {
    if (entity === undefined) throw new Error(`a bare "&" in "${text}"`);
    if (entity.startsWith('#x')) return String.fromCodePoint(parseInt(entity.slice(2), 16));
    if (entity.startsWith('#')) return String.fromCodePoint(parseInt(entity.slice(1), 10));
    const named = Entities[entity];
    if (named === undefined) throw new Error(`unknown entity ${whole}`);
    return named;
  });
}

// lrelease's reading: obsolete and vanished messages are gone, an empty translation is none
// (the text stays as written), an unfinished one with a text is used.
export function readLinguist(xml: string): LinguistCatalogue {
  const catalogue: LinguistCatalogue = {};
  const body = xml.replace(/<!--[\s\S]*?-->/g, '');
  for (const [, context] of body.matchAll(/<context>([\s\S]*?)<\/context>/g)) {
    const name = /<name>([\s\S]*?)<\/name>/.exec(context!);
    if (!name) throw new Error('a context without a name');
    const messages: Record<string, string> = {};
    for (const [, message] of context!.matchAll(/<message\b[^>]*>([\s\S]*?)<\/message>/g)) {
      const source = /<source>([\s\S]*?)<\/source>/.exec(message!);
      if (!source) throw new Error(`a message without a source in ${name[1]}`);
      const translation = /<translation\b([^>]*?)(?:\/>|>([\s\S]*?)<\/translation>)/.exec(message!);
      const type = /\btype="([^"]*)"/.exec(translation?.[1] ?? '')?.[1];
      const text = decodeXmlText(translation?.[2] ?? '');
      if (type === 'obsolete' || type === 'vanished' || text === '') continue;
      const key = decodeXmlText(source[1]!);
      if (!Object.hasOwn(messages, key)) messages[key] = text;
    }
    // A context written twice is one context, its first entries kept.
    const contextName = decodeXmlText(name[1]!.trim());
    catalogue[contextName] = { ...messages, ...catalogue[contextName] };
  }
  if (Object.keys(catalogue).length === 0) throw new Error('no context');
  return catalogue;
}

// ---- C++ tables ---------------------------------------------------------------------------------

// The end of the string or character literal that starts at index.
function literalEnd(code: string, index: number): number {
  const quote = code[index];
  for (let i = index + 1; i < code.length; ++i) {
    if (code[i] === '\\') ++i;
    else if (code[i] === quote) return i + 1;
  }
  throw new Error('a literal without its end');
}

// The text with its comments blanked out, every literal kept as it is.
function withoutComments(code: string): string {
  let out = '';
  for (let i = 0; i < code.length;) {
    if (code[i] === '"' || code[i] === "'") {
      const end = literalEnd(code, i);
      out += code.slice(i, end);
      i = end;
    } else if (code.startsWith('//', i)) {
      const end = code.indexOf('\n', i);
      i = end < 0 ? code.length : end;
    } else if (code.startsWith('/*', i)) {
      const end = code.indexOf('*/', i + 2);
      if (end < 0) throw new Error('a comment without its end');
      out += ' ';
      i = end + 2;
    } else {
      out += code[i++];
    }
  }
  return out;
}

// The parts of text between top-level commas (literals and brackets kept whole).
function splitTopLevel(text: string): string[] {
  const parts: string[] = [];
  let depth = 0;
  let start = 0;
  for (let i = 0; i < text.length; ++i) {
    const c = text[i]!;
    if (c === '"' || c === "'") i = literalEnd(text, i) - 1;
    else if ('({['.includes(c)) ++depth;
    else if (')}]'.includes(c)) --depth;
    else if (c === ',' && depth === 0) {
      parts.push(text.slice(start, i).trim());
      start = i + 1;
    }
  }
  const last = text.slice(start).trim();
  if (last !== '') parts.push(last);
  return parts;
}

// The elements of the array initialiser `name[] = { ..., ..., };`.
export function tableElements(code: string, name: string): string[] {
  const source = withoutComments(code);
  const head = new RegExp(`\\b${name}\\s*\\[\\s*\\]\\s*=\\s*\\{`).exec(source);
  if (!head) throw new Error(`no table ${name}`);
  let depth = 1;
  let i = head.index + head[0].length;
  const start = i;
  for (; i < source.length && depth > 0; ++i) {
    const c = source[i]!;
    if (c === '"' || c === "'") i = literalEnd(source, i) - 1;
    else if (c === '{') ++depth;
    else if (c === '}') --depth;
  }
  if (depth > 0) throw new Error(`the table ${name} has no end`);
  const elements = splitTopLevel(source.slice(start, i - 1));
  if (elements.length === 0) throw new Error(`the table ${name} has no rows`);
  return elements;
}

// The rows of a table of structures, `name[] = { {...}, {...}, };`, each split into its fields.
export function tableRows(code: string, name: string): string[][] {
  return tableElements(code, name).map((row) => {
    if (!row.startsWith('{') || !row.endsWith('}')) throw new Error(`${name}: "${row}" is not a row`);
    return splitTopLevel(row.slice(1, -1));
  });
}

const Escapes: Record<string, string> = { n: '\n', t: '\t', '\\': '\\', '"': '"', "'": "'", '?': '?' };

// The value of a C++ string literal, adjacent literals joined.
export function cString(field: string): string {
  const literals = field.match(/"(?:[^"\\]|\\.)*"\s*/g);
  if (!literals || literals.join('').trim() !== field.trim()) throw new Error(`${field} is not a string`);
  return literals.map((literal) => literal.trim().slice(1, -1).replace(
    /\\(u[0-9a-fA-F]{4}|U[0-9a-fA-F]{8}|.)/g, (whole, escape: string) => {
      if (escape.length > 1) return String.fromCodePoint(parseInt(escape.slice(1), 16));
      const c = Escapes[escape];
      if (c === undefined) throw new Error(`the escape ${whole} in ${field}`);
      return c;
    })).join('');
}

// The text of QT_TRANSLATE_NOOP("context", "text"), its context checked.
function noopText(field: string, context: string): string {
  const call = /^QT_TRANSLATE_NOOP\s*\(([\s\S]*)\)$/.exec(field);
  const args = call ? splitTopLevel(call[1]!) : [];
  if (args.length !== 2 || cString(args[0]!) !== context)
    throw new Error(`${field} is not a text of the context ${context}`);
  return cString(args[1]!);
}

function enumerator(field: string, type: string): string {
  const match = new RegExp(`^${type}::(\\w+)$`).exec(field);
  if (!match) throw new Error(`${field} is not a ${type}`);
  return match[1]!;
}

function fields(row: string[], count: number, table: string): string[] {
  if (row.length !== count) throw new Error(`${table}: {${row.join(', ')}} has not ${count} fields`);
  return row;
}

export function readRefusalTexts(refusalText: string, refusalHeader: string): RefusalTexts {
  const sentences: Record<string, string> = {};
  for (const row of tableRows(refusalText, 'Sentences')) {
    const [code, text] = fields(row, 2, 'Sentences');
    sentences[enumerator(code!, 'TRefusalCode')] = noopText(text!, 'Refusals');
  }
  const parameterWords: Record<string, string> = {};
  for (const row of tableRows(refusalText, 'ParameterWords')) {
    const [parameter, text] = fields(row, 2, 'ParameterWords');
    parameterWords[enumerator(parameter!, 'TParameter')] = noopText(text!, 'Refusals');
  }
  const nonFiniteWords = tableElements(refusalText, 'NonFiniteWords').map((text) => noopText(text, 'Refusals'));
  return { sentences, parameterWords, nonFiniteWords, codes: xMacroNames(refusalHeader, 'HALVORAN_REFUSAL_CODES') };
}

// The names of `#define macro(X) X(A) X(B) ...`, None left out.
export function xMacroNames(header: string, macro: string): string[] {
  const source = withoutComments(header).replace(/\\\r?\n/g, ' ');
  const definition = new RegExp(`#define\\s+${macro}\\(X\\)(.*)`).exec(source);
  if (!definition) throw new Error(`no ${macro}`);
  const names = [...definition[1]!.matchAll(/\bX\((\w+)\)/g)].map((m) => m[1]!).filter((n) => n !== 'None');
  if (names.length === 0) throw new Error(`${macro} names nothing`);
  return names;
}

// The whole-number constants of a source (`constexpr int CheckItem = -1;`).
function integerConstants(code: string): Record<string, number> {
  const constants: Record<string, number> = {};
  for (const [, name, value] of code.matchAll(/constexpr\s+int\s+(\w+)\s*=\s*(-?\d+)\s*;/g))
    constants[name!] = Number(value);
  return constants;
}

function boolean(field: string): boolean {
  if (field !== 'true' && field !== 'false') throw new Error(`${field} is not true or false`);
  return field === 'true';
}

export function readMenuTable(mainMenu: string): MenuRow[] {
  const constants = integerConstants(mainMenu);
  const rows = tableRows(mainMenu, 'MenuTable').map((row): MenuRow => {
    const [level, kind, name, caption, meaning, , group, checked, enabled] = fields(row, 9, 'MenuTable');
    const groupValue = /^-?\d+$/.test(group!) ? Number(group) : constants[group!];
    if (groupValue === undefined) throw new Error(`MenuTable: the group ${group} is no number`);
    if (!/^\d+$/.test(level!)) throw new Error(`MenuTable: the level ${level} is no number`);
    return {
      level: Number(level), kind: enumerator(kind!, 'TKind') as MenuRow['kind'], name: cString(name!),
      caption: cString(caption!), meaning: cString(meaning!), group: groupValue,
      checked: boolean(checked!), enabled: boolean(enabled!),
    };
  });
  // Each row one level below a submenu at most: the tree the desktop builds from the table.
  let previous: MenuRow | null = null;
  for (const row of rows) {
    const deepest = previous === null ? 1 : previous.level + (previous.kind === 'Submenu' ? 1 : 0);
    if (row.kind !== 'Submenu' && row.kind !== 'Command') throw new Error(`MenuTable: ${row.name} has the kind ${row.kind}`);
    if (row.level < 1 || row.level > deepest) throw new Error(`MenuTable: ${row.name} at level ${row.level}`);
    previous = row;
  }
  return rows;
}

export function readShortcutTable(mainMenu: string): ShortcutRow[] {
  return tableRows(mainMenu, 'ShortcutTable').map((row) => {
    const [name, keys] = fields(row, 2, 'ShortcutTable');
    return { name: cString(name!), keys: cString(keys!) };
  });
}

export interface CatalogueSources {
  japanese: string;
  english: string;
  refusalText: string;
  refusalHeader: string;
  mainMenu: string;
}

export function readCatalogue(sources: CatalogueSources): Catalogue {
  const menu = readMenuTable(sources.mainMenu);
  const shortcuts = readShortcutTable(sources.mainMenu);
  for (const { name } of shortcuts)
    if (!menu.some((row) => row.name === name)) throw new Error(`ShortcutTable: no menu item ${name}`);
  return {
    translations: { ja: readLinguist(sources.japanese), en: readLinguist(sources.english) },
    refusals: readRefusalTexts(sources.refusalText, sources.refusalHeader),
    menu,
    shortcuts,
  };
}
