// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, test } from 'vitest';
import { MaxDockSize, MinDockSize, MinPlotShare, dockLayout, type Size } from './dock-layout';

// The page's menu bar and tool bar take about this much of a window's height.
const Chrome = 57;
const roomOf = (view: Size): Size => ({ width: view.width, height: view.height - Chrome });

describe('the dock beside the plot', () => {
  test.each<[string, Size, 'right' | 'bottom', number]>([
    // 30 % of the room, within 200 .. 360 px.
    ['1024 x 768', { width: 1024, height: 768 }, 'right', 307],
    ['1920 x 1080', { width: 1920, height: 1080 }, 'right', MaxDockSize],
    ['3840 x 2160', { width: 3840, height: 2160 }, 'right', MaxDockSize],
    // Cut so that the plot keeps 60 % of the window.
    ['768 x 504', { width: 768, height: 504 }, 'right', 230],
    ['800 x 600', { width: 800, height: 600 }, 'right', 240],
    // A tall window docks below: 30 % of the height.
    ['768 x 1024', { width: 768, height: 1024 }, 'bottom', 290],
    ['504 x 768', { width: 504, height: 768 }, 'bottom', 213],
  ])('%s', (_case, view, side, size) => {
    expect(dockLayout(roomOf(view), view)).toEqual({ side, size });
  });

  test.each<[Size]>([
    [{ width: 1024, height: 768 }], [{ width: 768, height: 504 }], [{ width: 1280, height: 720 }],
    [{ width: 768, height: 1024 }], [{ width: 1366, height: 768 }],
  ])('the plot keeps 60 %% of %j', (view) => {
    const room = roomOf(view);
    const { side, size } = dockLayout(room, view);
    const plot = side === 'right' ? (room.width - size) * room.height : room.width * (room.height - size);
    expect(plot / (view.width * view.height)).toBeGreaterThanOrEqual(MinPlotShare);
    expect(size).toBeGreaterThanOrEqual(MinDockSize);
  });

  test.each<[string, Size, Size, number]>([
    // Where 60 % cannot be had the panels keep their least width; the plot has the rest.
    ['a short window', { width: 700, height: 200 }, { width: 700, height: 260 }, MinDockSize],
    // Never more than half of a very small room.
    ['a tiny room', { width: 300, height: 200 }, { width: 300, height: 260 }, 150],
    ['no room', { width: 0, height: 0 }, { width: 0, height: 0 }, 0],
  ])('%s', (_case, room, view, size) => {
    expect(dockLayout(room, view).size).toBe(size);
  });
});
