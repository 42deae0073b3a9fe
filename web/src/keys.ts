// SPDX-License-Identifier: GPL-3.0-or-later
// The page's keys: the desktop's shortcuts from its table (Ctrl+S, Ctrl+P, F11, R, Space, S),
// the arrows that move the charge in mouse mode and pan the plot otherwise, + and - to zoom and
// 0 for the whole plot again. Keys belong to whatever has them first: a text field, an open
// dialog, the menu bar.
import type { ShortcutRow } from 'virtual:halvoran-catalogue';
import { shortcutRows } from './i18n/catalogue';
import { ItemsThePageHides } from './menu/menu-model';

/** One press of + magnifies by this factor, one of - shrinks by it. */
export const ZoomStep = 1.25;
/** One press of an arrow pans by this share of the plot's width or height. */
export const PanShare = 0.1;

// Held down, only single steps repeat: a held Space would run and pause by turns, a held Ctrl+S
// would ask again and again.
const RepeatingCommands: readonly string[] = ['MnuStep'];

export interface KeyPress {
  key: string;
  ctrlKey: boolean;
  metaKey: boolean;
  altKey: boolean;
  shiftKey: boolean;
  repeat: boolean;
}

export type KeyAction =
  | { command: string }
  /** A command's key held down: kept from the browser, but not given again. */
  | { held: string }
  | { nudge: [number, number] }
  | { pan: [number, number] }
  | { zoom: number }
  | { resetView: true };

interface Chord {
  name: string;
  key: string;
  control: boolean;
  shift: boolean;
  alt: boolean;
}

// Qt's portable text ("Ctrl+S", "F11", "Space", "R") as the key a browser reports, lower case.
export function chordOf(row: ShortcutRow): Chord {
  const parts = row.keys.split('+');
  const last = parts.pop()!;
  const chord = { name: row.name, key: last === 'Space' ? ' ' : last.toLowerCase(), control: false, shift: false, alt: false };
  for (const modifier of parts) {
    if (modifier === 'Ctrl') chord.control = true;
    else if (modifier === 'Shift') chord.shift = true;
    else if (modifier === 'Alt') chord.alt = true;
    else throw new Error(`${row.name}: the key ${row.keys} has the modifier ${modifier}`);
  }
  return chord;
}

const Arrows: Record<string, [number, number]> = {
  ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, 1], ArrowDown: [0, -1],
};

/** What a key press asks of the page; null where it is not one of the page's keys. Arrows give
 * steps with y up; Ctrl is Command on a Mac. */
export function keyAction(press: KeyPress, mouseMode: boolean,
                          rows: readonly ShortcutRow[] = shortcutRows): KeyAction | null {
  const control = press.ctrlKey || press.metaKey;
  const key = press.key.toLowerCase();
  for (const row of rows) {
    if (ItemsThePageHides.includes(row.name)) continue;
    const chord = chordOf(row);
    if (chord.key !== key || chord.control !== control || chord.shift !== press.shiftKey || chord.alt !== press.altKey)
      continue;
    if (press.repeat && !RepeatingCommands.includes(row.name)) return { held: row.name };
    return { command: row.name };
  }
  // The plot's own keys take no Ctrl or Alt: with them + and - are the browser's zoom.
  if (control || press.altKey) return null;
  const arrow = Arrows[press.key];
  if (arrow && !press.shiftKey) {
    return mouseMode ? { nudge: arrow } : { pan: [arrow[0] * PanShare, arrow[1] * PanShare] };
  }
  if (press.key === '+' || press.key === '=') return { zoom: ZoomStep };
  if (press.key === '-') return { zoom: 1 / ZoomStep };
  if (press.key === '0' && !press.repeat) return { resetView: true };
  return null;
}

interface FocusedElement {
  tagName: string;
  isContentEditable?: boolean;
  closest(selector: string): unknown;
}

/** Whether the element that has focus keeps key to itself: a field one types in (or moves with
 * arrows), the menu bar, or a button Space presses. */
export function focusKeepsKey(focused: FocusedElement | null, key: string): boolean {
  if (!focused) return false;
  const tag = focused.tagName.toUpperCase();
  if (tag === 'INPUT' || tag === 'TEXTAREA' || tag === 'SELECT' || focused.isContentEditable) return true;
  if (focused.closest('[role="menubar"]')) return true;
  return key === ' ' && (tag === 'BUTTON' || Boolean(focused.closest('button, [role="button"]')));
}

export interface ShortcutOptions {
  isMouseMode(): boolean;
  /** Moves the charge by (dx, dy) steps, y up. */
  nudgeCharge(dx: number, dy: number): void;
  /** Magnifies the plot by factor. */
  zoom(factor: number): void;
  /** Moves the view by shares of the plot's width and height, y up. */
  pan(dxShare: number, dyShare: number): void;
  resetView(): void;
}

/** Listens for the page's keys on target; gives the function that stops listening. */
export function bindShortcuts(target: Window, onCommand: (name: string) => void,
                              options: ShortcutOptions): () => void {
  const listener = (event: KeyboardEvent) => {
    if (event.defaultPrevented || event.isComposing) return;
    const document = target.document;
    if (document.querySelector('dialog[open]')) return;
    if (focusKeepsKey(document.activeElement as FocusedElement | null, event.key)) return;
    const action = keyAction(event, options.isMouseMode());
    if (!action) return;
    event.preventDefault();
    if ('command' in action) onCommand(action.command);
    else if ('held' in action) return;
    else if ('nudge' in action) options.nudgeCharge(...action.nudge);
    else if ('pan' in action) options.pan(...action.pan);
    else if ('zoom' in action) options.zoom(action.zoom);
    else options.resetView();
  };
  target.addEventListener('keydown', listener);
  return () => target.removeEventListener('keydown', listener);
}
