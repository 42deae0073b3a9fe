// SPDX-License-Identifier: GPL-3.0-or-later
// The main plot's view moved by the user: the wheel (and a trackpad's pinch, which comes as
// ctrl+wheel) zooms about the pointer, two fingers pinch and pan, the keys zoom and pan through
// zoom() and pan(). One finger stays the charge's drag, which the page handles; a second finger
// ends that drag and begins the pinch.
import type { PlotRange } from '../generated/halvoran-core.js';
import {
  modelAt, panView, pinchView, rangeOf, viewOf, wheelFactor, zoomView,
  type PlotShare, type PlotView,
} from './plot-range';

export interface PlotNavigation {
  /** The range to draw at that size; undefined while the view is the start-up one. */
  range(width: number, height: number): PlotRange | undefined;
  toModel(clientX: number, clientY: number): { x: number; y: number };
  /** Above 1 closer; about the plot's centre where no point is given. */
  zoom(factor: number, aboutClientX?: number, aboutClientY?: number): void;
  /** Moves the view right by dxShare of the width and up by dyShare of the height. */
  pan(dxShare: number, dyShare: number): void;
  reset(): void;
  /** The view as wide as range about its centre, the height following the plot's shape. */
  show(range: PlotRange): void;
  attach(isDraggingCharge: () => boolean): void;
}

interface Pinch {
  start: PlotView;
  anchor: { x: number; y: number };
  distance: number;
}

export function createPlotNavigation(
    canvas: HTMLCanvasElement,
    defaultRange: (width: number, height: number) => PlotRange): PlotNavigation {
  let moved: PlotView | null = null;
  // Touches on the plot by pointer id, client pixels.
  const touches = new Map<number, { x: number; y: number }>();
  let pinch: Pinch | null = null;
  // Set while the charge's drag is ended by a cancel of our own, which is no lift of a finger.
  let endingDrag = false;

  const box = () => canvas.getBoundingClientRect();
  const current = (width: number, height: number) =>
      moved ?? viewOf(defaultRange(width, height));
  const shareOf = (clientX: number, clientY: number): PlotShare => {
    const b = box();
    return {
      x: b.width > 0 ? (clientX - b.left) / b.width : 0.5,
      y: b.height > 0 ? (clientY - b.top) / b.height : 0.5,
    };
  };

  function zoom(factor: number, aboutClientX?: number, aboutClientY?: number) {
    const b = box();
    const share = aboutClientX === undefined || aboutClientY === undefined
        ? { x: 0.5, y: 0.5 } : shareOf(aboutClientX, aboutClientY);
    moved = zoomView(current(b.width, b.height), factor, share, b.width, b.height);
  }

  function twoTouches() {
    const [a, b] = [...touches.values()];
    return {
      distance: Math.hypot(b.x - a.x, b.y - a.y),
      midX: (a.x + b.x) / 2,
      midY: (a.y + b.y) / 2,
    };
  }

  function beginPinch() {
    const b = box();
    const start = current(b.width, b.height);
    const { distance, midX, midY } = twoTouches();
    pinch = { start, anchor: modelAt(start, shareOf(midX, midY), b.width, b.height), distance };
  }

  function attach(isDraggingCharge: () => boolean) {
    // The browser's own pinch zoom and scrolling would move the page instead of the plot.
    canvas.style.touchAction = 'none';

    canvas.addEventListener('wheel', (event) => {
      event.preventDefault();
      zoom(wheelFactor(event.deltaY, event.deltaMode, event.ctrlKey), event.clientX, event.clientY);
    }, { passive: false });

    // Captured on the way down, so that a second finger never reaches the page's drag handler,
    // whichever of the two listens first.
    canvas.addEventListener('pointerdown', (event) => {
      if (event.pointerType !== 'touch') return;
      if (touches.size >= 2) {
        // A third finger changes nothing.
        event.stopImmediatePropagation();
        return;
      }
      touches.set(event.pointerId, { x: event.clientX, y: event.clientY });
      if (touches.size < 2) return;
      event.stopImmediatePropagation();
      event.preventDefault();
      try {
        canvas.setPointerCapture(event.pointerId);
      } catch {
        // A pointer the browser no longer knows as down: the pinch goes on without the capture.
      }
      if (isDraggingCharge()) {
        // The drag ends as it ends when the system takes a touch away.
        endingDrag = true;
        try {
          for (const id of touches.keys()) {
            if (id === event.pointerId) continue;
            canvas.dispatchEvent(new PointerEvent('pointercancel', {
              pointerId: id, pointerType: 'touch', bubbles: true,
            }));
          }
        } finally {
          endingDrag = false;
        }
      }
      beginPinch();
    }, { capture: true });

    canvas.addEventListener('pointermove', (event) => {
      const touch = touches.get(event.pointerId);
      if (!touch) return;
      touch.x = event.clientX;
      touch.y = event.clientY;
      if (!pinch || touches.size < 2) return;
      const b = box();
      const { distance, midX, midY } = twoTouches();
      moved = pinchView(pinch.start, pinch.anchor, distance / pinch.distance,
                        shareOf(midX, midY), b.width, b.height);
    });

    const lift = (event: PointerEvent) => {
      if (endingDrag || !touches.delete(event.pointerId)) return;
      // The finger left behind does not drag the charge: the pinch is over once both are up.
      if (touches.size < 2) pinch = null;
    };
    canvas.addEventListener('pointerup', lift);
    canvas.addEventListener('pointercancel', lift);
  }

  return {
    range(width, height) {
      return moved ? rangeOf(moved, width, height) : undefined;
    },
    toModel(clientX, clientY) {
      const b = box();
      return modelAt(current(b.width, b.height), shareOf(clientX, clientY), b.width, b.height);
    },
    zoom,
    pan(dxShare, dyShare) {
      const b = box();
      moved = panView(current(b.width, b.height), dxShare, dyShare, b.width, b.height);
    },
    reset() {
      moved = null;
      pinch = null;
    },
    show(range) {
      moved = viewOf(range);
      pinch = null;
    },
    attach,
  };
}
