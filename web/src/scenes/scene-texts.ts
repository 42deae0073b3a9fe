// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of a scene as the page shows them: the title and notes in the page's language, the
// lessons in the menu's order, and a scene's refusal worded as the desktop words it.
import type { SceneRefusal, SceneTexts } from '../generated/halvoran-core.js';
import type { Language } from '../i18n/catalogue';
import { refusalMessage } from '../refusal-message';

export interface SceneWords extends SceneTexts {
  translations: Record<string, Partial<SceneTexts>>;
}

/** The translation's texts in that language where it has them, else the scene's own. */
export function textsIn(scene: SceneWords, language: Language): SceneTexts {
  const translation = Object.hasOwn(scene.translations, language) ? scene.translations[language] : undefined;
  return { title: translation?.title ?? scene.title, notes: translation?.notes ?? scene.notes };
}

/** "trajectory.LineBeta: " and the command's own sentence, or the refusal's sentence. */
export function sceneRefusalText(refusal: SceneRefusal, language: Language): string {
  if (refusal.cause) return `${refusal.path}: ${refusalMessage(refusal.cause, language)}`;
  return refusalMessage(refusal, language);
}

export interface Lesson extends SceneWords {
  /** The file's name without ".json": the menu item is MnuLesson_<stem>. */
  stem: string;
  text: string;
}

/** The lessons in the index's order; a file the index does not name is left out, and a name the
 * index gives without its file too. Only the texts are read here: the core reads the rest. */
export function lessonsOf(files: Record<string, string>, index: string): Lesson[] {
  const byStem = new Map<string, string>();
  for (const [path, text] of Object.entries(files)) {
    const stem = /([^/]+)\.json$/.exec(path)?.[1];
    if (stem && stem !== 'index') byStem.set(stem, text);
  }
  const order = (JSON.parse(index) as { lessons?: unknown }).lessons;
  const lessons: Lesson[] = [];
  for (const stem of Array.isArray(order) ? order : []) {
    const text = typeof stem === 'string' ? byStem.get(stem) : undefined;
    if (text === undefined) continue;
    const read = JSON.parse(text) as Partial<SceneWords>;
    lessons.push({
      stem, text, title: read.title ?? stem, notes: read.notes ?? '', translations: read.translations ?? {},
    });
  }
  return lessons;
}
