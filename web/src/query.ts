// SPDX-License-Identifier: GPL-3.0-or-later
// The page's address read as a command line: every query parameter is the option of its name,
// so that the core's own parser checks the values exactly as it checks the desktop's arguments.
import type { OptionsRefusal } from './generated/halvoran-core.js';

// Options that take a value; written attached ("--ticks=30") so that a value which itself
// starts with "--" is never read as the next option.
const ValueOptions = ['trajectory', 'model', 'size', 'scale', 'ticks', 'language', 'theme', 'observer'];
// Options that are switches: given without a value ("?wavefronts" or "?wavefronts=").
const SwitchOptions = ['wavefronts', 'nodes', 'arrows', 'no-field-lines', 'smooth', 'aliased', 'caption', 'no-caption'];

export type QueryArguments = { arguments: string[]; refusal: null } |
                             { arguments: null; refusal: OptionsRefusal };

/** search: location.search, with or without its "?". */
export function queryArguments(search: string): QueryArguments {
  const list: string[] = [];
  for (const [name, value] of new URLSearchParams(search)) {
    if (ValueOptions.includes(name)) {
      list.push(`--${name}=${value}`);
    } else if (SwitchOptions.includes(name)) {
      // A value on a switch goes to the parser as given, which refuses it.
      list.push(value === '' ? `--${name}` : `--${name}=${value}`);
    } else {
      // The window's other options (--render, --help, --language, ...) are not the page's: they
      // are refused as the parser refuses a name it does not know.
      return {
        arguments: null,
        refusal: { code: 'UnknownOption', parameter: 'None', values: [`--${name}`], option: '' },
      };
    }
  }
  return { arguments: list, refusal: null };
}
