// SPDX-License-Identifier: GPL-3.0-or-later
// The Setup menu's dialogs on the page. Each opens with what runs, edits a copy, and on OK hands
// the whole set to the core's command: where the core refuses it, the dialog stays open with the
// typed texts and tells why; Cancel and Esc leave everything as it was.
import type { HalvoranCore, Simulation } from '../generated/halvoran-core.js';
import type { HelpTopic } from '../help/help-text';
import type { Language } from '../i18n/catalogue';
import { answer } from './answer';
import { createFrame, type DialogFrame, showNote, valueBox } from './dialog-frame';
import { localizedNumber, numberLocale, type NumberLocale } from './number-text';
import {
  applyModelSize, applyPhysics, applyPlotResolution, applyTrajectory, applyZoomTracking,
  modelSizeTexts, plotResolutionText, SpeedSession, type Texts,
  trajectoryTexts, zoomChoice,
} from './setup-logic';
import {
  ModelSizeTable, PhysicalModelTable, PlotResolutionTable, SpeedTable, type TrajectoryKind, TrajectoryTables,
  ZoomSetupTable,
} from './setup-tables';
import { openUndulatorDialog } from './undulator-dialog';
import { complaintText } from './wording';

export type SetupDialogKind = 'line' | 'dipole' | 'circle' | 'racetrack' | 'bending' | 'undulator' | 'modelSize' |
    'plotResolution' | 'physicalModel' | 'waveSpeed' | 'zoomSetup';

export interface DialogContext {
  core: HalvoranCore;
  simulation: Simulation;
  language: Language;
  host: HTMLElement;
  /** Opens the help text at a topic over the dialog (its Help button); none: the button does
   * nothing. */
  help?: (topic: HelpTopic) => void;
}

/** Resolves true where OK was accepted by the core (the command applied), false on Cancel/Esc. */
export function openSetupDialog(kind: SetupDialogKind, context: DialogContext): Promise<boolean> {
  // Numbers are written as the user's locale writes them, as on the desktop.
  const locale = numberLocale(navigator.language);
  switch (kind) {
    case 'undulator':
      return openUndulatorDialog(context, locale);
    case 'modelSize':
      return openModelSize(context);
    case 'plotResolution':
      return openPlotResolution(context);
    case 'physicalModel':
      return openPhysicalModel(context);
    case 'waveSpeed':
      return openWaveSpeed(context);
    case 'zoomSetup':
      return openZoomSetup(context);
    default:
      return openTrajectory(kind, context, locale);
  }
}

// A group of caption and value rows, as the desktop's framed group.
function group(frame: DialogFrame, className = 'setup-grid'): HTMLElement {
  const element = document.createElement('fieldset');
  element.className = className;
  frame.body.append(element);
  return element;
}

function textsOf(frame: DialogFrame): Texts {
  const texts: Texts = {};
  for (const input of frame.dialog.querySelectorAll<HTMLInputElement>('input[data-field]'))
    texts[input.dataset.field!] = input.value;
  return texts;
}

function okAndCancel(frame: DialogFrame, ok: () => void, middle?: { action: string; caption: string; run: () => void }) {
  frame.addButton('ok', 'OK', ok);
  if (middle) frame.addButton(middle.action, middle.caption, middle.run);
  frame.addButton('cancel', 'Cancel', () => frame.finish(false));
  frame.onEnter = ok;
}

function openTrajectory(kind: TrajectoryKind, context: DialogContext, locale: NumberLocale): Promise<boolean> {
  const table = TrajectoryTables[kind];
  const frame = createFrame(context.host, kind, table.title);
  const grid = group(frame);
  const texts = trajectoryTexts(table, context.simulation, locale);
  for (const row of table.boxes) {
    const { label, box } = valueBox({ name: row.name, caption: row.caption, mode: 'decimal', text: texts[row.name],
                                      items: row.items.map((item) => localizedNumber(item, locale)) });
    grid.append(label, box);
  }
  okAndCancel(frame, () => answer(frame, applyTrajectory(table, textsOf(frame), context.simulation, locale),
                                  context.language));
  return frame.run();
}

function openModelSize(context: DialogContext): Promise<boolean> {
  const frame = createFrame(context.host, 'modelSize', ModelSizeTable.title);
  const grid = group(frame);
  const texts = modelSizeTexts(context.simulation.modelSize());
  const { rows, lines } = ModelSizeTable;
  // The first caption runs over two lines, as on the desktop.
  const first = valueBox({ ...rows, caption: `${rows.caption} ${rows.captionLine2}`, mode: 'numeric', text: texts[rows.name] });
  first.label.textContent = '';
  first.label.append(rows.caption, document.createElement('br'), rows.captionLine2);
  const second = valueBox({ ...lines, mode: 'numeric', text: texts[lines.name] });
  grid.append(first.label, first.box, second.label, second.box);
  okAndCancel(frame, () => answer(frame, applyModelSize(textsOf(frame), context.simulation), context.language));
  return frame.run();
}

function openPlotResolution(context: DialogContext): Promise<boolean> {
  const table = PlotResolutionTable;
  const frame = createFrame(context.host, 'plotResolution', table.title);
  const grid = group(frame);
  const { label, box, input } = valueBox({ ...table, mode: 'numeric',
                                           text: plotResolutionText(context.simulation.display()) });
  grid.append(label, box);
  okAndCancel(frame, () => answer(frame, applyPlotResolution(input.value, context.simulation), context.language),
              { action: 'default', caption: 'Set Default', run: () => { input.value = String(context.core.defaults().display.PlotResolution); } });
  return frame.run();
}

function openPhysicalModel(context: DialogContext): Promise<boolean> {
  const frame = createFrame(context.host, 'physicalModel', PhysicalModelTable.title);
  const checks = group(frame, 'setup-checks');
  const physics = context.simulation.physics();
  const boxes = PhysicalModelTable.checks.map((row) => {
    const label = document.createElement('label');
    label.className = 'setup-check';
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.dataset.field = row.name;
    box.checked = physics[row.option];
    label.append(box, row.caption);
    if ('tip' in row) label.title = row.tip;
    checks.append(label);
    return { box, option: row.option };
  });
  const read = () => {
    const checked = { ...physics };
    for (const { box, option } of boxes) checked[option] = box.checked;
    return checked;
  };
  okAndCancel(frame, () => answer(frame, applyPhysics(read(), context.simulation), context.language),
              { action: 'default', caption: 'Default',
                run: () => {
                  const physics = context.core.defaults().physics;
                  for (const { box, option } of boxes) box.checked = physics[option];
                } });
  return frame.run();
}

function openWaveSpeed(context: DialogContext): Promise<boolean> {
  const frame = createFrame(context.host, 'waveSpeed', SpeedTable.title);
  const session = new SpeedSession(context.simulation);
  const panel = document.createElement('div');
  panel.className = 'setup-speed';
  const slow = document.createElement('span');
  slow.textContent = SpeedTable.slow;
  const fast = document.createElement('span');
  fast.textContent = SpeedTable.fast;
  const slider = document.createElement('input');
  slider.type = 'range';
  slider.min = String(SpeedTable.least);
  slider.max = String(SpeedTable.most);
  slider.step = '1';
  slider.value = String(session.opening);
  slider.dataset.field = 'WaveSpeed';
  // A tick at every position, as the desktop's slider has below it.
  const ticks = document.createElement('datalist');
  ticks.id = `${frame.dialog.getAttribute('aria-labelledby')}-ticks`;
  for (let position = SpeedTable.least; position <= SpeedTable.most; ++position)
    ticks.append(new Option('', String(position)));
  slider.setAttribute('list', ticks.id);
  slider.setAttribute('aria-labelledby', frame.dialog.getAttribute('aria-labelledby')!);
  const valueText = () => slider.setAttribute('aria-valuetext',
      `${slider.value} (${SpeedTable.slow} ${SpeedTable.least}, ${SpeedTable.fast} ${SpeedTable.most})`);
  valueText();
  // Every move of the thumb sets the speed at once.
  slider.addEventListener('input', () => {
    valueText();
    const complaint = session.move(Number(slider.value));
    frame.complain(complaint ? complaintText(complaint, context.language) : null);
  });
  panel.append(slow, fast, slider, ticks);
  frame.body.append(panel);
  frame.addButton('ok', 'OK', () => frame.finish(true));
  frame.onEnter = () => frame.finish(true);
  frame.onCancel = () => session.cancel();
  return frame.run(slider);
}

function openZoomSetup(context: DialogContext): Promise<boolean> {
  const table = ZoomSetupTable;
  const frame = createFrame(context.host, 'zoomSetup', table.title);
  const set = group(frame, 'setup-radios');
  const legend = document.createElement('legend');
  legend.textContent = table.group;
  set.append(legend);
  const shown = zoomChoice(context.simulation.display()) ?? 1;
  const radios = table.choices.map((choice) => {
    const label = document.createElement('label');
    label.className = 'setup-check';
    const radio = document.createElement('input');
    radio.type = 'radio';
    radio.name = `${frame.dialog.getAttribute('aria-labelledby')}-tracking`;
    radio.dataset.field = choice.name;
    radio.checked = choice.tracking === shown;
    label.append(radio, choice.caption);
    set.append(label);
    return { radio, tracking: choice.tracking };
  });
  let busy = false;
  const ok = async () => {
    if (busy) return;
    const tracking = radios.find(({ radio }) => radio.checked)?.tracking ?? 0;
    const outcome = applyZoomTracking(tracking, context.simulation);
    if (outcome.accepted && outcome.note !== undefined) {
      busy = true;
      await showNote(context.host, 'Halvoran Radiation', outcome.note);
      busy = false;
    }
    answer(frame, outcome, context.language);
  };
  okAndCancel(frame, () => void ok());
  return frame.run(radios.find(({ radio }) => radio.checked)?.radio);
}
