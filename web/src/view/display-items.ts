// SPDX-License-Identifier: GPL-3.0-or-later
// The View menu's check items over display settings: what each one's mark shows of the core's
// display, and the change a press asks the core for.
import type { DisplayChange, DisplaySettings } from '../generated/halvoran-core.js';
import { DarkTheme, ProjectorTheme } from '../theme/theme';

interface DisplayItem {
  /** The mark: read from the display the core holds, never kept by the page. */
  checked(display: DisplaySettings): boolean;
  /** What a press asks the core to change. */
  toggled(display: DisplaySettings): DisplayChange;
}

export const DisplayItems: Readonly<Record<string, DisplayItem>> = {
  mnuPlotWaveFront: { checked: (d) => d.ShowWaveFronts, toggled: (d) => ({ ShowWaveFronts: !d.ShowWaveFronts }) },
  mnuPlotEFieldLines: { checked: (d) => d.ShowFieldLines, toggled: (d) => ({ ShowFieldLines: !d.ShowFieldLines }) },
  mnuPlotNodePoints: { checked: (d) => d.ShowNodePoints, toggled: (d) => ({ ShowNodePoints: !d.ShowNodePoints }) },
  mnuSmoothLines: { checked: (d) => d.SmoothLines, toggled: (d) => ({ SmoothLines: !d.SmoothLines }) },
  MnuFieldMonitor: { checked: (d) => d.ShowFieldVectors, toggled: (d) => ({ ShowFieldVectors: !d.ShowFieldVectors }) },
  mnuShowCaption: { checked: (d) => d.ShowCaption, toggled: (d) => ({ ShowCaption: !d.ShowCaption }) },
  // The eye in the picture and its panel: shown together, the panel following the display.
  mnuObserver: { checked: (d) => d.Observer.Shown, toggled: (d) => ({ Observer: { Shown: !d.Observer.Shown } }) },
  mnuProjectorTheme: {
    checked: (d) => d.Theme === ProjectorTheme,
    toggled: (d) => ({ Theme: d.Theme === ProjectorTheme ? DarkTheme : ProjectorTheme }),
  },
};

export function isDisplayItem(name: string): boolean {
  return Object.hasOwn(DisplayItems, name);
}
