// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, test } from 'vitest';
import { menuRows, shortcutRows } from '../i18n/catalogue';
import {
  accessKey, buildMenuTree, letterTarget, menuCaption, menuTooltip, placeMenu, shortcutLabels, splitCaption,
  stepIndex, type MenuNode,
} from './menu-model';

const row = (name: string) => menuRows.find((r) => r.name === name)!;
const path = (node: MenuNode): string[] => (node.parent ? [...path(node.parent), node.row.name] : [node.row.name]);

describe('the menu tree of the desktop\'s table', () => {
  const bar = buildMenuTree(menuRows);
  const all = (nodes: MenuNode[]): MenuNode[] => nodes.flatMap((n) => [n, ...all(n.children)]);
  const byName = new Map(all(bar).map((n) => [n.row.name, n]));

  test('the bar and where items sit', () => {
    expect(bar.map((n) => n.row.name)).toEqual(['MnuFile', 'Setup', 'MnuView', 'MnuRuns', 'MnuLessons', 'MnuHelpMenu']);
    expect(byName.size).toBe(menuRows.length);
  });

  test.each([
    ['MnuCircle', ['Setup', 'MnuTrajectory', 'MnuCircle']],
    ['MnuMdlCustom', ['Setup', 'MnuModelSize', 'MnuMdlCustom']],
    ['mnuMusicSTOP', ['Setup', 'mnuSoundEffect', 'mnuMusicSTOP']],
    ['MnuEnglish', ['MnuView', 'MnuLanguage', 'MnuEnglish']],
    ['MnuSaveScene', ['MnuFile', 'MnuSaveScene']],
    ['MnuScaleUnit', ['Setup', 'MnuScaleUnit']],
    ['mnuShowCaption', ['MnuView', 'mnuShowCaption']],
    ['MnuHelpModel', ['MnuHelpMenu', 'MnuHelpModel']],
    ['MnuHelp', ['MnuHelpMenu', 'MnuHelp']],
  ])('%s', (name, expected) => {
    expect(path(byName.get(name)!)).toEqual(expected);
  });
});

describe('captions, tooltips and access keys', () => {
  test.each([
    ['&File', { before: '', key: 'F', after: 'ile' }],
    ['Print&er setup', { before: 'Print', key: 'e', after: 'r setup' }],
    ['Save && load', { before: 'Save & load', key: '', after: '' }],
    ['日本語', { before: '日本語', key: '', after: '' }],
  ])('%s', (caption, shown) => {
    expect(splitCaption(caption)).toEqual(shown);
  });

  test.each([
    // name, Japanese caption, English caption, tooltip under English, access key
    ['MnuPrinterSetUp', '&プリンタ設定', 'Print&er setup', 'プリンタ設定', 'e'],
    ['MnuSavePicture', '&画像を保存…', '&Save picture…', '画像を保存', 's'],
    ['PhysicalModel', '&物理モデル\u3000', 'P&hysical model', '物理モデル', 'h'],
    ['MnuLanguage', '&言語 / Language', '言語 / &Language', '言語 / Language', 'l'],
    ['MnuJapanese', '日本語', '日本語', '日本語', ''],
  ])('%s', (name, japanese, english, englishTooltip, key) => {
    expect(menuCaption(row(name), 'ja')).toBe(japanese);
    expect(menuCaption(row(name), 'en')).toBe(english);
    expect(menuTooltip(row(name), 'ja')).toBe(row(name).meaning);
    expect(menuTooltip(row(name), 'en')).toBe(englishTooltip);
    expect(accessKey(row(name))).toBe(key);
  });

  test('an item the English catalogue does not know yet reads as its meaning', () => {
    const unknown = { caption: '&新しい項目', meaning: 'New item' };
    expect(menuCaption(unknown, 'en')).toBe('New item');
    // The page's own items: the meaning marks the English access key, the tooltip does not show it.
    const pageItem = { caption: '&観測点', meaning: '&Observer' };
    expect(menuCaption(pageItem, 'en')).toBe('&Observer');
    expect(menuTooltip(pageItem, 'ja')).toBe('Observer');
    expect(menuTooltip(pageItem, 'en')).toBe('観測点');
    expect(menuCaption({ caption: '&新しい項目', meaning: '' }, 'en')).toBe('&新しい項目');
  });

  test('the keys beside the items, the ones of hidden items left out', () => {
    const labels = shortcutLabels(shortcutRows);
    expect(labels.get('MnuSavePicture')).toEqual({ shown: 'Ctrl+S', aria: 'Control+S' });
    expect(labels.get('MnuRunPause')).toEqual({ shown: 'Space', aria: 'Space' });
    expect(labels.has('MnuExit')).toBe(false);
  });
});

describe('moving among items', () => {
  const hidden = (...indices: number[]) => (i: number) => indices.includes(i);
  test.each([
    [5, 4, 1, hidden(), 0],
    [5, 0, 1, hidden(1, 2), 3],
    [5, 3, -1, hidden(0, 1, 2), 4],
    // From before the first (Home) and after the last (End).
    [4, 3, 1, hidden(0), 1],
    [4, 0, -1, hidden(3), 2],
  ])('%i items, from %i by %i', (count, current, step, skipped, expected) => {
    expect(stepIndex(count, current, step, skipped)).toBe(expected);
  });

  const keys = ['f', 's', 'v', 'r', 's', ''];
  const captions = ['File', 'Setup', 'View', 'Run', 'Scale', 'English'];
  test.each([
    [0, 'v', { index: 2, unique: true }],
    [0, 's', { index: 1, unique: false }],
    [1, 's', { index: 4, unique: false }],
    // Without an access key, the caption's first letter moves there.
    [0, 'e', { index: 5, unique: false }],
    [0, 'x', null],
  ])('from %i, %s', (current, letter, expected) => {
    expect(letterTarget(keys, captions, current, letter, () => false)).toEqual(expected);
  });
});

describe('where a menu opens', () => {
  const box = (left: number, top: number, width: number, height: number) =>
    ({ left, top, right: left + width, bottom: top + height });
  const window = { width: 768, height: 504 };
  test.each([
    ['below a bar item', box(40, 0, 60, 24), true, { left: 40, top: 24 }],
    ['below a bar item near the right edge, moved in', box(720, 0, 40, 24), true, { left: 568, top: 24 }],
    ['to the left where the right has no room', box(500, 100, 200, 30), false, { left: 300, top: 100 }],
    ['below where neither side has room', box(100, 100, 620, 30), false, { left: 124, top: 130 }],
    ['moved up where it would leave the bottom', box(0, 400, 200, 30), false, { left: 200, top: 204 }],
  ])('%s', (_case, anchor, fromBar, expected) => {
    expect(placeMenu(anchor, { width: 200, height: 300 }, window, fromBar)).toEqual(expected);
  });
});
