// SPDX-License-Identifier: GPL-3.0-or-later
// What the setup dialogs do with their fields, apart from the page: each opens with what runs,
// edits texts, and on OK reads them all and hands the whole set to one command of the core, which
// takes it or refuses it as a whole. Nothing here decides about the model: a refusal comes from
// the core and is only carried to the dialog.
import type { DisplaySettings, ModelSize, PhysicsOptions, Refusal, Simulation } from '../generated/halvoran-core.js';
import { formatFixed, type NumberLocale, type NumberMessage, readFloat, readInteger } from './number-text';
import { messageName, type TrajectoryTable } from './setup-tables';

/** What a dialog tells the user: a refusal of the core, or a sentence of the context "Messages";
 * about names the field, put before the sentence as "about: sentence". */
export type Complaint = { about?: string; refusal: Refusal; message?: never } |
                        { about?: string; message: NumberMessage; refusal?: never };

/** accepted: the command applied, the dialog closes (after showing note where there is one).
 * Otherwise the dialog stays open: field is the one to correct (its text replaced by text where
 * given), warning says the complaint comes as a warning box. */
export type Outcome = { accepted: true; note?: string } |
                      { accepted: false; complaint?: Complaint; field?: string; text?: string; warning?: boolean };

export type Texts = Record<string, string>;

/** Each box's parameter in force rounded to six digits with three decimals. */
export function trajectoryTexts(table: TrajectoryTable, simulation: Pick<Simulation, 'trajectory'>,
                                locale: NumberLocale): Texts {
  const trajectory = simulation.trajectory();
  return Object.fromEntries(table.boxes.map((box) => [box.name, formatFixed(trajectory[box.parameter], 6, 3, locale)]));
}

// Every box is read into a candidate first, top to bottom, so that a text that is no number
// leaves the parameters in force as they were and the typed texts in place for correcting.
export function applyTrajectory(table: TrajectoryTable, texts: Texts,
                                simulation: Pick<Simulation, 'trajectory' | 'chooseTrajectory'>,
                                locale: NumberLocale): Outcome {
  const candidate = simulation.trajectory();
  for (const box of table.boxes) {
    const reading = readFloat(texts[box.name] ?? '', locale);
    if (reading.message)
      return { accepted: false, field: box.name, complaint: { about: messageName(box.caption), message: reading.message } };
    candidate[box.parameter] = reading.value;
  }
  const refusal = simulation.chooseTrajectory(table.mode, candidate);
  return refusal ? { accepted: false, complaint: { refusal } } : { accepted: true };
}

export function modelSizeTexts(size: ModelSize): Texts {
  return { List_Isize: String(size.iSize), List_Jsize: String(size.jSize) };
}

// Both are read before the command sees either: half a pair would be a model nobody asked for.
// The wavefront spacing in force is kept.
export function applyModelSize(texts: Texts, simulation: Pick<Simulation, 'modelSize' | 'chooseModelSize'>): Outcome {
  const values: number[] = [];
  for (const name of ['List_Isize', 'List_Jsize']) {
    const reading = readInteger(texts[name] ?? '');
    if (reading.message) return { accepted: false, field: name, complaint: { message: reading.message } };
    values.push(reading.value);
  }
  const refusal = simulation.chooseModelSize(values[0], values[1], simulation.modelSize().waveFrontSpacing);
  return refusal ? { accepted: false, complaint: { refusal } } : { accepted: true };
}

export const NeedInteger = 'Need Integer';


export function plotResolutionText(display: Pick<DisplaySettings, 'PlotResolution'>): string {
  return String(display.PlotResolution);
}

// A text that is no whole number gets the warning and the box the value in force again. A value
// the core finds out of its range is put in the box as the nearest end of that range (the
// refusal carries it), the dialog staying open so that the user sees what would be used.
export function applyPlotResolution(text: string,
                                    simulation: Pick<Simulation, 'display' | 'setPlotResolution'>): Outcome {
  const field = 'List_Resolution';
  const reading = readInteger(text);
  if (reading.message) {
    return { accepted: false, field, text: plotResolutionText(simulation.display()), warning: true,
             complaint: { message: { source: NeedInteger, args: [] } } };
  }
  const refusal = simulation.setPlotResolution(reading.value);
  if (!refusal) return { accepted: true };
  if (refusal.code === 'PlotResolutionRange') {
    const [least, most] = refusal.values.map(Number);
    if (Number.isFinite(least) && Number.isFinite(most))
      return { accepted: false, field, text: String(reading.value > most ? most : least) };
  }
  return { accepted: false, field, complaint: { refusal } };
}

export function applyPhysics(checks: PhysicsOptions, simulation: Pick<Simulation, 'setPhysics'>): Outcome {
  simulation.setPhysics({ ...checks });
  return { accepted: true };
}

/** The choice that shows the tracking in force; undefined for a mode the dialog does not know,
 * which leaves the choice as it is. */
export function zoomChoice(display: Pick<DisplaySettings, 'Zoom'>): number | undefined {
  const tracking = display.Zoom.Tracking;
  return [0, 1, 2].includes(tracking) ? tracking : undefined;
}

// The stored value is confirmed in a message, as the desktop does.
export function applyZoomTracking(tracking: number, simulation: Pick<Simulation, 'display' | 'setDisplay'>): Outcome {
  const refusal = simulation.setDisplay({ Zoom: { Tracking: tracking } });
  if (refusal) return { accepted: false, complaint: { refusal } };
  return { accepted: true, note: String(simulation.display().Zoom.Tracking) };
}

/** The wave speed: every move of the slider sets the speed at once; Cancel and Esc go back to
 * the position the dialog opened with. */
export class SpeedSession {
  readonly opening: number;

  constructor(private readonly simulation: Pick<Simulation, 'speedPosition' | 'setSpeedPosition'>) {
    this.opening = simulation.speedPosition();
  }

  move(position: number): Complaint | null {
    const refusal = this.simulation.setSpeedPosition(position);
    return refusal ? { refusal } : null;
  }

  cancel(): void {
    if (this.simulation.speedPosition() !== this.opening) this.simulation.setSpeedPosition(this.opening);
  }
}
