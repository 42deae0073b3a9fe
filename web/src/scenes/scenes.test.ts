// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, it } from 'vitest';
import { fromBase64Url, sceneFragment, sceneOfFragment, toBase64Url } from './scene-link';
import { sceneTextOf } from './scene-files';
import { lessonsOf, sceneRefusalText, textsIn } from './scene-texts';

const Max = 1000;
const b64 = (bytes: number[] | Uint8Array) => toBase64Url(Uint8Array.from(bytes));

async function deflated(bytes: Uint8Array): Promise<string> {
  const stream = new Blob([bytes as Uint8Array<ArrayBuffer>]).stream().pipeThrough(new CompressionStream('deflate-raw'));
  return toBase64Url(new Uint8Array(await new Response(stream).arrayBuffer()));
}

describe('a scene in the address', () => {
  it('reads back what it wrote, packed, for texts of every kind', async () => {
    for (const text of ['{}', '{"title": "急停止 ✓"}', 'x'.repeat(Max)]) {
      const fragment = await sceneFragment(text);
      expect(fragment.startsWith('#scene=z.')).toBe(true);
      expect(await sceneOfFragment(fragment, Max)).toEqual({ text, problem: null });
    }
  });

  it('base64url round trips every length and the letters - and _', () => {
    for (const bytes of [[], [0], [0xfb, 0xff], [0xfb, 0xff, 0xfe], [1, 2, 3, 4, 5]])
      expect(Array.from(fromBase64Url(b64(bytes))!)).toEqual(bytes);
    expect(b64([0xfb, 0xff])).toBe('-_8');
  });

  it('refuses what a hostile link may carry', async () => {
    const bomb = await deflated(new Uint8Array(Max + 1).fill(32));
    const cases: [string, string | null][] = [
      ['#scene=not*base64', 'NotBase64'],
      ['#scene=A', 'NotBase64'],
      ['#scene=z.A', 'NotBase64'],
      ['#scene=z.' + b64([0xff, 0xff, 0xff, 0xff]), 'NotDeflate'],
      ['#scene=z.' + bomb, 'TooLarge'],
      ['#scene=' + 'A'.repeat(Math.ceil(Max / 3) * 4 + 4), 'TooLarge'],
      ['#scene=' + b64([0x7b, 0xc3, 0x28]), 'NotUtf8'],
    ];
    for (const [hash, problem] of cases)
      expect((await sceneOfFragment(hash, Max))?.problem, hash).toBe(problem);
  });

  it('takes the plain form and leaves other fragments alone', async () => {
    expect(await sceneOfFragment('#scene=' + b64([0x7b, 0x7d]), Max)).toEqual({ text: '{}', problem: null });
    expect(await sceneOfFragment('', Max)).toBeNull();
    expect(await sceneOfFragment('#other=1', Max)).toBeNull();
  });
});

describe('the texts of a scene', () => {
  const scene = { title: 'Stop', notes: 'N', translations: { ja: { title: '停止' } } };
  it.each([
    ['en', { title: 'Stop', notes: 'N' }],
    ['ja', { title: '停止', notes: 'N' }],
  ] as const)('in %s', (language, texts) => expect(textsIn(scene, language)).toEqual(texts));

  it('words a refused value after its key, and a whole-text refusal alone', () => {
    const value = { code: 'SceneValueRefused', parameter: 'None', values: ['model.ISize'], path: 'model.ISize',
                    cause: { code: 'NoSuchCode', parameter: 'None', values: [] } };
    expect(sceneRefusalText(value, 'en')).toBe('model.ISize: NoSuchCode');
    expect(sceneRefusalText({ ...value, code: 'Whole', cause: null }, 'en')).toBe('Whole');
  });

  it('keeps the index order and leaves out what is not both listed and there', () => {
    const files = {
      '../../scenes/b.json': '{"title": "B"}', '../../scenes/a.json': '{"title": "A", "notes": "n"}',
      '../../scenes/stray.json': '{}', '../../scenes/index.json': '{}',
    };
    const lessons = lessonsOf(files, '{"lessons": ["a", "missing", "b"]}');
    expect(lessons.map((l) => [l.stem, l.title, l.notes])).toEqual([['a', 'A', 'n'], ['b', 'B', '']]);
  });
});

describe('a scene file\'s bytes', () => {
  it.each([
    [[0xef, 0xbb, 0xbf, 0x7b, 0x7d], { text: '\ufeff{}', refusal: null }],
    [[0x7b, 0x7d], { text: '{}', refusal: null }],
  ])('%j reads as text, a byte-order mark kept for the core', (bytes, read) =>
    expect(sceneTextOf(Uint8Array.from(bytes))).toEqual(read));

  it.each([
    [[0xff], '0'], [[0x7b, 0x20, 0xc3, 0x28], '2'], [[0x41, 0x42, 0xe3, 0x81], '2'],
    [[0x41, 0xed, 0xa0, 0x80], '1'], [[0xef, 0xbb, 0xbf, 0x41, 0x80], '4'],
  ])('%j is refused at the first bad byte', (bytes, offset) =>
    expect(sceneTextOf(Uint8Array.from(bytes)).refusal?.values).toEqual([offset]));
});
