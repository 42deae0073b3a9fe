// SPDX-License-Identifier: GPL-3.0-or-later
// The plot saved as a PNG of the canvas's device pixels, as drawn.
import { download } from './download';

/** The page's own sentence (catalogue context WebPage) where the browser makes no PNG. */
export const NoPngMessage = 'The browser could not make a PNG of the picture';

export function savePicture(canvas: HTMLCanvasElement,
                            fileName = 'halvoran-radiation.png'): Promise<void> {
  return new Promise((resolve, reject) => {
    canvas.toBlob((blob) => {
      if (!blob) {
        // A canvas too large for the browser's encoder, or one without pixels.
        reject(new Error(NoPngMessage));
        return;
      }
      download(blob, fileName);
      resolve();
    }, 'image/png');
  });
}
