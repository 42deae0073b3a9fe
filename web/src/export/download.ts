// SPDX-License-Identifier: GPL-3.0-or-later
// A file made by the page handed to the browser's downloads through a link: this works from
// file:// too, where no server could send it.

// The address is kept a while after the click: a browser may start reading it only later.
const KeepAddressMs = 60_000;

export function download(blob: Blob, fileName: string): void {
  const address = URL.createObjectURL(blob);
  const link = document.createElement('a');
  link.href = address;
  link.download = fileName;
  link.hidden = true;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(address), KeepAddressMs);
}
