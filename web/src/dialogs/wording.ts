// SPDX-License-Identifier: GPL-3.0-or-later
// The dialogs' complaints in the user's language: the core's refusals worded from the catalogue,
// the sentences about typed texts from its context "Messages".
import { type Language, translate } from '../i18n/catalogue';
import { refusalMessage } from '../refusal-message';
import { fillArguments } from './number-text';
import type { Complaint } from './setup-logic';

export function complaintText(complaint: Complaint, language: Language): string {
  const sentence = complaint.refusal
      ? refusalMessage(complaint.refusal, language)
      : fillArguments(translate(language, 'Messages', complaint.message.source), complaint.message.args);
  return complaint.about ? `${complaint.about}: ${sentence}` : sentence;
}

export function messagesText(language: Language, source: string): string {
  return translate(language, 'Messages', source);
}

export function greetingTexts(language: Language): { picture: string; licence: string } {
  return {
    // The greeting's words are part of the picture: the catalogue names each language's own.
    picture: translate(language, 'TBetaVersionDlg', ':/pictures/greeting.jpg').replace(/^:\/pictures\//, ''),
    licence: translate(language, 'TBetaVersionDlg',
                       'Free software under the GNU General Public License, version 3 or later'),
  };
}
