// SPDX-License-Identifier: GPL-3.0-or-later
// The REC sign's text and the video type a browser can record, apart from the recorder so that
// both can be checked without a browser.
import { translate, type Language } from '../i18n/catalogue';
import { putIn } from '../refusal-message';

/** "● REC 01:05": the length of the video so far in whole minutes and seconds, two digits each
 * (the minutes more past 99). */
export function recSignText(elapsedMs: number, language: Language): string {
  const seconds = Math.max(0, Math.floor(elapsedMs / 1000)) || 0;
  const two = (n: number) => String(n).padStart(2, '0');
  return putIn(translate(language, 'TMainForm1', '\u25cf REC %1:%2'),
               [two(Math.floor(seconds / 60)), two(seconds % 60)]);
}

// VP9 gives the smaller file at the same quality; every WebM recorder has VP8.
const WebmTypes = ['video/webm;codecs=vp9', 'video/webm;codecs=vp8', 'video/webm'];

/** The first WebM type the browser records, or null. */
export function webmType(isTypeSupported: (type: string) => boolean): string | null {
  return WebmTypes.find((type) => isTypeSupported(type)) ?? null;
}
