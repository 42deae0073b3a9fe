// SPDX-License-Identifier: GPL-3.0-or-later
// Full screen of the page's own element, where the browser allows it (a refusal, e.g. a request
// outside a user's gesture or inside a frame that may not, rejects with the browser's message).

// Safari on iPad knows only the prefixed names.
interface PrefixedDocument {
  webkitFullscreenElement?: Element | null;
  webkitExitFullscreen?: () => Promise<void> | void;
}
interface PrefixedElement {
  webkitRequestFullscreen?: () => Promise<void> | void;
}

/** The page's own sentence (catalogue context WebPage) where the browser has no full screen. */
export const NoFullScreenMessage = 'This browser does not show the page in full screen';

export function isFullScreen(): boolean {
  const prefixed = document as Document & PrefixedDocument;
  return (document.fullscreenElement ?? prefixed.webkitFullscreenElement ?? null) !== null;
}

/** true where the element is now in full screen, false where full screen was left. */
export async function toggleFullScreen(element: HTMLElement): Promise<boolean> {
  const prefixed = document as Document & PrefixedDocument;
  if (isFullScreen()) {
    if (document.exitFullscreen) await document.exitFullscreen();
    else await prefixed.webkitExitFullscreen?.();
    return false;
  }
  const target = element as HTMLElement & PrefixedElement;
  if (typeof target.requestFullscreen === 'function') await target.requestFullscreen();
  else if (typeof target.webkitRequestFullscreen === 'function') await target.webkitRequestFullscreen();
  else throw new Error(NoFullScreenMessage);
  return true;
}
