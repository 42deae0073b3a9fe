// SPDX-License-Identifier: GPL-3.0-or-later
// The observer panel: what the eye receives against observer time (the whole field and its
// radiation part, each along the direction across the line from the path's centre to the eye)
// and the spectrum of the radiation part, with the lines the path's motion predicts. Its Place
// button makes the next press on the plot put the eye there. The core samples, transforms and
// predicts; the panel draws, and hands the core fft.js for the transform.
import type { ObserverSpectrum, ObserverTrace, Refusal, Simulation } from '../generated/halvoran-core.js';
import { formatFixed, formatScientific, numberLocale } from '../dialogs/number-text';
import { download } from '../export/download';
import { translate, type Language } from '../i18n/catalogue';
import { refusalMessage } from '../refusal-message';
import type { PanelDock } from './dock';
import { createFloatingPanel, panelCanvas, type PanelHandle } from './floating-panel';
import {
  Context, frequencyCaption, frequencyRange, harmonicStride, largestMagnitude, powerHeight, samplesText,
  spectrumColumns, spectrumText, timeCaption, timeWindow, traceColumns, traceLengths,
} from './observer-chart';
import { ProjectorTheme } from '../theme/theme';
import { realTransform } from './observer-fft';
import { labelStep } from './pattern-chart';
import './observer-panel.css';

export interface ObserverPanel extends PanelHandle {
  /** The next press on the plot puts the eye there. */
  placing(): boolean;
  setPlacing(on: boolean): void;
  /** Called when placing starts or ends. */
  onPlacing(callback: (on: boolean) => void): void;
}

export interface ObserverLimits {
  observerTraceTicksMin: number;
  observerTraceTicksMax: number;
}

// The spectrum is worked out again at most this often while the ticks run.
const SpectrumEveryMs = 250;
// The charts' colours in each theme: bright on black, and dark on the projector's white ground.
const ChartColours = {
  dark: { ground: '#000000', axis: '#0000ff', grid: '#606060', field: '#ffff00', radiation: '#00ffff',
          spectrum: '#00ff40', marker: '#ff40ff', text: '#ffffff' },
  projector: { ground: '#ffffff', axis: '#3050c0', grid: '#a0a0a0', field: '#be5000', radiation: '#006ea0',
               spectrum: '#008030', marker: '#960078', text: '#000000' },
};
// Logical pixels: the labels' size and the room under a chart for them.
const LabelPx = 10;
const AxisRoom = 14;

function fitCanvas(box: HTMLElement, canvas: HTMLCanvasElement): { width: number; height: number; ratio: number } {
  const ratio = window.devicePixelRatio || 1;
  const width = Math.round(box.clientWidth * ratio);
  const height = Math.round(box.clientHeight * ratio);
  if (width >= 1 && height >= 1 && (canvas.width !== width || canvas.height !== height)) {
    canvas.width = width;
    canvas.height = height;
  }
  return { width, height, ratio };
}

/** A panel floating over host, or standing in dock where one is given; limits: the core's
 * bounds of the trace's length. */
export function createObserverPanel(host: HTMLElement, simulation: Simulation, limits: ObserverLimits,
                                    language: Language, dock?: PanelDock): ObserverPanel {
  const panel = createFloatingPanel(host, 'observer', language, dock && { dock, rank: 2 });

  const tools = document.createElement('div');
  tools.className = 'observer-tools';
  const button = (action: string) => {
    const b = document.createElement('button');
    b.type = 'button';
    b.dataset.action = action;
    return b;
  };
  const place = button('place');
  place.setAttribute('aria-pressed', 'false');
  const lengthLabel = document.createElement('label');
  const lengthText = document.createElement('span');
  const length = document.createElement('select');
  length.dataset.field = 'trace-ticks';
  lengthLabel.append(lengthText, length);
  const logLabel = document.createElement('label');
  const log = document.createElement('input');
  log.type = 'checkbox';
  log.dataset.field = 'log-power';
  const logText = document.createElement('span');
  logLabel.append(log, logText);
  // The two files are two buttons: a browser may hold back a second download of one click.
  const save = document.createElement('span');
  save.className = 'observer-save';
  const saveTrace = button('save-trace-csv');
  const saveSpectrum = button('save-spectrum-csv');
  save.append(saveTrace, saveSpectrum);
  tools.append(place, lengthLabel, logLabel, save);

  const message = document.createElement('p');
  message.className = 'floating-panel-message';
  message.setAttribute('role', 'alert');
  const status = document.createElement('p');
  status.className = 'observer-status';
  status.dataset.observerStatus = '';
  status.setAttribute('aria-live', 'off');

  const { box: traceBox, canvas: traceCanvas, context: traceContext } = panelCanvas('observer-chart', 'observer-trace');
  const { box: spectrumBox, canvas: spectrumCanvas, context: spectrumContext } =
      panelCanvas('observer-chart', 'observer-spectrum');
  const notes = document.createElement('div');
  notes.className = 'observer-notes';
  notes.dataset.observerNotes = '';
  panel.body.append(tools, message, status, traceBox, spectrumBox, notes);

  let current = language;
  const locale = numberLocale(navigator.language);
  let isPlacing = false;
  const placingCallbacks: Array<(on: boolean) => void> = [];
  let lastRefusal: Refusal | null = null;
  let trace: ObserverTrace | null = null;
  let spectrum: ObserverSpectrum | null = null;
  let spectrumAt = -Infinity;
  let spectrumOfTicks = -1;

  const word = (source: string) => translate(current, Context, source);

  function showRefusal(refusal: Refusal | null) {
    lastRefusal = refusal;
    message.textContent = refusal ? refusalMessage(refusal, current) : '';
  }

  function fillLengths(chosen: number) {
    const lengths = traceLengths(limits.observerTraceTicksMin, limits.observerTraceTicksMax, chosen);
    if (length.options.length !== lengths.length ||
        lengths.some((n, k) => length.options[k]!.value !== String(n))) {
      length.replaceChildren(...lengths.map((n) => new Option(String(n), String(n))));
    }
    length.value = String(chosen);
  }

  function retranslate() {
    panel.setTitle(word('Observer'));
    place.textContent = word('Place');
    place.title = word('Then click or tap the plot where the eye is to be; its marker can be dragged too');
    lengthText.textContent = word('Ticks');
    lengthLabel.title = word('Ticks the trace and its spectrum cover');
    logText.textContent = word('Log power');
    logLabel.title = word('The spectrum\'s power in decibels below its largest bin');
    saveTrace.textContent = word('Trace CSV');
    saveSpectrum.textContent = word('Spectrum CSV');
    saveTrace.title = word('Save what the eye received, sample by sample, as a CSV file');
    saveSpectrum.title = word('Save the spectrum, bin by bin, as a CSV file');
    traceCanvas.setAttribute('aria-label', word('What the eye receives against time'));
    spectrumCanvas.setAttribute('aria-label', word('The spectrum of the radiation part'));
    if (lastRefusal) showRefusal(lastRefusal);
    writeTexts();
  }

  // ---- The controls ----------------------------------------------------------------------------

  function setPlacing(on: boolean) {
    if (isPlacing === on) return;
    isPlacing = on;
    place.setAttribute('aria-pressed', String(on));
    panel.element.dataset.placing = String(on);
    writeTexts();
    for (const callback of placingCallbacks) callback(on);
  }
  place.addEventListener('click', () => setPlacing(!isPlacing));

  function change(observer: { TraceTicks?: number; LogPower?: boolean }) {
    showRefusal(simulation.setDisplay({ Observer: observer }));
    spectrumAt = -Infinity;
    refresh();
  }
  length.addEventListener('change', () => change({ TraceTicks: Number(length.value) }));
  log.addEventListener('change', () => change({ LogPower: log.checked }));

  saveTrace.addEventListener('click', () => {
    const window = trace ? timeWindow(trace.ticks, trace.traceTicks) : { from: 0, to: 0 };
    download(new Blob([simulation.observerTraceCsv(window.from, window.to)], { type: 'text/csv' }),
             'halvoran-observer-trace.csv');
  });
  saveSpectrum.addEventListener('click', () => {
    download(new Blob([simulation.observerSpectrumCsv(realTransform)], { type: 'text/csv' }),
             'halvoran-observer-spectrum.csv');
  });

  // ---- Text ------------------------------------------------------------------------------------

  function writeTexts() {
    if (isPlacing) status.textContent = word('Click or tap the plot where the eye is to be.');
    else status.textContent = trace ? samplesText(trace, current) : '';
    const lines = spectrum ? spectrumText(spectrum, current, locale) : [];
    notes.replaceChildren(...lines.map((line) => {
      const p = document.createElement('p');
      p.textContent = line;
      return p;
    }));
  }

  // ---- Drawing ---------------------------------------------------------------------------------

  function font(c: CanvasRenderingContext2D, ratio: number) {
    c.font = `${Math.round(LabelPx * ratio)}px system-ui, sans-serif`;
    c.textBaseline = 'top';
  }

  function label(c: CanvasRenderingContext2D, text: string, x: number, y: number, colour: string,
                 align: CanvasTextAlign = 'left') {
    c.fillStyle = colour;
    c.textAlign = align;
    c.fillText(text, x, y);
  }

  // The labels of a bottom axis from `from` to `to` over the chart's width, under the axis at y:
  // each centred on its value where it fits, kept inside the chart and clear of the one before.
  // The axis's caption stands over its right end, inside the chart.
  function bottomAxis(c: CanvasRenderingContext2D, ratio: number, from: number, to: number, width: number,
                      y: number, caption: string, text: (value: number) => string, grid?: (x: number) => void) {
    const line = Math.max(1, Math.round(ratio));
    c.globalAlpha = 0.85;
    label(c, caption, width - 2 * line, y - Math.round((LabelPx + 3) * ratio), colours.text, 'right');
    c.globalAlpha = 1;
    const step = labelStep(to - from, width / ratio);
    if (!(step > 0)) return;
    let clearFrom = 0;
    for (let n = Math.ceil(from / step), count = 0; n * step <= to && count < 200; ++n, ++count) {
      const value = n * step;
      const x = ((value - from) / (to - from)) * width;
      grid?.(Math.round(x));
      const shown = text(value);
      const half = c.measureText(shown).width / 2;
      const left = Math.min(Math.max(0, x - half), width - 2 * half);
      if (left < clearFrom) continue;
      label(c, shown, left, y, colours.text);
      clearFrom = left + 2 * half + 6 * line;
    }
  }

  function shortNumber(value: number): string {
    return value === 0 ? '0' : String(Number(value.toPrecision(3))).replace('.', locale.decimal);
  }

  let colours = ChartColours.dark;
  // A chart's canvas fitted to its box and cleared, with the line width and the top of its time
  // or frequency axis in device pixels; none where the box has no area.
  function startChart(box: HTMLElement, canvas: HTMLCanvasElement, c: CanvasRenderingContext2D) {
    const { width, height, ratio } = fitCanvas(box, canvas);
    if (width < 1 || height < 1) return null;
    colours = simulation.display().Theme === ProjectorTheme ? ChartColours.projector : ChartColours.dark;
    c.fillStyle = colours.ground;
    c.fillRect(0, 0, width, height);
    font(c, ratio);
    return { c, width, height, ratio, line: Math.max(1, Math.round(ratio)),
             bottom: height - Math.round(AxisRoom * ratio) };
  }

  function drawTrace() {
    const chart = startChart(traceBox, traceCanvas, traceContext);
    if (!chart) return;
    const { c, width, ratio, line, bottom } = chart;
    const strip = Math.floor(bottom / 2);
    if (!trace || strip < 4) return;
    const window = timeWindow(trace.ticks, trace.traceTicks);

    bottomAxis(c, ratio, window.from, window.to, width, bottom + line,
               timeCaption(trace.secondsPerTick, current, locale), shortNumber, (x) => {
      c.fillStyle = colours.grid;
      for (let y = 0; y < bottom; y += 3 * line) c.fillRect(x, y, line, line);
    });
    c.fillStyle = colours.axis;
    c.fillRect(0, bottom, width, line);
    c.fillRect(0, strip, width, line);

    const curves = [
      { values: trace.field, colour: colours.field, name: word('Whole field'), top: 0 },
      { values: trace.radiation, colour: colours.radiation, name: word('Radiation part'), top: strip + line },
    ];
    for (const { values, colour, name, top } of curves) {
      const half = (strip - line) / 2;
      const middle = top + half;
      c.fillStyle = colours.grid;
      for (let x = 0; x < width; x += 3 * line) c.fillRect(x, Math.round(middle), line, line);
      const largest = largestMagnitude(values, trace.kind);
      const scale = largest > 0 ? (0.85 * half) / largest : 0;
      const spans = traceColumns(trace.tick, values, trace.kind, window.from, window.to, width);
      c.strokeStyle = colour;
      c.lineWidth = line;
      c.beginPath();
      let drawing = false;
      spans.forEach((span, x) => {
        if (!span) {
          drawing = false;
          return;
        }
        const high = middle - span.max * scale;
        const low = Math.max(middle - span.min * scale, high + line);
        if (drawing) c.lineTo(x + 0.5, high);
        else c.moveTo(x + 0.5, high);
        c.lineTo(x + 0.5, low);
        drawing = true;
      });
      c.stroke();
      const peak = largest > 0 ? ` ±${formatScientific(largest, locale)} e/u²` : '';
      label(c, `${name}${peak}`, 2 * line, top + line, colour);
    }
  }

  function drawSpectrum() {
    const chart = startChart(spectrumBox, spectrumCanvas, spectrumContext);
    if (!chart) return;
    const { c, width, ratio, line, bottom } = chart;
    const top = Math.round((LabelPx + 4) * ratio);
    if (!spectrum || bottom - top < 4) return;
    const logPower = simulation.display().Observer.LogPower;
    const range = frequencyRange(spectrum);
    const yOf = (h: number) => bottom - h * (bottom - top);

    // The power axis's lines: every 20 dB, or at the half and the whole of the largest.
    const levels = logPower
      ? [0, -20, -40].map((db) => ({ h: powerHeight(10 ** (db / 10), true), text: `${db} dB` }))
      : [1, 0.5].map((p) => ({ h: p, text: formatFixed(p, 2, 1, locale) }));
    for (const { h, text } of levels) {
      const y = Math.round(yOf(h));
      c.fillStyle = colours.grid;
      for (let x = 0; x < width; x += 3 * line) c.fillRect(x, y, line, line);
      label(c, text, width - 2 * line, y + line, colours.grid, 'right');
    }

    if (range > 0) {
      const xOf = (f: number) => (f / range) * width;
      // The lines theory predicts: dashed lines, bands where a line spans more than a pixel,
      // and from where they crowd each other (the undulator's bands widen with n) only a comb
      // along the top. Their numbers are written where they stay clear of each other.
      const shown = spectrum.markers.filter((m) => m.low <= range);
      const first = shown[0];
      const second = shown[1];
      const perHarmonic = first && second ? xOf(second.low - first.low) / (second.harmonic - first.harmonic) : width;
      const stride = harmonicStride(perHarmonic, c.measureText(String(shown.at(-1)?.harmonic ?? 1)).width + 4 * line);
      let crowded = false;
      let clearFrom = 0;
      c.fillStyle = colours.marker;
      shown.forEach((marker, i) => {
        const x1 = xOf(marker.low);
        const x2 = xOf(Math.min(marker.high, range));
        const next = shown[i + 1];
        if (next && xOf(next.low) - x2 < 4 * line) crowded = true;
        if (crowded) {
          c.fillRect(Math.round((x1 + x2) / 2), top, line, 3 * line);
        } else if (x2 - x1 >= line) {
          c.globalAlpha = 0.3;
          c.fillRect(x1, top, x2 - x1, bottom - top);
          c.globalAlpha = 1;
        } else {
          for (let y = top; y < bottom; y += 4 * line) c.fillRect(Math.round(x1), y, line, 2 * line);
        }
        if (marker.harmonic % stride !== 0 && marker.harmonic !== 1) return;
        const text = String(marker.harmonic);
        const textWidth = c.measureText(text).width;
        const left = Math.min(Math.max((x1 + x2 - textWidth) / 2, 0), width - textWidth);
        if (left < clearFrom) return;
        label(c, text, left, line, colours.marker);
        clearFrom = left + textWidth + 4 * line;
        c.fillStyle = colours.marker;
      });
      const heights = spectrumColumns(spectrum.frequency, spectrum.power, range, width, logPower);
      c.strokeStyle = colours.spectrum;
      c.lineWidth = line;
      c.beginPath();
      let started = false;
      heights.forEach((h, x) => {
        if (h < 0) return;
        if (started) c.lineTo(x + 0.5, yOf(h));
        else c.moveTo(x + 0.5, yOf(h));
        started = true;
      });
      c.stroke();
      bottomAxis(c, ratio, 0, range, width, bottom + line,
                 frequencyCaption(spectrum.secondsPerTick, current, locale), shortNumber);
    }
    c.fillStyle = colours.axis;
    c.fillRect(0, bottom, width, line);
  }

  // ---- Refresh ---------------------------------------------------------------------------------

  function refresh() {
    if (!panel.shown()) return;
    const observer = simulation.display().Observer;
    fillLengths(observer.TraceTicks);
    log.checked = observer.LogPower;
    panel.element.dataset.place = `${observer.Place.X},${observer.Place.Y}`;
    trace = simulation.observerTrace();
    const now = performance.now();
    // The spectrum a few times a second while the trace grows; at once after a change.
    if (now - spectrumAt >= SpectrumEveryMs && (trace.ticks !== spectrumOfTicks || spectrumAt === -Infinity)) {
      spectrum = simulation.observerSpectrum(realTransform);
      spectrumAt = now;
      spectrumOfTicks = trace.ticks;
    }
    let received = 0;
    for (let i = 0; i < trace.kind.length; ++i) if (trace.kind[i] === 0) ++received;
    panel.element.dataset.received = String(received);
    panel.element.dataset.spectrumLength = String(spectrum?.transformLength ?? 0);
    writeTexts();
    drawTrace();
    drawSpectrum();
  }

  panel.onResize(() => {
    spectrumAt = -Infinity;
    refresh();
  });
  panel.element.dataset.placing = 'false';
  retranslate();

  return {
    element: panel.element,
    shown: panel.shown,
    setShown(on) {
      if (!on) {
        showRefusal(null);
        setPlacing(false);
      }
      spectrumAt = -Infinity;
      panel.setShown(on);
    },
    refresh,
    setLanguage(l) {
      current = l;
      panel.setLanguage(l);
      retranslate();
      refresh();
    },
    onClose: panel.onClose,
    docked: panel.docked,
    setDocked: panel.setDocked,
    placing: () => isPlacing,
    setPlacing,
    onPlacing(callback) {
      placingCallbacks.push(callback);
    },
  };
}
