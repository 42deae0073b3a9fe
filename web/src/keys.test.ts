// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, test } from 'vitest';
import { PanShare, ZoomStep, bindShortcuts, focusKeepsKey, keyAction, type KeyPress } from './keys';

const press = (key: string, more: Partial<KeyPress> = {}): KeyPress =>
  ({ key, ctrlKey: false, metaKey: false, altKey: false, shiftKey: false, repeat: false, ...more });

describe('the page\'s keys', () => {
  test.each<[string, KeyPress, boolean, unknown]>([
    ['Ctrl+S', press('s', { ctrlKey: true }), false, { command: 'MnuSavePicture' }],
    ['Command+S on a Mac', press('s', { metaKey: true }), false, { command: 'MnuSavePicture' }],
    ['F11', press('F11'), false, { command: 'MnuFullScreen' }],
    ['R', press('r'), true, { command: 'MnuReset' }],
    ['Space', press(' '), false, { command: 'MnuRunPause' }],
    ['S held down steps on', press('s', { repeat: true }), false, { command: 'MnuStep' }],
    ['Space held down is not given again', press(' ', { repeat: true }), false, { held: 'MnuRunPause' }],
    ['Ctrl+S held down', press('s', { ctrlKey: true, repeat: true }), false, { held: 'MnuSavePicture' }],
    // A page does not close its tab.
    ['Ctrl+Q', press('q', { ctrlKey: true }), false, null],
    ['Shift+R', press('R', { shiftKey: true }), false, null],
    ['Ctrl+R reloads', press('r', { ctrlKey: true }), false, null],
    ['Right in mouse mode', press('ArrowRight'), true, { nudge: [1, 0] }],
    ['Down held in mouse mode', press('ArrowDown', { repeat: true }), true, { nudge: [0, -1] }],
    ['Down on a path', press('ArrowDown'), false, { pan: [0, -PanShare] }],
    ['+', press('+', { shiftKey: true }), false, { zoom: ZoomStep }],
    ['-', press('-'), true, { zoom: 1 / ZoomStep }],
    ['Ctrl+- is the browser\'s zoom', press('-', { ctrlKey: true }), false, null],
    ['0', press('0'), false, { resetView: true }],
    ['x', press('x'), false, null],
  ])('%s', (_case, given, mouseMode, expected) => {
    expect(keyAction(given, mouseMode)).toEqual(expected);
  });
});

describe('who has the keys', () => {
  const focused = (tagName: string, inside = '', isContentEditable = false) =>
    ({ tagName, isContentEditable, closest: (selector: string) => (inside !== '' && selector.includes(inside) ? {} : null) });
  test.each([
    [null, 'r', false],
    [focused('BODY'), ' ', false],
    [focused('CANVAS'), 'ArrowLeft', false],
    [focused('INPUT'), 'r', true],
    [focused('DIV', '', true), 's', true],
    [focused('DIV', 'menubar'), 'ArrowDown', true],
    [focused('BUTTON'), ' ', true],
    [focused('SPAN', 'button'), ' ', true],
  ])('%j, %s: %s', (element, key, kept) => {
    expect(focusKeepsKey(element, key)).toBe(kept);
  });
});

describe('the listener on the window', () => {
  function fakeWindow(dialogOpen = false) {
    const listeners = new Set<(event: KeyboardEvent) => void>();
    const target = {
      document: { activeElement: null, querySelector: (s: string) => (s === 'dialog[open]' && dialogOpen ? {} : null) },
      addEventListener: (_type: string, listener: (event: KeyboardEvent) => void) => listeners.add(listener),
      removeEventListener: (_type: string, listener: (event: KeyboardEvent) => void) => listeners.delete(listener),
    };
    const send = (given: KeyPress) => {
      const event = { ...given, defaultPrevented: false, isComposing: false, preventDefault() { event.defaultPrevented = true; } };
      for (const listener of listeners) listener(event as unknown as KeyboardEvent);
      return event.defaultPrevented;
    };
    return { target: target as unknown as Window, send, listeners };
  }

  function bound(dialogOpen = false) {
    const calls: unknown[][] = [];
    const fake = fakeWindow(dialogOpen);
    const unbind = bindShortcuts(fake.target, (name) => calls.push(['command', name]), {
      isMouseMode: () => true,
      nudgeCharge: (dx, dy) => calls.push(['nudge', dx, dy]),
      zoom: (factor) => calls.push(['zoom', factor]),
      pan: (dx, dy) => calls.push(['pan', dx, dy]),
      resetView: () => calls.push(['reset']),
    });
    return { ...fake, calls, unbind };
  }

  test('each key reaches its handler and is kept from the browser', () => {
    const { send, calls } = bound();
    expect([send(press(' ')), send(press('ArrowLeft')), send(press('-')), send(press('0')), send(press('x'))])
      .toEqual([true, true, true, true, false]);
    expect(send(press(' ', { repeat: true }))).toBe(true);
    expect(calls).toEqual([['command', 'MnuRunPause'], ['nudge', -1, 0], ['zoom', 1 / ZoomStep], ['reset']]);
  });

  test('nothing while a dialog is open, nothing once unbound', () => {
    const open = bound(true);
    expect(open.send(press('r'))).toBe(false);
    expect(open.calls).toEqual([]);
    const closed = bound();
    closed.unbind();
    expect(closed.listeners.size).toBe(0);
  });
});
