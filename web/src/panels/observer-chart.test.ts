// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, test } from 'vitest';
import type { ObserverSpectrum } from '../generated/halvoran-core.js';
import { lookup } from '../i18n/catalogue';
import chartSource from './observer-chart.ts?raw';
import panelSource from './observer-panel.ts?raw';
import {
  Context,
  frequencyCaption, frequencyRange, frequencyText, harmonicStride, largestMagnitude, powerHeight, samplesText, siText,
  spectrumColumns,
  timeCaption, timeWindow, traceColumns, traceLengths,
} from './observer-chart';

describe('the trace lengths offered', () => {
  test.each([
    [64, 4096, 1024, [64, 128, 256, 512, 1024, 2048, 4096]],
    // A length a scene set between two powers of two is offered in its place among them.
    [64, 4096, 100, [64, 100, 128, 256, 512, 1024, 2048, 4096]],
    // One beyond the bounds is not: the core would refuse it.
    [64, 256, 5000, [64, 128, 256]],
    [64, 256, 99.5, [64, 128, 256]],
  ])('%i .. %i with %d chosen', (least, most, chosen, lengths) => {
    expect(traceLengths(least, most, chosen)).toEqual(lengths);
  });
});

describe('the time axis fills, then moves on with the newest sample at the right', () => {
  test.each([
    [0, 64, { from: 0, to: 64 }],
    [10, 64, { from: 0, to: 64 }],
    [64, 64, { from: 0, to: 64 }],
    [100, 64, { from: 36, to: 100 }],
  ])('%i ticks of a %i-tick trace', (ticks, length, window) => {
    expect(timeWindow(ticks, length)).toEqual(window);
  });
});

describe('the samples gathered into pixel columns', () => {
  const tick = [0, 0.5, 1, 1.5, 2, 2.5, 3, 3.5];
  const value = [1, -2, 3, 4, 9, 5, -1, 7];
  test.each<[string, number[], number, number, number, Array<[number, number] | null>]>([
    ['two samples a column', [0, 0, 0, 0, 0, 0, 0, 0], 0, 4, 4, [[-2, 1], [3, 4], [5, 9], [-1, 7]]],
    // Left-out samples are gaps, not zeros: a column of them alone has nothing.
    ['left out', [0, 0, 1, 2, 0, 0, 1, 1], 0, 4, 4, [[-2, 1], null, [5, 9], null]],
    // Samples outside the window take no column; the last tick falls into the last column.
    ['a window inside the trace', [0, 0, 0, 0, 0, 0, 0, 0], 1, 2, 2, [[3, 3], [4, 9]]],
    ['more columns than samples', [0, 0, 0, 0, 0, 0, 0, 0], 0, 1, 4, [[1, 1], null, [-2, -2], [3, 3]]],
  ])('%s', (_name, kind, from, to, columns, expected) => {
    const spans = traceColumns(tick, value, kind, from, to, columns);
    expect(spans.map((s) => (s ? [s.min, s.max] : null))).toEqual(expected);
  });

  test('an empty window gives empty columns', () => {
    expect(traceColumns(tick, value, new Array(8).fill(0), 2, 2, 3)).toEqual([null, null, null]);
  });

  test('the scale comes from the received samples alone', () => {
    expect(largestMagnitude([1, -8, 3, Number.NaN], [0, 1, 0, 0])).toBe(3);
    expect(largestMagnitude([0, 0], [0, 0])).toBe(0);
  });
});

describe('the power axis', () => {
  test.each([
    [1, false, 1], [0.25, false, 0.25], [2, false, 1], [0, false, 0], [-1, false, 0],
    [1, true, 1], [1e-3, true, 0.5], [1e-6, true, 0], [1e-9, true, 0], [0, true, 0],
  ])('%d (log %s) at height %d', (power, log, height) => {
    expect(powerHeight(power, log)).toBeCloseTo(height, 12);
  });

  test('a column keeps its largest bin; a column without bins has none', () => {
    expect(spectrumColumns([0, 0.1, 0.2, 0.3, 0.4], [0.2, 1, 0.5, 0.3, 0.9], 0.4, 4, false))
      .toEqual([0.2, 1, 0.5, 0.9]);
    expect(spectrumColumns([0, 1], [1, 0.5], 1, 4, false)).toEqual([1, -1, -1, 0.5]);
  });
});

describe('the frequency axis reaches the visible power and the predicted lines', () => {
  const frequency = Float64Array.from({ length: 41 }, (_, k) => k * 0.1);
  const power = (reach: number) => Float64Array.from(frequency, (f) => (f <= reach ? 1 : 1e-6));
  const spectrum = (reach: number, extra: Partial<ObserverSpectrum>) =>
    ({ frequency, power: power(reach), fundamental: null, markers: [], ...extra });
  test.each<[string, number, Partial<ObserverSpectrum>, number]>([
    ['the power alone, a quarter beyond it', 0.8, {}, 1],
    ['four harmonics of f0', 0.2, { fundamental: 0.1 }, 0.4],
    ['the first line twice over', 0.2, { markers: [{ harmonic: 1, low: 0.5, high: 0.6 }] }, 1.2],
    ['never beyond the highest bin', 3.9, {}, 4],
  ])('%s', (_name, reach, extra, range) => {
    expect(frequencyRange(spectrum(reach, extra))).toBeCloseTo(range, 12);
  });

  test('no bins: no axis', () => {
    expect(frequencyRange({ frequency: new Float64Array(0), power: new Float64Array(0), fundamental: 0.1, markers: [] }))
      .toBe(0);
  });
});

describe('the physical numbers', () => {
  test.each([
    [3.3356e-9, 's', '3.34 ns'],
    [2.99792458e8, 'Hz', '300 MHz'],
    [999.7, 'Hz', '1.00 kHz'],
    [12.345, 'm', '12.3 m'],
    [-0.0042, 'm', '-4.20 mm'],
    [0, 's', '0 s'],
  ])('%d %s', (value, unit, text) => {
    expect(siText(value, unit)).toBe(text);
  });

  test('a frequency per tick and in hertz, a tick in seconds, in both languages', () => {
    expect(frequencyText(0.01, 3.3356e-9, 'en')).toBe('0.0100 per tick (3.00 MHz)');
    expect(frequencyText(0.01, 0, 'en')).toBe('0.0100 per tick');
    expect(frequencyText(0.5, 3.3356e-9, 'ja')).toBe('0.500 /ティック (150 MHz)');
    expect(timeCaption(3.3356e-9, 'en')).toBe('ticks (1 tick = 3.34 ns)');
    expect(timeCaption(3.3356e-9, 'ja')).toBe('ティック (1 ティック = 3.34 ns)');
  });
});

describe('the samples line says what was left out and why', () => {
  const trace = (count: number, beforeReset: number, beyondHistory: number) =>
    ({ tick: new Float64Array(count), beforeReset, beyondHistory });
  test.each<[number, number, number, 'en' | 'ja', string]>([
    [513, 0, 0, 'en', '513 samples'],
    [513, 24, 0, 'en', '513 samples, left out: 24 sent before the last reset'],
    [513, 8, 3, 'en', '513 samples, left out: 8 sent before the last reset, 3 sent before the kept history'],
    [513, 0, 3, 'ja', '513 サンプル、除外: 3 個は保持している履歴より前に発せられたもの'],
  ])('%i samples, %i and %i left out (%s)', (count, beforeReset, beyondHistory, language, text) => {
    expect(samplesText(trace(count, beforeReset, beyondHistory), language)).toBe(text);
  });
});

describe('the harmonics numbered over their lines stay apart', () => {
  test.each([
    [30, 12, 1], [10, 12, 2], [5, 12, 5], [2, 12, 10], [0.5, 12, 50], [0, 12, Number.POSITIVE_INFINITY],
  ])('%d pixels apart, numbers %d wide: every %d', (spacing, width, stride) => {
    expect(harmonicStride(spacing, width)).toBe(stride);
  });

  test('the frequency axis says what a cycle per tick is in hertz', () => {
    expect(frequencyCaption(1 / 6e8, 'en')).toBe('per tick (1 per tick = 600 MHz)');
    expect(frequencyCaption(Number.NaN, 'ja')).toBe('/ティック');
  });
});

describe('every word of the panel has its Japanese', () => {
  // The literals the panel words through its context, read from its own sources.
  const sources = [panelSource, chartSource].join('\n');
  const words = [...sources.matchAll(/(?:word\(|Context, )'((?:[^'\\]|\\.)*)'/g)].map((m) => m[1]!.replace(/\\'/g, "'"));
  test('the sources word something', () => {
    expect(words.length).toBeGreaterThan(25);
  });
  test.each(words)('%s', (source) => {
    expect(lookup('ja', Context, source)).toBeDefined();
  });
});
