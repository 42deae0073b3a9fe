// SPDX-License-Identifier: GPL-3.0-or-later
// What an OK gave, shown in its dialog.
import type { Language } from '../i18n/catalogue';
import { type DialogFrame, focusField } from './dialog-frame';
import type { Outcome } from './setup-logic';
import { complaintText, messagesText } from './wording';

/** Shows what an OK gave: closes on acceptance, or keeps the dialog open with the complaint and
 * the field to correct in focus. */
export function answer(frame: DialogFrame, outcome: Outcome, language: Language): boolean {
  if (outcome.accepted) {
    frame.finish(true);
    return true;
  }
  if (outcome.field && outcome.text !== undefined) {
    const field = frame.dialog.querySelector<HTMLInputElement>(`[data-field="${outcome.field}"]`);
    if (field) field.value = outcome.text;
  }
  if (outcome.complaint) {
    const text = complaintText(outcome.complaint, language);
    frame.complain(outcome.warning ? `${messagesText(language, 'Warning')}: ${text}` : text);
  } else {
    frame.complain(null);
  }
  focusField(frame.dialog, outcome.field);
  return false;
}
