// SPDX-License-Identifier: GPL-3.0-or-later
// The power pattern's chart as numbers: the axes' ranges, the closed curve r_k n_k, the grid
// lines and the model-to-pixel mapping, as the desktop's pattern window lays them out; and the
// power line under the buttons.
import type { RadiationPattern } from '../generated/halvoran-core.js';
import { formatFixed, formatScientific, PointLocale, type NumberLocale } from '../dialogs/number-text';
import { translate, type Language } from '../i18n/catalogue';
import { putIn } from '../refusal-message';

/** The largest value's point lies this share of the axes' half-extent from the centre. */
export const CurveRadius = 0.9;
// Room between the labels of the bottom axis (logical pixels); the grid lies halfway between
// them. The labels themselves are not drawn: the grid alone shows the scale.
const LabelSpacing = 60;

export interface ChartAxes {
  horizontal: number;
  vertical: number;
}

/** Half-extents of the axes: scale on the shorter side of the chart, the same scale on the other. */
export function patternAxes(width: number, height: number, scale: number): ChartAxes {
  const w = Math.max(1, width);
  const h = Math.max(1, height);
  return { horizontal: scale * Math.max(1, w / h), vertical: scale * Math.max(1, h / w) };
}

/** r_k n_k for k = 0 .. n (the first point again at the end, closing the curve), n_k at
 * phi_k = 2 pi k / n, the largest r being CurveRadius * scale; none where nothing radiates. */
export function curvePoints(values: readonly number[], scale: number): Array<{ x: number; y: number }> {
  const largest = values.reduce((a, b) => Math.max(a, b), Number.NEGATIVE_INFINITY);
  if (!(largest > 0) || !Number.isFinite(largest)) return [];
  const factor = CurveRadius * scale / largest;
  const n = values.length;
  const points = [];
  for (let k = 0; k <= n; ++k) {
    const phi = 2 * Math.PI * k / n;
    const r = factor * values[k % n]!;
    points.push({ x: r * Math.cos(phi), y: r * Math.sin(phi) });
  }
  return points;
}

/** The label increment of an axis: the smallest 1, 2 or 5 times a power of ten that keeps
 * labels LabelSpacing logical pixels apart; 0 where the axis has no usable labels. */
export function labelStep(range: number, pixels: number): number {
  if (!(range > 0) || !Number.isFinite(range) || pixels < 1) return 0;
  const raw = range * LabelSpacing / pixels;
  const power = 10 ** Math.floor(Math.log10(raw));
  for (const factor of [1, 2, 5, 10]) if (factor * power >= raw) return factor * power;
  return 10 * power;
}

/** The values of the vertical grid lines between minimum and maximum: halfway between labels. */
export function gridValues(minimum: number, maximum: number, step: number): number[] {
  if (!(step > 0)) return [];
  const first = Math.ceil(minimum / step - 0.5) + 0.5;
  const values = [];
  // Counted, not stepped: far from 0 adding a step may change nothing.
  for (let n = 0; n < 1000; ++n) {
    const value = (first + n) * step;
    if (!(value <= maximum)) break;
    values.push(value);
  }
  return values;
}

// Rounded half to even, as the desktop's mapping rounds.
function roundEven(t: number): number {
  const r = Math.round(t);
  return Math.abs(t - Math.trunc(t)) === 0.5 ? 2 * Math.round(t / 2) : r;
}

/** The pixel of value on an axis from minimum to maximum over the pixels low .. high (for y,
 * pass the bottom as low and the top as high); the middle pixel where the range is empty. */
export function valueToPixel(value: number, minimum: number, maximum: number, low: number,
                             high: number): number {
  const range = maximum - minimum;
  const t = (value - minimum) * (high - low) / range;
  if (range === 0 || !Number.isFinite(t)) return Math.trunc((low + high) / 2);
  return low + roundEven(t);
}

/** "Power 1.23E+03 = 14.2 × Larmor", or "No radiation". */
export function powerText(pattern: RadiationPattern, language: Language,
                          locale: NumberLocale = PointLocale): string {
  const context = 'TRadiationPatternForm';
  if (!pattern.radiates || !(pattern.larmor > 0)) return translate(language, context, 'No radiation');
  return putIn(translate(language, context, 'Power %1 = %2 × Larmor'), [
    formatScientific(pattern.power, locale),
    formatFixed(pattern.power / pattern.larmor, 4, 1, locale),
  ]);
}
