// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers shown in and read from the dialogs' boxes, as the desktop's boxes show and read them:
// the locale's decimal separator, no grouping, rounding of the exact binary value half to even
// (as the C library prints), and strict conversions back that name the text they refuse.

/** How the user's locale writes numbers (Intl's decimal and group parts). */
export interface NumberLocale {
  decimal: string;
  group: string;
}

export const PointLocale: NumberLocale = { decimal: '.', group: ',' };

/** The separators of a BCP 47 tag; the point ones where Intl does not know the tag. */
export function numberLocale(tag: string | undefined): NumberLocale {
  try {
    const parts = new Intl.NumberFormat(tag, { useGrouping: true }).formatToParts(1234567.5);
    const part = (type: string, fallback: string) =>
        parts.find((p) => p.type === type)?.value ?? fallback;
    return { decimal: part('decimal', '.'), group: part('group', ',') };
  } catch {
    return PointLocale;
  }
}

/** A sentence of the catalogue's context "Messages" with the values for %1, %2, ... */
export interface NumberMessage {
  source: string;
  args: string[];
}

export type NumberReading = { value: number; message?: never } | { value?: never; message: NumberMessage };

export const NotAFloat = "'%1' is not a valid floating point value";
export const NotAnInteger = "'%1' is not a valid integer value";
export const ReadTwoWays = "'%1' can be read in two ways: write the decimal separator as %2";

// The exact value of a double as 0.digits x 10^point: every double has a finite decimal
// expansion, m x 2^e = m x 5^-e / 10^-e for e < 0.
interface Decimal {
  digits: string;
  point: number;
}

function exactDecimal(magnitude: number): Decimal {
  if (magnitude === 0) return { digits: '', point: 1 };
  const view = new DataView(new ArrayBuffer(8));
  view.setFloat64(0, magnitude);
  const bits = view.getBigUint64(0);
  const biased = Number((bits >> 52n) & 0x7ffn);
  const fraction = bits & ((1n << 52n) - 1n);
  const mantissa = biased === 0 ? fraction : fraction | (1n << 52n);
  const exponent = (biased === 0 ? 1 : biased) - 1075;
  let digits: string;
  let point: number;
  if (exponent >= 0) {
    digits = (mantissa << BigInt(exponent)).toString();
    point = digits.length;
  } else {
    digits = (mantissa * 5n ** BigInt(-exponent)).toString();
    point = digits.length + exponent;
  }
  const significant = digits.replace(/0+$/, '');
  return { digits: significant, point };
}

// Rounded to keep leading digits, half to even.
function roundDigits(value: Decimal, keep: number): Decimal {
  const { digits, point } = value;
  if (keep >= digits.length) return value;
  if (keep < 0) return { digits: '', point };
  const first = digits.charCodeAt(keep) - 48;
  const beyond = /[1-9]/.test(digits.slice(keep + 1));
  const lastKept = keep > 0 ? digits.charCodeAt(keep - 1) - 48 : 0;
  const up = first > 5 || (first === 5 && (beyond || lastKept % 2 === 1));
  let kept = digits.slice(0, keep);
  if (!up) return { digits: kept.replace(/0+$/, ''), point };
  // "0999" + 1: the carry runs to the left; a carry out of the first digit adds one in front.
  let i = kept.length - 1;
  while (i >= 0 && kept[i] === '9') --i;
  if (i < 0) return { digits: '1', point: point + 1 };
  kept = kept.slice(0, i) + String.fromCharCode(kept.charCodeAt(i) + 1);
  return { digits: kept, point };
}

// The digits in fixed point with exactly decimals decimals (already rounded there).
function writeFixed(value: Decimal, decimals: number): string {
  const { digits, point } = value;
  const integer = point > 0 ? digits.slice(0, point).padEnd(point, '0') : '0';
  const fraction = (point < 0 ? '0'.repeat(-point) + digits : digits.slice(Math.max(point, 0)))
      .padEnd(decimals, '0').slice(0, decimals);
  return decimals > 0 ? `${integer}.${fraction}` : integer;
}

function scientific(magnitude: number, significantDigits: number): string {
  const rounded = roundDigits(exactDecimal(magnitude), significantDigits);
  const mantissa = rounded.digits.padEnd(significantDigits, '0');
  const exponent = rounded.digits === '' ? 0 : rounded.point - 1;
  const power = String(Math.abs(exponent)).padStart(2, '0');
  const lead = significantDigits > 1 ? `${mantissa[0]}.${mantissa.slice(1)}` : mantissa;
  return `${lead}E${exponent < 0 ? '-' : '+'}${power}`;
}

function nonFinite(value: number): string {
  if (Number.isNaN(value)) return 'NAN';
  return value < 0 ? '-INF' : 'INF';
}

function withSeparator(text: string, locale: NumberLocale): string {
  return text.replace('.', locale.decimal);
}

/** A number written with a point (the form of the suggestion lists) in the locale's form. */
export function localizedNumber(pointText: string, locale: NumberLocale = PointLocale): string {
  return pointText.replaceAll('.', locale.decimal);
}

/** Rounded to significantDigits, then fixed point with exactly decimals decimals; scientific
 * where the value has more integer digits than significantDigits. */
export function formatFixed(value: number, significantDigits: number, decimals: number,
                            locale: NumberLocale = PointLocale): string {
  if (!Number.isFinite(value)) return nonFinite(value);
  const digits = Math.min(Math.max(Math.trunc(significantDigits), 1), 17);
  const places = Math.min(Math.max(Math.trunc(decimals), 0), 30);
  const negative = value < 0 || Object.is(value, -0);
  const magnitude = Math.abs(value);
  const exact = exactDecimal(magnitude);
  const rounded = roundDigits(exact, digits);
  const exponent = magnitude === 0 ? 0 : rounded.point - 1;

  let text: string;
  if (exponent + 1 > digits) {
    text = scientific(magnitude, digits);
  } else if (exponent + 1 + places <= digits) {
    // The decimals cut deeper than the significant digits: one rounding, at the last decimal.
    text = writeFixed(roundDigits(exact, exact.point + places), places);
  } else {
    text = writeFixed(rounded, places);
  }
  // A tiny negative value that rounds to zero is shown as zero, not "-0.000".
  if (negative && /[^0.]/.test(text)) text = `-${text}`;
  return withSeparator(text, locale);
}

/** Three significant digits, "E", the exponent's sign and at least two digits: "3.11E-01". */
export function formatScientific(value: number, locale: NumberLocale = PointLocale): string {
  if (!Number.isFinite(value)) return nonFinite(value);
  const text = scientific(Math.abs(value), 3);
  return withSeparator(value < 0 ? `-${text}` : text, locale);
}

const isBlank = (c: string) => c === ' ' || c === '\t';
const isDigit = (c: string) => c >= '0' && c <= '9';

// "1.500" where the locale groups thousands with points: a reader there takes it for fifteen
// hundred, while the point would be read as the decimal separator.
function looksGroupedByPoints(text: string, locale: NumberLocale): boolean {
  return locale.group === '.' && /^[ \t]*[-+]?[1-9]\d{0,2}(\.\d{3})+[ \t]*$/.test(text);
}

/** Blanks around, a sign, digits with at most one decimal separator (the locale's, or the point),
 * an optional exponent; a value beyond the doubles is refused, one below them is 0. */
export function readFloat(text: string, locale: NumberLocale = PointLocale): NumberReading {
  const refused = { message: { source: NotAFloat, args: [text] } };
  const separator = locale.decimal;
  const pointToo = separator !== '.';
  if (pointToo && looksGroupedByPoints(text, locale))
    return { message: { source: ReadTwoWays, args: [text, separator] } };
  let begin = 0;
  let end = text.length;
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;

  let plain = '';
  let i = begin;
  if (i < end && (text[i] === '+' || text[i] === '-')) plain += text[i++] === '-' ? '-' : '';
  let mantissaDigits = 0;
  let seenSeparator = false;
  while (i < end) {
    if (isDigit(text[i])) {
      plain += text[i++];
      ++mantissaDigits;
    } else if (!seenSeparator && separator !== '' && text.startsWith(separator, i) &&
               i + separator.length <= end) {
      plain += '.';
      seenSeparator = true;
      i += separator.length;
    } else if (!seenSeparator && pointToo && text[i] === '.') {
      plain += '.';
      seenSeparator = true;
      ++i;
    } else {
      break;
    }
  }
  if (mantissaDigits === 0) return refused;
  if (i < end && (text[i] === 'e' || text[i] === 'E')) {
    plain += 'e';
    ++i;
    if (i < end && (text[i] === '+' || text[i] === '-')) plain += text[i++];
    let exponentDigits = 0;
    while (i < end && isDigit(text[i])) {
      plain += text[i++];
      ++exponentDigits;
    }
    if (exponentDigits === 0) return refused;
  }
  if (i !== end) return refused;
  const value = Number(plain);
  // Number() gives infinity above the doubles (refused) and zero below them (taken).
  if (!Number.isFinite(value)) return refused;
  return { value };
}

/** Leading blanks, a sign and decimal digits within the 32-bit range; nothing else. */
export function readInteger(text: string): NumberReading {
  const refused = { message: { source: NotAnInteger, args: [text] } };
  let i = 0;
  while (i < text.length && isBlank(text[i])) ++i;
  let negative = false;
  if (i < text.length && (text[i] === '+' || text[i] === '-')) negative = text[i++] === '-';
  if (i === text.length) return refused;
  const limit = negative ? 2147483648 : 2147483647;
  let magnitude = 0;
  for (; i < text.length; ++i) {
    if (!isDigit(text[i])) return refused;
    magnitude = magnitude * 10 + (text.charCodeAt(i) - 48);
    if (magnitude > limit) return refused;
  }
  return { value: negative ? -magnitude || 0 : magnitude };
}

/** %1, %2, ... replaced in one pass, so that a value which itself holds "%2" stays as it is. */
export function fillArguments(template: string, args: readonly string[]): string {
  return template.replace(/%(\d+)/g, (whole, n: string) => args[Number(n) - 1] ?? whole);
}
