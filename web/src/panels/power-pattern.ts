// SPDX-License-Identifier: GPL-3.0-or-later
// The radiation power pattern panel: dP/dOmega of the charge in the plane of motion, of this
// tick or averaged over the motion, as a closed curve about the charge's place, with the total
// (Lienard) power and its ratio to Larmor's. The chart is drawn as the desktop's pattern window
// draws it: black ground, a sunken edge, blue left and bottom axes, a dotted grey grid, the red
// disc at the centre and the aqua curve.
import type { Simulation } from '../generated/halvoran-core.js';
import { numberLocale } from '../dialogs/number-text';
import { translate, type Language } from '../i18n/catalogue';
import type { PanelDock } from './dock';
import { createFloatingPanel, panelCanvas, type PanelHandle } from './floating-panel';
import {
  curvePoints, gridValues, labelStep, patternAxes, powerText, valueToPixel,
} from './pattern-chart';
import './power-pattern.css';

export type PowerPatternPanel = PanelHandle;

const Context = 'TRadiationPatternForm';
const Black = '#000000';
const AxisBlue = '#0000ff';
const GridGrey = '#808080';
const BevelShadow = '#404040';
const BevelHighlight = '#ffffff';
const DiscRed = '#ff0000';
const CurveAqua = '#00ffff';
// Half-size of the centre's disc, logical pixels.
const DiscHalfSize = 4;

// A distance of logical pixels in device pixels, never less than one.
function scaled(logical: number, ratio: number): number {
  return Math.max(1, Math.round(logical * ratio));
}

/** A panel floating over host, or standing in dock where one is given. */
export function createPowerPatternPanel(host: HTMLElement, simulation: Simulation,
                                        language: Language, dock?: PanelDock): PowerPatternPanel {
  const panel = createFloatingPanel(host, 'power-pattern', language, dock && { dock, rank: 0 });
  const titleId = panel.element.getAttribute('aria-labelledby')!;

  const modes = document.createElement('div');
  modes.className = 'power-pattern-modes';
  modes.setAttribute('role', 'radiogroup');
  modes.setAttribute('aria-labelledby', titleId);
  const radio = (mode: string, checked: boolean) => {
    const label = document.createElement('label');
    const input = document.createElement('input');
    input.type = 'radio';
    input.name = `${titleId}-mode`;
    input.value = mode;
    input.dataset.mode = mode;
    input.checked = checked;
    const text = document.createElement('span');
    label.append(input, text);
    modes.append(label);
    return { label, input, text };
  };
  const instantaneous = radio('instantaneous', false);
  const averaged = radio('averaged', true);

  const power = document.createElement('p');
  power.className = 'power-pattern-power';
  power.dataset.power = '';
  power.setAttribute('aria-live', 'off');

  const { box: chartBox, canvas, context } = panelCanvas('power-pattern-chart', 'power-pattern');
  panel.body.append(modes, power, chartBox);

  let current = language;
  const locale = numberLocale(navigator.language);
  // The axes' half-extent: 0 until a pattern with radiation has appeared (every value then maps
  // to the centre and the grid has no step), then 1 model unit of the pattern's own scale.
  let patternScale = 0;

  function retranslate() {
    panel.setTitle(translate(current, Context, 'Radiation Power Pattern'));
    instantaneous.text.textContent = translate(current, Context, 'Instantaneous');
    averaged.text.textContent = translate(current, Context, 'Averaged');
    instantaneous.label.title = translate(current, Context, 'The pattern of the present moment');
    averaged.label.title = translate(current, Context,
        'The mean over one loop or pass of the path, or over the last ticks of the mouse');
    power.title = translate(current, Context,
        'Liénard power radiated into all directions, in q²c/4π per model unit², and its ratio ' +
        'to Larmor\'s non-relativistic power of the same acceleration');
    canvas.setAttribute('aria-label', translate(current, Context, 'Radiation Power Pattern'));
  }

  function draw(values: readonly number[]) {
    const ratio = window.devicePixelRatio || 1;
    const width = Math.round(chartBox.clientWidth * ratio);
    const height = Math.round(chartBox.clientHeight * ratio);
    if (width < 1 || height < 1) return;
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    const line = scaled(1, ratio);
    const box = (x1: number, y1: number, x2: number, y2: number, colour: string) => {
      context.fillStyle = colour;
      context.fillRect(x1, y1, x2 - x1, y2 - y1);
    };
    box(0, 0, width, height, Black);
    // The sunken edge just inside the chart: dark left and top, light right and bottom.
    box(0, 0, width, line, BevelShadow);
    box(0, 0, line, height, BevelShadow);
    box(width - line, line, width, height, BevelHighlight);
    box(line, height - line, width, height, BevelHighlight);

    // The plot leaves a line on the left and at the bottom for the axes.
    const plot = { left: line, top: 0, right: width, bottom: height - line };
    if (plot.right - plot.left < 1 || plot.bottom - plot.top < 1) return;
    const axes = patternAxes(chartBox.clientWidth, chartBox.clientHeight, patternScale);
    const px = (x: number) => valueToPixel(x, -axes.horizontal, axes.horizontal, plot.left, plot.right);
    const py = (y: number) => valueToPixel(y, -axes.vertical, axes.vertical, plot.bottom, plot.top);
    const step = labelStep(2 * axes.horizontal, (plot.right - plot.left) / ratio);
    for (const value of gridValues(-axes.horizontal, axes.horizontal, step)) {
      const x = px(value);
      if (x <= plot.left || x >= plot.right) continue;
      for (let y = plot.top; y < plot.bottom; y += 2 * line)
        box(x, y, x + line, Math.min(y + line, plot.bottom), GridGrey);
    }
    box(plot.left - line, plot.top, plot.left, plot.bottom, AxisBlue);
    box(plot.left - line, plot.bottom, plot.right, plot.bottom + line, AxisBlue);

    const disc = scaled(DiscHalfSize, ratio);
    context.fillStyle = DiscRed;
    context.beginPath();
    context.arc(px(0), py(0), disc, 0, 2 * Math.PI);
    context.fill();

    const points = curvePoints(values, patternScale);
    if (points.length === 0) return;
    // Lines run through the middle of their pixels.
    const middle = line / 2;
    context.strokeStyle = CurveAqua;
    context.lineWidth = line;
    context.lineJoin = 'round';
    context.beginPath();
    points.forEach((p, k) => {
      const x = px(p.x) + middle;
      const y = py(p.y) + middle;
      if (k === 0) context.moveTo(x, y);
      else context.lineTo(x, y);
    });
    context.stroke();
  }

  function refresh() {
    if (!panel.shown()) return;
    const pattern = simulation.radiationPattern(averaged.input.checked);
    power.textContent = powerText(pattern, current, locale);
    panel.element.dataset.radiates = String(pattern.radiates);
    if (patternScale === 0 && curvePoints(pattern.values, 1).length > 0) patternScale = 1;
    draw(pattern.values);
  }

  instantaneous.input.addEventListener('change', refresh);
  averaged.input.addEventListener('change', refresh);
  panel.onResize(refresh);
  retranslate();

  return {
    element: panel.element,
    shown: panel.shown,
    setShown: panel.setShown,
    refresh,
    setLanguage(l) {
      current = l;
      panel.setLanguage(l);
      retranslate();
      // The power line is written again at once: a paused animation may not refresh it.
      refresh();
    },
    onClose: panel.onClose,
    docked: panel.docked,
    setDocked: panel.setDocked,
  };
}
