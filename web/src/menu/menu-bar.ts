// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's menu bar in the page, built from its table: the same items, names, radio groups
// and check marks, captions in either language, and the keyboard of a menu bar (arrows across
// and down, Enter, Space, Escape, Home, End, the access letters; F10 or Alt alone to reach it).
// Like the desktop's, the menu never sets a mark itself: the page sets it once a command was
// accepted, so that a cancelled dialog leaves the old item checked.
import type { MenuRow } from 'virtual:halvoran-catalogue';
import { menuRows, shortcutRows, translate, type Language } from '../i18n/catalogue';
import {
  ItemsThePageHides, accessKey, buildMenuTree, letterTarget, menuCaption, menuTooltip, placeMenu,
  shortcutLabels, splitCaption, stepIndex, type MenuNode,
} from './menu-model';
import './menu-bar.css';

export interface MenuBar {
  /** Whether the menu has an item of that name (the desktop's table may not have it yet). */
  has(name: string): boolean;
  setLanguage(language: Language): void;
  setChecked(name: string, checked: boolean): void;
  setEnabled(name: string, enabled: boolean): void;
  setHidden(name: string, hidden: boolean): void;
  /** Another caption (written in Japanese, translated in the context TMainMenu) and meaning for
   * an item, as the desktop gives the recording item while it records; none: the table's. */
  setCaption(name: string, caption?: string, meaning?: string): void;
  /** Commands of the page's own into a submenu, after the item named (at its end where none):
   * captions as the table's, written in Japanese with the English meaning. */
  addItems(submenu: string, items: readonly PageItem[], after?: string): void;
  element: HTMLElement;
}

export interface PageItem {
  name: string;
  caption: string;
  meaning: string;
}

interface Entry {
  row: MenuRow;
  parent: Entry | null;
  children: Entry[];
  li: HTMLLIElement;
  item: HTMLElement;
  label: HTMLElement;
  popup: HTMLUListElement | null;
  text: Pick<MenuRow, 'caption' | 'meaning'>;
  key: string;
}

function roleOf(row: MenuRow): string {
  if (row.group < 0) return 'menuitemcheckbox';
  return row.group > 0 ? 'menuitemradio' : 'menuitem';
}

function element<K extends keyof HTMLElementTagNameMap>(tag: K, className: string): HTMLElementTagNameMap[K] {
  const made = document.createElement(tag);
  made.className = className;
  return made;
}

// A mark drawn beside a caption (a check, an arrow), which a screen reader has from the roles.
function decoration(className: string): HTMLSpanElement {
  const made = element('span', className);
  made.setAttribute('aria-hidden', 'true');
  return made;
}

export function createMenuBar(root: HTMLElement, onCommand: (name: string) => void): MenuBar {
  const bar = element('ul', 'hv-menubar');
  bar.setAttribute('role', 'menubar');
  bar.dataset.menuBar = '';
  const entries = new Map<string, Entry>();
  const byItem = new Map<Element, Entry>();
  const shortcuts = shortcutLabels(shortcutRows);
  let language: Language = 'ja';

  function build(node: MenuNode, parent: Entry | null): Entry {
    const { row } = node;
    const li = element('li', parent ? 'hv-menu-entry' : 'hv-menubar-entry');
    li.setAttribute('role', 'none');
    const item = element('div', parent ? 'hv-menu-item' : 'hv-menubar-item');
    item.setAttribute('role', roleOf(row));
    item.tabIndex = -1;
    item.dataset.name = row.name;
    if (row.group !== 0) {
      item.setAttribute('aria-checked', String(row.checked));
      item.append(decoration('hv-menu-mark'));
    }
    if (!row.enabled) item.setAttribute('aria-disabled', 'true');
    const label = element('span', 'hv-menu-label');
    item.append(label);
    const keys = shortcuts.get(row.name);
    if (keys) {
      item.setAttribute('aria-keyshortcuts', keys.aria);
      const shown = decoration('hv-menu-keys');
      shown.textContent = keys.shown;
      item.append(shown);
    }
    li.append(item);
    const entry: Entry = {
      row, parent, children: [], li, item, label, popup: null, text: row, key: accessKey(row),
    };
    if (row.kind === 'Submenu') {
      item.setAttribute('aria-haspopup', 'menu');
      item.setAttribute('aria-expanded', 'false');
      if (parent) item.append(decoration('hv-menu-arrow'));
      const popup = element('ul', 'hv-menu');
      popup.setAttribute('role', 'menu');
      popup.dataset.menu = row.name;
      popup.hidden = true;
      entry.popup = popup;
      for (const child of node.children) {
        const built = build(child, entry);
        entry.children.push(built);
        popup.append(built.li);
      }
      li.append(popup);
    }
    entries.set(row.name, entry);
    byItem.set(item, entry);
    return entry;
  }

  const top = buildMenuTree(menuRows).map((node) => build(node, null));
  for (const entry of top) bar.append(entry.li);
  for (const name of ItemsThePageHides) entries.get(name)!.li.hidden = true;
  top[0]!.item.tabIndex = 0;

  // ---- Captions ----------------------------------------------------------------------------------

  function writeTexts(entry: Entry) {
    const { before, key, after } = splitCaption(menuCaption(entry.text, language));
    // The access letter is marked where it is one of the caption's: in English.
    if (language === 'en' && key !== '') {
      const marked = element('span', 'hv-menu-key');
      marked.textContent = key;
      entry.label.replaceChildren(before, marked, after);
    } else {
      entry.label.textContent = `${before}${key}${after}`;
    }
    entry.item.title = menuTooltip(entry.text, language);
    entry.key = accessKey(entry.text);
    entry.popup?.setAttribute('aria-label', `${before}${key}${after}`.trim());
  }

  function setLanguage(chosen: Language) {
    language = chosen;
    bar.lang = chosen;
    bar.setAttribute('aria-label', translate(chosen, 'WebPage', 'Main menu'));
    for (const entry of entries.values()) writeTexts(entry);
  }

  // ---- Opening, closing, focus ----------------------------------------------------------------

  const opened: Entry[] = []; // the chain of open submenus, the bar's entry first
  let focusBefore: HTMLElement | null = null;

  const siblings = (entry: Entry) => (entry.parent ? entry.parent.children : top);
  const skipped = (list: Entry[]) => (index: number) => list[index]!.li.hidden;
  const enabled = (entry: Entry) => entry.item.getAttribute('aria-disabled') !== 'true';
  const depthOf = (entry: Entry) => entry.row.level - 1;

  function closeFrom(depth: number) {
    while (opened.length > depth) {
      const entry = opened.pop()!;
      entry.popup!.hidden = true;
      entry.item.setAttribute('aria-expanded', 'false');
    }
  }

  function open(entry: Entry): boolean {
    if (!entry.popup || !enabled(entry)) return false;
    closeFrom(opened[depthOf(entry)] === entry ? depthOf(entry) + 1 : depthOf(entry));
    if (opened[depthOf(entry)] === entry) return true;
    opened.push(entry);
    entry.item.setAttribute('aria-expanded', 'true');
    const popup = entry.popup;
    popup.style.left = '0px';
    popup.style.top = '0px';
    popup.hidden = false;
    const size = popup.getBoundingClientRect();
    const place = placeMenu(entry.item.getBoundingClientRect(), size,
                            { width: window.innerWidth, height: window.innerHeight }, entry.parent === null);
    popup.style.left = `${place.left}px`;
    popup.style.top = `${place.top}px`;
    return true;
  }

  function focus(entry: Entry) {
    if (!entry.parent) {
      for (const other of top) other.item.tabIndex = other === entry ? 0 : -1;
    }
    entry.item.focus();
  }

  function focusFirst(entry: Entry, last = false) {
    const list = entry.children;
    const index = stepIndex(list.length, last ? 0 : list.length - 1, last ? -1 : 1, skipped(list));
    if (list[index]) focus(list[index]);
  }

  function leave() {
    closeFrom(0);
    const back = focusBefore;
    focusBefore = null;
    if (back && back.isConnected) back.focus();
    else (document.activeElement as HTMLElement | null)?.blur();
  }

  function activate(entry: Entry, byKeyboard: boolean) {
    if (!enabled(entry)) return;
    if (entry.popup) {
      if (open(entry) && byKeyboard) focusFirst(entry);
      return;
    }
    leave();
    onCommand(entry.row.name);
  }

  // The next or previous entry of the bar, its menu opened where one was open.
  function acrossBar(from: Entry, step: number, keepOpen: boolean) {
    const index = stepIndex(top.length, top.indexOf(from), step, skipped(top));
    closeFrom(0);
    const target = top[index]!;
    focus(target);
    if (keepOpen) open(target);
  }

  // ---- Keyboard -----------------------------------------------------------------------------------

  bar.addEventListener('keydown', (event) => {
    const entry = byItem.get(event.target as Element);
    if (!entry || event.ctrlKey || event.metaKey || event.altKey) return;
    const list = siblings(entry);
    const index = list.indexOf(entry);
    const onBar = entry.parent === null;
    const topEntry = (() => { let e = entry; while (e.parent) e = e.parent; return e; })();
    let handled = true;
    switch (event.key) {
      case 'ArrowRight':
        if (onBar) acrossBar(entry, 1, opened.length > 0);
        else if (entry.popup && enabled(entry)) activate(entry, true);
        else acrossBar(topEntry, 1, true);
        break;
      case 'ArrowLeft':
        if (onBar) acrossBar(entry, -1, opened.length > 0);
        else if (entry.parent!.parent) { closeFrom(depthOf(entry.parent!)); focus(entry.parent!); }
        else acrossBar(topEntry, -1, true);
        break;
      case 'ArrowDown':
      case 'ArrowUp': {
        const step = event.key === 'ArrowDown' ? 1 : -1;
        if (onBar) {
          if (open(entry)) focusFirst(entry, step < 0);
        } else {
          closeFrom(depthOf(entry));
          focus(list[stepIndex(list.length, index, step, skipped(list))]!);
        }
        break;
      }
      case 'Home':
      case 'End': {
        const last = event.key === 'End';
        const target = list[stepIndex(list.length, last ? 0 : list.length - 1, last ? -1 : 1, skipped(list))]!;
        if (!onBar) closeFrom(depthOf(entry));
        if (onBar) acrossBar(target, 0, opened.length > 0);
        else focus(target);
        break;
      }
      case 'Enter':
      case ' ':
        activate(entry, true);
        break;
      case 'Escape':
        // On the bar: its open menu closed first, then back to where the page was.
        if (onBar && opened.length > 0) closeFrom(0);
        else if (onBar) leave();
        else { closeFrom(depthOf(entry.parent!)); focus(entry.parent!); }
        break;
      case 'Tab':
        closeFrom(0);
        handled = false;
        break;
      default: {
        handled = event.key.length === 1 && event.key !== ' ';
        if (!handled) break;
        const target = letterTarget(list.map((e) => e.key), list.map((e) => e.label.textContent ?? ''),
                                    index, event.key, skipped(list));
        if (!target) break;
        const chosen = list[target.index]!;
        if (onBar) {
          acrossBar(chosen, 0, false);
          activate(chosen, true);
        } else {
          closeFrom(depthOf(entry));
          focus(chosen);
          if (target.unique) activate(chosen, true);
        }
      }
    }
    if (handled) {
      event.preventDefault();
      event.stopPropagation();
    }
  });

  // ---- Pointer ------------------------------------------------------------------------------------

  bar.addEventListener('click', (event) => {
    const entry = byItem.get((event.target as Element).closest('[data-name]') ?? bar);
    if (!entry) return;
    if (!entry.parent && opened[0] === entry) {
      // A second tap on the bar's open menu closes it; a menu's submenu stays open (the mouse
      // opened it on the way).
      leave();
      return;
    }
    if (!entry.parent) focus(entry);
    activate(entry, event.detail === 0);
  });

  // A mouse pointing at an item opens its submenu, or once a menu is open, the bar's others.
  bar.addEventListener('pointerover', (event) => {
    if (event.pointerType !== 'mouse') return;
    const entry = byItem.get((event.target as Element).closest('[data-name]') ?? bar);
    if (!entry || entry.li.hidden) return;
    if (!entry.parent) {
      if (opened.length > 0 && opened[0] !== entry) {
        closeFrom(0);
        focus(entry);
        open(entry);
      }
      return;
    }
    focus(entry);
    if (entry.popup && enabled(entry)) open(entry);
    else closeFrom(depthOf(entry));
  });

  bar.addEventListener('focusin', (event) => {
    const from = event.relatedTarget as HTMLElement | null;
    if (!from || !bar.contains(from)) focusBefore = from;
  });
  bar.addEventListener('focusout', (event) => {
    const to = event.relatedTarget as Node | null;
    if (!to || !bar.contains(to)) closeFrom(0);
  });
  document.addEventListener('pointerdown', (event) => {
    if (opened.length > 0 && !bar.contains(event.target as Node)) closeFrom(0);
  });
  window.addEventListener('resize', () => closeFrom(0));
  window.addEventListener('blur', () => closeFrom(0));

  // F10, or Alt pressed and let go alone, moves to the bar and back, as in a desktop window.
  let altAlone = false;
  window.addEventListener('keydown', (event) => {
    altAlone = event.key === 'Alt' && !event.ctrlKey && !event.shiftKey && !event.metaKey;
    if (event.key !== 'F10' || event.shiftKey || event.ctrlKey || event.altKey || event.metaKey) return;
    if (document.querySelector('dialog[open]')) return;
    event.preventDefault();
    toggleBarFocus();
  });
  window.addEventListener('keyup', (event) => {
    if (event.key !== 'Alt' || !altAlone) return;
    altAlone = false;
    if (document.querySelector('dialog[open]')) return;
    event.preventDefault();
    toggleBarFocus();
  });
  function toggleBarFocus() {
    if (bar.contains(document.activeElement)) {
      leave();
      return;
    }
    focus(top.find((entry) => entry.item.tabIndex === 0 && !entry.li.hidden)
          ?? top[stepIndex(top.length, top.length - 1, 1, skipped(top))]!);
  }

  // ---- The page's side --------------------------------------------------------------------------

  function named(name: string): Entry {
    const entry = entries.get(name);
    if (!entry) throw new Error(`the menu has no item ${name}`);
    return entry;
  }

  root.append(bar);
  setLanguage(language);

  return {
    element: bar,
    has: (name) => entries.has(name),
    setLanguage,
    setChecked(name, checked) {
      const entry = named(name);
      // As a Qt action that is not checkable, an item without a mark takes none.
      if (entry.row.group === 0) return;
      // Checking a radio item unchecks the others of its group, as the desktop's group does.
      if (checked && entry.row.group > 0) {
        for (const other of entries.values())
          if (other.row.group === entry.row.group) other.item.setAttribute('aria-checked', 'false');
      }
      entry.item.setAttribute('aria-checked', String(checked));
    },
    setEnabled(name, isEnabled) {
      const entry = named(name);
      if (isEnabled) entry.item.removeAttribute('aria-disabled');
      else {
        entry.item.setAttribute('aria-disabled', 'true');
        if (opened.includes(entry)) closeFrom(depthOf(entry));
      }
    },
    setHidden(name, hidden) {
      const entry = named(name);
      entry.li.hidden = hidden;
      if (hidden && opened.includes(entry)) closeFrom(depthOf(entry));
      if (hidden && entry.item.tabIndex === 0) {
        entry.item.tabIndex = -1;
        const index = stepIndex(top.length, top.indexOf(entry), 1, skipped(top));
        top[index]!.item.tabIndex = 0;
      }
    },
    addItems(submenu, items, after) {
      const parent = named(submenu);
      let index = after === undefined ? parent.children.length : parent.children.indexOf(named(after)) + 1;
      for (const item of items) {
        const row: MenuRow = {
          level: parent.row.level + 1, kind: 'Command', name: item.name, caption: item.caption,
          meaning: item.meaning, group: 0, checked: false, enabled: true,
        };
        const entry = build({ row, parent: null, children: [] }, parent);
        parent.popup!.insertBefore(entry.li, parent.children[index]?.li ?? null);
        parent.children.splice(index++, 0, entry);
        writeTexts(entry);
      }
    },
    setCaption(name, caption, meaning) {
      const entry = named(name);
      entry.text = caption === undefined ? entry.row : { caption, meaning: meaning ?? '' };
      writeTexts(entry);
    },
  };
}
