// SPDX-License-Identifier: GPL-3.0-or-later
// A scene carried in the page's address: "#scene=" and the scene's text as base64url, or
// "#scene=z." and its raw deflate stream as base64url where the browser can pack it. A link is
// text from anyone: its inflated size is capped while inflating, so that a small link cannot
// unpack to gigabytes before it is refused.

export const SceneFragment = '#scene=';
// Marks the packed form; "." is no base64url letter, so a plain scene cannot begin so.
const Packed = 'z.';

/** Why a link's scene was not read, before the core saw it. */
export type LinkProblem = 'NotBase64' | 'NotDeflate' | 'TooLarge' | 'NotUtf8';

export type LinkScene = { text: string; problem: null } | { text: null; problem: LinkProblem };

export function toBase64Url(bytes: Uint8Array): string {
  let binary = '';
  // In slices: a spread of a megabyte's bytes into one call would overflow the stack.
  for (let at = 0; at < bytes.length; at += 0x8000)
    binary += String.fromCharCode(...bytes.subarray(at, at + 0x8000));
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

/** null for any text that is not unpadded or padded base64url. */
export function fromBase64Url(text: string): Uint8Array | null {
  if (!/^[A-Za-z0-9_-]*={0,2}$/.test(text) || text.replace(/=+$/, '').length % 4 === 1) return null;
  const bare = text.replace(/=+$/, '');
  const binary = atob(bare.replace(/-/g, '+').replace(/_/g, '/') + '='.repeat((4 - (bare.length % 4)) % 4));
  return Uint8Array.from(binary, (c) => c.charCodeAt(0));
}

async function pipe(bytes: Uint8Array, stream: CompressionStream | DecompressionStream,
                    maxBytes: number): Promise<Uint8Array | 'TooLarge'> {
  const writer = stream.writable.getWriter();
  // The writer's promises are the reader's too: a broken stream rejects both.
  writer.write(bytes as Uint8Array<ArrayBuffer>).catch(() => undefined);
  writer.close().catch(() => undefined);
  const reader = stream.readable.getReader();
  const chunks: Uint8Array[] = [];
  let size = 0;
  for (;;) {
    const { done, value } = await reader.read();
    if (done) break;
    size += value.length;
    if (size > maxBytes) {
      await reader.cancel().catch(() => undefined);
      return 'TooLarge';
    }
    chunks.push(value);
  }
  const joined = new Uint8Array(size);
  let at = 0;
  for (const chunk of chunks) {
    joined.set(chunk, at);
    at += chunk.length;
  }
  return joined;
}

/** The fragment for a scene's text, packed where the browser can. */
export async function sceneFragment(text: string): Promise<string> {
  const bytes = new TextEncoder().encode(text);
  if (typeof CompressionStream === 'undefined') return SceneFragment + toBase64Url(bytes);
  const packed = await pipe(bytes, new CompressionStream('deflate-raw'), Infinity);
  return SceneFragment + Packed + toBase64Url(packed as Uint8Array);
}

/** The scene a fragment carries; null where the fragment carries none. */
export async function sceneOfFragment(hash: string, maxBytes: number): Promise<LinkScene | null> {
  if (!hash.startsWith(SceneFragment)) return null;
  const body = hash.slice(SceneFragment.length);
  const packed = body.startsWith(Packed);
  // base64 holds 3 bytes in 4 letters: more letters than that is too large however it reads.
  if (!packed && body.length > Math.ceil(maxBytes / 3) * 4) return { text: null, problem: 'TooLarge' };
  const bytes = fromBase64Url(packed ? body.slice(Packed.length) : body);
  if (!bytes) return { text: null, problem: 'NotBase64' };
  let text = bytes;
  if (packed) {
    if (typeof DecompressionStream === 'undefined') return { text: null, problem: 'NotDeflate' };
    try {
      const inflated = await pipe(bytes, new DecompressionStream('deflate-raw'), maxBytes);
      if (inflated === 'TooLarge') return { text: null, problem: 'TooLarge' };
      text = inflated;
    } catch {
      return { text: null, problem: 'NotDeflate' };
    }
  }
  if (text.length > maxBytes) return { text: null, problem: 'TooLarge' };
  try {
    return { text: new TextDecoder('utf-8', { fatal: true }).decode(text), problem: null };
  } catch {
    return { text: null, problem: 'NotUtf8' };
  }
}

/** The page's sentence for a problem, in English (the catalogue's key in the context WebPage). */
export const LinkProblemText: Record<LinkProblem, string> = {
  NotBase64: 'The link\'s scene is not written in base64url.',
  NotDeflate: 'The link\'s scene cannot be unpacked.',
  TooLarge: 'The link\'s scene is larger than %1 bytes.',
  NotUtf8: 'The link\'s scene is not UTF-8 text.',
};
