// SPDX-License-Identifier: GPL-3.0-or-later
// The dialogs' copy, edit and apply over a fake simulation: OK hands the whole set to one command,
// a refusal or a text that is no number leaves the state as it was, Cancel applies nothing.
import { describe, expect, test } from 'vitest';
import type { DisplayChange, Refusal, TrajectoryParameters } from '../generated/halvoran-core.js';
import { NotAFloat, NotAnInteger, PointLocale } from './number-text';
import {
  applyModelSize, applyPlotResolution, applyTrajectory, applyZoomTracking, modelSizeTexts, NeedInteger,
  SpeedSession, trajectoryTexts, zoomChoice,
} from './setup-logic';
import { messageName, TrajectoryTables } from './setup-tables';

const refused = (code: string, values: string[] = []): Refusal => ({ code, parameter: 'None', values });

// A simulation that keeps what its commands were given, refusing where refuse says so.
function fakeSimulation(refuse: (command: string, value: unknown) => Refusal | null = () => null) {
  const state = {
    trajectory: { LineBeta: 0.95, LineStartX: -0.8, LineStopX: 0.8, CircleBeta: 0.9, CircleRadius: 0.2 } as
        TrajectoryParameters,
    mode: 1,
    model: { iSize: 300, jSize: 40, waveFrontSpacing: 7 },
    resolution: 20,
    tracking: 1,
    speed: 10,
  };
  const calls: string[] = [];
  const simulation = {
    trajectory: () => ({ ...state.trajectory }),
    chooseTrajectory(mode: number, parameters: Partial<TrajectoryParameters>) {
      calls.push('chooseTrajectory');
      const refusal = refuse('chooseTrajectory', parameters);
      if (!refusal) Object.assign(state, { mode, trajectory: { ...state.trajectory, ...parameters } });
      return refusal;
    },
    modelSize: () => ({ ...state.model }),
    chooseModelSize(iSize: number, jSize: number, waveFrontSpacing: number) {
      calls.push('chooseModelSize');
      const refusal = refuse('chooseModelSize', iSize);
      if (!refusal) state.model = { iSize, jSize, waveFrontSpacing };
      return refusal;
    },
    display: () => ({ ShowFieldLines: true, ShowWaveFronts: false, ShowNodePoints: false, ShowFieldVectors: false,
                      SmoothLines: true, PlotResolution: state.resolution, Zoom: { Scale: 16, Tracking: state.tracking },
                      ShowCaption: true, Theme: 0, ScaleUnit: { Scale: 100, Unit: 1 },
                      Observer: { Shown: false, Place: { X: 0.9, Y: 0.3 }, TraceTicks: 1024, LogPower: false } }),
    setPlotResolution(pixels: number) {
      calls.push('setPlotResolution');
      const refusal = refuse('setPlotResolution', pixels);
      if (!refusal) state.resolution = pixels;
      return refusal;
    },
    setDisplay(change: DisplayChange) {
      calls.push('setDisplay');
      const refusal = refuse('setDisplay', change);
      if (!refusal && change.Zoom?.Tracking !== undefined) state.tracking = change.Zoom.Tracking;
      return refusal;
    },
    speedPosition: () => state.speed,
    setSpeedPosition(position: number) {
      calls.push(`setSpeedPosition ${position}`);
      state.speed = position;
      return null;
    },
  };
  return { state, calls, simulation };
}

describe('a trajectory dialog', () => {
  const line = TrajectoryTables.line;

  test('opens with the parameters in force at six digits and three decimals', () => {
    const { simulation } = fakeSimulation();
    expect(trajectoryTexts(line, simulation, PointLocale))
        .toEqual({ List_Velocity: '0.950', List_Start: '-0.800', List_Stop: '0.800' });
    expect(trajectoryTexts(line, simulation, { decimal: ',', group: '.' }).List_Start).toBe('-0,800');
  });

  test.each<[string, Record<string, string>, Refusal | null, object]>([
    ['applies every box at once', { List_Velocity: '0.5', List_Start: '-1', List_Stop: '2' }, null,
     { accepted: true }],
    ['names the first box that is no number', { List_Velocity: '0.5', List_Start: 'abc', List_Stop: 'x' }, null,
     { accepted: false, field: 'List_Start',
       complaint: { about: 'Start Position x (u)', message: { source: NotAFloat, args: ['abc'] } } }],
    ['carries the core\'s refusal', { List_Velocity: '1.5', List_Start: '-1', List_Stop: '1' },
     refused('SpeedTooHigh', ['0.9999', '1.500']),
     { accepted: false, complaint: { refusal: refused('SpeedTooHigh', ['0.9999', '1.500']) } }],
  ])('%s', (_, texts, refusal, outcome) => {
    const { state, calls, simulation } = fakeSimulation(() => refusal);
    const before = { ...state.trajectory };
    expect(applyTrajectory(line, texts, simulation, PointLocale)).toEqual(outcome);
    if ('complaint' in outcome) {
      expect(state.trajectory).toEqual(before);
      expect(state.mode).toBe(1);
    } else {
      expect(state).toMatchObject({ mode: 2, trajectory: { LineBeta: 0.5, LineStartX: -1, LineStopX: 2, CircleBeta: 0.9 } });
    }
    if ('field' in outcome) expect(calls).toEqual([]);
  });

  test.each([
    ['Start Position x (u):', 'Start Position x (u)'], ['Stop Position x (u):', 'Stop Position x (u)'],
    ['Oscillation Amplitude : 2A (u)', 'Oscillation Amplitude : 2A (u)'], ['Circle Radius (u)', 'Circle Radius (u)'],
  ])('a message names the box "%s" as "%s"', (caption, name) => {
    expect(messageName(caption)).toBe(name);
  });

  test('every table edits each parameter once, and its suggestions read as numbers', () => {
    for (const table of Object.values(TrajectoryTables)) {
      const parameters = table.boxes.map((box) => box.parameter);
      expect(new Set(parameters).size).toBe(parameters.length);
      for (const box of table.boxes) for (const item of box.items) expect(Number.isFinite(Number(item))).toBe(true);
    }
  });
});

describe('the model size', () => {
  test.each<[string, string, string, Refusal | null, object]>([
    ['keeps the wavefront spacing', '500', '20', null, { accepted: true }],
    ['reads both before the command', '500', '2.5', null,
     { accepted: false, field: 'List_Jsize', complaint: { message: { source: NotAnInteger, args: ['2.5'] } } }],
    ['carries a refusal', '1', '20', refused('TooFewRows', ['2', '1']),
     { accepted: false, complaint: { refusal: refused('TooFewRows', ['2', '1']) } }],
  ])('%s', (_, rows, lines, refusal, outcome) => {
    const { state, simulation } = fakeSimulation(() => refusal);
    expect(modelSizeTexts(simulation.modelSize())).toEqual({ List_Isize: '300', List_Jsize: '40' });
    expect(applyModelSize({ List_Isize: rows, List_Jsize: lines }, simulation)).toEqual(outcome);
    expect(state.model).toEqual('complaint' in outcome ? { iSize: 300, jSize: 40, waveFrontSpacing: 7 }
                                                       : { iSize: 500, jSize: 20, waveFrontSpacing: 7 });
  });
});

describe('the plot resolution', () => {
  const range = (pixels: unknown) =>
      (pixels as number) < 10 || (pixels as number) > 100 ? refused('PlotResolutionRange', ['10', '100', String(pixels)]) : null;

  test.each<[string, object, number]>([
    ['30', { accepted: true }, 30],
    ['abc', { accepted: false, field: 'List_Resolution', text: '20', warning: true,
              complaint: { message: { source: NeedInteger, args: [] } } }, 20],
    // Out of range: the nearest end is shown and nothing is set until a second OK.
    ['500', { accepted: false, field: 'List_Resolution', text: '100' }, 20],
    ['-3', { accepted: false, field: 'List_Resolution', text: '10' }, 20],
  ])('OK with %j', (text, outcome, resolution) => {
    const { state, simulation } = fakeSimulation((command, value) => command === 'setPlotResolution' ? range(value) : null);
    expect(applyPlotResolution(text, simulation)).toEqual(outcome);
    expect(state.resolution).toBe(resolution);
  });
});

describe('the zoom view setup', () => {
  test.each<[number, number | undefined]>([[0, 0], [1, 1], [2, 2], [7, undefined]])(
      'tracking %i shows choice %s', (tracking, choice) => {
        expect(zoomChoice({ Zoom: { Scale: 16, Tracking: tracking } })).toBe(choice);
      });

  test('OK stores the tracking and confirms the stored value', () => {
    const { state, simulation } = fakeSimulation();
    expect(applyZoomTracking(2, simulation)).toEqual({ accepted: true, note: '2' });
    expect(state.tracking).toBe(2);
  });

  test('a refusal keeps the dialog open and the tracking as it was', () => {
    const { state, simulation } = fakeSimulation(() => refused('ZoomTrackingUnknown', ['2']));
    expect(applyZoomTracking(2, simulation)).toMatchObject({ accepted: false });
    expect(state.tracking).toBe(1);
  });
});

test('the wave speed moves at once; Cancel goes back to the opening position', () => {
  const { state, calls, simulation } = fakeSimulation();
  state.speed = 4;
  const session = new SpeedSession(simulation);
  expect(session.move(7)).toBeNull();
  expect(session.move(2)).toBeNull();
  expect(state.speed).toBe(2);
  session.cancel();
  expect(state.speed).toBe(4);
  expect(calls).toEqual(['setSpeedPosition 7', 'setSpeedPosition 2', 'setSpeedPosition 4']);
});
