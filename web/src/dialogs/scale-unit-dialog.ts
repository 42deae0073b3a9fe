// SPDX-License-Identifier: GPL-3.0-or-later
// Setup › Scale unit: what the default plot's width stands for ("Window width is equal to" a
// scale and a unit), handed to the core on OK, which refuses what it does not know. The
// undulator and the bending magnet set their own scale: while one runs, the lists are shown but
// cannot be changed, and a sentence says why.
import type { ScaleUnit } from '../generated/halvoran-core.js';
import { translate } from '../i18n/catalogue';
import { refusalMessage } from '../refusal-message';
import { createFrame } from './dialog-frame';
import type { DialogContext } from './setup-dialogs';

// The desktop's dialog's context: its texts are translated there once it has them.
const Context = 'TScaleUnitDlg';

/** The lists' items: the scales and the units with the core's codes (TLengthUnit). */
export const ScaleUnitTable = {
  title: 'Scale Unit',
  sentence: 'Window width is equal to',
  scales: [1, 10, 100],
  units: [{ code: 0, text: 'km' }, { code: 1, text: 'm' }, { code: 2, text: 'mm' }],
  fixedNote: 'The undulator and the bending magnet set their own scale: the plot is 2 m wide.',
  /** The paths that set their own scale (TrajectoryMode). */
  fixedModes: [6, 7],
} as const;

/** The scale unit the lists show: the one in force, their first items where it is not one of
 * theirs (the core would not have taken it). */
export function shownScaleUnit(unit: ScaleUnit): { scale: number; unit: number } {
  const scales: readonly number[] = ScaleUnitTable.scales;
  const units: readonly number[] = ScaleUnitTable.units.map((u) => u.code);
  return { scale: scales.includes(unit.Scale) ? unit.Scale : scales[0]!,
           unit: units.includes(unit.Unit) ? unit.Unit : units[0]! };
}

/** Resolves true where the core took the scale unit, false on Cancel or Esc (nothing changed). */
export function openScaleUnitDialog(context: DialogContext): Promise<boolean> {
  const text = (source: string) => translate(context.language, Context, source);
  const frame = createFrame(context.host, 'scaleUnit', text(ScaleUnitTable.title));
  const fixed = (ScaleUnitTable.fixedModes as readonly number[]).includes(context.simulation.trajectoryMode());
  const shown = shownScaleUnit(context.simulation.display().ScaleUnit);

  const row = document.createElement('fieldset');
  row.className = 'scale-unit-row';
  const legendId = `${frame.dialog.getAttribute('aria-labelledby')}-sentence`;
  const sentence = document.createElement('span');
  sentence.id = legendId;
  sentence.className = 'setup-caption';
  sentence.textContent = text(ScaleUnitTable.sentence);
  const list = (name: string, items: readonly { value: number; text: string }[], chosen: number) => {
    const select = document.createElement('select');
    select.dataset.field = name;
    select.setAttribute('aria-labelledby', legendId);
    for (const item of items) select.append(new Option(item.text, String(item.value), false, item.value === chosen));
    select.disabled = fixed;
    return select;
  };
  const scale = list('Scale', ScaleUnitTable.scales.map((s) => ({ value: s, text: String(s) })), shown.scale);
  const unit = list('Unit', ScaleUnitTable.units.map((u) => ({ value: u.code, text: text(u.text) })), shown.unit);
  row.append(sentence, scale, unit);
  frame.body.append(row);
  if (fixed) {
    const note = document.createElement('p');
    note.className = 'setup-note';
    note.dataset.note = 'fixed-scale';
    note.textContent = text(ScaleUnitTable.fixedNote);
    frame.body.append(note);
  }

  const ok = () => {
    if (fixed) {
      frame.finish(false);
      return;
    }
    const refusal = context.simulation.setDisplay({ ScaleUnit: { Scale: Number(scale.value), Unit: Number(unit.value) } });
    if (refusal) frame.complain(refusalMessage(refusal, context.language));
    else frame.finish(true);
  };
  frame.addButton('ok', 'OK', ok);
  frame.addButton('cancel', 'Cancel', () => frame.finish(false));
  frame.onEnter = ok;
  return frame.run(fixed ? null : scale);
}
