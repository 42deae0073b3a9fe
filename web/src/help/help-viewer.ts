// SPDX-License-Identifier: GPL-3.0-or-later
// Help › What the picture shows: the teachers' text in a dialog over the page (over a dialog too,
// whose Help button opened it), at a topic's heading where one is asked for. Esc, the close
// button or a click beside it closes it.
import helpDocuments from 'virtual:halvoran-help';
import { translate, type Language } from '../i18n/catalogue';
import { topicHeading, type HelpTopic } from './help-text';
import './help-viewer.css';

let open: HTMLDialogElement | null = null;

/** Shows the text; resolves when it is closed. A second call while it is open shows the topic
 * in the open viewer. */
export function showHelp(host: HTMLElement, language: Language, topic?: HelpTopic): Promise<void> {
  // Rendered when the page was built; a language whose text is not written yet has the English.
  const help = helpDocuments[language];
  if (open) open.close();
  const dialog = document.createElement('dialog');
  dialog.className = 'help-viewer';
  dialog.dataset.dialog = 'help';
  dialog.lang = help?.language ?? 'en';
  const bar = document.createElement('header');
  bar.className = 'help-viewer-bar';
  const title = document.createElement('h2');
  title.className = 'help-viewer-title';
  title.id = 'help-viewer-title';
  title.textContent = help?.headings[0]?.text ?? 'Halvoran Radiation';
  const close = document.createElement('button');
  close.type = 'button';
  close.className = 'help-viewer-close';
  close.dataset.action = 'close';
  close.textContent = '\u00d7';
  close.title = translate(language, 'WebPage', 'Close');
  close.setAttribute('aria-label', close.title);
  bar.append(title, close);
  const article = document.createElement('article');
  article.className = 'help-viewer-text';
  article.tabIndex = 0;
  // The texts are the project's own documents, built in: nothing a visitor typed.
  article.innerHTML = help?.html ?? '';
  dialog.setAttribute('aria-labelledby', title.id);
  dialog.append(bar, article);

  close.addEventListener('click', () => dialog.close());
  // A click on the backdrop lands on the dialog element itself, outside its box.
  dialog.addEventListener('click', (event) => {
    if (event.target !== dialog) return;
    const box = dialog.getBoundingClientRect();
    if (event.clientX < box.left || event.clientX > box.right || event.clientY < box.top || event.clientY > box.bottom)
      dialog.close();
  });
  // Links leave the page only in a tab of their own.
  for (const link of article.querySelectorAll<HTMLAnchorElement>('a[href^="http"]')) {
    link.target = '_blank';
    link.rel = 'noopener noreferrer';
  }
  return new Promise<void>((resolve) => {
    dialog.addEventListener('close', () => {
      if (open === dialog) open = null;
      dialog.remove();
      resolve();
    }, { once: true });
    host.append(dialog);
    open = dialog;
    dialog.showModal();
    const id = help && topic ? topicHeading(help, topic) : null;
    const target = id ? article.querySelector<HTMLElement>(`#${CSS.escape(id)}`) : null;
    // The text box is the heading's offset parent (it is positioned).
    article.scrollTop = target ? target.offsetTop : 0;
    article.focus({ preventScroll: true });
  });
}
