// SPDX-License-Identifier: GPL-3.0-or-later
// The page: the core's simulation started with the address's options, one tick a frame, the
// picture drawn by the core into the canvas at the device's pixel ratio, the charge dragged with
// any pointer (mouse, pen, touch).
import createHalvoranCore from './generated/halvoran-core.js';
import type { HalvoranCore, Refusal, Simulation } from './generated/halvoran-core.js';
import { queryArguments } from './query';
import { refusalMessage } from './refusal-message';
import { applyOptions, pageRun, type PageRun } from './start-options';

// Ticks run per frame while running up to ?ticks=N are cut off after this long, so that the
// page still draws and answers between them.
const TickBudgetMs = 25;

const canvas = document.querySelector<HTMLCanvasElement>('#field')!;
const message = document.querySelector<HTMLElement>('#message')!;
const context = canvas.getContext('2d')!;

function showRefusal(refusal: Refusal & { option?: string }, consequence: string) {
  message.textContent = `${refusalMessage(refusal)}${consequence}`;
  message.hidden = false;
}

function defaultStart(core: HalvoranCore): Simulation {
  const simulation = new core.Simulation();
  const refusal = simulation.start();
  if (refusal) showRefusal(refusal, '');
  return simulation;
}

// The simulation the address asks for, or the defaults' where any of it is refused.
function startFromAddress(core: HalvoranCore): { simulation: Simulation; run: PageRun } {
  const defaults: PageRun = { ticks: null, size: null, pixelRatio: null };
  const query = queryArguments(location.search);
  const options = query.refusal ?? core.parseOptions(query.arguments);
  if ('code' in options) {
    showRefusal(options, '; the page starts with the defaults.');
    return { simulation: defaultStart(core), run: defaults };
  }
  const simulation = new core.Simulation();
  const refusal = simulation.start() ?? applyOptions(simulation, options);
  if (refusal) {
    simulation.delete();
    showRefusal(refusal, '; the page starts with the defaults.');
    return { simulation: defaultStart(core), run: defaults };
  }
  return { simulation, run: pageRun(options) };
}

// The module finds its wasm by its own address, which the build turns into the wasm's asset
// (a data: URL in the one-file page).
const core = await createHalvoranCore();
const { simulation, run } = startFromAddress(core);

const pointer = { dragging: false, id: -1, x: 0, y: 0 };
let ticksRun = 0;
let paused = false;
let drawnFor = '';

function cssSize(): { width: number; height: number } {
  return run.size ?? { width: window.innerWidth, height: window.innerHeight };
}

// CSS pixels of the canvas to model units at the start-up range: x from -1 to 1 across the
// width, y at the same scale, both centred, y up.
function toModel(event: PointerEvent) {
  const box = canvas.getBoundingClientRect();
  const half = box.width / 2;
  pointer.x = (event.clientX - box.left - half) / half;
  pointer.y = (box.top + box.height / 2 - event.clientY) / half;
}

canvas.addEventListener('pointerdown', (event) => {
  if (pointer.dragging) return;
  pointer.dragging = true;
  pointer.id = event.pointerId;
  canvas.setPointerCapture(event.pointerId);
  toModel(event);
  event.preventDefault();
});
canvas.addEventListener('pointermove', (event) => {
  if (pointer.dragging && event.pointerId === pointer.id) toModel(event);
});
const release = (event: PointerEvent) => {
  if (event.pointerId === pointer.id) pointer.dragging = false;
};
canvas.addEventListener('pointerup', release);
canvas.addEventListener('pointercancel', release);
window.addEventListener('resize', () => { drawnFor = ''; });

// The picture's pixels as last drawn, reused while the canvas keeps its size.
let image: ImageData | null = null;

function draw() {
  const size = cssSize();
  const ratio = run.pixelRatio ?? window.devicePixelRatio ?? 1;
  const result = simulation.render(size.width, size.height, ratio);
  if (result.refusal) {
    showRefusal(result.refusal, '; the picture is not drawn.');
    return;
  }
  if (canvas.width !== result.width || canvas.height !== result.height) {
    canvas.width = result.width;
    canvas.height = result.height;
  }
  canvas.style.width = `${size.width}px`;
  canvas.style.height = `${size.height}px`;
  // Copied into an image kept from frame to frame: the view into the module's memory is good
  // only until the next call into it, and a new image of every frame would be megabytes of
  // garbage a second.
  if (!image || image.width !== result.width || image.height !== result.height)
    image = context.createImageData(result.width, result.height);
  image.data.set(simulation.pixels());
  context.putImageData(image, 0, 0);
  drawnFor = `${size.width}x${size.height}@${ratio}`;
}

function frame() {
  if (run.ticks === null) {
    simulation.runTick(pointer.dragging, pointer.x, pointer.y);
    draw();
  } else if (!paused) {
    const start = performance.now();
    while (ticksRun < run.ticks && performance.now() - start < TickBudgetMs) {
      simulation.runTick(pointer.dragging, pointer.x, pointer.y);
      ++ticksRun;
    }
    draw();
    if (ticksRun >= run.ticks) {
      paused = true;
      canvas.dataset.tick = String(ticksRun);
    }
  } else if (drawnFor === '') {
    // Paused: drawn again only when the window's size changed.
    draw();
  }
  requestAnimationFrame(frame);
}
requestAnimationFrame(frame);
