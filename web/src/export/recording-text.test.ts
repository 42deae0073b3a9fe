// SPDX-License-Identifier: GPL-3.0-or-later
import { expect, test } from 'vitest';
import { recSignText, webmType } from './recording-text';

test.each([
  [0, 'en', '\u25cf REC 00:00'],
  [999, 'en', '\u25cf REC 00:00'],
  [65_400, 'en', '\u25cf REC 01:05'],
  [3_599_999, 'en', '\u25cf REC 59:59'],
  [6_000_000, 'en', '\u25cf REC 100:00'],
  [65_400, 'ja', '\u25cf 録画 01:05'],
  // A clock that went back, or none.
  [-5, 'en', '\u25cf REC 00:00'],
  [Number.NaN, 'en', '\u25cf REC 00:00'],
] as const)('%d ms in %s', (ms, language, text) => {
  expect(recSignText(ms, language)).toBe(text);
});

test.each([
  [['video/webm;codecs=vp9', 'video/webm;codecs=vp8', 'video/webm'], 'video/webm;codecs=vp9'],
  [['video/webm;codecs=vp8', 'video/webm'], 'video/webm;codecs=vp8'],
  [['video/webm'], 'video/webm'],
  [['video/mp4'], null],
  [[], null],
])('a browser recording %o records %s', (types, chosen) => {
  expect(webmType((type) => types.includes(type))).toBe(chosen);
});
