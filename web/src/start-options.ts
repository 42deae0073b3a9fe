// SPDX-License-Identifier: GPL-3.0-or-later
// The options the address asked for, applied to a simulation through the core's commands; the
// core checks each one, the page only passes the values through.
import type { CommandOptions, DisplayChange, Refusal, Simulation } from './generated/halvoran-core.js';

export interface PageRun {
  /** Ticks to run before pausing; null: run on. */
  ticks: number | null;
  /** The canvas in CSS pixels; null: the window's. */
  size: { width: number; height: number } | null;
  /** Device pixels per CSS pixel; null: the window's devicePixelRatio. */
  pixelRatio: number | null;
}

type Commands = Pick<Simulation, 'chooseTrajectory' | 'chooseModelSize' | 'setDisplay' | 'modelSize'>;

/** The first refusal, with the commands after it not given; null where all were accepted. */
export function applyOptions(simulation: Commands, options: CommandOptions): Refusal | null {
  if (options.iSize !== null && options.jSize !== null) {
    // A model given as IxJ keeps the rows between drawn wavefronts of the model in force.
    const spacing = options.waveFrontSpacing ?? simulation.modelSize().waveFrontSpacing;
    const refusal = simulation.chooseModelSize(options.iSize, options.jSize, spacing);
    if (refusal) return refusal;
  }
  const trajectory = simulation.chooseTrajectory(options.trajectoryMode, {});
  if (trajectory) return trajectory;
  // Only what the address names changes: the rest keeps the start-up display.
  const display: DisplayChange = {};
  if (options.waveFronts) display.ShowWaveFronts = true;
  if (options.nodePoints) display.ShowNodePoints = true;
  if (options.fieldArrows) display.ShowFieldVectors = true;
  if (!options.fieldLines) display.ShowFieldLines = false;
  if (options.smooth !== null) display.SmoothLines = options.smooth;
  if (options.caption !== null) display.ShowCaption = options.caption;
  if (options.theme !== null) display.Theme = options.theme;
  // The eye shown where the address puts it, its other settings as they start.
  if (options.observer !== null) display.Observer = { Shown: true, Place: options.observer };
  return simulation.setDisplay(display);
}

export function pageRun(options: CommandOptions): PageRun {
  return { ticks: options.ticks, size: options.size, pixelRatio: options.pixelRatio };
}
