// SPDX-License-Identifier: GPL-3.0-or-later
// The frame the page's modal dialogs share: a native <dialog> shown with showModal() over the
// page, titled, with a line for complaints and a row of buttons. Enter answers OK unless the
// focus is on a button of its own, Esc closes as Cancel, Tab goes round inside.
import './dialogs.css';

let serial = 0;

export interface DialogFrame {
  dialog: HTMLDialogElement;
  body: HTMLElement;
  /** Shows text (a complaint) in the dialog; null hides the line. */
  complain(text: string | null): void;
  addButton(action: string, caption: string, handler: () => void): HTMLButtonElement;
  /** The answer Enter gives where the focus is not on a button. */
  onEnter: () => void;
  /** Shows the dialog; resolves with the result finish() gave, false where it was closed
   * otherwise (Esc). */
  run(first?: HTMLElement | null): Promise<boolean>;
  finish(result: boolean): void;
  /** Runs where the dialog closes without finish(true): Esc, Cancel. */
  onCancel: () => void;
}

export function createFrame(host: HTMLElement, kind: string, title: string): DialogFrame {
  const id = `halvoran-dialog-${++serial}`;
  const dialog = document.createElement('dialog');
  dialog.className = 'setup-dialog';
  dialog.dataset.dialog = kind;
  dialog.setAttribute('role', 'dialog');
  dialog.setAttribute('aria-modal', 'true');
  dialog.setAttribute('aria-labelledby', `${id}-title`);

  const heading = document.createElement('h2');
  heading.id = `${id}-title`;
  heading.className = 'setup-title';
  heading.textContent = title;
  const body = document.createElement('div');
  body.className = 'setup-body';
  const message = document.createElement('p');
  message.className = 'setup-message';
  message.setAttribute('role', 'alert');
  message.hidden = true;
  const buttons = document.createElement('div');
  buttons.className = 'setup-buttons';
  dialog.append(heading, body, message, buttons);

  let result = false;
  const frame: DialogFrame = {
    dialog,
    body,
    complain(text) {
      message.textContent = text ?? '';
      message.hidden = text === null;
    },
    addButton(action, caption, handler) {
      const button = document.createElement('button');
      button.type = 'button';
      button.dataset.action = action;
      button.textContent = caption;
      button.addEventListener('click', handler);
      buttons.append(button);
      return button;
    },
    onEnter: () => {},
    onCancel: () => {},
    finish(value) {
      result = value;
      if (dialog.open) dialog.close();
    },
    run(first) {
      return new Promise<boolean>((resolve) => {
        dialog.addEventListener('close', () => {
          if (!result) frame.onCancel();
          dialog.remove();
          resolve(result);
        }, { once: true });
        host.append(dialog);
        dialog.showModal();
        const target = first ?? focusable(dialog)[0];
        target?.focus();
        if (target instanceof HTMLInputElement && target.type === 'text') target.select();
      });
    },
  };

  dialog.addEventListener('keydown', (event) => {
    if (event.key === 'Enter' && !event.isComposing && !event.altKey && !event.ctrlKey && !event.metaKey) {
      const target = event.target as HTMLElement;
      if (target instanceof HTMLButtonElement || target instanceof HTMLAnchorElement) return;
      event.preventDefault();
      frame.onEnter();
    } else if (event.key === 'Tab') {
      cycleFocus(dialog, event);
    }
  });
  return frame;
}

// What Tab reaches, in document order: of a group of radio buttons only the checked one.
function focusable(root: HTMLElement): HTMLElement[] {
  const all = Array.from(root.querySelectorAll<HTMLElement>(
      'input, select, button, a[href], [tabindex]:not([tabindex="-1"])'));
  return all.filter((element) => {
    if ((element as HTMLInputElement).disabled || element.tabIndex < 0) return false;
    if (element.closest('[hidden]')) return false;
    if (element instanceof HTMLInputElement && element.type === 'radio' && !element.checked) {
      const group = root.querySelectorAll<HTMLInputElement>(`input[type=radio][name="${element.name}"]`);
      return !Array.from(group).some((radio) => radio.checked) && group[0] === element;
    }
    return true;
  });
}

function cycleFocus(dialog: HTMLElement, event: KeyboardEvent) {
  const list = focusable(dialog);
  if (list.length === 0) return;
  const index = list.indexOf(document.activeElement as HTMLElement);
  const next = event.shiftKey ? (index <= 0 ? list.length - 1 : -1) : (index === list.length - 1 || index < 0 ? 0 : -1);
  if (next < 0) return;
  event.preventDefault();
  list[next].focus();
}

/** A message with one OK button over the page (the desktop's information box). */
export function showNote(host: HTMLElement, title: string, text: string): Promise<boolean> {
  const frame = createFrame(host, 'note', title);
  const line = document.createElement('p');
  line.className = 'setup-note';
  line.textContent = text;
  frame.body.append(line);
  const ok = frame.addButton('ok', 'OK', () => frame.finish(true));
  frame.onEnter = () => frame.finish(true);
  return frame.run(ok);
}

export interface ValueBoxOptions {
  name: string;
  caption: string;
  /** The suggestions as the page shows them. */
  items: readonly string[];
  text: string;
  /** The keyboard an on-screen keyboard offers: "decimal" or "numeric". */
  mode: 'decimal' | 'numeric';
  /** Each keystroke of the user. */
  onType?: (text: string) => void;
  /** An item picked from the list. */
  onPick?: (text: string) => void;
}

/** An editable list: a text field the user may type any value into, and beside it a list of
 * suggestions whose pick goes into the field. The label is the field's accessible name. */
export function valueBox(options: ValueBoxOptions): { label: HTMLLabelElement; box: HTMLElement; input: HTMLInputElement } {
  const id = `halvoran-field-${++serial}`;
  const label = document.createElement('label');
  label.htmlFor = id;
  label.className = 'setup-caption';
  label.textContent = options.caption.trim();
  const input = document.createElement('input');
  input.id = id;
  input.type = 'text';
  input.inputMode = options.mode;
  input.autocomplete = 'off';
  input.spellcheck = false;
  // A number needs a few dozen characters at most; the limit keeps a pasted document out of a
  // message that quotes the text.
  input.maxLength = 64;
  input.dataset.field = options.name;
  input.value = options.text;
  input.addEventListener('input', () => options.onType?.(input.value));

  const select = document.createElement('select');
  select.className = 'setup-suggestions';
  select.setAttribute('aria-label', `${options.caption.trim()}: list`);
  select.dataset.list = options.name;
  const none = document.createElement('option');
  none.value = '';
  none.textContent = '';
  none.hidden = true;
  select.append(none);
  for (const item of options.items) {
    const option = document.createElement('option');
    option.value = item;
    option.textContent = item;
    select.append(option);
  }
  select.addEventListener('change', () => {
    if (select.value === '') return;
    input.value = select.value;
    // The list shows no choice of its own: the field holds what counts.
    select.value = '';
    options.onPick?.(input.value);
    input.focus();
  });

  const box = document.createElement('div');
  box.className = 'setup-combo';
  box.append(input, select);
  return { label, box, input };
}

/** The field named name in the dialog, focused with its text selected. */
export function focusField(dialog: HTMLElement, name: string | undefined) {
  if (!name) return;
  const field = dialog.querySelector<HTMLInputElement>(`[data-field="${name}"]`);
  if (!field) return;
  field.focus();
  if (field.type === 'text') field.select();
}
