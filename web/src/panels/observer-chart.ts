// SPDX-License-Identifier: GPL-3.0-or-later
// The observer panel's charts as numbers: what the trace's samples come to per pixel column,
// the time and frequency axes, the power axis (linear or in decibels) and the panel's lines of
// text. Every model number (the samples, the spectrum, the lines theory predicts) is the core's;
// this only lays them out.
import type { ObserverSpectrum, ObserverTrace, UndulatorLight } from '../generated/halvoran-core.js';
import { formatFixed, PointLocale, type NumberLocale } from '../dialogs/number-text';
import { translate, type Language } from '../i18n/catalogue';
import { putIn } from '../refusal-message';

export const Context = 'WebObserver';

/** The lowest power the logarithmic axis shows, in decibels below the largest bin. */
export const LogFloorDb = -60;
/** A bin this far below the largest (linear power) no longer widens the frequency axis. */
const VisiblePower = 1e-4;

/** The trace lengths offered, in ticks: the powers of two from the least to the most. */
export function traceLengths(least: number, most: number, current: number): number[] {
  const lengths: number[] = [];
  for (let n = 1; n <= most; n *= 2) if (n >= least) lengths.push(n);
  // A length a scene set that is no power of two is offered too, where it is.
  if (Number.isInteger(current) && current >= least && current <= most && !lengths.includes(current)) {
    lengths.push(current);
    lengths.sort((a, b) => a - b);
  }
  return lengths;
}

/** The ticks the time axis spans: the trace's length, filling from the left until it is full,
 * then moving on with the newest sample at the right. */
export function timeWindow(ticks: number, traceTicks: number): { from: number; to: number } {
  const to = Math.max(ticks, traceTicks);
  return { from: to - traceTicks, to };
}

export interface ColumnSpan {
  min: number;
  max: number;
}

/** The received samples between from and to ticks gathered into columns of equal time: each
 * column's least and largest value, null for a column without a received sample (a gap). The
 * ticks must rise, as the trace's do. */
export function traceColumns(tick: ArrayLike<number>, value: ArrayLike<number>, kind: ArrayLike<number>,
                             from: number, to: number, columns: number): Array<ColumnSpan | null> {
  const spans: Array<ColumnSpan | null> = new Array(Math.max(0, columns)).fill(null);
  const width = (to - from) / columns;
  if (!(width > 0) || columns < 1) return spans;
  for (let i = 0; i < tick.length; ++i) {
    if (kind[i] !== 0) continue;
    const t = tick[i]!;
    if (t < from || t > to) continue;
    const column = Math.min(columns - 1, Math.floor((t - from) / width));
    const v = value[i]!;
    const span = spans[column];
    if (span) {
      span.min = Math.min(span.min, v);
      span.max = Math.max(span.max, v);
    } else {
      spans[column] = { min: v, max: v };
    }
  }
  return spans;
}

/** The largest |value| of the received samples; 0 where none is, or all are 0. */
export function largestMagnitude(value: ArrayLike<number>, kind: ArrayLike<number>): number {
  let largest = 0;
  for (let i = 0; i < value.length; ++i) {
    const v = Math.abs(value[i]!);
    if (kind[i] === 0 && Number.isFinite(v)) largest = Math.max(largest, v);
  }
  return largest;
}

/** The height of a power on its axis, 0 (bottom) to 1 (top): linear, or in decibels from
 * LogFloorDb to 0 (a power of 0 at the floor). */
export function powerHeight(power: number, log: boolean): number {
  if (!(power > 0)) return 0;
  if (!log) return Math.min(1, power);
  const db = 10 * Math.log10(power);
  return Math.min(1, Math.max(0, (db - LogFloorDb) / -LogFloorDb));
}

/** The frequencies the spectrum's axis spans, cycles per tick from 0: as far as a bin still has
 * visible power, a quarter more, and at least four harmonics of f0 or the first predicted line
 * twice over; never beyond the highest bin. */
export function frequencyRange(spectrum: Pick<ObserverSpectrum, 'frequency' | 'power' | 'fundamental' | 'markers'>): number {
  const { frequency, power } = spectrum;
  const highest = frequency.length > 0 ? frequency[frequency.length - 1]! : 0;
  if (!(highest > 0)) return 0;
  let reach = 0;
  for (let k = 0; k < power.length; ++k) if (power[k]! >= VisiblePower) reach = frequency[k]!;
  reach *= 1.25;
  if (spectrum.fundamental !== null) reach = Math.max(reach, 4 * spectrum.fundamental);
  const first = spectrum.markers[0];
  if (first) reach = Math.max(reach, 2 * first.high);
  if (!(reach > 0)) reach = highest;
  return Math.min(highest, reach);
}

/** A value with an SI prefix and three significant digits ("3.34 ns", "300 MHz"); "0 s" for 0. */
export function siText(value: number, unit: string, locale: NumberLocale = PointLocale): string {
  if (!Number.isFinite(value)) return `${formatFixed(value, 3, 0, locale)} ${unit}`;
  if (value === 0) return `0 ${unit}`;
  const Prefixes = ['f', 'p', 'n', 'µ', 'm', '', 'k', 'M', 'G', 'T', 'P'];
  let group = Math.floor(Math.log10(Math.abs(value)) / 3);
  group = Math.min(5, Math.max(-5, group));
  let mantissa = value / 10 ** (3 * group);
  // 999.7 rounds up to the next prefix's 1.00.
  if (Math.abs(Number(mantissa.toPrecision(3))) >= 1000 && group < 5) {
    ++group;
    mantissa = value / 10 ** (3 * group);
  }
  const magnitude = Math.abs(mantissa);
  const decimals = magnitude >= 100 ? 0 : magnitude >= 10 ? 1 : 2;
  return `${formatFixed(mantissa, 3, decimals, locale)} ${Prefixes[group + 5]}${unit}`;
}

/** A frequency in cycles per tick, three significant digits, with its hertz where a tick has a
 * duration: "0.0100 per tick (3.00 MHz)". */
export function frequencyText(cyclesPerTick: number, secondsPerTick: number, language: Language,
                              locale: NumberLocale = PointLocale): string {
  const perTick = putIn(translate(language, Context, '%1 per tick'), [significant(cyclesPerTick, locale)]);
  if (!(secondsPerTick > 0) || !Number.isFinite(secondsPerTick)) return perTick;
  return `${perTick} (${siText(cyclesPerTick / secondsPerTick, 'Hz', locale)})`;
}

// Three significant digits, fixed point while that stays readable.
function significant(value: number, locale: NumberLocale): string {
  if (value === 0) return formatFixed(0, 3, 0, locale);
  const exponent = Math.floor(Math.log10(Math.abs(value)));
  if (exponent < -4) return value.toExponential(2).replace('.', locale.decimal);
  return formatFixed(value, 3, Math.max(0, 2 - exponent), locale);
}

/** The time axis's caption: "ticks (1 tick = 6.67 ns)". */
export function timeCaption(secondsPerTick: number, language: Language, locale: NumberLocale = PointLocale): string {
  const ticks = translate(language, Context, 'ticks');
  if (!(secondsPerTick > 0) || !Number.isFinite(secondsPerTick)) return ticks;
  return `${ticks} (${putIn(translate(language, Context, '1 tick = %1'), [siText(secondsPerTick, 's', locale)])})`;
}

/** The frequency axis's caption: "per tick (1 per tick = 600 MHz)". */
export function frequencyCaption(secondsPerTick: number, language: Language, locale: NumberLocale = PointLocale): string {
  const perTick = translate(language, Context, 'per tick');
  if (!(secondsPerTick > 0) || !Number.isFinite(secondsPerTick)) return perTick;
  return `${perTick} (${putIn(translate(language, Context, '1 per tick = %1'), [siText(1 / secondsPerTick, 'Hz', locale)])})`;
}

/** Every how many harmonics a number is written over the lines: 1, 2, 5, 10, 20, .. so that
 * numbers width pixels wide, one harmonic spacing pixels apart, stay clear of each other. */
export function harmonicStride(spacing: number, width: number): number {
  if (!(spacing > 0)) return Number.POSITIVE_INFINITY;
  for (let power = 1; power < 1e9; power *= 10)
    for (const factor of [1, 2, 5]) if (factor * power * spacing >= width) return factor * power;
  return Number.POSITIVE_INFINITY;
}

/** The samples line: how many the trace holds and, where any was left out, how many and why. */
export function samplesText(trace: Pick<ObserverTrace, 'tick' | 'beforeReset' | 'beyondHistory'>,
                            language: Language): string {
  const held = putIn(translate(language, Context, '%1 samples'), [String(trace.tick.length)]);
  const reasons: string[] = [];
  if (trace.beforeReset > 0)
    reasons.push(putIn(translate(language, Context, '%1 sent before the last reset'), [String(trace.beforeReset)]));
  if (trace.beyondHistory > 0)
    reasons.push(putIn(translate(language, Context, '%1 sent before the kept history'), [String(trace.beyondHistory)]));
  if (reasons.length === 0) return held;
  const separator = language === 'ja' ? '、' : ', ';
  return `${held}${separator}${putIn(translate(language, Context, 'left out: %1'), [reasons.join(separator)])}`;
}

/** The spectrum's line under its chart: its length, f0 of a closed path, the undulator's light. */
export function spectrumText(spectrum: ObserverSpectrum, language: Language,
                             locale: NumberLocale = PointLocale): string[] {
  const lines: string[] = [];
  if (spectrum.samplesUsed === 0) {
    lines.push(translate(language, Context, 'Nothing has arrived at the eye yet.'));
  } else {
    lines.push(putIn(translate(language, Context, 'N = %1 (%2 samples, Hann window)'),
                     [String(spectrum.transformLength), String(spectrum.samplesUsed)]));
  }
  if (spectrum.fundamental !== null) {
    lines.push(putIn(translate(language, Context, 'The path\'s own frequency f₀ = %1'),
                     [frequencyText(spectrum.fundamental, spectrum.secondsPerTick, language, locale)]));
  }
  if (spectrum.undulator) lines.push(...undulatorText(spectrum.undulator, language, locale));
  return lines;
}

/** The undulator's two wavelengths for the eye: the model's own over the span of θ, and the
 * dialog's λrad (on the axis: odd harmonics only). */
export function undulatorText(light: UndulatorLight, language: Language, locale: NumberLocale = PointLocale): string[] {
  const low = siText(light.modelWavelengthLow, 'm', locale);
  const high = siText(light.modelWavelengthHigh, 'm', locale);
  const span = low === high ? low : `${low} – ${high}`;
  const lines = [
    putIn(translate(language, Context, 'λ₁ of the model: %1 (θ %2° to %3°)'), [
      span,
      formatFixed(light.thetaLow * 180 / Math.PI, 3, 1, locale),
      formatFixed(light.thetaHigh * 180 / Math.PI, 3, 1, locale),
    ]),
    putIn(translate(language, Context, 'λrad of the undulator dialog: %1'), [siText(light.dialogWavelength, 'm', locale)]),
  ];
  if (light.onAxis) lines.push(translate(language, Context, 'On the axis: odd harmonics only.'));
  return lines;
}

/** The spectrum's bins from 0 to range (cycles per tick) gathered into columns: each column's
 * highest powerHeight, -1 for a column no bin falls in. Bins are closer than a pixel at the
 * longer traces: the largest keeps a line from vanishing between them. */
export function spectrumColumns(frequency: ArrayLike<number>, power: ArrayLike<number>, range: number,
                                columns: number, log: boolean): number[] {
  const heights: number[] = new Array(Math.max(0, columns)).fill(-1);
  if (!(range > 0) || columns < 1) return heights;
  for (let k = 0; k < frequency.length; ++k) {
    const f = frequency[k]!;
    if (!(f >= 0) || f > range) continue;
    const column = Math.min(columns - 1, Math.floor((f / range) * columns));
    heights[column] = Math.max(heights[column]!, powerHeight(power[k]!, log));
  }
  return heights;
}
