// SPDX-License-Identifier: GPL-3.0-or-later
// The browser's module under node: its pictures byte for byte against hashes of the native
// build, its refusals with their values and the state they leave alone, the option parser and the
// undulator's relations as the page gets them.
//   node --no-experimental-fetch module_test.mjs <halvoran-core.js>
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { pathToFileURL } from 'node:url';

const { default: createHalvoranCore } = await import(pathToFileURL(process.argv[2]).href);
const core = await createHalvoranCore();

// FNV-1a, 64 bits, over the bytes in memory order, as tests/render/MainPictureFrames_test.cpp.
function fnv1a(bytes) {
  let hash = 0xcbf29ce484222325n;
  for (const byte of bytes) hash = ((hash ^ BigInt(byte)) * 0x100000001b3n) & 0xffffffffffffffffn;
  return hash;
}

function started(mode, model) {
  const simulation = new core.Simulation();
  assert.equal(simulation.start(), null);
  if (model) assert.equal(simulation.chooseModelSize(...model), null);
  assert.equal(simulation.chooseTrajectory(mode, {}), null);
  return simulation;
}

// The cursor sweep of the native frame table's mouse scenes, in model units.
function mouseCursor(tick) {
  const t = (tick % 64) / 64;
  return tick % 128 < 64 ? [-0.5 + t, 0.25 * t] : [0.5 - t, 0.25 - 0.5 * t];
}

test('the pictures drawn as the native build draws them', () => {
  // The "circle" and "mouse" scenes of the native frame table; the others' hashes were taken
  // natively for these scenes (the start-up model, physics as given).
  const scenes = [
    { mode: 4, model: null, ticks: 50, size: [320, 200], hash: 0xe0dfafbd6ed0b5a0n },
    { mode: 4, model: [200, 40, 10], ticks: 150, size: [240, 160], hash: 0x5a6ce1981bafde76n },
    { mode: 1, model: [100, 20, 10], ticks: 90, size: [240, 160], hash: 0xcf9871b30e34f903n },
    { mode: 4, model: null, ticks: 50, size: [320, 200], hash: 0xdac395841010f1edn,
      physics: { LightAberration: false, ThomasPrecession: false } },
  ];
  for (const scene of scenes) {
    const simulation = started(scene.mode, scene.model);
    // The native table's scenes without a caption: its hashes do not hang on the font.
    assert.equal(simulation.setDisplay({ ShowCaption: false }), null);
    if (scene.physics) simulation.setPhysics(scene.physics);
    for (let tick = 0; tick < scene.ticks; ++tick) {
      assert.deepEqual(simulation.runTick(true, ...mouseCursor(tick)), { passRestarted: false });
    }
    const [width, height] = scene.size;
    assert.deepEqual(simulation.render(width, height, 1, undefined), { width, height, refusal: null });
    const pixels = simulation.pixels();
    assert.ok(pixels instanceof Uint8ClampedArray);
    assert.equal(pixels.length, width * height * 4);
    assert.equal(fnv1a(pixels), scene.hash, `mode ${scene.mode}, ${width}x${height}`);
    simulation.delete();
  }
});

test('a picture beyond memory is refused and leaves no pixels', () => {
  const simulation = started(4, null);
  assert.deepEqual(simulation.render(100000, 100000, 1, undefined), {
    width: 0, height: 0,
    refusal: { code: 'PictureTooLarge', parameter: 'None', values: ['100000', '100000'] },
  });
  assert.equal(simulation.pixels().length, 0);
  assert.deepEqual(simulation.render(20, 10, 1.5, undefined), { width: 30, height: 15, refusal: null });
  simulation.delete();
});

test('an undulator pass restarts, and reset starts the frames again', () => {
  const simulation = started(6, null);
  let ticks = 1;
  while (!simulation.runTick(false, 0, 0).passRestarted && ticks < 5000) ++ticks;
  assert.ok(ticks > 1 && ticks < 5000, `a pass of ${ticks} ticks`);
  simulation.runTick(false, 0, 0);
  simulation.reset();
  assert.equal(simulation.frameIndex(), 0);
  simulation.delete();
});

test('a refused command names its values and changes nothing', () => {
  const simulation = started(4, null);
  for (let tick = 0; tick < 7; ++tick) simulation.runTick(false, 0, 0);
  const trajectory = simulation.trajectory();
  const display = simulation.display();
  const refused = (code, ...values) => ({ code, parameter: 'None', values });
  const cases = [
    [() => simulation.chooseTrajectory(4, { CircleBeta: 1.5 }), refused('SpeedTooHigh', '0.9999', '1.500')],
    [() => simulation.chooseTrajectory(4, { CircleRadius: 'big' }), refused('NotANumber', 'CircleRadius', 'big')],
    [() => simulation.chooseTrajectory(9, {}), refused('UnknownTrajectory', '9')],
    [() => simulation.chooseTrajectory(6, { UndPeriods: 0 }), refused('TooFewPeriods', '1', '0')],
    [() => simulation.chooseModelSize(1, 40, 1), refused('TooFewRows', '2', '1')],
    [() => simulation.chooseModelSize(200.5, 40, 5), refused('NotAWholeNumber', 'iSize', '200.500')],
    [() => simulation.setSpeedPosition(11), refused('SpeedPositionRange', '1', '10', '11')],
    [() => simulation.setDisplay({ ShowWaveFronts: true, PlotResolution: 5 }),
     refused('PlotResolutionRange', '10', '100', '5')],
    [() => simulation.render(320, 200, NaN, undefined).refusal,
     refused('OutOfRange', 'pixelRatio', 'not a number', '0.000', 'infinity')],
  ];
  for (const [command, refusal] of cases) assert.deepEqual(command(), refusal);
  assert.equal(simulation.frameIndex(), 7);
  assert.deepEqual(simulation.trajectory(), trajectory);
  assert.deepEqual(simulation.display(), display);
  // An accepted change keeps every field it does not name.
  assert.equal(simulation.setDisplay({ ShowWaveFronts: true, Zoom: { Tracking: 0 } }), null);
  assert.deepEqual(simulation.display(), { ...display, ShowWaveFronts: true, Zoom: { ...display.Zoom, Tracking: 0 } });
  simulation.delete();
});

test('the page address read as the command line', () => {
  const good = core.parseOptions(['--trajectory', 'circle', '--model', 'small', '--wavefronts', '--ticks=50']);
  assert.equal(good.action, 'Start');
  assert.equal(good.mode, 'Animation');
  assert.deepEqual([good.trajectoryMode, good.iSize, good.jSize, good.ticks, good.waveFronts, good.smooth],
                   [4, 100, 20, 50, true, null]);
  assert.deepEqual(core.parseOptions(['--ticks', 'x']),
                   { code: 'NotAWholeNumber', parameter: 'None', values: ['--ticks', 'x'], option: '' });
  assert.equal(core.parseOptions(['--model', '1x40']).option, '--model');
});

test('the undulator entry refuses a speed beyond light and keeps its values', () => {
  const entry = core.undulatorEntry(new core.Simulation().trajectory());
  assert.deepEqual(core.editUndulator(entry, 'Beta', 1.2), {
    entry,
    refusal: { code: 'SpeedTooHigh', parameter: 'None', values: ['0.9999', '1.200'] },
  });
  const edited = core.editUndulator(entry, 'Periods', 7);
  assert.equal(edited.refusal, null);
  assert.equal(core.applyUndulatorEntry(edited.entry, {}).UndPeriods, 7);
  assert.ok(core.undulatorDerived(entry).Gamma > 3);
  assert.equal(core.editUndulator(entry, 'Colour', 1).refusal.code, 'UnknownOption');
});

test('every refusal code is named once, and None is none of them', () => {
  const codes = core.refusalCodes();
  assert.equal(new Set(codes).size, codes.length);
  assert.ok(codes.includes('SpeedTooHigh') && codes.includes('TooManyDevicePixels'));
  assert.ok(!codes.includes('None'));
});

test('the plot drawn over a range the page gives, and the magnified view', () => {
  const simulation = started(4, null);
  for (let tick = 0; tick < 40; ++tick) simulation.runTick(false, 0, 0);
  const hashOf = (result) => { assert.equal(result.refusal, null); return fnv1a(simulation.pixels()); };
  const whole = hashOf(simulation.render(200, 100, 1, undefined));
  const range = simulation.defaultRange(200, 100);
  assert.deepEqual(range, { xMin: -1, xMax: 1, yMin: -0.5, yMax: 0.5 });
  assert.equal(hashOf(simulation.render(200, 100, 1, range)), whole);
  const closer = { xMin: -0.5, xMax: 0.5, yMin: -0.25, yMax: 0.25 };
  assert.notEqual(hashOf(simulation.render(200, 100, 1, closer)), whole);
  for (const bad of [null, {}, { ...closer, xMin: NaN }, { ...closer, yMax: Infinity },
    { ...closer, xMin: 1, xMax: 1 }, { ...closer, yMin: '0' }]) {
    const result = simulation.render(200, 100, 1, bad);
    assert.equal(result.width, 0, JSON.stringify(bad));
    assert.ok(['NotANumber', 'OutOfRange'].includes(result.refusal?.code), JSON.stringify(bad));
  }
  // The view about the charge at 16 x: not the main picture, and not a black box.
  const zoomed = simulation.renderZoom(200, 100, 1);
  assert.deepEqual([zoomed.width, zoomed.height, zoomed.refusal], [200, 100, null]);
  assert.notEqual(fnv1a(simulation.pixels()), whole);
  assert.ok(new Set(new Uint32Array(simulation.pixels().slice().buffer)).size > 2);
  simulation.delete();
});

test('the power patterns follow the motion, the ticks and the resets', () => {
  const largest = (pattern) => Math.max(...pattern.values);
  const circle = started(4, null);
  for (let tick = 0; tick < 5; ++tick) circle.runTick(false, 0, 0);
  const now = circle.radiationPattern(false);
  assert.equal(now.values.length, 360);
  assert.ok(now.radiates && now.power > now.larmor && largest(now) > 0);
  // The circle's mean over its loop is there before the loop was run once.
  assert.ok(circle.radiationPattern(true).radiates);
  circle.delete();
  // A charge held still radiates nothing; dragged, the mean over the last ticks does; a reset
  // forgets them.
  const mouse = started(1, null);
  for (let tick = 0; tick < 10; ++tick) mouse.runTick(false, 0, 0);
  assert.equal(mouse.radiationPattern(false).radiates, false);
  assert.equal(mouse.radiationPattern(true).radiates, false);
  for (let tick = 0; tick < 10; ++tick) mouse.runTick(true, 0.5 * Math.sin(tick), 0);
  assert.ok(mouse.radiationPattern(true).radiates);
  mouse.reset();
  assert.equal(mouse.radiationPattern(true).radiates, false);
  assert.deepEqual(core.modelSizePresets().largest, { iSize: 400, jSize: 40, waveFrontSpacing: 20 });
  assert.equal(mouse.setPlotResolution(0)?.code, 'PlotResolutionRange');
  assert.equal(mouse.setPlotResolution(20), null);
  assert.equal(mouse.display().PlotResolution, 20);
  assert.deepEqual([mouse.speedPosition(), mouse.tickIntervalMs()], [10, 1]);
  assert.equal(mouse.trajectoryMode(), 1);
  mouse.delete();
});

test('the memory grows with the model: the largest model the core takes runs, a larger is refused', () => {
  const simulation = started(4, null);
  const before = simulation.modelSize();
  // 2000 x 200 nodes need some 4 MB more than the module starts with.
  assert.equal(simulation.chooseModelSize(2000, 200, 20), null);
  simulation.runTick(false, 0, 0);
  assert.equal(simulation.render(64, 32, 1, undefined).refusal, null);
  assert.equal(simulation.chooseModelSize(1000, 1000, 20)?.code, 'ModelTooLarge');
  assert.deepEqual(simulation.modelSize(), { iSize: 2000, jSize: 200, waveFrontSpacing: 20 });
  assert.notDeepEqual(before, simulation.modelSize());
  // The magnified view's steps, and the start-up values the dialogs' Default buttons put back.
  assert.equal(simulation.stepZoom(true), null);
  assert.equal(simulation.display().Zoom.Scale, 16 * 1.414);
  assert.deepEqual(core.defaults().physics,
                   { LightAberration: true, TrackEmissionPoint: true, ThomasPrecession: true });
  assert.equal(core.defaults().display.PlotResolution, 10);
  simulation.delete();
});

// ---- Scenes -------------------------------------------------------------------------------------

const lessonFolder = new URL('../../scenes/', import.meta.url);
const { readdirSync, readFileSync } = await import('node:fs');
const lessons = readdirSync(lessonFolder).filter((name) => name.endsWith('.json') && name !== 'index.json');

function setup(simulation) {
  return {
    model: simulation.modelSize(), mode: simulation.trajectoryMode(),
    trajectory: simulation.trajectory(), display: simulation.display(),
    physics: simulation.physics(), speed: simulation.speedPosition(),
  };
}

test('every lesson opens, with its texts in English and Japanese', () => {
  assert.ok(lessons.length >= 8, lessons.join(' '));
  for (const name of lessons) {
    const simulation = started(1, null);
    const opened = simulation.openScene(readFileSync(new URL(name, lessonFolder), 'utf8'));
    assert.equal(opened.refusal, null, name);
    assert.ok(opened.title.length > 0 && opened.notes.length > 0, name);
    assert.ok(opened.translations.ja.title.length > 0, name);
    assert.equal(typeof opened.running, 'boolean');
    simulation.delete();
  }
});

test('a damaged scene is refused with its key and leaves the simulation as it was', () => {
  const base = '{"format": "halvoran-scene", "version": 1, "trajectory": {"mode": "line"}';
  const cases = [
    { text: `${base}, "trajectory2": 1}`, code: 'SceneUnknownKey', path: 'trajectory2' },
    { text: base.replace('"line"}', '"line", "LineBeta": 1.2}') + '}', code: 'SceneValueRefused',
      path: 'trajectory.LineBeta', cause: 'SpeedTooHigh' },
    { text: base.replace('"line"}', '"line"}, "model": {"ISize": 1}') + '}', code: 'SceneValueRefused',
      path: 'model.ISize' },
    { text: `${base}, "version": 1}`, code: 'SceneKeyTwice', path: 'version' },
    { text: base, code: 'SceneNotJson', path: '' },
    { text: base.replace('"version": 1', '"version": 2') + '}', code: 'SceneNewerVersion', path: 'version' },
    { text: ' '.repeat(core.maxSceneBytes + 1), code: 'SceneTooLarge', path: '' },
  ];
  const simulation = started(4, [100, 20, 10]);
  assert.equal(simulation.setDisplay({ ShowWaveFronts: true }), null);
  const before = setup(simulation);
  for (const { text, code, path, cause } of cases) {
    const { refusal } = simulation.openScene(text);
    assert.equal(refusal?.code, code, text.slice(0, 120));
    assert.equal(refusal.path, path, code);
    if (cause) assert.equal(refusal.cause?.code, cause);
    assert.deepEqual(setup(simulation), before, code);
  }
  simulation.delete();
});

test('the scene written reopens to the same setup, view, run state and texts', () => {
  const cases = [
    { mode: 5, view: { xMin: -0.5, xMax: 0.25, yMin: -0.2, yMax: 0.3 }, running: false, title: 'Bends', notes: 'One.\n\nTwo ✓',
      translations: { ja: { title: '曲がる', notes: '一。' } } },
    { mode: 7, view: undefined, running: true, title: '', notes: '', translations: {} },
    { mode: 1, view: null, running: true, title: 'Mouse', notes: '', translations: null },
  ];
  for (const { mode, view, running, title, notes, translations } of cases) {
    const from = started(mode, [120, 30, 6]);
    assert.equal(from.setDisplay({ ShowNodePoints: true, PlotResolution: 20 }), null);
    from.setPhysics({ ThomasPrecession: false });
    assert.equal(from.setSpeedPosition(4), null);
    const text = from.sceneText(view, running, title, notes, translations);
    const to = started(4, null);
    const opened = to.openScene(text);
    assert.equal(opened.refusal, null, text);
    assert.deepEqual(setup(to), setup(from));
    assert.deepEqual({ view: opened.view, running: opened.running, title: opened.title, notes: opened.notes,
                       translations: opened.translations },
                     { view: view ?? null, running, title, notes, translations: translations ?? {} });
    assert.equal(to.sceneText(opened.view, running, title, notes, opened.translations), text);
    from.delete();
    to.delete();
  }
});

test('the caption, the theme and the scale unit go through the display, unknown ones refused', () => {
  const simulation = started(4, null);
  const display = simulation.display();
  assert.deepEqual([display.ShowCaption, display.Theme, display.ScaleUnit], [true, 0, { Scale: 100, Unit: 1 }]);
  assert.deepEqual(core.defaults().display, display);
  const refused = (code, ...values) => ({ code, parameter: 'None', values });
  const cases = [
    [{ Theme: 2 }, refused('ThemeUnknown', '2')],
    [{ Theme: -1 }, refused('ThemeUnknown', '-1')],
    [{ Theme: 0.5 }, refused('NotAWholeNumber', 'Theme', '0.500')],
    [{ Theme: 'projector' }, refused('NotANumber', 'Theme', 'projector')],
    [{ ScaleUnit: { Scale: 1000 } }, refused('ScaleUnitUnknown', '1000', '1')],
    [{ ScaleUnit: { Unit: 3 } }, refused('ScaleUnitUnknown', '100', '3')],
    [{ ScaleUnit: { Scale: '10' } }, refused('NotANumber', 'Scale', '10')],
    // A refused field refuses the whole change: the caption switch beside it is not taken.
    [{ ShowCaption: false, ScaleUnit: { Unit: -1 } }, refused('ScaleUnitUnknown', '100', '-1')],
  ];
  for (const [change, refusal] of cases) assert.deepEqual(simulation.setDisplay(change), refusal, JSON.stringify(change));
  assert.deepEqual(simulation.display(), display);
  const taken = [
    [{ ShowCaption: false }, { ...display, ShowCaption: false }],
    [{ Theme: 1 }, { ...display, ShowCaption: false, Theme: 1 }],
    [{ ScaleUnit: { Unit: 2 } }, { ...display, ShowCaption: false, Theme: 1, ScaleUnit: { Scale: 100, Unit: 2 } }],
    [{ ScaleUnit: { Scale: 1, Unit: 0 } }, { ...display, ShowCaption: false, Theme: 1, ScaleUnit: { Scale: 1, Unit: 0 } }],
  ];
  for (const [change, after] of taken) {
    assert.equal(simulation.setDisplay(change), null, JSON.stringify(change));
    assert.deepEqual(simulation.display(), after, JSON.stringify(change));
  }
  simulation.delete();
});

test('the pictures\' words: their sources in order, a wrong list refused', () => {
  const sources = core.pictureWordSources();
  assert.equal(sources.length, 17);
  assert.deepEqual([sources[0], sources[7], sources.at(-1)], ['Mouse control', 'tick', '|E| in e/4πε₀u², u the plot unit']);
  assert.equal(new Set(sources).size, sources.length);
  const simulation = started(4, null);
  const count = (given) => ({ code: 'OutOfRange', parameter: 'None', values: ['words.length', given, '17', '17'] });
  const cases = [
    [sources.slice(1), count('16')],
    [[...sources, 'one more'], count('18')],
    [[], count('0')],
    [sources.map((source, k) => (k === 3 ? 3 : source)), { code: 'UnexpectedArgument', parameter: 'None', values: ['3'] }],
    ['tick', { code: 'UnexpectedArgument', parameter: 'None', values: ['tick'] }],
  ];
  for (const [words, refusal] of cases) assert.deepEqual(simulation.setPictureWords(words), refusal, JSON.stringify(words));
  assert.equal(simulation.setPictureWords(sources.map((source) => `«${source}»`)), null);
  simulation.delete();
});

test('the caption switch and the words reach the picture', () => {
  const simulation = started(4, null);
  for (let tick = 0; tick < 30; ++tick) simulation.runTick(false, 0, 0);
  const hash = () => { assert.equal(simulation.render(320, 200, 1, undefined).refusal, null); return fnv1a(simulation.pixels()); };
  const english = hash();
  assert.equal(simulation.setPictureWords(core.pictureWordSources().map((source) => source.toUpperCase())), null);
  const shouted = hash();
  assert.equal(simulation.setDisplay({ ShowCaption: false }), null);
  const bare = hash();
  // Without the caption the words are nowhere in the picture.
  assert.equal(simulation.setPictureWords(core.pictureWordSources()), null);
  assert.equal(hash(), bare);
  assert.notEqual(bare, english);
  assert.notEqual(shouted, english);
  simulation.delete();
});
