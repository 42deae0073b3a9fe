// SPDX-License-Identifier: GPL-3.0-or-later
// Scene files in and out of the page: File › Open scene through the browser's file chooser, a
// file dropped on the page, and Save scene as a download. A file's size is checked before it
// is read, so that a huge one is never taken into memory; its bytes go to the core as they are
// (a byte-order mark too, which the core skips).
import type { SceneRefusal } from '../generated/halvoran-core.js';
import { download } from '../export/download';

export const DefaultSceneName = 'halvoran-scene.json';

export interface SceneFiles {
  /** The file chooser, for File › Open scene. */
  choose(): void;
}

/** A text read from a file, or why the file was refused before the core saw it. */
export type FileText = { text: string; refusal: null } | { text: null; refusal: SceneRefusal };

const refused = (code: string, values: string[]): FileText =>
    ({ text: null, refusal: { code, parameter: 'None', values, path: '', cause: null } });

// The offset of the first byte that is not UTF-8, counted as the core counts it: the lead byte
// of the sequence at fault. good: the longest prefix a streaming decoder takes (an unfinished
// sequence at its end is no fault yet); the next byte is at fault, or the sequence it ends.
function firstBadByte(bytes: Uint8Array): number {
  const takes = (end: number, stream: boolean) => {
    try {
      new TextDecoder('utf-8', { fatal: true }).decode(bytes.subarray(0, end), { stream });
      return true;
    } catch {
      return false;
    }
  };
  let good = 0;
  let bad = bytes.length + 1;
  while (bad - good > 1) {
    const middle = Math.floor((good + bad) / 2);
    if (takes(middle, true)) good = middle;
    else bad = middle;
  }
  if (takes(good, false)) return good;
  let lead = good - 1;
  while (lead > 0 && bytes[lead]! >= 0x80 && bytes[lead]! < 0xc0) --lead;
  return lead;
}

export function sceneTextOf(bytes: Uint8Array): FileText {
  try {
    return { text: new TextDecoder('utf-8', { fatal: true, ignoreBOM: true }).decode(bytes), refusal: null };
  } catch {
    return refused('SceneNotUtf8', [String(firstBadByte(bytes))]);
  }
}

export async function readSceneFile(file: File, maxBytes: number): Promise<FileText> {
  if (file.size > maxBytes) return refused('SceneTooLarge', [String(file.size), String(maxBytes)]);
  try {
    return sceneTextOf(new Uint8Array(await file.arrayBuffer()));
  } catch (error) {
    return refused('SceneUnreadable', [file.name, String((error as Error).message)]);
  }
}

export function saveSceneFile(text: string, fileName: string): void {
  download(new Blob([text], { type: 'application/json' }), fileName);
}

/** onFile: a file chosen or dropped, read or refused. */
export function createSceneFiles(maxBytes: number,
                                 onFile: (read: FileText, fileName: string) => void): SceneFiles {
  const input = document.createElement('input');
  input.type = 'file';
  input.accept = '.json,application/json';
  input.hidden = true;
  input.dataset.sceneFile = '';
  document.body.append(input);

  const take = async (file: File | undefined) => {
    if (file) onFile(await readSceneFile(file, maxBytes), file.name);
  };
  input.addEventListener('change', () => {
    void take(input.files?.[0]);
    // The same file chosen again is a change too.
    input.value = '';
  });
  const carriesFiles = (event: DragEvent) => event.dataTransfer?.types.includes('Files') ?? false;
  document.addEventListener('dragover', (event) => {
    if (!carriesFiles(event)) return;
    event.preventDefault();
    event.dataTransfer!.dropEffect = 'copy';
  });
  document.addEventListener('drop', (event) => {
    if (!carriesFiles(event)) return;
    event.preventDefault();
    void take(event.dataTransfer!.files[0]);
  });
  return { choose: () => input.click() };
}
