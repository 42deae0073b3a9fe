// SPDX-License-Identifier: GPL-3.0-or-later
// The real FFT the core's spectrum calls in the browser: fft.js's radix-4 transform, one table
// per size kept for the next call. The core does everything else of the spectrum (window, zero
// padding, power, lines); this only turns N samples into bins 0 .. N/2.
import FFT from 'fft.js';

const Tables = new Map<number, { fft: FFT; out: Float64Array }>();
// The sizes the core asks for are powers of two up to the longest trace's samples; a few tables
// of them are kept, the oldest dropped first.
const KeptTables = 4;

/** re0, im0, re1, im1, .. of bins 0 .. N/2 of the N samples (N + 2 numbers); an empty array
 * where N is no power of two of at least 2 (the core then leaves the bins 0). Never throws: the
 * core calls this from inside its own frames. */
export function realTransform(samples: Float64Array): Float64Array {
  const n = samples.length;
  if (n < 2 || (n & (n - 1)) !== 0) return new Float64Array(0);
  try {
    let table = Tables.get(n);
    if (!table) {
      if (Tables.size >= KeptTables) Tables.delete(Tables.keys().next().value!);
      table = { fft: new FFT(n), out: new Float64Array(2 * n) };
      Tables.set(n, table);
    }
    // realTransform writes bins 0 .. N/2 of the interleaved output and leaves the rest.
    table.fft.realTransform(table.out, samples);
    return table.out.slice(0, n + 2);
  } catch {
    return new Float64Array(0);
  }
}
