// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, test } from 'vitest';
import {
  cString, decodeXmlText, readLinguist, readMenuTable, readRefusalTexts, readShortcutTable,
} from './catalogue-sources';

const linguist = (contexts: string) => `<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS><TS version="2.1" language="ja_JP">${contexts}</TS>`;

describe('a Qt Linguist catalogue', () => {
  test.each([
    ['&amp;File', '&File'],
    ['&lt;= &gt;= &quot;a&quot; &apos;b&apos;', `<= >= "a" 'b'`],
    ['&#12354;&#x3042;', 'ああ'],
    ['&nbsp;', undefined],
    ['a & b', undefined],
  ])('%s decodes to %s', (text, decoded) => {
    if (decoded === undefined) expect(() => decodeXmlText(text)).toThrow();
    else expect(decodeXmlText(text)).toBe(decoded);
  });

  test('contexts keep their own texts, entities decoded in sources and translations', () => {
    const read = readLinguist(linguist(`
      <context><name>Refusals</name>
        <message><source>speed</source><translation>速さ</translation></message>
        <message><location filename="a.cpp" line="3"/><source>&apos;%1&apos; &lt; 0</source>
          <comment>a note</comment><translation>&apos;%1&apos; は 0 未満</translation></message>
      </context>
      <!-- <context><name>Commented</name></context> -->
      <context>
        <name>TMainMenu</name>
        <message><source>speed</source><translation>Speed</translation></message>
      </context>`));
    expect(read).toEqual({
      Refusals: { speed: '速さ', "'%1' < 0": "'%1' は 0 未満" },
      TMainMenu: { speed: 'Speed' },
    });
  });

  test.each([
    ['an empty translation', '<translation></translation>', undefined],
    ['an unfinished one with text', '<translation type="unfinished">途中</translation>', '途中'],
    ['an obsolete one', '<translation type="obsolete">古い</translation>', undefined],
    ['a vanished one', '<translation type="vanished">古い</translation>', undefined],
  ])('%s is read as lrelease reads it', (_case, translation, expected) => {
    const read = readLinguist(linguist(
      `<context><name>C</name><message><source>s</source>${translation}</message></context>`));
    expect(read.C?.['s']).toBe(expected);
  });

  test('a file without a context is an error', () => {
    expect(() => readLinguist(linguist(''))).toThrow(/no context/);
  });
});

describe('the tables of the C++ sources', () => {
  test.each([
    ['nullptr', undefined],
    ['"a \\"quoted\\" \\\\ text"', 'a "quoted" \\ text'],
    ['"&物理モデル\\u3000"', '&物理モデル\u3000'],
    ['"joined " "literals"', 'joined literals'],
    ['"\\q"', undefined],
  ])('the literal %s', (literal, value) => {
    if (value === undefined) expect(() => cString(literal)).toThrow();
    else expect(cString(literal)).toBe(value);
  });

  const menu = `
    constexpr int CheckItem = -1;
    const TMenuEntry MenuTable[] = {
      {1, TKind::Submenu, "MnuView", "&表示", "View", nullptr, 0, false, true},
      // a comment with a quote ' and a brace {
      {2, TKind::Command, "MnuA", "&波面, {を} 表示", "Show, wavefronts", &TMainForm1::AClick, CheckItem, true, false},
      /* { */ {2, TKind::Command, "MnuB", "B", "", &TMainForm1::BClick, 2, false, true},
    };
    const TShortcutEntry ShortcutTable[] = {{"MnuA", "Ctrl+S"}, {"MnuB", "Space"},};`;

  test('menu rows with commas and braces in their texts, comments and named groups', () => {
    expect(readMenuTable(menu)).toEqual([
      { level: 1, kind: 'Submenu', name: 'MnuView', caption: '&表示', meaning: 'View', group: 0, checked: false, enabled: true },
      { level: 2, kind: 'Command', name: 'MnuA', caption: '&波面, {を} 表示', meaning: 'Show, wavefronts', group: -1, checked: true, enabled: false },
      { level: 2, kind: 'Command', name: 'MnuB', caption: 'B', meaning: '', group: 2, checked: false, enabled: true },
    ]);
    expect(readShortcutTable(menu)).toEqual([{ name: 'MnuA', keys: 'Ctrl+S' }, { name: 'MnuB', keys: 'Space' }]);
  });

  const row = (text: string) => `const TMenuEntry MenuTable[] = {${text}};`;
  test.each([
    ['no table', 'const int Other[] = {1};', /no table MenuTable/],
    ['no rows', row(''), /no rows/],
    ['a row of too few fields', row('{1, TKind::Submenu, "M", "C", "E", nullptr, 0, false}'), /fields/],
    ['a group that is no constant', row('{1, TKind::Command, "M", "C", "E", nullptr, Radio, false, true}'), /group/],
    ['a row under a command', row(`{1, TKind::Command, "A", "A", "A", nullptr, 0, false, true},
                                   {2, TKind::Command, "B", "B", "B", nullptr, 0, false, true}`), /level 2/],
    ['a table without its end', 'const TMenuEntry MenuTable[] = { {1, ', /no end/],
  ])('%s is an error', (_case, source, message) => {
    expect(() => readMenuTable(source)).toThrow(message);
  });

  const header = `
    #define HALVORAN_REFUSAL_CODES(X) \\
      X(None) \\
      X(SpeedTooHigh) /* %1 the largest X(Not) a code */ \\
      X(PathTooLarge)
    enum class TRefusalCode {};`;
  const refusalText = `
    const TSentence Sentences[] = {
      {TRefusalCode::SpeedTooHigh, QT_TRANSLATE_NOOP("Refusals", "At most %1 (%2 was given).")},
      // The command line's:
      {TRefusalCode::PathTooLarge, QT_TRANSLATE_NOOP("Refusals", "Too large.")},
    };
    const TParameterWord ParameterWords[] = {{TParameter::Speed, QT_TRANSLATE_NOOP("Refusals", "speed")}};
    const char* const NonFiniteWords[] = {QT_TRANSLATE_NOOP("Refusals", "infinity")};`;

  test('sentences, parameter words, non-finite words and the codes of the X-macro', () => {
    expect(readRefusalTexts(refusalText, header)).toEqual({
      sentences: { SpeedTooHigh: 'At most %1 (%2 was given).', PathTooLarge: 'Too large.' },
      parameterWords: { Speed: 'speed' },
      nonFiniteWords: ['infinity'],
      codes: ['SpeedTooHigh', 'PathTooLarge'],
    });
  });

  test.each([
    ['another context', refusalText.replace('"Refusals", "Too large."', '"Messages", "Too large."'), /context Refusals/],
    ['a code of another type', refusalText.replace('TRefusalCode::PathTooLarge', 'TOther::PathTooLarge'), /TRefusalCode/],
  ])('a sentence in %s is an error', (_case, source, message) => {
    expect(() => readRefusalTexts(source, header)).toThrow(message);
  });
});
