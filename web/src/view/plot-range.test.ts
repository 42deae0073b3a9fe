// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, test } from 'vitest';
import {
  MinimumSpan, modelAt, panView, pinchView, rangeOf, viewOf, wheelFactor, zoomView, type PlotView,
} from './plot-range';

const StartUp: PlotView = { centreX: 0, centreY: 0, halfWidth: 1 };
const Centre = { x: 0.5, y: 0.5 };

describe('the view at a size of the plot', () => {
  test.each([
    // x across the width, y at the same scale; a plot without area takes height / width = 1/2.
    [StartUp, 400, 200, { xMin: -1, xMax: 1, yMin: -0.5, yMax: 0.5 }],
    [StartUp, 300, 600, { xMin: -1, xMax: 1, yMin: -2, yMax: 2 }],
    [StartUp, 0, 100, { xMin: -1, xMax: 1, yMin: -0.5, yMax: 0.5 }],
    [{ centreX: 3, centreY: -1, halfWidth: 0.5 }, 100, 100, { xMin: 2.5, xMax: 3.5, yMin: -1.5, yMax: -0.5 }],
  ])('%o at %i x %i', (view, width, height, range) => {
    expect(rangeOf(view, width, height)).toEqual(range);
    expect(viewOf(range)).toEqual(view);
  });

  test.each([
    [{ x: 0, y: 0 }, { x: -1, y: 0.5 }],
    [{ x: 1, y: 1 }, { x: 1, y: -0.5 }],
    [{ x: 0.75, y: 0.5 }, { x: 0.5, y: 0 }],
  ])('the share %o shows the model point %o', (share, point) => {
    expect(modelAt(StartUp, share, 400, 200)).toEqual(point);
  });
});

describe('zoom and pan', () => {
  test.each([
    // factor, about, the range after, at 400 x 200
    [2, Centre, { xMin: -0.5, xMax: 0.5, yMin: -0.25, yMax: 0.25 }],
    [0.5, Centre, { xMin: -2, xMax: 2, yMin: -1, yMax: 1 }],
    // About the left edge's middle: that edge stays where it is.
    [2, { x: 0, y: 0.5 }, { xMin: -1, xMax: 0, yMin: -0.25, yMax: 0.25 }],
    // About the top-right corner.
    [4, { x: 1, y: 0 }, { xMin: 0.5, xMax: 1, yMin: 0.25, yMax: 0.5 }],
    // Refused factors leave the view.
    [0, Centre, { xMin: -1, xMax: 1, yMin: -0.5, yMax: 0.5 }],
    [-2, Centre, { xMin: -1, xMax: 1, yMin: -0.5, yMax: 0.5 }],
    [Number.NaN, Centre, { xMin: -1, xMax: 1, yMin: -0.5, yMax: 0.5 }],
    [Number.POSITIVE_INFINITY, Centre, { xMin: -1, xMax: 1, yMin: -0.5, yMax: 0.5 }],
  ])('by %d about %o', (factor, about, range) => {
    expect(rangeOf(zoomView(StartUp, factor, about, 400, 200), 400, 200)).toEqual(range);
  });

  test.each([
    // The narrower axis (y on a wide plot, x on a tall one) stays MinimumSpan long.
    [400, 200, 'yMin', 'yMax'],
    [200, 400, 'xMin', 'xMax'],
  ] as const)('a zoom without end stops at the least span at %i x %i', (width, height, low, high) => {
    const about = { x: 0.3, y: 0.6 };
    const anchor = modelAt(StartUp, about, width, height);
    let view = StartUp;
    for (let n = 0; n < 80; ++n) view = zoomView(view, 10, about, width, height);
    const range = rangeOf(view, width, height);
    // To the rounding of the ends, which lie near 0.3 model units.
    expect(Math.abs((range[high] - range[low]) / MinimumSpan - 1)).toBeLessThan(1e-6);
    // The point zoomed about has stayed under the pointer.
    const kept = modelAt(view, about, width, height);
    expect(Math.abs(kept.x - anchor.x)).toBeLessThan(MinimumSpan / 1e3);
    expect(Math.abs(kept.y - anchor.y)).toBeLessThan(MinimumSpan / 1e3);
  });

  test('a zoom out that would leave the numbers keeps the view', () => {
    let view = StartUp;
    for (let n = 0; n < 400; ++n) view = zoomView(view, 0.1, { x: 0.2, y: 0.9 }, 400, 200);
    expect(Object.values(rangeOf(view, 400, 200)).every(Number.isFinite)).toBe(true);
  });

  test.each([
    [0.25, 0, { xMin: -0.5, xMax: 1.5, yMin: -0.5, yMax: 0.5 }],
    [0, 0.5, { xMin: -1, xMax: 1, yMin: 0, yMax: 1 }],
    [-1, -1, { xMin: -3, xMax: -1, yMin: -1.5, yMax: -0.5 }],
  ])('a pan by %d, %d of the plot', (dx, dy, range) => {
    expect(rangeOf(panView(StartUp, dx, dy, 400, 200), 400, 200)).toEqual(range);
  });
});

describe('two fingers', () => {
  test.each([
    // spread, the midpoint's share now, the range after (400 x 200)
    // Apart to twice their distance without moving: a zoom about the midpoint.
    [2, Centre, { xMin: -0.5, xMax: 0.5, yMin: -0.25, yMax: 0.25 }],
    // Moved together to the right edge: a pan that keeps the anchor (0, 0) under them.
    [1, { x: 1, y: 0.5 }, { xMin: -2, xMax: 0, yMin: -0.5, yMax: 0.5 }],
    // Closer together and up: the view widens and the anchor follows the fingers.
    [0.5, { x: 0.5, y: 0 }, { xMin: -2, xMax: 2, yMin: -2, yMax: 0 }],
    // Fingers on one spot give no spread: the view stays.
    [0, { x: 1, y: 1 }, { xMin: -1, xMax: 1, yMin: -0.5, yMax: 0.5 }],
  ])('spread %d to %o', (spread, share, range) => {
    const view = pinchView(StartUp, { x: 0, y: 0 }, spread, share, 400, 200);
    expect(rangeOf(view, 400, 200)).toEqual(range);
  });
});

describe('the wheel', () => {
  test.each([
    // A notch of a mouse wheel either way: inverse magnifications.
    [-100, 0, false, 1.2214],
    [100, 0, false, 0.8187],
    // Lines count as 40 pixels.
    [-3, 1, false, 1.2712],
    // A trackpad pinch: small steps, larger effect.
    [-10, 0, true, 1.1052],
    // A burst is cut at ten times.
    [-1e6, 0, false, 10],
    [1e6, 2, true, 0.1],
    [Number.NaN, 0, false, 1],
  ])('deltaY %d in mode %i (ctrl %s)', (deltaY, mode, ctrl, factor) => {
    expect(wheelFactor(deltaY, mode, ctrl)).toBeCloseTo(factor, 4);
  });
});
