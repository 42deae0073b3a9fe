// SPDX-License-Identifier: GPL-3.0-or-later
// The undulator dialog: the orbit picture, the electron's and the undulator's groups with their
// linked pairs bracketed, the derived values live as the user types.
import type { UndulatorInput } from '../generated/halvoran-core.js';
import { createFrame, valueBox } from './dialog-frame';
import { localizedNumber, type NumberLocale } from './number-text';
import { picture } from './pictures';
import { answer } from './answer';
import type { DialogContext } from './setup-dialogs';
import { type UndulatorBox, type UndulatorLabel, UndulatorTable } from './setup-tables';
import { UndulatorEditor } from './undulator-editor';
import { complaintText } from './wording';

export function openUndulatorDialog(context: DialogContext, locale: NumberLocale): Promise<boolean> {
  const frame = createFrame(context.host, 'undulator', UndulatorTable.title);
  frame.dialog.classList.add('undulator-dialog');
  const editor = new UndulatorEditor(context.core, context.simulation, locale);
  const inputs = new Map<UndulatorInput, HTMLInputElement>();
  const outputs = new Map<string, HTMLOutputElement>();

  // Every box and label from the copy, but for the box being typed in.
  const show = (typed?: UndulatorInput) => {
    for (const [input, field] of inputs) if (input !== typed) field.value = editor.texts[input];
    const labels = editor.labels();
    for (const [name, output] of outputs) output.value = labels[name] ?? '';
  };

  const orbit = document.createElement('div');
  orbit.className = 'undulator-orbit';
  orbit.append(picture('undulator-orbit.jpg', 513, 177, ''));
  frame.body.append(orbit);

  const addGroup = (rows: (UndulatorBox | UndulatorLabel)[]) => {
    const group = document.createElement('fieldset');
    group.className = 'undulator-group';
    let row = 1;
    for (const definition of rows) {
      let caption: HTMLElement;
      let value: HTMLElement;
      if ('input' in definition) {
        const input = definition.input;
        const made = valueBox({
          name: definition.name, caption: definition.caption, text: editor.texts[input],
          mode: input === 'Periods' ? 'numeric' : 'decimal',
          items: definition.items.map((item) => localizedNumber(item, locale)),
          // A keystroke that is no value yet, or refused, changes nothing and says nothing.
          onType: (text) => { if (editor.typed(input, text)) show(input); },
          onPick: (text) => {
            const complaint = editor.picked(input, text);
            frame.complain(complaint ? complaintText(complaint, context.language) : null);
            if (!complaint) show(input);
          },
        });
        caption = made.label;
        value = made.box;
        inputs.set(input, made.input);
        if (UndulatorTable.linked.includes(input)) {
          const bracket = picture('link-bracket.jpg', 24, 60, '');
          bracket.className = 'undulator-bracket';
          bracket.style.gridRow = `${row} / span 2`;
          group.append(bracket);
        }
      } else {
        caption = document.createElement('span');
        caption.id = `${frame.dialog.getAttribute('aria-labelledby')}-${definition.name}`;
        caption.className = 'setup-caption';
        caption.textContent = definition.caption;
        const output = document.createElement('output');
        output.dataset.label = definition.name;
        output.setAttribute('aria-labelledby', caption.id);
        outputs.set(definition.name, output);
        value = output;
      }
      caption.style.gridRow = String(row);
      value.style.gridRow = String(row);
      value.classList.add('undulator-value');
      if (definition.symbol) {
        const symbol = picture(definition.symbol, 96, 24, definition.alt ?? '');
        symbol.className = 'undulator-symbol';
        symbol.style.gridRow = String(row);
        group.append(caption, symbol, value);
      } else {
        caption.classList.add('undulator-wide');
        group.append(caption, value);
      }
      ++row;
    }
    frame.body.append(group);
  };
  addGroup(UndulatorTable.electron);
  addGroup(UndulatorTable.undulator);
  show();

  const ok = () => {
    const outcome = editor.ok(context.simulation);
    if (!outcome.accepted) show();
    answer(frame, outcome, context.language);
  };
  frame.addButton('ok', 'OK', ok);
  frame.addButton('cancel', 'Cancel', () => frame.finish(false));
  // The help opens over the dialog at the undulator's heading; the dialog stays as it is.
  frame.addButton('help', 'Help', () => context.help?.('undulator'));
  frame.onEnter = ok;
  return frame.run();
}
