// SPDX-License-Identifier: GPL-3.0-or-later
// The undulator dialog's working copy over a fake core: a keystroke the core takes rewrites the
// partners, one it refuses (or that is no number yet) changes nothing quietly, a pick reports,
// and OK reads again what the copy does not stand for before one trajectory command.
import { expect, test } from 'vitest';
import type {
  Refusal, TrajectoryParameters, UndulatorEntry, UndulatorInput,
} from '../generated/halvoran-core.js';
import { NotAFloat, NotAnInteger, PointLocale } from './number-text';
import { UndulatorEditor } from './undulator-editor';

const Opening: UndulatorEntry = { Beta: 0.95, EnergyMeV: 1.128, PeriodCm: 20, Periods: 5, K: 2, FieldKG: 1.0710529,
                                  AmplitudeM: 0.01 };
const TooFast: Refusal = { code: 'SpeedTooHigh', parameter: 'Speed', values: ['0.9999', '1.000'] };

// A core whose β and E go together as E = 10 β, K and Bu as Bu = K / 2; it refuses β ≥ 1.
function fakeCore() {
  const calls: string[] = [];
  const core = {
    undulatorEntry: () => ({ ...Opening }),
    editUndulator(entry: UndulatorEntry, input: UndulatorInput, value: number) {
      calls.push(`edit ${input} ${value}`);
      const next = { ...entry };
      if (input === 'Beta' && value >= 1) return { entry, refusal: TooFast };
      if (input === 'Beta') Object.assign(next, { Beta: value, EnergyMeV: 10 * value });
      if (input === 'Energy') Object.assign(next, { EnergyMeV: value, Beta: value / 10 });
      if (input === 'Period') next.PeriodCm = value;
      if (input === 'Periods') next.Periods = value;
      if (input === 'K') Object.assign(next, { K: value, FieldKG: value / 2 });
      if (input === 'Field') Object.assign(next, { FieldKG: value, K: 2 * value });
      return { entry: next, refusal: null };
    },
    undulatorDerived: (entry: UndulatorEntry) =>
        ({ Gamma: 1 / Math.sqrt(1 - entry.Beta ** 2), RadWavelengthUm: 12.34, MaxAngle: 0.311, AmplitudeM: 0.00991 }),
    applyUndulatorEntry: (entry: UndulatorEntry, trajectory: Partial<TrajectoryParameters>) =>
        ({ ...trajectory, UndBeta: entry.Beta, UndPeriods: entry.Periods }) as TrajectoryParameters,
  };
  const chosen: unknown[] = [];
  const simulation = {
    trajectory: () => ({ CircleBeta: 0.9 }) as TrajectoryParameters,
    chooseTrajectory: (mode: number, parameters: Partial<TrajectoryParameters>) => {
      chosen.push([mode, parameters]);
      return null as Refusal | null;
    },
  };
  return { core, calls, chosen, simulation, editor: new UndulatorEditor(core, simulation, PointLocale) };
}

test('opens with what runs, trailing zeros dropped, and the derived labels', () => {
  const { editor } = fakeCore();
  expect(editor.texts).toEqual({ Beta: '0.95', Energy: '1.13', Period: '20', Periods: '5', K: '2', Field: '1.07' });
  expect(editor.labels()).toEqual({ LabelGamma: '3.20', LabelLrad: '1.23E+01', LabelMaxAngle: '3.11E-01',
                                    LabelAmplitude: '9.91E-03' });
});

test.each<[string, UndulatorInput, string, boolean, Partial<Record<UndulatorInput, string>>]>([
  ['a taken keystroke rewrites the partner', 'Beta', '0.5', true, { Beta: '0.5', Energy: '5' }],
  ['a prefix that is no number changes nothing', 'Beta', '9e', false, { Beta: '9e', Energy: '1.13' }],
  ['a refused keystroke changes nothing', 'Beta', '1', false, { Beta: '1', Energy: '1.13' }],
  ['the other pair', 'Field', '3', true, { Field: '3', K: '6' }],
])('%s', (_, input, text, taken, texts) => {
  const { editor } = fakeCore();
  expect(editor.typed(input, text)).toBe(taken);
  expect(editor.texts).toMatchObject(texts);
  expect(editor.entry.Beta).toBe(input === 'Beta' && taken ? Number(text) : 0.95);
});

test.each<[UndulatorInput, string, object | null]>([
  ['Beta', '1', { refusal: TooFast }],
  ['Periods', '2.5', { message: { source: NotAnInteger, args: ['2.5'] } }],
  ['K', 'abc', { message: { source: NotAFloat, args: ['abc'] } }],
  ['K', '5', null],
])('a pick of %s %j reports %o', (input, text, complaint) => {
  const { editor } = fakeCore();
  expect(editor.picked(input, text)).toEqual(complaint);
});

test('OK reads again a box the copy does not stand for, and runs nothing on its refusal', () => {
  const { editor, chosen, simulation } = fakeCore();
  editor.typed('Periods', '7');
  editor.typed('Beta', '1');
  expect(editor.ok(simulation)).toEqual({ accepted: false, field: 'List_beta', complaint: { refusal: TooFast } });
  expect(chosen).toEqual([]);
  editor.typed('Beta', '0.9');
  expect(editor.ok(simulation)).toEqual({ accepted: true });
  expect(chosen).toEqual([[6, { CircleBeta: 0.9, UndBeta: 0.9, UndPeriods: 7 }]]);
});

test('OK with nothing edited runs the copy as it opened, without edits', () => {
  const { editor, calls, chosen, simulation } = fakeCore();
  expect(editor.ok(simulation)).toEqual({ accepted: true });
  expect(calls).toEqual([]);
  expect(chosen).toEqual([[6, { CircleBeta: 0.9, UndBeta: 0.95, UndPeriods: 5 }]]);
});
