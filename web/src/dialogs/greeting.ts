// SPDX-License-Identifier: GPL-3.0-or-later
// The greeting: the program's name, OK, the greeting picture of the user's language with the
// maker's web page on it, and the line that names the licence.
import type { Language } from '../i18n/catalogue';
import { createFrame } from './dialog-frame';
import './greeting.css';
import { hasPicture, picture } from './pictures';
import { greetingTexts } from './wording';

/** The maker's web page: the link's caption and the address it opens. */
export const HalvoranLabAddress = 'https://example.org/halvoran/';

/** Resolves when closed: OK, Enter, Esc, or a click outside. */
export async function showGreeting(host: HTMLElement, language: Language): Promise<void> {
  const frame = createFrame(host, 'greeting', 'Version Info.');
  frame.dialog.classList.add('greeting-dialog');
  const texts = greetingTexts(language);

  const header = document.createElement('div');
  header.className = 'greeting-header';
  const name = document.createElement('p');
  name.className = 'greeting-name';
  name.textContent = 'Halvoran Radiation';
  const ok = frame.addButton('ok', 'OK', () => frame.finish(true));
  header.append(name, ok);

  const panel = document.createElement('div');
  panel.className = 'greeting-picture';
  // The greeting's words are part of the picture, each language's its own.
  const image = picture(hasPicture(texts.picture) ? texts.picture : 'greeting.jpg', 601, 337, '');
  const link = document.createElement('a');
  link.className = 'greeting-link';
  link.href = HalvoranLabAddress;
  link.target = '_blank';
  link.rel = 'noopener noreferrer';
  link.textContent = HalvoranLabAddress;
  link.dataset.action = 'link';
  panel.append(image, link);

  const licence = document.createElement('p');
  licence.className = 'greeting-licence';
  licence.textContent = texts.licence;
  frame.body.append(header, panel, licence);

  frame.onEnter = () => frame.finish(true);
  // A click on the backdrop lands on the dialog element itself, outside its box.
  frame.dialog.addEventListener('click', (event) => {
    if (event.target !== frame.dialog) return;
    const box = frame.dialog.getBoundingClientRect();
    const inside = event.clientX >= box.left && event.clientX <= box.right &&
                   event.clientY >= box.top && event.clientY <= box.bottom;
    if (!inside) frame.finish(true);
  });
  await frame.run(ok);
}
