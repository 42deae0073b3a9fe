// SPDX-License-Identifier: GPL-3.0-or-later
import { expect, test } from 'vitest';
import { scaleCaption, zoomKey } from './zoom-scale';

test.each([
  [16, 'x 16.00'],
  [22.624, 'x 22.62'],
  [1.414, 'x 1.41'],
  [0.5, 'x 0.50'],
  // Four significant digits, then zeros; ties go to the even digit, as the C library rounds.
  [1234.5, 'x 1234.00'],
  [1235.5, 'x 1236.00'],
  [12345, 'x 1.234E+04'],
  [98765, 'x 9.876E+04'],
  [98775, 'x 9.878E+04'],
])('the scale %d reads %s', (scale, caption) => {
  expect(scaleCaption(scale)).toBe(caption);
});

test.each([
  ['+', 'in'], ['=', 'in'], ['-', 'out'], ['0', null], ['Enter', null], ['_', null],
])('the key %s zooms %s', (key, press) => {
  expect(zoomKey(key)).toBe(press);
});
