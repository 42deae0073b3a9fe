// SPDX-License-Identifier: GPL-3.0-or-later
// The help text as the build renders it from the documents (help-plugin.ts).
declare module 'virtual:halvoran-help' {
  import type { HelpDocument } from './help/help-text';

  /** By language: the text shown in it (the English one where it has none), null where no text
   * was found. */
  const documents: Record<'en' | 'ja', HelpDocument | null>;
  export default documents;
}
