// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, test } from 'vitest';
import type { Refusal } from './generated/halvoran-core.js';
import { refusalTexts, translate } from './i18n/catalogue';
import { putIn, refusalMessage } from './refusal-message';

const refusal = (code: string, values: string[], parameter = 'None', option?: string):
    Refusal & { option?: string } => ({ code, parameter, values, ...(option === undefined ? {} : { option }) });

describe('a refusal worded as the desktop words it', () => {
  test.each([
    [refusal('NotFinite', ['minus infinity'], 'CircleRadius'),
      'The circle radius must be a finite number (minus infinity was given).',
      '円の半径は有限の数でなければなりません（負の無限大 が与えられました）。'],
    [refusal('MustNotBeZero', [], 'BendingAngle'), 'The bending angle must not be 0.', '偏向角は 0 であってはなりません。'],
    // A place holder used twice.
    [refusal('BendingAngleRange', ['180', '200']),
      'The bending angle must lie between -180 and 180 degrees (200 was given).',
      '偏向角は -180 度から 180 度の間でなければなりません（200 が与えられました）。'],
    // The simulation's check of an option's value names the option first.
    [refusal('TooFewLines', ['1', '0'], 'None', '--model'),
      '--model: The number of field lines must be at least 1 (0 was given).',
      '--model: 電気力線の本数は 1 以上でなければなりません（0 が与えられました）。'],
    // The parser's own: a typed "infinity" is a text, not a value to translate.
    [refusal('NotANumber', ['--ticks', 'infinity'], 'None', ''),
      "--ticks: 'infinity' is not a number", "--ticks: 'infinity' は数ではありません"],
    // A typed text that holds a place holder is put in as it is.
    [refusal('UnknownOption', ['--%2'], 'None', ''), "unknown option '--%2'", "'--%2' というオプションはありません"],
    // A code the catalogue does not know yet reads as its name.
    [refusal('NoSuchCode', ['1']), 'NoSuchCode', 'NoSuchCode'],
  ])('%j', (given, english, japanese) => {
    expect(refusalMessage(given)).toBe(english);
    expect(refusalMessage(given, 'en')).toBe(english);
    expect(refusalMessage(given, 'ja')).toBe(japanese);
  });

  test('every code of the core has a sentence, each with its Japanese and its place holders', () => {
    const holders = (text: string) => [...new Set(text.match(/%[1-9]/g) ?? [])].sort();
    expect(refusalTexts.codes.length).toBeGreaterThan(40);
    for (const code of refusalTexts.codes) {
      const sentence = refusalTexts.sentences[code];
      expect(sentence, code).toBeDefined();
      const japanese = translate('ja', 'Refusals', sentence!);
      expect(japanese, code).not.toBe(sentence);
      expect(holders(japanese), code).toEqual(holders(sentence!));
    }
  });

  test.each([
    ['%2%1', ['%2', 'x'], 'x%2'],
    ['%3 stays', ['a'], '%3 stays'],
    ['100% and %', ['a'], '100% and %'],
  ])('%s with %j', (pattern, values, expected) => {
    expect(putIn(pattern, values)).toBe(expected);
  });
});
