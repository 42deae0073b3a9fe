// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, test } from 'vitest';
import type { DisplaySettings } from '../generated/halvoran-core.js';
import { DisplayItems, isDisplayItem } from './display-items';

const start: DisplaySettings = {
  ShowFieldLines: true, ShowWaveFronts: false, ShowNodePoints: false, ShowFieldVectors: false,
  SmoothLines: true, PlotResolution: 10, Zoom: { Scale: 16, Tracking: 1 }, ShowCaption: true, Theme: 0,
  ScaleUnit: { Scale: 100, Unit: 1 },
};

describe('the View check items over the display', () => {
  // Each press asks for its own field only, the other way round, and the mark follows the core.
  test.each<[string, Partial<DisplaySettings>, boolean]>([
    ['mnuPlotWaveFront', { ShowWaveFronts: true }, false],
    ['mnuPlotEFieldLines', { ShowFieldLines: false }, true],
    ['mnuPlotNodePoints', { ShowNodePoints: true }, false],
    ['mnuSmoothLines', { SmoothLines: false }, true],
    ['MnuFieldMonitor', { ShowFieldVectors: true }, false],
    ['mnuShowCaption', { ShowCaption: false }, true],
    ['mnuProjectorTheme', { Theme: 1 }, false],
  ])('%s', (name, change, checkedAtStart) => {
    const item = DisplayItems[name]!;
    expect(item.checked(start)).toBe(checkedAtStart);
    expect(item.toggled(start)).toEqual(change);
    const after = { ...start, ...change };
    expect(item.checked(after)).toBe(!checkedAtStart);
    expect({ ...after, ...item.toggled(after) }).toEqual(start);
  });

  test('a theme the page has no mark for is not projector, and a press makes it so', () => {
    const odd = { ...start, Theme: 5 };
    expect(DisplayItems.mnuProjectorTheme!.checked(odd)).toBe(false);
    expect(DisplayItems.mnuProjectorTheme!.toggled(odd)).toEqual({ Theme: 1 });
  });

  test.each([['mnuShowCaption', true], ['mnuShowZoom', false], ['toString', false], ['MnuHelp', false]])(
    '%s is a display item: %s', (name, expected) => {
      expect(isDisplayItem(name)).toBe(expected);
    });
});
