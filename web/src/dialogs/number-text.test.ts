// SPDX-License-Identifier: GPL-3.0-or-later
// The texts the dialogs show for numbers and the readings of typed texts, in a point and a comma
// locale: the same answers as the desktop's boxes give.
import { describe, expect, test } from 'vitest';
import {
  fillArguments, formatFixed, formatScientific, NotAFloat, NotAnInteger, numberLocale, PointLocale, readFloat,
  readInteger, ReadTwoWays,
} from './number-text';
import sharedTable from '../../../tests/gui/NumberTextCases.json?raw';

const Comma = { decimal: ',', group: '.' };

// The cases the desktop's tests read too: both front-ends write and read each of them alike.
const Shared = JSON.parse(sharedTable) as {
  fixed: [string, number, number, string][];
  scientific: [string, string][];
  reads: [string, string][];
  refuses: string[];
};

describe('the table shared with the desktop', () => {
  test.each(Shared.fixed)('formatFixed(%s, %i, %i) is %s', (value, digits, decimals, text) => {
    expect(formatFixed(Number(value), digits, decimals)).toBe(text);
    expect(formatFixed(Number(value), digits, decimals, Comma)).toBe(text.replace('.', ','));
  });

  test.each(Shared.scientific)('formatScientific(%s) is %s', (value, text) => {
    expect(formatScientific(Number(value))).toBe(text);
  });

  test.each(Shared.reads)('reads %j as %s', (text, value) => {
    expect(readFloat(text, PointLocale).value).toBe(Number(value));
  });

  test.each(Shared.refuses)('refuses %j', (text) => {
    expect(readFloat(text, PointLocale)).toEqual({ message: { source: NotAFloat, args: [text] } });
  });
});

describe('formatFixed', () => {
  test.each<[number, number, number, string]>([
    [0.8, 6, 3, '0.800'], [-0.5, 6, 3, '-0.500'], [45, 6, 3, '45.000'], [0.05, 6, 3, '0.050'],
    [1234.5678, 6, 3, '1234.570'], [0, 6, 3, '0.000'], [123456, 6, 3, '123456.000'],
    [99999.97, 6, 3, '100000.000'], [0.0006, 6, 3, '0.001'], [0.0004, 6, 3, '0.000'],
    [1.1282, 8, 2, '1.13'], [0.8660254037844386, 6, 6, '0.866025'],
    [0.000123456789, 6, 10, '0.0001234570'], [2, 6, 0, '2'],
    // Tiny negatives show as zero without a minus; one that rounds away from zero keeps it.
    [-0.0001, 6, 3, '0.000'], [-0, 6, 3, '0.000'], [-1e-300, 6, 3, '0.000'], [-0.0006, 6, 3, '-0.001'],
    // More integer digits than significant ones, also by a carry.
    [12345678, 6, 3, '1.23457E+07'], [-12345678, 6, 3, '-1.23457E+07'], [999999.7, 6, 3, '1.00000E+06'],
    [1e300, 6, 3, '1.00000E+300'],
    // Exact binary halves go to the even digit; a double just above a half goes up.
    [0.125, 6, 2, '0.12'], [0.375, 6, 2, '0.38'], [2.5, 6, 0, '2'], [0.0625, 6, 3, '0.062'], [1.005, 6, 2, '1.00'],
    [Infinity, 6, 3, 'INF'], [-Infinity, 6, 3, '-INF'], [NaN, 6, 3, 'NAN'],
  ])('%s with %i digits and %i decimals is %s', (value, digits, decimals, text) => {
    expect(formatFixed(value, digits, decimals)).toBe(text);
  });

  test('writes the locale separator and no grouping', () => {
    expect(formatFixed(1234.5678, 6, 3, Comma)).toBe('1234,570');
    expect(formatFixed(12345678, 6, 3, Comma)).toBe('1,23457E+07');
  });
});

test.each<[number, string]>([
  [0.311, '3.11E-01'], [14500, '1.45E+04'], [0.00991, '9.91E-03'], [28600.4, '2.86E+04'], [-0.5, '-5.00E-01'],
  [0, '0.00E+00'], [9.996, '1.00E+01'], [1e-100, '1.00E-100'], [5e-324, '4.94E-324'],
])('formatScientific(%s) is %s', (value, text) => {
  expect(formatScientific(value)).toBe(text);
});

describe('readFloat', () => {
  test.each<[string, number]>([
    ['0.5', 0.5], ['  0.5  ', 0.5], ['\t-1.5', -1.5], ['+2', 2], ['.5', 0.5], ['5.', 5], ['1e3', 1000],
    ['1E+3', 1000], ['2.5e-2', 0.025], ['-0', -0], ['007', 7], ['1.7e308', 1.7e308], ['1e-400', 0],
  ])('reads %j as %s', (text, value) => {
    expect(readFloat(text, PointLocale)).toEqual({ value });
  });

  test.each([
    '', '   ', 'abc', '0,5', '1,000.5', '1.2.3', '1e', '1e+', 'e5', '+', '-', '.', 'inf', 'nan', 'Infinity',
    '0x10', '1 2', '1e999', '-1e999', '1.5x', '--1', '1d0', '1..2', '١', '0.5\n',
  ])('refuses %j, quoting it', (text) => {
    expect(readFloat(text, PointLocale)).toEqual({ message: { source: NotAFloat, args: [text] } });
  });

  // The point is read too where the locale writes a comma, but for a text that reads as a whole
  // number in groups of thousands there.
  test.each<[string, number | string]>([
    ['0,5', 0.5], [' -1,25E1 ', -12.5], ['0.5', 0.5], ['2,000', 2], ['1.000,5', NotAFloat], ['0,6.1', NotAFloat],
    ['1.000', ReadTwoWays], ['-12.000', ReadTwoWays], ['1.000.000', ReadTwoWays],
  ])('in a comma locale reads %j as %s', (text, expected) => {
    const reading = readFloat(text, Comma);
    if (typeof expected === 'number') expect(reading).toEqual({ value: expected });
    else expect(reading.message?.source).toBe(expected);
  });
});

describe('readInteger', () => {
  test.each<[string, number]>([
    ['300', 300], ['  20', 20], ['-5', -5], ['+7', 7], ['0', 0], ['-0', 0], ['2147483647', 2147483647],
    ['-2147483648', -2147483648], ['0000000000000000000012', 12],
  ])('reads %j as %i', (text, value) => {
    expect(readInteger(text)).toEqual({ value });
  });

  test.each(['', ' ', '20 ', '2.5', 'x1', '1e3', '+', '-', '0x10', '2147483648', '-2147483649',
             '99999999999999999999', '1 2', '$10'])('refuses %j', (text) => {
    expect(readInteger(text)).toEqual({ message: { source: NotAnInteger, args: [text] } });
  });
});

test('the locale of a tag: its separators, the point ones for a tag Intl refuses', () => {
  expect(numberLocale('en-US')).toEqual({ decimal: '.', group: ',' });
  expect(numberLocale('de-DE')).toEqual({ decimal: ',', group: '.' });
  expect(numberLocale('not a tag!')).toEqual(PointLocale);
});

test.each<[string, string[], string]>([
  ["'%1' is not a valid integer value", ['12%2'], "'12%2' is not a valid integer value"],
  ['%2 then %1', ['a', 'b'], 'b then a'],
  ['%1 and %3', ['x'], 'x and %3'],
])('fillArguments(%j) puts the values in once', (template, args, text) => {
  expect(fillArguments(template, args)).toBe(text);
});
