// SPDX-License-Identifier: GPL-3.0-or-later
// The words the core sets into its pictures, in the page's language: each English source the
// core names translated through the catalogue's context "PictureWords", in the core's order.
import { translate, type Language } from '../i18n/catalogue';

export const PictureWordsContext = 'PictureWords';

/** One text for each source, in its order; a source the catalogue has no translation of stays
 * as it is. */
export function pictureWords(sources: readonly string[], language: Language): string[] {
  return sources.map((source) => translate(language, PictureWordsContext, source));
}
