// SPDX-License-Identifier: GPL-3.0-or-later
// The magnified view's scale as its buttons change it and its caption shows it.
import { formatFixed, PointLocale, type NumberLocale } from '../dialogs/number-text';

/** "x " and the scale to 4 significant digits with 2 decimals ("x 16.00", "x 22.62"); beyond 4
 * integer digits in scientific notation ("x 1.235E+04"). */
export function scaleCaption(scale: number, locale: NumberLocale = PointLocale): string {
  return `x ${formatFixed(scale, 4, 2, locale)}`;
}

/** The press a key of the view stands for: "+" (or "=", its key unshifted) in, "-" out. */
export function zoomKey(key: string): 'in' | 'out' | null {
  if (key === '+' || key === '=') return 'in';
  if (key === '-') return 'out';
  return null;
}
