// SPDX-License-Identifier: GPL-3.0-or-later
// The undulator dialog's working copy of the linked quantities, apart from the page. The core
// works out every edit (β with E, K with Bu, the derived values); this keeps the copy, the text of
// each box and which texts the copy stands for.
import type { HalvoranCore, Simulation, UndulatorEntry, UndulatorInput } from '../generated/halvoran-core.js';
import { formatFixed, formatScientific, type NumberLocale, readFloat, readInteger } from './number-text';
import type { Complaint, Outcome } from './setup-logic';
import { UndulatorTable } from './setup-tables';

export type UndulatorCore = Pick<HalvoranCore, 'undulatorEntry' | 'editUndulator' | 'undulatorDerived' | 'applyUndulatorEntry'>;

export const UndulatorInputs: readonly UndulatorInput[] = ['Beta', 'Energy', 'Period', 'Periods', 'K', 'Field'];

export type UndulatorTexts = Record<UndulatorInput, string>;

// Significant digits the boxes and the γ label are rounded to.
const ShownDigits = 8;

const BoxName = {} as Record<UndulatorInput, string>;
for (const row of [...UndulatorTable.electron, ...UndulatorTable.undulator])
  if ('input' in row) BoxName[row.input] = row.name;

export class UndulatorEditor {
  entry: UndulatorEntry;
  /** What each box shows. */
  texts: UndulatorTexts;
  // The text of each box that the entry stands for.
  private accepted: UndulatorTexts;

  constructor(private readonly core: UndulatorCore, simulation: Pick<Simulation, 'trajectory'>,
              private readonly locale: NumberLocale) {
    // What runs, not what an earlier opening was left with.
    this.entry = core.undulatorEntry(simulation.trajectory());
    this.texts = this.entryTexts();
    this.accepted = { ...this.texts };
  }

  /** The derived values as the labels show them, by label name. */
  labels(): Record<string, string> {
    const derived = this.core.undulatorDerived(this.entry);
    return {
      LabelGamma: formatFixed(derived.Gamma, ShownDigits, 2, this.locale),
      LabelLrad: formatScientific(derived.RadWavelengthUm, this.locale),
      LabelMaxAngle: formatScientific(derived.MaxAngle, this.locale),
      LabelAmplitude: formatScientific(derived.AmplitudeM, this.locale),
    };
  }

  /** A keystroke in a box. Most prefixes of a good value are no value ("0.", "1e"): a text that
   * is none, or that the core refuses, changes nothing and is not reported; OK reads it again.
   * Where the edit is taken, the other boxes show the copy (not the one typed in): true. */
  typed(input: UndulatorInput, text: string): boolean {
    this.texts[input] = text;
    return this.edit(input) === null;
  }

  /** An item picked from a box's list, or the text confirmed: a refusal is reported. */
  picked(input: UndulatorInput, text: string): Complaint | null {
    this.texts[input] = text;
    return this.edit(input);
  }

  /** Every box whose text the copy does not stand for is read again, so that OK never reports
   * success for values that were not all taken; then the undulator runs with the copy. */
  ok(simulation: Pick<Simulation, 'trajectory' | 'chooseTrajectory'>): Outcome {
    for (const input of UndulatorInputs) {
      if (this.texts[input] === this.accepted[input]) continue;
      const complaint = this.edit(input);
      if (complaint) return { accepted: false, field: BoxName[input], complaint };
    }
    const parameters = this.core.applyUndulatorEntry(this.entry, simulation.trajectory());
    const refusal = simulation.chooseTrajectory(6, parameters);
    return refusal ? { accepted: false, complaint: { refusal } } : { accepted: true };
  }

  private edit(input: UndulatorInput): Complaint | null {
    const text = this.texts[input];
    const reading = input === 'Periods' ? readInteger(text) : readFloat(text, this.locale);
    if (reading.message) return { message: reading.message };
    const edit = this.core.editUndulator(this.entry, input, reading.value);
    if (edit.refusal) return { refusal: edit.refusal };
    this.entry = edit.entry;
    const shown = this.entryTexts();
    for (const other of UndulatorInputs) if (other !== input) this.texts[other] = shown[other];
    this.accepted = { ...this.texts };
    return null;
  }

  // A box's value with up to decimals decimals and no trailing zeros: the path that runs opens
  // as "0.95" and "20", as the user would type it, while a worked-out partner keeps its digits.
  private boxText(value: number, decimals: number): string {
    const text = formatFixed(value, ShownDigits, decimals, this.locale);
    const separator = this.locale.decimal;
    if (!text.includes(separator) || text.includes('E')) return text;
    const trimmed = text.replace(/0+$/, '');
    return trimmed.endsWith(separator) ? trimmed.slice(0, -separator.length) : trimmed;
  }

  private entryTexts(): UndulatorTexts {
    const e = this.entry;
    return {
      Beta: this.boxText(e.Beta, 6),
      Energy: this.boxText(e.EnergyMeV, 2),
      Period: this.boxText(e.PeriodCm, 2),
      Periods: String(e.Periods),
      // K and Bu to two decimals, as on the desktop: a worked-out partner reads "1.08".
      K: this.boxText(e.K, 2),
      Field: this.boxText(e.FieldKG, 2),
    };
  }
}

export function undulatorBoxName(input: UndulatorInput): string {
  return BoxName[input];
}
