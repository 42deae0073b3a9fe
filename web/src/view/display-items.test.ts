// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, test } from 'vitest';
import type { DisplaySettings } from '../generated/halvoran-core.js';
import { DisplayItems, isDisplayItem } from './display-items';

const start: DisplaySettings = {
  ShowFieldLines: true, ShowWaveFronts: false, ShowNodePoints: false, ShowFieldVectors: false,
  SmoothLines: true, PlotResolution: 10, Zoom: { Scale: 16, Tracking: 1 }, ShowCaption: true, Theme: 0,
  ScaleUnit: { Scale: 100, Unit: 1 },
  Observer: { Shown: false, Place: { X: 0.9, Y: 0.3 }, TraceTicks: 1024, LogPower: false },
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

  test('the observer item asks for the eye shown or hidden, and nothing else of it', () => {
    const item = DisplayItems.mnuObserver!;
    expect(item.checked(start)).toBe(false);
    expect(item.toggled(start)).toEqual({ Observer: { Shown: true } });
    const shown = { ...start, Observer: { ...start.Observer, Shown: true } };
    expect(item.checked(shown)).toBe(true);
    expect(item.toggled(shown)).toEqual({ Observer: { Shown: false } });
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
