// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, test } from 'vitest';
import { queryArguments } from './query';

describe('the address read as the command line', () => {
  test.each([
    ['', []],
    ['?', []],
    ['?trajectory=circle&ticks=50', ['--trajectory=circle', '--ticks=50']],
    // Without the "?" too, as URLSearchParams reads it.
    ['model=small&size=800x450&scale=2', ['--model=small', '--size=800x450', '--scale=2']],
    // The order of the address is kept: the parser's refusals name the first bad option.
    ['?wavefronts&nodes=&arrows&no-field-lines&smooth', ['--wavefronts', '--nodes', '--arrows', '--no-field-lines', '--smooth']],
    ['?aliased&trajectory=undulator', ['--aliased', '--trajectory=undulator']],
    // A value that looks like an option stays the value of its own option.
    ['?ticks=--help', ['--ticks=--help']],
    ['?ticks', ['--ticks=']],
    // Decoded as a browser decodes a query.
    ['?size=800%78450&trajectory=bending+magnet', ['--size=800x450', '--trajectory=bending magnet']],
    // Given twice, passed twice: the parser refuses the second.
    ['?ticks=1&ticks=2', ['--ticks=1', '--ticks=2']],
    // A value on a switch is passed for the parser to refuse.
    ['?wavefronts=1', ['--wavefronts=1']],
    ['?language=ja&trajectory=line', ['--language=ja', '--trajectory=line']],
    // The classroom's look: the theme's name for the parser to judge, the caption's switches.
    ['?theme=projector&no-caption', ['--theme=projector', '--no-caption']],
    ['?caption&theme=', ['--caption', '--theme=']],
    // The eye's place as typed: the parser reads and checks "X,Y", a comma escaped or not.
    ['?observer=0.5,-0.25', ['--observer=0.5,-0.25']],
    ['?observer=0.5%2C-0.25', ['--observer=0.5,-0.25']],
    ['?caption=no', ['--caption=no']],
  ])('%s', (search, expected) => {
    expect(queryArguments(search)).toEqual({ arguments: expected, refusal: null });
  });

  test.each([
    ['?render=field.png', '--render'],
    ['?trajectory=circle&help', '--help'],
    ['?from=3', '--from'],
    ['?--ticks=3', '----ticks'],
    ['?Ticks=3', '--Ticks'],
  ])('%s is not an option of the page', (search, option) => {
    expect(queryArguments(search)).toEqual({
      arguments: null,
      refusal: { code: 'UnknownOption', parameter: 'None', values: [option], option: '' },
    });
  });
});
