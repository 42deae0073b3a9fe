// SPDX-License-Identifier: GPL-3.0-or-later
// A refusal as the page shows it until the page has a catalogue of its own wording: the code,
// the option it is about and the values.
import type { Refusal } from './generated/halvoran-core.js';

export function refusalMessage(refusal: Refusal & { option?: string }): string {
  const about = refusal.option ? ` ${refusal.option}` : '';
  return `Refused${about}: ${refusal.code} [${refusal.values.join(', ')}]`;
}
