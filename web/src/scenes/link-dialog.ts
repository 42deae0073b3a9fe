// SPDX-License-Identifier: GPL-3.0-or-later
// The link shown for the user to copy, where the page may not write to the clipboard (file://,
// plain http, or the browser refused): the address selected in a box. From file:// the link
// opens only where the same file lies, so the dialog says so and offers the scene as a file.
import { createFrame } from '../dialogs/dialog-frame';
import { translate, type Language } from '../i18n/catalogue';

export function showLinkDialog(host: HTMLElement, link: string, language: Language,
                               fromFile: boolean, saveScene: () => void): Promise<boolean> {
  const web = (source: string) => translate(language, 'WebPage', source);
  const frame = createFrame(host, 'copyLink', web('Copy link'));
  const label = document.createElement('label');
  label.textContent = web('The link to this scene:');
  const box = document.createElement('input');
  box.type = 'text';
  box.readOnly = true;
  box.value = link;
  box.size = 60;
  // As wide as the dialog: the start of the address says where it leads.
  box.style.width = '100%';
  box.style.boxSizing = 'border-box';
  box.setAttribute('aria-label', label.textContent);
  label.style.display = 'block';
  label.append(document.createElement('br'), box);
  frame.body.append(label);
  if (fromFile) {
    const note = document.createElement('p');
    note.className = 'setup-note';
    note.textContent = web('This page was opened as a file: the link opens the scene only where the same file lies. To give the scene to others, save it as a file.');
    frame.body.append(note);
    frame.addButton('save', translate(language, 'WebPage', 'Save scene'), () => {
      saveScene();
      frame.finish(true);
    });
  }
  frame.addButton('ok', 'OK', () => frame.finish(true));
  frame.onEnter = () => frame.finish(true);
  box.addEventListener('focus', () => box.select());
  return frame.run(box);
}
