// SPDX-License-Identifier: GPL-3.0-or-later
// The dock beside the plot: the panels that are not floating stand in it, one above the other
// (side by side below a tall plot), and the plot shrinks to leave them free. It takes no room
// while none of its panels is shown.
import { dockLayout } from './dock-layout';
import './dock.css';

export interface PanelDock {
  element: HTMLElement;
  /** Puts a panel into the dock at its rank (lower ranks first). */
  take(panel: HTMLElement, rank: number): void;
}

/** room: the box holding the plot and the dock, whose size does not depend on the dock's. */
export function createDock(room: HTMLElement, dock: HTMLElement): PanelDock {
  const lay = () => {
    const layout = dockLayout({ width: room.clientWidth, height: room.clientHeight },
                              { width: window.innerWidth, height: window.innerHeight });
    room.dataset.dockSide = layout.side;
    room.style.setProperty('--dock-size', `${layout.size}px`);
  };
  new ResizeObserver(lay).observe(room);
  window.addEventListener('resize', lay);
  lay();
  return {
    element: dock,
    take(panel, rank) {
      panel.dataset.dockRank = String(rank);
      const after = Array.from(dock.children).find((child) => Number((child as HTMLElement).dataset.dockRank) > rank);
      dock.insertBefore(panel, after ?? null);
    },
  };
}
