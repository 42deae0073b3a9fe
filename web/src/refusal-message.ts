// SPDX-License-Identifier: GPL-3.0-or-later
// A refusal of the core worded as the desktop words it: the code's sentence from the catalogue
// in the language, the parameter's name first where the sentence names one, then the values,
// put in as %1, %2, ...
import type { Refusal } from './generated/halvoran-core.js';
import { refusalTexts, translate, type Language } from './i18n/catalogue';

const Context = 'Refusals';

// pattern with %1 .. %9 replaced in one pass, so that a value holding "%2" (a typed text) is not
// taken for a place holder.
export function putIn(pattern: string, values: readonly string[]): string {
  return pattern.replace(/%([1-9])/g, (whole, digit: string) => values[Number(digit) - 1] ?? whole);
}

export function refusalMessage(refusal: Refusal & { option?: string }, language: Language = 'en'): string {
  if (!Object.hasOwn(refusalTexts.sentences, refusal.code)) return refusal.code;
  const sentence = refusalTexts.sentences[refusal.code]!;
  const values: string[] = [];
  if (Object.hasOwn(refusalTexts.parameterWords, refusal.parameter))
    values.push(translate(language, Context, refusalTexts.parameterWords[refusal.parameter]!));
  // The parser's own refusals (option "") carry texts as typed, which are not translated even
  // where one reads "infinity"; the other values come as numbers or as a non-finite one's word.
  const typed = refusal.option === '';
  for (const value of refusal.values)
    values.push(!typed && refusalTexts.nonFiniteWords.includes(value) ? translate(language, Context, value) : value);
  const text = putIn(translate(language, Context, sentence), values);
  return refusal.option ? `${refusal.option}: ${text}` : text;
}
