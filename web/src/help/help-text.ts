// SPDX-License-Identifier: GPL-3.0-or-later
// The teachers' text behind Help › What the picture shows (docs/model.md, docs/model.ja.md) as
// the viewer has it, rendered when the page is built (help-render.ts), and the headings a
// dialog's Help button opens it at.
import type { Language } from '../i18n/catalogue';

export interface HelpHeading {
  depth: number;
  /** As read: the heading without its Markdown marks. */
  text: string;
  id: string;
}

export interface HelpDocument {
  /** The language the text is written in: English where the page's has no text of its own. */
  language: Language;
  html: string;
  headings: HelpHeading[];
}

/** The places a dialog's Help button opens the text at: its heading in each language. */
export const HelpTopics = {
  undulator: { en: 'The undulator', ja: 'アンジュレータ' },
} as const satisfies Record<string, Record<Language, string>>;

export type HelpTopic = keyof typeof HelpTopics;

/** A heading's words without the emphasis and code marks around them. */
export function plainHeading(text: string): string {
  return text.replace(/[*_`]/g, '').replace(/\s+/g, ' ').trim();
}

/** The id of the heading of topic in the document's language; null where the text has no such
 * heading (the viewer then opens at the top). */
export function topicHeading(document: Pick<HelpDocument, 'language' | 'headings'>, topic: HelpTopic): string | null {
  const wanted = plainHeading(HelpTopics[topic][document.language]).toLowerCase();
  return document.headings.find((heading) => heading.text.toLowerCase() === wanted)?.id ?? null;
}
