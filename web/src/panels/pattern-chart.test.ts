// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, test } from 'vitest';
import type { RadiationPattern } from '../generated/halvoran-core.js';
import {
  CurveRadius, curvePoints, gridValues, labelStep, patternAxes, powerText, valueToPixel,
} from './pattern-chart';

describe('the axes keep one scale', () => {
  test.each([
    [300, 300, 1, { horizontal: 1, vertical: 1 }],
    [600, 300, 1, { horizontal: 2, vertical: 1 }],
    [200, 400, 1, { horizontal: 1, vertical: 2 }],
    // Before the first pattern both ranges are empty.
    [600, 300, 0, { horizontal: 0, vertical: 0 }],
    // A chart without area is taken as one pixel square.
    [0, 0, 1, { horizontal: 1, vertical: 1 }],
  ])('%i x %i at scale %d', (width, height, scale, axes) => {
    expect(patternAxes(width, height, scale)).toEqual(axes);
  });
});

describe('the curve r_k n_k', () => {
  const close = (points: Array<{ x: number; y: number }>) =>
      points.map((p) => [Number(p.x.toFixed(12)) + 0, Number(p.y.toFixed(12)) + 0]);

  test.each([
    // Four directions: +x, +y, -x, -y; the largest value reaches CurveRadius, the first point
    // comes again at the end to close the curve.
    [[2, 1, 0, 1], 1, [[0.9, 0], [0, 0.45], [0, 0], [0, -0.45], [0.9, 0]]],
    // Scaled with the axes' half-extent, independent of the values' unit.
    [[4e-30, 4e-30, 4e-30, 4e-30], 2, [[1.8, 0], [0, 1.8], [-1.8, 0], [0, -1.8], [1.8, 0]]],
  ])('%o at scale %d', (values, scale, points) => {
    expect(close(curvePoints(values, scale))).toEqual(points);
  });

  test.each([
    [[0, 0, 0, 0]],
    [[]],
    [[Number.NaN, 1]],
    [[Number.POSITIVE_INFINITY, 1]],
  ])('no curve for %o', (values) => {
    expect(curvePoints(values, 1)).toEqual([]);
  });

  test('the largest of many directions lies at CurveRadius', () => {
    const values = Array.from({ length: 360 }, (_, k) => Math.sin(k * Math.PI / 360) ** 2);
    const radii = curvePoints(values, 1).map((p) => Math.hypot(p.x, p.y));
    expect(Math.max(...radii)).toBeCloseTo(CurveRadius, 12);
    expect(radii).toHaveLength(361);
  });
});

describe('the grid', () => {
  test.each([
    // range, logical pixels, step
    [2, 300, 0.5],
    [2, 120, 1],
    [2, 1000, 0.2],
    [4, 290, 1],
    [0, 300, 0],
    [2, 0.5, 0],
    [Number.POSITIVE_INFINITY, 300, 0],
  ])('range %d over %d px steps by %d', (range, pixels, step) => {
    expect(labelStep(range, pixels)).toBeCloseTo(step, 12);
  });

  test.each([
    // Halfway between the labels.
    [-1, 1, 0.5, [-0.75, -0.25, 0.25, 0.75]],
    [-1, 1, 1, [-0.5, 0.5]],
    [-2, 2, 1, [-1.5, -0.5, 0.5, 1.5]],
    [-1, 1, 0, []],
  ])('from %d to %d by %d', (minimum, maximum, step, values) => {
    expect(gridValues(minimum, maximum, step)).toEqual(values);
  });

  test.each([
    // value, axis, pixels low .. high, pixel
    [0, -1, 1, 0, 300, 150],
    [-1, -1, 1, 0, 300, 0],
    // y: from the bottom pixel upward.
    [1, -1, 1, 299, 0, 0],
    [0.5, -1, 1, 299, 0, 75],
    // Halves round to even.
    [0, -1, 1, 0, 5, 2],
    [0, -1, 1, 0, 7, 4],
    // An empty range, or no number: the middle.
    [3, 0, 0, 0, 300, 150],
    [Number.NaN, -1, 1, 0, 300, 150],
  ])('%d on [%d, %d] over %d .. %d is pixel %d', (value, minimum, maximum, low, high, pixel) => {
    expect(valueToPixel(value, minimum, maximum, low, high)).toBe(pixel);
  });
});

describe('the power line', () => {
  const pattern = (power: number, larmor: number, radiates = true): RadiationPattern =>
      ({ values: [], power, larmor, radiates });

  test.each([
    [pattern(1234.5, 86.94), 'en', 'Power 1.23E+03 = 14.2 × Larmor'],
    [pattern(1234.5, 86.94), 'ja', 'パワー 1.23E+03 = ラーモアの 14.2 倍'],
    [pattern(0.0311, 0.0311), 'en', 'Power 3.11E-02 = 1.0 × Larmor'],
    // Beyond four integer digits the ratio is written in scientific notation too.
    [pattern(5e6, 1), 'en', 'Power 5.00E+06 = 5.000E+06 × Larmor'],
    [pattern(9999.6, 1), 'en', 'Power 1.00E+04 = 1.000E+04 × Larmor'],
    [pattern(0, 0, false), 'en', 'No radiation'],
    [pattern(0, 0, false), 'ja', '放射なし'],
    // Radiating but no Larmor power to compare with.
    [pattern(1, 0), 'en', 'No radiation'],
  ] as const)('%o in %s', (p, language, text) => {
    expect(powerText(p, language)).toBe(text);
  });
});
