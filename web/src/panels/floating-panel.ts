// SPDX-License-Identifier: GPL-3.0-or-later
// The frame the page's small windows share: a box with a title bar and a close button, standing
// in the dock beside the plot, or floating over the plot (its title bar drags it, its corner
// resizes it, and it is kept inside its host, a positioned box over the plot). A button of the
// bar turns one into the other. Escape closes it while the focus is inside.
import { translate, type Language } from '../i18n/catalogue';
import type { PanelDock } from './dock';
import './floating-panel.css';

/** What the page holds of a panel: shown or not, drawn after each frame, worded anew. */
export interface PanelHandle {
  element: HTMLElement;
  shown(): boolean;
  setShown(on: boolean): void;
  refresh(): void;
  setLanguage(language: Language): void;
  onClose(callback: () => void): void;
  /** In the dock (true) or floating over the plot. */
  docked(): boolean;
  setDocked(on: boolean): void;
}

/** Where a panel stands: its dock and its place there, lower ranks first. */
export interface DockPlace {
  dock: PanelDock;
  rank: number;
}

export interface FloatingPanel {
  element: HTMLElement;
  body: HTMLElement;
  shown(): boolean;
  setShown(on: boolean): void;
  setTitle(title: string): void;
  setLanguage(language: Language): void;
  onClose(callback: () => void): void;
  /** Called when the panel is shown and whenever its body changes size. */
  onResize(callback: () => void): void;
  docked(): boolean;
  setDocked(on: boolean): void;
}

let panelsMade = 0;

/** A panel of host (the plot's box it floats over), in place's dock at first where one is given. */
export function createFloatingPanel(host: HTMLElement, name: string, language: Language,
                                    place?: DockPlace): FloatingPanel {
  const id = `panel-${name}-${++panelsMade}`;
  const element = document.createElement('section');
  element.className = `floating-panel ${name}`;
  element.dataset.panel = name;
  element.setAttribute('role', 'dialog');
  element.setAttribute('aria-modal', 'false');
  element.setAttribute('aria-labelledby', `${id}-title`);
  element.tabIndex = -1;
  element.hidden = true;

  const bar = document.createElement('header');
  bar.className = 'floating-panel-bar';
  const title = document.createElement('h2');
  title.id = `${id}-title`;
  title.className = 'floating-panel-title';
  const close = document.createElement('button');
  close.type = 'button';
  close.className = 'floating-panel-close';
  close.dataset.action = 'close';
  close.textContent = '\u00d7';
  // Its mark shows what a press does: a box leaving the dock, or going back into it.
  const dockButton = document.createElement('button');
  dockButton.type = 'button';
  dockButton.className = 'floating-panel-dock';
  dockButton.dataset.action = 'dock';
  dockButton.hidden = !place;
  bar.append(title, dockButton, close);

  const body = document.createElement('div');
  body.className = 'floating-panel-body';
  element.append(bar, body);
  host.append(element);

  const closeCallbacks: Array<() => void> = [];
  const resizeCallbacks: Array<() => void> = [];
  let current = language;
  const setLanguage = (l: Language) => {
    current = l;
    const word = translate(l, 'WebPage', 'Close');
    close.title = word;
    close.setAttribute('aria-label', word);
    const move = translate(l, 'WebPage', element.classList.contains('docked') ? 'Float over the plot' : 'Dock beside the plot');
    dockButton.title = move;
    dockButton.setAttribute('aria-label', move);
  };

  const setShown = (on: boolean) => {
    if (element.hidden !== on) return;
    element.hidden = !on;
    if (on) {
      keepInside();
      for (const callback of resizeCallbacks) callback();
    }
  };
  const closeByUser = () => {
    setShown(false);
    for (const callback of closeCallbacks) callback();
  };
  close.addEventListener('click', closeByUser);
  element.addEventListener('keydown', (event) => {
    if (event.key !== 'Escape') return;
    event.preventDefault();
    event.stopPropagation();
    closeByUser();
  });

  // Once moved, the panel sits at its own left and top instead of the corner its style gives it.
  function moveTo(left: number, top: number) {
    const room = host.getBoundingClientRect();
    const maxLeft = Math.max(0, room.width - element.offsetWidth);
    const maxTop = Math.max(0, room.height - element.offsetHeight);
    element.style.left = `${Math.min(Math.max(left, 0), maxLeft)}px`;
    element.style.top = `${Math.min(Math.max(top, 0), maxTop)}px`;
    element.style.right = 'auto';
    element.style.bottom = 'auto';
  }
  // A window made smaller must not leave a moved panel out of reach.
  function keepInside() {
    if (element.hidden || element.style.left === '') return;
    moveTo(element.offsetLeft, element.offsetTop);
  }
  window.addEventListener('resize', keepInside);

  // A panel leaving the dock floats where today's panels open (its style's corner); one going
  // back forgets where it was moved to.
  function setDocked(on: boolean) {
    if (!place || on === element.classList.contains('docked')) return;
    element.classList.toggle('docked', on);
    for (const side of ['left', 'top', 'right', 'bottom', 'width', 'height'] as const) element.style[side] = '';
    if (on) place.dock.take(element, place.rank);
    else host.append(element);
    dockButton.textContent = on ? '\u2197' : '\u2198';
    dockButton.setAttribute('aria-pressed', String(on));
    element.dataset.docked = String(on);
    setLanguage(current);
    if (!element.hidden) for (const callback of resizeCallbacks) callback();
  }
  dockButton.addEventListener('click', () => {
    setDocked(!element.classList.contains('docked'));
    dockButton.focus();
  });

  let drag: { id: number; dx: number; dy: number } | null = null;
  bar.addEventListener('pointerdown', (event) => {
    if (event.target !== bar && event.target !== title) return;
    if (element.classList.contains('docked')) return;
    if (event.pointerType === 'mouse' && event.button !== 0) return;
    const box = element.getBoundingClientRect();
    drag = { id: event.pointerId, dx: event.clientX - box.left, dy: event.clientY - box.top };
    bar.setPointerCapture(event.pointerId);
    event.preventDefault();
    element.focus({ preventScroll: true });
  });
  bar.addEventListener('pointermove', (event) => {
    if (!drag || event.pointerId !== drag.id) return;
    const room = host.getBoundingClientRect();
    moveTo(event.clientX - drag.dx - room.left, event.clientY - drag.dy - room.top);
  });
  const endDrag = (event: PointerEvent) => {
    if (drag && event.pointerId === drag.id) drag = null;
  };
  bar.addEventListener('pointerup', endDrag);
  bar.addEventListener('pointercancel', endDrag);

  new ResizeObserver(() => {
    if (element.hidden) return;
    for (const callback of resizeCallbacks) callback();
  }).observe(body);
  element.dataset.docked = 'false';
  dockButton.textContent = '\u2198';
  setDocked(Boolean(place));
  setLanguage(language);

  return {
    element,
    body,
    shown: () => !element.hidden,
    setShown,
    setTitle(text) {
      title.textContent = text;
    },
    setLanguage,
    onClose(callback) {
      closeCallbacks.push(callback);
    },
    onResize(callback) {
      resizeCallbacks.push(callback);
    },
    docked: () => element.classList.contains('docked'),
    setDocked,
  };
}

/** A panel's picture: a canvas (role img, data-chart=kind) in a box of className. */
export function panelCanvas(className: string, kind: string):
    { box: HTMLElement; canvas: HTMLCanvasElement; context: CanvasRenderingContext2D } {
  const box = document.createElement('div');
  box.className = className;
  const canvas = document.createElement('canvas');
  canvas.dataset.chart = kind;
  canvas.setAttribute('role', 'img');
  box.append(canvas);
  return { box, canvas, context: canvas.getContext('2d')! };
}
