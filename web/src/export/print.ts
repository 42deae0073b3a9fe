// SPDX-License-Identifier: GPL-3.0-or-later
// The plot printed alone through the browser's print dialog (which is also the page setup): the
// canvas's picture as an image that only the printed page shows, with everything else hidden
// there, taken away again once the dialog is done.
import './print.css';

export function printPlot(canvas: HTMLCanvasElement): void {
  document.querySelector('.print-picture')?.remove();
  const picture = document.createElement('img');
  picture.className = 'print-picture';
  picture.alt = '';
  picture.src = canvas.toDataURL('image/png');
  document.body.append(picture);
  document.body.classList.add('printing-plot');
  const done = () => {
    picture.remove();
    document.body.classList.remove('printing-plot');
  };
  window.addEventListener('afterprint', done, { once: true });
  // The image must be decoded before the page is laid out for printing, or the page is blank.
  picture.decode().catch(() => undefined).then(() => window.print());
}
