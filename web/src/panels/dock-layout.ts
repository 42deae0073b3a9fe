// SPDX-License-Identifier: GPL-3.0-or-later
// How much of the plot's room the docked panels take: a column at the right of a wide plot, a
// row below a tall one, wide enough for the panels to be read but never so wide that the plot
// keeps less than MinPlotShare of the window, where that can be had at all.

export interface Size {
  width: number;
  height: number;
}

export type DockSide = 'right' | 'bottom';

export interface DockLayout {
  side: DockSide;
  /** CSS pixels across the dock: its width at the right, its height below. */
  size: number;
}

/** The share of the plot's room the dock asks for first. */
export const DockShare = 0.3;
/** Narrower than this, the power pattern's two choices and the zoom's buttons no longer fit. */
export const MinDockSize = 200;
/** Wider than this, the panels only grow their black margins. */
export const MaxDockSize = 360;
/** The least share of the window's area the plot keeps beside the dock. */
export const MinPlotShare = 0.6;

/** The dock in room (the plot with the dock beside it, CSS pixels) of a window of size view. */
export function dockLayout(room: Size, view: Size): DockLayout {
  const side: DockSide = room.width >= room.height ? 'right' : 'bottom';
  const along = side === 'right' ? room.width : room.height;
  const across = side === 'right' ? room.height : room.width;
  let size = Math.min(MaxDockSize, Math.max(MinDockSize, DockShare * along));
  // The plot keeps (along - size) x across of the window's area.
  if (across > 0) {
    const most = along - (MinPlotShare * view.width * view.height) / across;
    size = Math.min(size, Math.max(MinDockSize, most));
  }
  // Never more than half the room: a plot squeezed to a sliver helps nobody.
  size = Math.min(size, Math.max(0, along / 2));
  return { side, size: Math.floor(size) };
}
