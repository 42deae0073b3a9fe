// SPDX-License-Identifier: GPL-3.0-or-later
import { describe, expect, test } from 'vitest';
import { realTransform } from './observer-fft';

// Σ_n x[n] e^(−2πi k n / N) for k = 0 .. N/2, written out.
function directTransform(x: Float64Array): Float64Array {
  const n = x.length;
  const out = new Float64Array(n + 2);
  for (let k = 0; k <= n / 2; ++k) {
    for (let j = 0; j < n; ++j) {
      const angle = (-2 * Math.PI * k * j) / n;
      out[2 * k] += x[j]! * Math.cos(angle);
      out[2 * k + 1] += x[j]! * Math.sin(angle);
    }
  }
  return out;
}

// A deterministic mixture of a few tones and a step, unlike any one bin.
function samples(n: number): Float64Array {
  return Float64Array.from({ length: n }, (_, j) =>
    Math.sin(0.3 * j) + 0.5 * Math.cos(2.1 * j + 0.4) + (j < n / 3 ? 0.25 : -0.1));
}

describe('the page\'s transform gives bins 0 .. N/2 as the sum defines them', () => {
  test.each([2, 4, 8, 16, 32, 64, 512, 2048])('N = %i', (n) => {
    const x = samples(n);
    const got = realTransform(x);
    const want = directTransform(x);
    expect(got.length).toBe(n + 2);
    const scale = Math.max(...want.map(Math.abs));
    for (let k = 0; k < want.length; ++k) expect(Math.abs(got[k]! - want[k]!)).toBeLessThan(1e-9 * scale);
  });

  test('a second size between two calls of one size keeps each table right', () => {
    const a = samples(16);
    const first = realTransform(a);
    realTransform(samples(64));
    expect(Array.from(realTransform(a))).toEqual(Array.from(first));
  });

  test.each([0, 1, 3, 6, 100])('%i samples are no size it takes: nothing, and no throw', (n) => {
    expect(realTransform(new Float64Array(n)).length).toBe(0);
  });
});
