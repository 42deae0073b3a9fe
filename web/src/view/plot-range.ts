// SPDX-License-Identifier: GPL-3.0-or-later
// The main plot's view as the user moves it: a centre and a half-width in model units, the
// height following the plot's shape so that x and y keep one scale. Kept apart from the plot's
// size, a view survives a resize as the start-up range does (x across the width).
import type { PlotRange } from '../generated/halvoran-core.js';

/** A zoom never leaves the narrower axis shorter than this (model units). */
export const MinimumSpan = 1e-10;

export interface PlotView {
  centreX: number;
  centreY: number;
  /** Half the horizontal extent, model units. */
  halfWidth: number;
}

/** A place on the plot as shares of its size: 0 at the left and top edges, 1 at the others. */
export interface PlotShare {
  x: number;
  y: number;
}

// height / width of the plot; a size without area takes 1/2, as the start-up range does.
function aspect(width: number, height: number): number {
  return width > 0 && height > 0 ? height / width : 0.5;
}

// The least half-width that keeps both axes at least MinimumSpan long.
function leastHalfWidth(width: number, height: number): number {
  return MinimumSpan / (2 * Math.min(1, aspect(width, height)));
}

export function viewOf(range: PlotRange): PlotView {
  return {
    centreX: (range.xMin + range.xMax) / 2,
    centreY: (range.yMin + range.yMax) / 2,
    halfWidth: (range.xMax - range.xMin) / 2,
  };
}

export function rangeOf(view: PlotView, width: number, height: number): PlotRange {
  const halfHeight = view.halfWidth * aspect(width, height);
  return {
    xMin: view.centreX - view.halfWidth,
    xMax: view.centreX + view.halfWidth,
    yMin: view.centreY - halfHeight,
    yMax: view.centreY + halfHeight,
  };
}

/** The model point shown at share (y up in the model, down on the screen). */
export function modelAt(view: PlotView, share: PlotShare, width: number, height: number) {
  const halfHeight = view.halfWidth * aspect(width, height);
  return {
    x: view.centreX + (2 * share.x - 1) * view.halfWidth,
    y: view.centreY + (1 - 2 * share.y) * halfHeight,
  };
}

// The view of that half-width (raised to the least one) that shows anchor at share; the view
// as it was where the result would not be finite.
function placed(view: PlotView, anchor: { x: number; y: number }, halfWidth: number,
                share: PlotShare, width: number, height: number): PlotView {
  const half = Math.max(halfWidth, leastHalfWidth(width, height));
  const next = { centreX: anchor.x, centreY: anchor.y, halfWidth: half };
  const offset = modelAt(next, share, width, height);
  next.centreX -= offset.x - anchor.x;
  next.centreY -= offset.y - anchor.y;
  const finite = [next.centreX, next.centreY, next.halfWidth * Math.max(1, aspect(width, height))]
      .every(Number.isFinite);
  return finite ? next : view;
}

/** Magnified by factor (above 1 closer, below 1 farther) with the point at share kept in place. */
export function zoomView(view: PlotView, factor: number, share: PlotShare, width: number,
                         height: number): PlotView {
  if (!(factor > 0) || !Number.isFinite(factor)) return view;
  return placed(view, modelAt(view, share, width, height), view.halfWidth / factor, share,
                width, height);
}

/** Moved right by dxShare of the plot's width and up by dyShare of its height. */
export function panView(view: PlotView, dxShare: number, dyShare: number, width: number,
                        height: number): PlotView {
  const next = {
    centreX: view.centreX + 2 * dxShare * view.halfWidth,
    centreY: view.centreY + 2 * dyShare * view.halfWidth * aspect(width, height),
    halfWidth: view.halfWidth,
  };
  return Number.isFinite(next.centreX) && Number.isFinite(next.centreY) ? next : view;
}

/** Two fingers: the model point that lay under their first midpoint under the present one, the
 * view magnified by how far they moved apart. */
export function pinchView(start: PlotView, anchor: { x: number; y: number }, spread: number,
                          share: PlotShare, width: number, height: number): PlotView {
  if (!(spread > 0) || !Number.isFinite(spread)) return start;
  return placed(start, anchor, start.halfWidth / spread, share, width, height);
}

// Magnification per pixel of wheel turn: a notch of a mouse wheel (100 px) zooms by about 1.2;
// a trackpad's pinch comes as ctrl+wheel in small steps and wants more per pixel.
const WheelPerPixel = 0.002;
const PinchPerPixel = 0.01;
// WheelEvent.deltaMode: pixels 0, lines 1, pages 2.
const PixelsPerMode = [1, 40, 800];

/** The magnification of one wheel event: a turn away from the user (deltaY < 0) zooms in. */
export function wheelFactor(deltaY: number, deltaMode: number, ctrlKey: boolean): number {
  const pixels = deltaY * (PixelsPerMode[deltaMode] ?? 1);
  const factor = Math.exp(-pixels * (ctrlKey ? PinchPerPixel : WheelPerPixel));
  return Number.isNaN(factor) ? 1 : Math.min(Math.max(factor, 0.1), 10);
}
