// SPDX-License-Identifier: GPL-3.0-or-later
// Which radio item of the menu stands for what the simulation runs.
import type { ModelSize, TrajectoryMode } from './generated/halvoran-core.js';

const TrajectoryItems: Record<TrajectoryMode, string> = {
  1: 'MnuByMouse', 2: 'mnuStraightLine', 3: 'MnuDipole', 4: 'MnuCircle', 5: 'mnuRacetrack',
  6: 'MnuUndulator', 7: 'mnuBending',
};

export function trajectoryItem(mode: TrajectoryMode): string {
  return TrajectoryItems[mode] ?? 'MnuByMouse';
}

const same = (a: ModelSize, b: ModelSize) =>
  a.iSize === b.iSize && a.jSize === b.jSize && a.waveFrontSpacing === b.waveFrontSpacing;

/** A preset's item where the model is one, else "Any size". */
export function modelItem(size: ModelSize,
                          presets: { largest: ModelSize; medium: ModelSize; smallest: ModelSize }): string {
  if (same(size, presets.largest)) return 'MnuMdlLarge';
  if (same(size, presets.medium)) return 'MnuMdlMedium';
  if (same(size, presets.smallest)) return 'MnuMdlSmall';
  return 'MnuMdlCustom';
}
