// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, test } from 'vitest';
import type { CommandOptions, Refusal } from './generated/halvoran-core.js';
import { applyOptions } from './start-options';

// What the parser gives for an address without options.
const none: CommandOptions = {
  action: 'Start', mode: 'Animation', language: '', renderFile: '', output: 'Png',
  trajectoryMode: 1, ticks: null, fromTick: 0, size: null, pixelRatio: null, iSize: null,
  jSize: null, waveFrontSpacing: null, waveFronts: false, nodePoints: false, fieldArrows: false,
  fieldLines: true, smooth: null, caption: null, theme: null, observer: null,
};

// The commands given, in order, each answered by refusals[name] or accepted.
function recorder(refusals: Record<string, Refusal> = {}) {
  const calls: unknown[][] = [];
  const command = (name: string) => (...values: unknown[]) => {
    calls.push([name, ...values]);
    return refusals[name] ?? null;
  };
  return {
    calls,
    simulation: {
      chooseModelSize: command('chooseModelSize'),
      chooseTrajectory: command('chooseTrajectory'),
      setDisplay: command('setDisplay'),
      // The model in force, whose wavefront spacing a model given as IxJ keeps.
      modelSize: () => ({ iSize: 200, jSize: 40, waveFrontSpacing: 7 }),
    },
  };
}

describe('the options applied through the commands', () => {
  test.each<[string, Partial<CommandOptions>, unknown[][]]>([
    ['nothing given', {}, [['chooseTrajectory', 1, {}], ['setDisplay', {}]]],
    ['a preset model', { iSize: 100, jSize: 20, waveFrontSpacing: 4, trajectoryMode: 4 },
     [['chooseModelSize', 100, 20, 4], ['chooseTrajectory', 4, {}], ['setDisplay', {}]]],
    ['a model as IxJ', { iSize: 300, jSize: 60 },
     [['chooseModelSize', 300, 60, 7], ['chooseTrajectory', 1, {}], ['setDisplay', {}]]],
    ['every switch', { waveFronts: true, nodePoints: true, fieldArrows: true, fieldLines: false, smooth: true },
     [['chooseTrajectory', 1, {}], ['setDisplay', { ShowWaveFronts: true, ShowNodePoints: true,
       ShowFieldVectors: true, ShowFieldLines: false, SmoothLines: true }]]],
    ['aliased', { smooth: false }, [['chooseTrajectory', 1, {}], ['setDisplay', { SmoothLines: false }]]],
    ['no caption, projector', { caption: false, theme: 1 },
     [['chooseTrajectory', 1, {}], ['setDisplay', { ShowCaption: false, Theme: 1 }]]],
    // The dark theme and the caption asked for as such are still passed: they override a
    // remembered theme and a scene's choice.
    ['caption, dark', { caption: true, theme: 0 },
     [['chooseTrajectory', 1, {}], ['setDisplay', { ShowCaption: true, Theme: 0 }]]],
    ['the eye', { observer: { X: -0.5, Y: 0.25 }, trajectoryMode: 4 },
     [['chooseTrajectory', 4, {}], ['setDisplay', { Observer: { Shown: true, Place: { X: -0.5, Y: 0.25 } } }]]],
  ])('%s', (_name, given, expected) => {
    const { calls, simulation } = recorder();
    expect(applyOptions(simulation, { ...none, ...given })).toBeNull();
    expect(calls).toEqual(expected);
  });

  test('the first refusal is returned and nothing after it is given', () => {
    const refusal: Refusal = { code: 'TooFewRows', parameter: 'None', values: ['2', '1'] };
    const { calls, simulation } = recorder({ chooseModelSize: refusal });
    expect(applyOptions(simulation, { ...none, iSize: 1, jSize: 40, waveFrontSpacing: 5 })).toBe(refusal);
    expect(calls).toEqual([['chooseModelSize', 1, 40, 5]]);
  });
});
