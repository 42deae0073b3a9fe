// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, test } from 'vitest';
import header from '../../../engine/DisplaySettings.h?raw';
import { ScaleUnitTable, shownScaleUnit } from './scale-unit-dialog';

describe('the scale unit the lists open with', () => {
  test.each([
    [{ Scale: 100, Unit: 1 }, { scale: 100, unit: 1 }],
    [{ Scale: 1, Unit: 0 }, { scale: 1, unit: 0 }],
    [{ Scale: 10, Unit: 2 }, { scale: 10, unit: 2 }],
    // Not one of the lists' (the core would have refused it): their first items.
    [{ Scale: 1000, Unit: 1 }, { scale: 1, unit: 1 }],
    [{ Scale: 10, Unit: 9 }, { scale: 10, unit: 0 }],
  ])('%j', (unit, shown) => {
    expect(shownScaleUnit(unit)).toEqual(shown);
  });

  // The lists offer what the core takes: its scales, and its units by their codes.
  test('the lists are the core\'s', () => {
    const scales = /ScaleUnitScales\[\]\s*=\s*\{([^}]*)\}/.exec(header)![1]!.split(',').map((s) => Number(s.trim()));
    expect(ScaleUnitTable.scales).toEqual(scales);
    const units = /enum class TLengthUnit : int \{([^}]*)\}/.exec(header)![1]!;
    expect(units.replace(/\s+/g, ' ').trim()).toBe('Kilometre = 0, Metre = 1, Millimetre = 2');
    expect(ScaleUnitTable.units.map((u) => [u.code, u.text])).toEqual([[0, 'km'], [1, 'm'], [2, 'mm']]);
  });
});
