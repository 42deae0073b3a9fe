// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson's paragraph beside the plot: the open scene's title and notes, an empty line of the
// notes beginning a new paragraph. Hidden where the scene has no notes; closed by its button or
// Escape, and shown again by the next scene that has notes.
import { translate, type Language } from '../i18n/catalogue';
import type { SceneTexts } from '../generated/halvoran-core.js';
import './lesson-panel.css';

export interface LessonPanel {
  /** The texts of the scene now open; null: none (a scene of the page's own making). */
  show(texts: SceneTexts | null): void;
  setLanguage(language: Language): void;
  /** Called after the panel opened or closed, when the plot's room changed. */
  onToggle(callback: () => void): void;
}

export function createLessonPanel(aside: HTMLElement, language: Language): LessonPanel {
  aside.setAttribute('role', 'complementary');
  aside.setAttribute('aria-labelledby', 'lesson-title');
  const header = document.createElement('header');
  const title = document.createElement('h2');
  title.id = 'lesson-title';
  const close = document.createElement('button');
  close.type = 'button';
  close.className = 'lesson-close';
  close.textContent = '×';
  const body = document.createElement('div');
  body.className = 'lesson-notes';
  header.append(title, close);
  aside.append(header, body);
  aside.hidden = true;
  let toggled = () => {};

  function setShown(on: boolean) {
    if (aside.hidden === !on) return;
    aside.hidden = !on;
    toggled();
  }
  close.addEventListener('click', () => setShown(false));
  aside.addEventListener('keydown', (event) => {
    if (event.key === 'Escape') setShown(false);
  });

  function setLanguage(chosen: Language) {
    aside.lang = chosen;
    close.title = translate(chosen, 'WebPage', 'Close the lesson');
    close.setAttribute('aria-label', close.title);
  }
  setLanguage(language);

  return {
    show(texts) {
      title.textContent = texts?.title ?? '';
      body.replaceChildren(...(texts?.notes ?? '').split(/\n\s*\n/).filter((p) => p.trim() !== '')
        .map((paragraph) => {
          const p = document.createElement('p');
          p.textContent = paragraph.trim();
          return p;
        }));
      setShown(body.childElementCount > 0);
    },
    setLanguage,
    onToggle(callback) { toggled = callback; },
  };
}
