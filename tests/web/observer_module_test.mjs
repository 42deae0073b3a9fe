// SPDX-License-Identifier: GPL-3.0-or-later
// The observer as the page gets it from the browser's module: its settings through the display
// (refused ones changing nothing), the trace's typed arrays against the core's own CSV of the
// same samples, the spectrum with the page's transform handed in, and --observer read from the
// address.
//   node --no-experimental-fetch observer_module_test.mjs <halvoran-core.js>
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { pathToFileURL } from 'node:url';

const { default: createHalvoranCore } = await import(pathToFileURL(process.argv[2]).href);
const core = await createHalvoranCore();

// An iterative radix-2 transform of the test's own (not the page's library): bins 0 .. N/2 of
// N real samples, interleaved.
function transform(samples) {
  const n = samples.length;
  const re = Float64Array.from(samples);
  const im = new Float64Array(n);
  for (let i = 1, j = 0; i < n; ++i) {
    let bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) [re[i], re[j]] = [re[j], re[i]];
  }
  for (let size = 2; size <= n; size *= 2) {
    const angle = (-2 * Math.PI) / size;
    for (let start = 0; start < n; start += size) {
      for (let k = 0; k < size / 2; ++k) {
        const [c, s] = [Math.cos(angle * k), Math.sin(angle * k)];
        const a = start + k;
        const b = a + size / 2;
        const tr = re[b] * c - im[b] * s;
        const ti = re[b] * s + im[b] * c;
        [re[b], im[b]] = [re[a] - tr, im[a] - ti];
        re[a] += tr;
        im[a] += ti;
      }
    }
  }
  const out = new Float64Array(n + 2);
  for (let k = 0; k <= n / 2; ++k) [out[2 * k], out[2 * k + 1]] = [re[k], im[k]];
  return out;
}

function circleWithEye(observer) {
  const simulation = new core.Simulation();
  assert.equal(simulation.start(), null);
  assert.equal(simulation.chooseTrajectory(4, {}), null);
  assert.equal(simulation.setDisplay({ Observer: { Shown: true, ...observer } }), null);
  return simulation;
}

test('the eye\'s settings go through the display; refused ones change nothing', () => {
  const simulation = circleWithEye({ Place: { X: -0.5, Y: 0.25 }, TraceTicks: 128 });
  const display = simulation.display();
  assert.deepEqual(display.Observer, { Shown: true, Place: { X: -0.5, Y: 0.25 }, TraceTicks: 128, LogPower: false });
  assert.deepEqual(core.defaults().display.Observer.Shown, false);
  for (let tick = 0; tick < 5; ++tick) simulation.runTick(false, 0, 0);
  const refused = (code, ...values) => ({ code, parameter: 'None', values });
  const cases = [
    [{ Place: { X: 10.5 } }, refused('ObserverPlaceRange', '10.000', '10.500', '0.250')],
    [{ Place: { Y: Number.NaN } }, refused('ObserverPlaceRange', '10.000', '-0.500', 'not a number')],
    [{ Place: { X: '1' } }, refused('NotANumber', 'X', '1')],
    [{ TraceTicks: 8192 }, refused('ObserverTraceTicksRange', '64', '4096', '8192')],
    [{ TraceTicks: 100.5 }, refused('NotAWholeNumber', 'TraceTicks', '100.500')],
    // A refused field refuses the whole change, the fields beside it included.
    [{ LogPower: true, TraceTicks: 1 }, refused('ObserverTraceTicksRange', '64', '4096', '1')],
  ];
  for (const [observer, refusal] of cases) assert.deepEqual(simulation.setDisplay({ Observer: observer }), refusal);
  assert.deepEqual(simulation.display(), display);
  assert.equal(simulation.observerTrace().tick.length, 5 * core.observerSubTicks);
  assert.deepEqual([core.observerSubTicks, core.observerTraceTicksMin, core.observerTraceTicksMax, core.observerPlaceLimit],
                   [8, 64, 4096, 10]);
  simulation.delete();
});

test('the trace\'s arrays are the CSV\'s samples, projected across the line from the centre', () => {
  const simulation = circleWithEye({ Place: { X: 0.6, Y: 0.4 }, TraceTicks: 64 });
  for (let tick = 0; tick < 100; ++tick) simulation.runTick(false, 0, 0);
  const trace = simulation.observerTrace();
  assert.ok(trace.tick instanceof Float64Array && trace.kind instanceof Uint8Array);
  assert.equal(trace.tick.length, 64 * 8 + 1);
  assert.deepEqual([trace.traceTicks, trace.ticks], [64, 100]);
  assert.equal(trace.tick.at(-1), 100);
  assert.equal(trace.tick[1] - trace.tick[0], 1 / 8);
  // The unit vector across the line from the circle's centre (near the origin) to the eye.
  assert.ok(Math.abs(Math.hypot(trace.across.X, trace.across.Y) - 1) < 1e-12);
  assert.ok(Math.abs(trace.across.X * 0.6 + trace.across.Y * 0.4) < 0.05);
  assert.ok(trace.secondsPerTick > 0);

  const rows = simulation.observerTraceCsv(-Infinity, Infinity).trimEnd().split('\n').slice(1)
    .map((row) => row.split(',').map(Number));
  const receivedTicks = Array.from(trace.tick).filter((_, i) => trace.kind[i] === 0);
  assert.equal(rows.length, receivedTicks.length);
  assert.equal(rows.length + trace.beforeReset + trace.beyondHistory, trace.tick.length);
  let compared = 0;
  for (const [tick, , , ex, ey, exRad, eyRad] of rows) {
    const i = trace.tick.indexOf(tick);
    assert.ok(i >= 0, `tick ${tick}`);
    const near = (a, b) => Math.abs(a - b) <= 1e-8 * Math.max(1, Math.abs(b));
    assert.ok(near(trace.field[i], ex * trace.across.X + ey * trace.across.Y), `field at ${tick}`);
    assert.ok(near(trace.radiation[i], exRad * trace.across.X + eyRad * trace.across.Y), `radiation at ${tick}`);
    ++compared;
  }
  assert.ok(compared > 100);
  // Only the ticks asked for.
  assert.equal(simulation.observerTraceCsv(99, 100).trimEnd().split('\n').length, 1 + 9);

  // Hidden, the eye receives nothing more.
  assert.equal(simulation.setDisplay({ Observer: { Shown: false } }), null);
  simulation.runTick(false, 0, 0);
  assert.equal(simulation.observerTrace().ticks, 100);
  simulation.delete();
});

test('the spectrum of the circle: lines at the harmonics of its revolution, the transform the page\'s', () => {
  const simulation = circleWithEye({ Place: { X: 0.6, Y: 0.4 }, TraceTicks: 1024 });
  for (let tick = 0; tick < 1100; ++tick) simulation.runTick(false, 0, 0);
  const spectrum = simulation.observerSpectrum(transform);
  assert.equal(spectrum.transformed, true);
  assert.equal(spectrum.transformLength, 16384);
  assert.equal(spectrum.frequency.length, 16384 / 2 + 1);
  assert.equal(spectrum.frequency.at(-1), 4);
  assert.ok(spectrum.fundamental > 0);
  assert.equal(spectrum.markers[0].harmonic, 1);
  assert.equal(spectrum.markers[0].low, spectrum.fundamental);
  assert.equal(spectrum.undulator, null);
  // The strongest bins above the lowest lie on the predicted lines: the power between them is
  // what the window leaks, well below.
  const bin = 8 / 16384;
  const onLine = (f) => Math.abs(f / spectrum.fundamental - Math.round(f / spectrum.fundamental)) * spectrum.fundamental <= 2 * bin;
  const strongest = Array.from(spectrum.power.keys()).filter((k) => spectrum.frequency[k] > spectrum.fundamental / 2)
    .sort((a, b) => spectrum.power[b] - spectrum.power[a]).slice(0, 10);
  for (const k of strongest) assert.ok(onLine(spectrum.frequency[k]), `bin ${k} at ${spectrum.frequency[k]}`);
  assert.equal(Math.max(...spectrum.power), 1);

  const csv = simulation.observerSpectrumCsv(transform).trimEnd().split('\n');
  assert.equal(csv[0], 'frequency,harmonic,power');
  assert.equal(csv.length, 1 + spectrum.frequency.length);

  // A transform that gives nothing usable leaves the bins at 0 and says so.
  for (const bad of [() => new Float64Array(3), () => [1, 2], () => undefined, null, 42]) {
    const refused = simulation.observerSpectrum(bad);
    assert.equal(refused.transformed, false);
    assert.ok(refused.power.every((p) => p === 0));
  }
  simulation.delete();
});

test('--observer in the address: a place, or a refusal naming the option', () => {
  assert.deepEqual(core.parseOptions(['--observer=0.5,-0.25']).observer, { X: 0.5, Y: -0.25 });
  assert.equal(core.parseOptions([]).observer, null);
  const far = core.parseOptions(['--observer=50,0']);
  assert.deepEqual([far.code, far.option], ['ObserverPlaceRange', '--observer']);
  assert.equal(core.parseOptions(['--observer=here']).code, 'NotAPoint');
});
